// Who a sandboxed bot runs as: under a root host, an unprivileged user and no capability at all.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace velkaran {

struct TBotIdentity {
    uid_t Uid = 0;
    gid_t Gid = 0;
    std::string Name;  // for messages: the user's name, or its number
};

// The user a sandboxed bot runs as when this process is root: User (a name or a number), or
// "nobody" when User is empty. Nullopt when this process is not root (the bot keeps its user),
// or when no such user exists (then Error says so; for an empty User, Error stays empty).
std::optional<TBotIdentity> SandboxedBotIdentity(const std::string &User, std::string &Error);

// "UID:GID", as the worker is told it, and back; nullopt for a text that is not one.
std::string IdentityArgument(const TBotIdentity &Identity);
std::optional<TBotIdentity> IdentityFromArgument(const std::string &Text);

// Drops every capability of the process (the bounding and ambient sets too, where it may) and,
// with an Identity, becomes that user with no supplementary groups. The parent-death signal,
// which a change of user clears, is set again to SIGKILL. Call while the process runs one thread.
// Empty on success, else what failed.
std::string DropPrivileges(const std::optional<TBotIdentity> &Identity);

}  // namespace velkaran
