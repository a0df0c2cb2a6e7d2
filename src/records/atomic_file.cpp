// A temporary file beside the target, flushed and renamed; in place where a rename would not do.
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
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

namespace {

// The folder of Path, "." for a bare file name.
std::filesystem::path FolderOf(const std::string &Path) {
    const std::filesystem::path Folder = std::filesystem::path(Path).parent_path();
    return Folder.empty() ? std::filesystem::path(".") : Folder;
}

// The pattern of the temporary files of Path: ".NAME." followed by six characters.
std::string TemporaryPrefix(const std::string &Path) {
    return "." + std::filesystem::path(Path).filename().string() + ".";
}

}  // namespace

std::string UnwritablePath(const std::string &Path) {
    std::error_code Failure;
    if (Path.empty()) return "no file name was given";
    const std::filesystem::file_status Status = std::filesystem::status(Path, Failure);
    if (std::filesystem::is_directory(Status)) return Path + " is a folder";
    if (std::filesystem::exists(Status) && !std::filesystem::is_regular_file(Status))
        return Path + " is not a plain file";
    const std::filesystem::path Folder = FolderOf(Path);
    if (!std::filesystem::is_directory(Folder, Failure))
        return "the folder " + Folder.string() + " of " + Path + " does not exist";
    std::string Probe = (Folder / ".velkaran-write-test-XXXXXX").string();
    const int Fd = mkostemp(Probe.data(), O_CLOEXEC);
    if (Fd < 0) return "cannot write in the folder " + Folder.string() + ": " + std::strerror(errno);
    close(Fd);
    unlink(Probe.c_str());
    return "";
}

void RemoveLeftoverTemporaries(const std::string &Path) {
    const std::string Prefix = TemporaryPrefix(Path);
    std::error_code Failure;
    for (const auto &Entry : std::filesystem::directory_iterator(FolderOf(Path), Failure)) {
        const std::string Name = Entry.path().filename().string();
        if (Name.size() != Prefix.size() + 6 || !Name.starts_with(Prefix)) continue;
        const int Fd = open(Entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (Fd < 0) continue;
        struct stat Status {};
        // A write in progress holds its file locked until it is renamed.
        if (fstat(Fd, &Status) == 0 && S_ISREG(Status.st_mode) && flock(Fd, LOCK_EX | LOCK_NB) == 0)
            unlink(Entry.path().c_str());
        close(Fd);
    }
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

    std::string Temporary = (FolderOf(Path) / (TemporaryPrefix(Path) + "XXXXXX")).string();
    const int Fd = mkostemp(Temporary.data(), O_CLOEXEC);
    if (Fd < 0) return WriteInPlace(Path, Write);  // a folder that takes no new file
    flock(Fd, LOCK_EX);  // so that RemoveLeftoverTemporaries leaves it alone until it is renamed

    const mode_t Mode = Exists ? Existing.st_mode & 07777 : 0666 & ~CurrentUmask();
    bool Written = fchmod(Fd, Mode) == 0 && Write(Fd) && fsync(Fd) == 0;
    int Error = errno;
    if (!Written) {
        close(Fd);
        unlink(Temporary.c_str());
        return Failed(TStep::Write, Error);
    }
    if (rename(Temporary.c_str(), Path.c_str()) != 0) {
        Error = errno;
        close(Fd);
        unlink(Temporary.c_str());
        return Failed(TStep::Create, Error);
    }
    if (close(Fd) != 0) return Failed(TStep::Write, errno);
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
