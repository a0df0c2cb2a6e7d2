#include "worker_confinement.h"

#include "bot_identity.h"
#include "sandbox.h"

#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <optional>

namespace velkaran {
namespace {

// The identity bots run as for User, looked up once per user name.
std::optional<TBotIdentity> IdentityFor(const std::string &User, std::string &Error) {
    static std::mutex Lock;
    static std::string LastUser;
    static std::optional<TBotIdentity> LastIdentity;
    static std::string LastError;
    static bool Known = false;
    const std::lock_guard Guard(Lock);
    if (!Known || LastUser != User) {
        LastIdentity = SandboxedBotIdentity(User, LastError);
        LastUser = User;
        Known = true;
    }
    Error = LastError;
    return LastIdentity;
}

}  // namespace

std::unique_ptr<TWorkerConfinement> TWorkerConfinement::Prepare(const TConfinementSettings &Settings,
                                                                const std::string &LibraryPath,
                                                                std::string &Error) {
    Error.clear();
    std::unique_ptr<TWorkerConfinement> Made(new TWorkerConfinement);
    std::string IdentityError;
    const std::optional<TBotIdentity> Identity =
        Settings.Sandbox ? IdentityFor(Settings.User, IdentityError) : std::nullopt;
    // A user of the worker's own caps its tasks with RLIMIT_NPROC: no control group is needed for
    // that, and joining one costs a worker's start milliseconds.
    const bool OwnUser = Identity && Identity->OwnUser;
    const uint64_t Tasks = Settings.Sandbox && !OwnUser ? SandboxTaskCap : 0;
    std::string GroupError;
    Made->Groups = TWorkerCgroups::Create(Settings.MemoryMb, Tasks, GroupError);
    if (!GroupError.empty()) {
        if (Settings.Sandbox && Settings.Strict) {
            Error = "the sandbox is incomplete: " + GroupError;
            return nullptr;
        }
        static std::once_flag Told;
        std::call_once(Told, [&] {
            std::fprintf(stderr, "velkaran: bot workers go without a control group: %s\n",
                         GroupError.c_str());
        });
    }
    if (!Settings.Sandbox) return Made;

    std::vector<std::string> &Arguments = Made->WorkerArguments;
    Arguments = {"--sandbox", "--bot-data", BotDataFolder(LibraryPath)};
    if (Identity) {
        Arguments.insert(Arguments.end(), {"--user", IdentityArgument(*Identity)});
    } else if (!IdentityError.empty() || (Settings.Strict && geteuid() == 0)) {
        Error =
            IdentityError.empty() ? "the sandbox is incomplete: no user to run the bots as" : IdentityError;
        return nullptr;
    }
    if (Made->Groups && Made->Groups->MemoryCapped()) Arguments.emplace_back("--memory-capped");
    if (Made->Groups && Made->Groups->TasksCapped()) Arguments.emplace_back("--tasks-capped");
    return Made;
}

}  // namespace velkaran
