#include "landlock_ruleset.h"

#include <fcntl.h>
#include <linux/landlock.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

// Rights and flags newer than the system's kernel headers.
#ifndef LANDLOCK_ACCESS_FS_REFER
#define LANDLOCK_ACCESS_FS_REFER (1ULL << 13)
#endif
#ifndef LANDLOCK_ACCESS_FS_TRUNCATE
#define LANDLOCK_ACCESS_FS_TRUNCATE (1ULL << 14)
#endif
#ifndef LANDLOCK_ACCESS_FS_IOCTL_DEV
#define LANDLOCK_ACCESS_FS_IOCTL_DEV (1ULL << 15)
#endif
#ifndef LANDLOCK_ACCESS_NET_BIND_TCP
#define LANDLOCK_ACCESS_NET_BIND_TCP (1ULL << 0)
#endif
#ifndef LANDLOCK_ACCESS_NET_CONNECT_TCP
#define LANDLOCK_ACCESS_NET_CONNECT_TCP (1ULL << 1)
#endif
#ifndef LANDLOCK_SCOPE_ABSTRACT_UNIX_SOCKET
#define LANDLOCK_SCOPE_ABSTRACT_UNIX_SOCKET (1ULL << 0)
#endif
#ifndef LANDLOCK_SCOPE_SIGNAL
#define LANDLOCK_SCOPE_SIGNAL (1ULL << 1)
#endif
#ifndef LANDLOCK_RESTRICT_SELF_TSYNC
#define LANDLOCK_RESTRICT_SELF_TSYNC (1U << 3)
#endif
#ifndef __NR_landlock_create_ruleset
#define __NR_landlock_create_ruleset 444
#define __NR_landlock_add_rule 445
#define __NR_landlock_restrict_self 446
#endif

namespace velkaran {
namespace {

// The ruleset attribute as of ABI 6; older kernels take a prefix of it (the size tells which).
struct TRulesetAttr {
    uint64_t HandledAccessFs = 0;
    uint64_t HandledAccessNet = 0;
    uint64_t Scoped = 0;
};
static_assert(sizeof(TRulesetAttr) == 24);

// Closes a descriptor when it goes out of scope.
class TDescriptor {
public:
    explicit TDescriptor(int Fd) : Fd_(Fd) {}
    ~TDescriptor() {
        if (Fd_ >= 0) close(Fd_);
    }
    TDescriptor(const TDescriptor &) = delete;
    TDescriptor &operator=(const TDescriptor &) = delete;
    int Get() const { return Fd_; }

private:
    int Fd_;
};

// "Landlock: What: <the reason in errno>"; What must not touch errno.
std::string Failure(const char *What, const std::string &Object = "") {
    const int Error = errno;
    return std::string("Landlock: ") + What + Object + ": " + std::strerror(Error);
}

// Every file-system right the ABI knows: what the ruleset does not handle stays allowed.
uint64_t FileSystemRights(int Abi) {
    uint64_t Rights = (LANDLOCK_ACCESS_FS_MAKE_SYM << 1) - 1;  // ABI 1: execute .. make symlink
    if (Abi >= 2) Rights |= LANDLOCK_ACCESS_FS_REFER;
    if (Abi >= 3) Rights |= LANDLOCK_ACCESS_FS_TRUNCATE;
    if (Abi >= 5) Rights |= LANDLOCK_ACCESS_FS_IOCTL_DEV;
    return Rights;
}

// The number of threads the process runs now, 0 when it cannot be told.
std::size_t ThreadCount() {
    std::error_code Error;
    std::size_t Count = 0;
    for (std::filesystem::directory_iterator It("/proc/self/task", Error), End; !Error && It != End;
         It.increment(Error))
        ++Count;
    return Error ? 0 : Count;
}

}  // namespace

int LandlockAbi(bool &Disabled) {
    const long Abi = syscall(__NR_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    Disabled = Abi < 0 && errno == EOPNOTSUPP;
    return Abi < 0 ? 0 : static_cast<int>(Abi);
}

std::string RestrictFileAccess(const std::vector<TReadable> &Readable, int Abi) {
    if (Abi < LandlockAbiForAllThreads && ThreadCount() != 1)
        return "Landlock: ABI " + std::to_string(Abi) +
               " restricts only the calling thread, and the process runs other threads already (or "
               "/proc/self/task is unreadable); enter the sandbox before starting threads";

    TRulesetAttr Attr;
    Attr.HandledAccessFs = FileSystemRights(Abi);
    std::size_t AttrSize = sizeof(Attr.HandledAccessFs);
    if (Abi >= 4) {
        Attr.HandledAccessNet = LANDLOCK_ACCESS_NET_BIND_TCP | LANDLOCK_ACCESS_NET_CONNECT_TCP;
        AttrSize += sizeof(Attr.HandledAccessNet);
    }
    if (Abi >= 6) {
        Attr.Scoped = LANDLOCK_SCOPE_ABSTRACT_UNIX_SOCKET | LANDLOCK_SCOPE_SIGNAL;
        AttrSize += sizeof(Attr.Scoped);
    }
    const TDescriptor Ruleset(static_cast<int>(syscall(__NR_landlock_create_ruleset, &Attr, AttrSize, 0)));
    if (Ruleset.Get() < 0) return Failure("cannot create a ruleset");

    for (const TReadable &Entry : Readable) {
        struct stat Status {};
        if (fstat(Entry.Fd, &Status) != 0) return Failure("cannot look at ", Entry.Path);
        landlock_path_beneath_attr Beneath{};
        Beneath.allowed_access = LANDLOCK_ACCESS_FS_READ_FILE;
        if (S_ISDIR(Status.st_mode)) Beneath.allowed_access |= LANDLOCK_ACCESS_FS_READ_DIR;
        if (Entry.Execute) Beneath.allowed_access |= LANDLOCK_ACCESS_FS_EXECUTE;
        Beneath.parent_fd = Entry.Fd;
        // A file of the kernel's own (a memfd) is beyond Landlock's reach: nothing to allow there.
        if (syscall(__NR_landlock_add_rule, Ruleset.Get(), LANDLOCK_RULE_PATH_BENEATH, &Beneath, 0) != 0 &&
            errno != EBADFD)
            return Failure("cannot allow reading ", Entry.Path);
    }

    const unsigned Flags = Abi >= LandlockAbiForAllThreads ? LANDLOCK_RESTRICT_SELF_TSYNC : 0;
    if (syscall(__NR_landlock_restrict_self, Ruleset.Get(), Flags) != 0)
        return Failure("cannot restrict the process");
    return "";
}

}  // namespace velkaran
