// The checks before a run, so that no run plays for hours and then cannot keep its results.
#include "output_files.h"

#include "records/atomic_file.h"
#include "records/record_journal.h"

#include <cstdio>
#include <filesystem>

namespace velkaran {

void Complain(const std::string &Message) {
    std::fprintf(stderr, "velkaran-tournament: %s\n", Message.c_str());
}

bool CheckNewDocument(const std::string &Path, bool Force) {
    if (const std::string Problem = UnwritablePath(Path); !Problem.empty()) {
        Complain("--json: " + Problem);
        return false;
    }
    std::error_code Failure;
    if (!Force && std::filesystem::exists(Path, Failure)) {
        nlohmann::json Head;
        std::string Error;
        const bool Saved = ReadDocumentHead(Path, Head, Error, {"format"}) &&
                           Head.value("format", "") == "velkaran-tournament";
        Complain(Path +
                 (Saved ? " holds a saved tournament: go on with --resume " + Path + ", or" : " exists:") +
                 " pass --force to write over it");
        return false;
    }
    RemoveLeftoverTemporaries(Path);
    return true;
}

bool CheckDocumentToUpdate(const std::string &Path) {
    if (const std::string Problem = UnwritablePath(Path); !Problem.empty()) {
        Complain(Problem);
        return false;
    }
    RemoveLeftoverTemporaries(Path);
    return true;
}

bool StdoutWritten() {
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return true;
    Complain("cannot write to standard output");
    return false;
}

}  // namespace velkaran
