// A temporary file beside the target, flushed and renamed.
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace velkaran {

bool WriteAll(int Fd, const char *Data, std::size_t Size) {
    while (Size > 0) {
        const ssize_t Written = write(Fd, Data, Size);
        if (Written < 0 && errno == EINTR) continue;
        if (Written <= 0) return false;
        Data += Written;
        Size -= static_cast<std::size_t>(Written);
    }
    return true;
}

bool WriteFileAtomically(const std::string &Path, const std::function<bool(int Fd)> &Write,
                         std::string &Error) {
    const std::filesystem::path Target(Path);
    const std::string Name = "." + Target.filename().string() + ".XXXXXX";
    std::string Temporary = Target.parent_path().empty() ? Name : (Target.parent_path() / Name).string();
    const int Fd = mkostemp(Temporary.data(), O_CLOEXEC);
    if (Fd < 0) {
        Error = "cannot write " + Path + ": " + std::strerror(errno);
        return false;
    }
    bool Written = fchmod(Fd, 0644) == 0 && Write(Fd) && fsync(Fd) == 0;
    int Failure = errno;
    close(Fd);
    if (Written && rename(Temporary.c_str(), Path.c_str()) != 0) {
        Written = false;
        Failure = errno;
    }
    if (Written) return true;
    Error = "cannot write " + Path + ": " + std::strerror(Failure);
    unlink(Temporary.c_str());
    return false;
}

}  // namespace velkaran
