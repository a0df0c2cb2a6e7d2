// A bot library's content as a run began with it: a sealed copy in memory that workers load, so
// that a library rebuilt, overwritten or deleted during the run changes nothing in it.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <memory>
#include <string>

namespace velkaran {

// The file at Path as far as telling a changed file goes: device, inode, size and modification
// time; empty when there is no such file.
std::string FileState(const std::string &Path);

class TPinnedLibrary {
public:
    // Copies the library at Path. Null when the file cannot be read as a library (missing, not a
    // regular file, unreadable), with the reason in Error: the library is then unusable. A failure
    // of the host's own (no memory, no descriptors) throws THostFailure.
    static std::shared_ptr<TPinnedLibrary> Pin(const std::string &Path, std::string &Error);

    ~TPinnedLibrary();
    TPinnedLibrary(const TPinnedLibrary &) = delete;
    TPinnedLibrary &operator=(const TPinnedLibrary &) = delete;

    // The sealed copy: read-only for everyone, for a worker to load through /proc/self/fd.
    int Fd() const { return Content; }
    const std::string &Path() const { return Path_; }
    // The content's fingerprint (FileFingerprint of the file as it was pinned).
    const std::string &Fingerprint() const { return Fingerprint_; }
    // The file at Path is no longer the one pinned (replaced, overwritten, deleted).
    bool FileChanged() const;
    // True the first time it is called: for a warning said once.
    bool FirstWarning() { return !Warned.exchange(true); }
    // Whether this is the file (device and inode) pinned.
    bool IsFile(dev_t Device, ino_t Inode) const { return Device == Device_ && Inode == Inode_; }

private:
    TPinnedLibrary() = default;

    std::string Path_;
    int Content = -1;
    std::string Fingerprint_;
    std::string State;  // the file as pinned: device, inode, size, modification time
    dev_t Device_ = 0;
    ino_t Inode_ = 0;
    std::atomic<bool> Warned{false};
};

}  // namespace velkaran
