// Who a sandboxed bot runs as: under a root host, an unprivileged user and no capability at all.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace velkaran {

// Where no user is named, each worker runs as a user of its own: OwnUidBase plus its process id
// (below 2^22), a range that no system gives to users, services or containers. No other process
// runs as that user, so its RLIMIT_NPROC caps the worker's threads exactly.
inline constexpr uid_t OwnUidBase = 0x70000000;

struct TBotIdentity {
    uid_t Uid = 0;  // with OwnUser: found by the worker itself (OwnUid)
    gid_t Gid = 0;
    std::string Name;      // for messages: the user's name, or its number
    bool OwnUser = false;  // a user of the worker's own
};

// The user of its own that the process Worker runs as.
constexpr uid_t OwnUid(pid_t Worker) { return OwnUidBase + static_cast<uid_t>(Worker); }

// The user a sandboxed bot runs as when this process is root: User (a name or a number), or, when
// User is empty, a user of the worker's own in the group of "nobody" (65534 without one), or
// "nobody" where this user namespace lacks those users. Nullopt when this process is not root (the
// bot keeps its user), or when no such user exists (then Error says so; for an empty User, Error
// stays empty).
std::optional<TBotIdentity> SandboxedBotIdentity(const std::string &User, std::string &Error);

// "UID:GID" ("own:GID" for a user of its own), as the worker is told it, and back; nullopt for a
// text that is not one.
std::string IdentityArgument(const TBotIdentity &Identity);
std::optional<TBotIdentity> IdentityFromArgument(const std::string &Text);

// Drops every capability of the process (the bounding and ambient sets too, where it may) and,
// with an Identity, becomes that user with no supplementary groups. The parent-death signal,
// which a change of user clears, is set again to SIGKILL. Call while the process runs one thread.
// Empty on success, else what failed.
std::string DropPrivileges(const std::optional<TBotIdentity> &Identity);

}  // namespace velkaran
