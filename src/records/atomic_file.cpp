// A temporary file beside the target, flushed and renamed.
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
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

bool WriteFileAtomically(const std::string &Path, const std::function<bool(int Fd)> &Write,
                         std::string &Error) {
    std::string Temporary = (FolderOf(Path) / (TemporaryPrefix(Path) + "XXXXXX")).string();
    const int Fd = mkostemp(Temporary.data(), O_CLOEXEC);
    if (Fd < 0) {
        Error = "cannot write " + Path + ": " + std::strerror(errno);
        return false;
    }
    flock(Fd, LOCK_EX);  // so that RemoveLeftoverTemporaries leaves it alone
    bool Written = fchmod(Fd, 0644) == 0 && Write(Fd) && fsync(Fd) == 0;
    int Failure = errno;
    if (Written && rename(Temporary.c_str(), Path.c_str()) != 0) {
        Written = false;
        Failure = errno;
    }
    close(Fd);
    if (Written) return true;
    Error = "cannot write " + Path + ": " + std::strerror(Failure);
    unlink(Temporary.c_str());
    return false;
}

}  // namespace velkaran
