// Pinning: the file copied into a sealed memfd, its fingerprint taken on the way.
#include "library_pin.h"

#include "host_failure.h"
#include "players/bot_manifest.h"
#include "players/content_fingerprint.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

namespace velkaran {
namespace {

std::string StateOf(const struct stat &File) {
    return std::to_string(File.st_dev) + ":" + std::to_string(File.st_ino) + ":" +
           std::to_string(File.st_size) + ":" + std::to_string(File.st_mtim.tv_sec) + "." +
           std::to_string(File.st_mtim.tv_nsec);
}

// Writes all of Size bytes; false with errno set otherwise.
bool WriteAll(int Fd, const char *Bytes, std::size_t Size) {
    while (Size > 0) {
        const ssize_t Written = write(Fd, Bytes, Size);
        if (Written < 0 && errno == EINTR) continue;
        if (Written <= 0) return false;
        Bytes += Written;
        Size -= static_cast<std::size_t>(Written);
    }
    return true;
}

// Adds the bytes of the file at Path to Fingerprint (none when it cannot be read).
void AddFileContent(TContentFingerprint &Fingerprint, const std::string &Path) {
    const int File = open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (File < 0) return;
    char Buffer[1 << 16];
    for (;;) {
        const ssize_t Read = read(File, Buffer, sizeof Buffer);
        if (Read < 0 && errno == EINTR) continue;
        if (Read <= 0) break;
        Fingerprint.Add(Buffer, static_cast<std::size_t>(Read));
    }
    close(File);
}

}  // namespace

std::string FileState(const std::string &Path) {
    struct stat File {};
    if (stat(Path.c_str(), &File) != 0) return "";
    return StateOf(File);
}

std::shared_ptr<TPinnedLibrary> TPinnedLibrary::Pin(const std::string &Path, std::string &Error) {
    // Non-blocking, so that a named pipe in the library's place cannot hold the host up.
    const int File = open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (File < 0) {
        if (errno == EMFILE || errno == ENFILE || errno == ENOMEM)
            ThrowHostFailure("cannot open the bot library " + Path, errno);
        Error = Path + ": " + std::strerror(errno);
        return nullptr;
    }
    struct stat Info {};
    fstat(File, &Info);
    if (!S_ISREG(Info.st_mode)) {
        close(File);
        Error = Path + ": " + (S_ISDIR(Info.st_mode) ? "a directory" : "not a regular file");
        return nullptr;
    }
    std::shared_ptr<TPinnedLibrary> Pinned(new TPinnedLibrary);
    Pinned->Path_ = Path;
    Pinned->State = StateOf(Info);
    Pinned->Device_ = Info.st_dev;
    Pinned->Inode_ = Info.st_ino;
    const std::string Name = "velkaran-bot:" + std::filesystem::path(Path).filename().string();
    Pinned->Content = memfd_create(Name.c_str(), MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (Pinned->Content < 0) {
        const int Failure = errno;
        close(File);
        ThrowHostFailure("cannot keep a copy of the bot library " + Path, Failure);
    }
    TContentFingerprint Fingerprint;
    const bool Manifest = IsManifestName(std::filesystem::path(Path).filename().string());
    std::string ManifestText;  // a program bot's manifest, read on the way
    char Buffer[1 << 16];
    for (;;) {
        const ssize_t Read = read(File, Buffer, sizeof Buffer);
        if (Read < 0 && errno == EINTR) continue;
        if (Read < 0) {
            Error = Path + ": " + std::strerror(errno);
            close(File);
            return nullptr;
        }
        if (Read == 0) break;
        if (!WriteAll(Pinned->Content, Buffer, static_cast<std::size_t>(Read))) {
            const int Failure = errno;
            close(File);
            ThrowHostFailure("cannot keep a copy of the bot library " + Path, Failure);
        }
        Fingerprint.Add(Buffer, static_cast<std::size_t>(Read));
        if (Manifest && ManifestText.size() <= MaxManifestBytes)
            ManifestText.append(Buffer, static_cast<std::size_t>(Read));
    }
    close(File);
    // A program bot is its manifest and the files it names: a changed program or script is
    // another bot.
    std::string ManifestError;
    if (const std::optional<TBotManifest> Program =
            Manifest ? ParseBotManifest(ManifestText, Path, ManifestError) : std::nullopt)
        for (const std::string &Part : ManifestFiles(*Program)) AddFileContent(Fingerprint, Part);
    Pinned->Fingerprint_ = Fingerprint.Text();
    // Sealed: neither a worker nor a bot in it can change the copy any more.
    if (fcntl(Pinned->Content, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) != 0)
        ThrowHostFailure("cannot seal the copy of the bot library " + Path, errno);
    return Pinned;
}

TPinnedLibrary::~TPinnedLibrary() {
    if (Content >= 0) close(Content);
}

bool TPinnedLibrary::FileChanged() const { return FileState(Path_) != State; }

}  // namespace velkaran
