// A temporary file beside the target, flushed and renamed; in place where a rename would not do.
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace velkaran {
namespace {

using TStep = TWriteFailure::TStep;

TWriteFailure Failed(TStep Step, int Errno) { return {Step, Errno != 0 ? Errno : EIO}; }

// The process's umask, read without changing it (umask() would, for every thread at once).
mode_t CurrentUmask() {
    std::ifstream Status("/proc/self/status");
    std::string Line;
    while (std::getline(Status, Line))
        if (Line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(Line.c_str() + 6, nullptr, 8));
    return 022;
}

// Write straight into Path, created or truncated.
std::optional<TWriteFailure> WriteInPlace(const std::string &Path, const std::function<bool(int Fd)> &Write) {
    const int Fd = open(Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (Fd < 0) return Failed(TStep::Create, errno);
    const bool Written = Write(Fd);
    const int Error = errno;
    const bool Closed = close(Fd) == 0;
    if (!Written || !Closed) return Failed(TStep::Write, Written ? errno : Error);
    return std::nullopt;
}

}  // namespace

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

std::optional<TWriteFailure> WriteFileSafely(const std::string &Path,
                                             const std::function<bool(int Fd)> &Write) {
    if (Path.empty()) return Failed(TStep::Create, ENOENT);
    struct stat Existing {};
    const bool Exists = lstat(Path.c_str(), &Existing) == 0;
    if (!Exists && errno != ENOENT) return Failed(TStep::Create, errno);
    if (Exists && S_ISREG(Existing.st_mode) && access(Path.c_str(), W_OK) != 0)
        return Failed(TStep::Create, errno);
    if (Exists && (!S_ISREG(Existing.st_mode) || Existing.st_nlink > 1 || Existing.st_uid != geteuid()))
        return WriteInPlace(Path, Write);

    const std::filesystem::path Target(Path);
    const std::string Name = "." + Target.filename().string() + ".XXXXXX";
    std::string Temporary = Target.parent_path().empty() ? Name : (Target.parent_path() / Name).string();
    const int Fd = mkostemp(Temporary.data(), O_CLOEXEC);
    if (Fd < 0) return WriteInPlace(Path, Write);  // a folder that takes no new file

    const mode_t Mode = Exists ? Existing.st_mode & 07777 : 0666 & ~CurrentUmask();
    bool Written = fchmod(Fd, Mode) == 0 && Write(Fd) && fsync(Fd) == 0;
    int Error = errno;
    if (close(Fd) != 0 && Written) {
        Written = false;
        Error = errno;
    }
    if (!Written) {
        unlink(Temporary.c_str());
        return Failed(TStep::Write, Error);
    }
    if (rename(Temporary.c_str(), Path.c_str()) != 0) {
        Error = errno;
        unlink(Temporary.c_str());
        return Failed(TStep::Create, Error);
    }
    return std::nullopt;
}

bool WriteFileAtomically(const std::string &Path, const std::function<bool(int Fd)> &Write,
                         std::string &Error) {
    const std::optional<TWriteFailure> Failure = WriteFileSafely(Path, Write);
    if (!Failure) return true;
    Error = "cannot write " + Path + ": " + std::strerror(Failure->Errno);
    return false;
}

}  // namespace velkaran
