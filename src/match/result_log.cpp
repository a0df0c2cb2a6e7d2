// Saving the result text: the lines encoded and joined, then written as every file of the program is.
#include "result_log.h"

#include "windows1251.h"

#include "records/atomic_file.h"

#include <cstring>
#include <filesystem>
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

}  // namespace velkaran
