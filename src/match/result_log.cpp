// Saving the result text: the lines encoded and joined, then written as every file of the program is.
#include "result_log.h"

#include "windows1251.h"

#include "records/atomic_file.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace velkaran {

std::optional<std::string> SaveResultLog(const std::vector<std::string> &Lines, const std::string &Path,
                                         TLogEncoding Encoding) {
    std::string Text;
    for (const std::string &Line : Lines) Text += Line + "\r\n";
    const std::string Bytes = Encoding == TLogEncoding::Windows1251 ? ToWindows1251(Text) : Text;
    const std::optional<TWriteFailure> Failure =
        WriteFileSafely(Path, [&Bytes](int Fd) { return WriteAll(Fd, Bytes.data(), Bytes.size()); });
    if (!Failure) return std::nullopt;
    if (Failure->Step == TWriteFailure::TStep::Write) return "Stream write error";
    std::error_code Ignored;
    std::string FullPath = std::filesystem::absolute(Path, Ignored).lexically_normal().string();
    if (FullPath.empty()) FullPath = Path;
    return "Cannot create file \"" + FullPath + "\". " + std::strerror(Failure->Errno);
}

std::optional<std::vector<std::string>> ReadResultLog(const std::string &Path, TLogEncoding Encoding) {
    std::ifstream In(Path, std::ios::binary);
    if (!In) return std::nullopt;
    std::string Bytes{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    if (In.bad()) return std::nullopt;
    const std::string Text = Encoding == TLogEncoding::Windows1251 ? FromWindows1251(Bytes) : Bytes;
    std::vector<std::string> Lines;
    std::size_t Begin = 0;
    while (Begin < Text.size()) {
        std::size_t End = Text.find('\n', Begin);
        if (End == std::string::npos) End = Text.size();
        std::size_t LineEnd = End;
        if (LineEnd > Begin && Text[LineEnd - 1] == '\r') --LineEnd;
        Lines.push_back(Text.substr(Begin, LineEnd - Begin));
        Begin = End + 1;
    }
    return Lines;
}

}  // namespace velkaran
