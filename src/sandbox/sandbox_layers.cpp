#include "sandbox_layers.h"

#include "landlock_ruleset.h"
#include "process_limit.h"
#include "syscall_filter.h"

#include <sys/prctl.h>

namespace velkaran {

TSandboxLayers DetectSandboxLayers() {
    TSandboxLayers Layers;
    Layers.NoNewPrivileges = prctl(PR_GET_NO_NEW_PRIVS, 0, 0, 0, 0) >= 0;
    Layers.LandlockAbi = LandlockAbi(Layers.LandlockDisabled);
    Layers.Seccomp = SyscallFilterAvailable();
    Layers.ProcessLimit = ProcessLimitTakesEffect();
    return Layers;
}

std::vector<std::string> DescribeSandboxLayers(const TSandboxLayers &Layers) {
    std::vector<std::string> Lines;
    Lines.push_back(
        Layers.NoNewPrivileges
            ? "No new privileges: active - set-user-ID programs and file capabilities give the bot "
              "no rights"
            : "No new privileges: missing - this kernel lacks PR_SET_NO_NEW_PRIVS (Linux 3.5)");

    std::string Landlock;
    if (Layers.LandlockAbi > 0) {
        Landlock = "Landlock: active (ABI " + std::to_string(Layers.LandlockAbi) +
                   ") - the bot reads only its own folder and writes no file";
        if (Layers.LandlockAbi >= 4) Landlock += "; no TCP";
        if (Layers.LandlockAbi >= 6) Landlock += "; its signals and abstract sockets reach no other process";
    } else {
        Landlock =
            Layers.LandlockDisabled
                ? "Landlock: missing - the kernel has it, but it was not enabled at boot (add landlock "
                  "to the lsm= kernel parameter)"
                : "Landlock: missing - this kernel lacks it (Linux 5.13 with CONFIG_SECURITY_LANDLOCK)";
        Landlock += "; the bot can read and write every file its user can";
    }
    Lines.push_back(Landlock);

#if defined(__x86_64__) && !defined(__ILP32__)
    Lines.push_back(Layers.Seccomp
                        ? "System-call filter (seccomp): active - no sockets, no new processes, no access to "
                          "other processes, signals to itself only; a refused call ends the bot"
                        : "System-call filter (seccomp): missing - this kernel cannot trap system calls with "
                          "seccomp");
#else
    Lines.push_back("System-call filter (seccomp): missing - the filter is written for x86-64 only");
#endif

    Lines.push_back(
        Layers.ProcessLimit
            ? "Process limit: active - RLIMIT_NPROC lets the bot start at most " +
                  std::to_string(SandboxTaskAllowance) + " threads more than its user runs"
            : std::string("Process limit: missing - RLIMIT_NPROC does not bind root or a holder of "
                          "CAP_SYS_RESOURCE or CAP_SYS_ADMIN; run as an ordinary user"));
    return Lines;
}

}  // namespace velkaran
