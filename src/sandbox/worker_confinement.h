// The host's side of confining one bot worker: the control groups it is started in, and the
// arguments that tell the worker program how to lock itself down before it loads the bot.
#pragma once

#include "worker_cgroups.h"

#include <memory>
#include <string>
#include <vector>

namespace velkaran {

struct TConfinementSettings {
    long long MemoryMb = 0;  // the cap on all a worker holds; 0: none
    bool Sandbox = false;    // lock the worker down (and cap its tasks)
    bool Strict = false;     // fail rather than go on without a layer
    std::string User;  // under the sandbox as root: the user bots run as; empty: one of each worker's own
};

// One worker's confinement, from before its start until after it is reaped.
class TWorkerConfinement {
public:
    // Makes the worker's control groups (where the machine allows them) and its arguments for the
    // bot's library at LibraryPath. Null with the reason in Error when a strict sandbox cannot be
    // had, or a control group cannot be made under it; without Strict, a group that cannot be made
    // is named once on stderr and the worker goes without it.
    static std::unique_ptr<TWorkerConfinement> Prepare(const TConfinementSettings &Settings,
                                                       const std::string &LibraryPath, std::string &Error);

    // The worker program's arguments that go before the library's path.
    const std::vector<std::string> &Arguments() const { return WorkerArguments; }

    // In the child between fork and exec: enters the control groups. Async-signal-safe; false
    // when that failed (the child must not go on).
    bool JoinFromChild() const noexcept { return !Groups || Groups->Join(); }

    // In the host once the child has been started.
    void ChildStarted() {
        if (Groups) Groups->CloseJoinHandles();
    }

    // In the host once the worker has been reaped: ends what is left of it, removes its groups,
    // and returns a note to add to how it ended (" (it reached its memory cap of 256 MB)"), if any.
    std::string Release() { return Groups ? Groups->Remove() : ""; }

private:
    std::vector<std::string> WorkerArguments;
    std::unique_ptr<TWorkerCgroups> Groups;
};

}  // namespace velkaran
