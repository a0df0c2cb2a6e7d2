// Reserving stdout for the result text.
#include "result_output.h"

#include <fcntl.h>
#include <unistd.h>

namespace velkaran {

std::FILE *ReserveStdoutForResult() {
    std::fflush(stdout);
    const int ResultDescriptor = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    if (ResultDescriptor < 0) return nullptr;
    if (dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        const int Null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (Null >= 0) {
            dup2(Null, STDOUT_FILENO);
            close(Null);
        }
    }
    std::FILE *Out = fdopen(ResultDescriptor, "w");
    if (Out == nullptr) close(ResultDescriptor);
    return Out;
}

bool WriteResultText(std::FILE *Out, const std::vector<std::string> &Lines) {
    if (Out == nullptr) return false;
    for (const std::string &Line : Lines) {
        std::fwrite(Line.data(), 1, Line.size(), Out);
        std::fputc('\n', Out);
    }
    return std::fflush(Out) == 0 && std::ferror(Out) == 0;
}

}  // namespace velkaran
