#include "bot_identity.h"

#include <grp.h>
#include <linux/capability.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace velkaran {
namespace {

std::string Failure(const char *What) {
    const int Error = errno;
    return std::string("privileges: ") + What + ": " + std::strerror(Error);
}

// The highest capability this kernel knows.
int LastCapability() {
    int Last = CAP_LAST_CAP;
    while (prctl(PR_CAPBSET_READ, Last + 1, 0, 0, 0) >= 0) ++Last;
    return Last;
}

// Whether the calling thread holds CAP_SETPCAP, which dropping from the bounding set needs.
bool MayDropBoundingSet() {
    __user_cap_header_struct Header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct Data[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(__NR_capget, &Header, Data) != 0) return false;
    return (Data[CAP_SETPCAP / 32].effective & (1u << (CAP_SETPCAP % 32))) != 0;
}

// Whether this process's user namespace has every user of a worker's own (a container's may map
// only a few thousand users).
bool OwnUsersMapped() {
    constexpr uint64_t First = OwnUidBase, Last = OwnUidBase + (uint64_t{1} << 22);
    std::ifstream Map("/proc/self/uid_map");
    for (uint64_t Inside, Outside, Count; Map >> Inside >> Outside >> Count;)
        if (Inside <= First && Last <= Inside + Count) return true;
    return false;
}

}  // namespace

std::optional<TBotIdentity> SandboxedBotIdentity(const std::string &User, std::string &Error) {
    Error.clear();
    if (geteuid() != 0) return std::nullopt;
    const std::string Wanted = User.empty() ? "nobody" : User;
    std::vector<char> Buffer(16384);
    passwd Entry{};
    passwd *Found = nullptr;
    if (User.empty() && OwnUsersMapped()) {
        getpwnam_r(Wanted.c_str(), &Entry, Buffer.data(), Buffer.size(), &Found);
        return TBotIdentity{OwnUidBase, Found != nullptr ? Found->pw_gid : 65534, "of its own", true};
    }
    uid_t Number = 0;
    const auto [End, Parsed] = std::from_chars(Wanted.data(), Wanted.data() + Wanted.size(), Number);
    const bool IsNumber = Parsed == std::errc() && End == Wanted.data() + Wanted.size();
    if (IsNumber) {
        getpwuid_r(Number, &Entry, Buffer.data(), Buffer.size(), &Found);
    } else {
        getpwnam_r(Wanted.c_str(), &Entry, Buffer.data(), Buffer.size(), &Found);
    }
    TBotIdentity Identity;
    if (Found != nullptr) {
        Identity = {Found->pw_uid, Found->pw_gid, Found->pw_name};
    } else if (IsNumber) {
        Identity = {Number, static_cast<gid_t>(Number), Wanted};  // a user without an entry is a user too
    } else {
        if (!User.empty()) Error = "there is no user \"" + User + "\" to run the bots as";
        return std::nullopt;
    }
    if (Identity.Uid == 0) {
        Error = "the bots cannot run as root (user \"" + Wanted + "\")";
        return std::nullopt;
    }
    return Identity;
}

std::string IdentityArgument(const TBotIdentity &Identity) {
    return (Identity.OwnUser ? std::string("own") : std::to_string(Identity.Uid)) + ":" +
           std::to_string(Identity.Gid);
}

std::optional<TBotIdentity> IdentityFromArgument(const std::string &Text) {
    TBotIdentity Identity;
    const char *const Last = Text.data() + Text.size();
    const char *Colon = Text.data();
    if (Text.starts_with("own:")) {
        Identity = {OwnUidBase, 0, "of its own", true};
        Colon += 3;
    } else {
        const auto [After, UidError] = std::from_chars(Text.data(), Last, Identity.Uid);
        if (UidError != std::errc()) return std::nullopt;
        Colon = After;
        Identity.Name = std::to_string(Identity.Uid);
    }
    if (Colon == Last || *Colon != ':') return std::nullopt;
    const auto [End, GidError] = std::from_chars(Colon + 1, Last, Identity.Gid);
    if (GidError != std::errc() || End != Last || Identity.Uid == 0) return std::nullopt;
    return Identity;
}

std::string DropPrivileges(const std::optional<TBotIdentity> &Identity) {
    const pid_t Parent = getppid();
    if (MayDropBoundingSet()) {
        for (int Capability = 0; Capability <= LastCapability(); ++Capability)
            if (prctl(PR_CAPBSET_DROP, Capability, 0, 0, 0) != 0 && errno != EINVAL)
                return Failure("cannot drop a capability from the bounding set");
    }
    if (prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) != 0 && errno != EINVAL)
        return Failure("cannot clear the ambient capabilities");
    if (Identity) {
        if (setgroups(0, nullptr) != 0) return Failure("cannot drop the supplementary groups");
        if (setresgid(Identity->Gid, Identity->Gid, Identity->Gid) != 0)
            return Failure(("cannot become group " + std::to_string(Identity->Gid)).c_str());
        if (setresuid(Identity->Uid, Identity->Uid, Identity->Uid) != 0)
            return Failure(("cannot become user " + std::to_string(Identity->Uid)).c_str());
        // A change of user clears the parent-death signal: set it again, then make sure the
        // parent did not end meanwhile.
        if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) return Failure("cannot set the parent-death signal");
        if (getppid() != Parent) return "privileges: the parent ended";
    }
    __user_cap_header_struct Header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct None[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(__NR_capset, &Header, None) != 0) return Failure("cannot drop the capabilities");
    return "";
}

}  // namespace velkaran
