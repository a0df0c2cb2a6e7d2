#include "sandbox.h"

#include "landlock_ruleset.h"
#include "process_limit.h"
#include "syscall_filter.h"
#include "violation_handler.h"

#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velkaran {

std::string EnterSandbox(const std::string &BotFolder, TViolationReporter Reporter) {
    const TSandboxLayers Layers = DetectSandboxLayers();
    std::string Failure = InstallViolationHandler(Reporter);
    if (Failure.empty() && Layers.NoNewPrivileges && prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        Failure = std::string("no new privileges: ") + std::strerror(errno);
    if (Failure.empty() && Layers.ProcessLimit) Failure = LimitProcesses();
    if (Failure.empty() && Layers.LandlockAbi > 0)
        Failure = RestrictToReadingFolder(BotFolder, Layers.LandlockAbi);
    if (Failure.empty() && Layers.Seccomp) Failure = LoadSyscallFilter(getpid());
    return Failure;
}

}  // namespace velkaran
