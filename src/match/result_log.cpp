// Saving the result text: Windows-1251, CR LF, written next to the target and then moved onto it.
#include "result_log.h"

#include "windows1251.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace velkaran {
namespace {

constexpr char WriteErrorText[] = "Stream write error";

std::string CannotCreate(const std::string &Path, int Error) {
    std::error_code Ignored;
    std::string FullPath = std::filesystem::absolute(Path, Ignored).lexically_normal().string();
    if (FullPath.empty()) FullPath = Path;
    return "Cannot create file \"" + FullPath + "\". " + std::strerror(Error);
}

// Writes all of Bytes to File; false on any failure.
bool WriteAll(int File, const std::string &Bytes) {
    const char *Next = Bytes.data();
    std::size_t Left = Bytes.size();
    while (Left > 0) {
        const ssize_t Written = write(File, Next, Left);
        if (Written < 0 && errno == EINTR) continue;
        if (Written <= 0) return false;
        Next += Written;
        Left -= static_cast<std::size_t>(Written);
    }
    return true;
}

// Writes Bytes straight into Path, created or truncated.
std::optional<std::string> WriteInPlace(const std::string &Path, const std::string &Bytes) {
    const int File = open(Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (File < 0) return CannotCreate(Path, errno);
    const bool Written = WriteAll(File, Bytes);
    const bool Closed = close(File) == 0;
    if (!Written || !Closed) return WriteErrorText;
    return std::nullopt;
}

// A file of its own next to Path, with Path's permissions when Path exists; -1 when none can be made.
int CreateNeighbour(const std::string &Path, const struct stat *Existing, std::string &Name) {
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        Name = Path + ".saving-" + std::to_string(getpid()) + "-" + std::to_string(Attempt);
        const int File = open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (File >= 0) {
            if (Existing != nullptr) fchmod(File, Existing->st_mode & 07777);
            return File;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

}  // namespace

std::optional<std::string> SaveResultLog(const std::vector<std::string> &Lines, const std::string &Path) {
    if (Path.empty()) return CannotCreate(Path, ENOENT);
    std::string Text;
    for (const std::string &Line : Lines) Text += Line + "\r\n";
    const std::string Bytes = ToWindows1251(Text);

    // A plain file of the user's own (or none yet) is replaced only once the new text is
    // completely on disk, so that a full disk leaves the old file as it was. Anything else (a
    // symbolic or hard link, a device, a pipe, another owner's file) and a folder where no
    // neighbour can be created are written in place. A file the user may not write stays refused.
    struct stat Existing {};
    const bool Exists = lstat(Path.c_str(), &Existing) == 0;
    if (!Exists && errno != ENOENT) return CannotCreate(Path, errno);
    if (Exists && S_ISREG(Existing.st_mode) && access(Path.c_str(), W_OK) != 0)
        return CannotCreate(Path, errno);
    if (Exists && (!S_ISREG(Existing.st_mode) || Existing.st_nlink > 1 || Existing.st_uid != geteuid())) {
        return WriteInPlace(Path, Bytes);
    }

    std::string Neighbour;
    const int File = CreateNeighbour(Path, Exists ? &Existing : nullptr, Neighbour);
    if (File < 0) return WriteInPlace(Path, Bytes);
    const bool Written = WriteAll(File, Bytes) && fsync(File) == 0;
    const bool Closed = close(File) == 0;
    if (!Written || !Closed) {
        unlink(Neighbour.c_str());
        return WriteErrorText;
    }
    if (rename(Neighbour.c_str(), Path.c_str()) != 0) {
        const int Error = errno;
        unlink(Neighbour.c_str());
        return CannotCreate(Path, Error);
    }
    return std::nullopt;
}

}  // namespace velkaran
