#include "sandbox_layers.h"

#include "landlock_ruleset.h"
#include "process_limit.h"
#include "syscall_filter.h"
#include "worker_cgroups.h"

#include <sys/prctl.h>
#include <unistd.h>

namespace velkaran {
namespace {

TCgroupCap CapOf(const std::string &Parent, bool V2) {
    if (Parent.empty()) return TCgroupCap::None;
    return V2 ? TCgroupCap::V2 : TCgroupCap::V1;
}

std::string GroupKind(TCgroupCap Cap, const char *Controller) {
    return std::string(Cap == TCgroupCap::V2 ? "cgroup v2 " : "cgroup v1 ") + Controller;
}

}  // namespace

TSandboxLayers DetectKernelLayers() {
    TSandboxLayers Layers;
    Layers.NoNewPrivileges = prctl(PR_GET_NO_NEW_PRIVS, 0, 0, 0, 0) >= 0;
    Layers.LandlockAbi = LandlockAbi(Layers.LandlockDisabled);
    Layers.Seccomp = SyscallFilterAvailable();
    return Layers;
}

TSandboxLayers DetectSandboxLayers(const std::string &User) {
    TSandboxLayers Layers = DetectKernelLayers();
    const TCgroupSupport &Groups = CgroupSupport();
    Layers.TaskGroups = CapOf(Groups.TasksParent, Groups.TasksV2);
    Layers.MemoryGroups = CapOf(Groups.MemoryParent, Groups.MemoryV2);
    Layers.CgroupsMissing = Groups.Why;
    Layers.Root = geteuid() == 0;
    Layers.Identity = SandboxedBotIdentity(User, Layers.IdentityProblem);
    if (Layers.Root && !Layers.Identity && Layers.IdentityProblem.empty())
        Layers.IdentityProblem =
            "there is no user \"nobody\" to run the bots as; name one with --sandbox-user";
    return Layers;
}

std::vector<TLayerReport> ReportSandboxLayers(const TSandboxLayers &Layers) {
    std::vector<TLayerReport> Reports;
    Reports.push_back(
        {Layers.NoNewPrivileges,
         Layers.NoNewPrivileges
             ? "No new privileges: active - set-user-ID programs and file capabilities give the bot no rights"
             : "No new privileges: missing - this kernel lacks PR_SET_NO_NEW_PRIVS (Linux 3.5)"});

    if (Layers.Root && Layers.Identity && Layers.Identity->OwnUser) {
        Reports.push_back({true,
                           "Privileges: active - the worker drops every capability and runs as a user "
                           "of its own (uid " +
                               std::to_string(OwnUidBase) + " plus its process id, group " +
                               std::to_string(Layers.Identity->Gid) +
                               "), which must be able to read the bot's data folder"});
    } else if (Layers.Root) {
        Reports.push_back(
            {Layers.Identity.has_value(),
             Layers.Identity
                 ? "Privileges: active - the worker drops every capability and runs as user " +
                       Layers.Identity->Name + " (uid " + std::to_string(Layers.Identity->Uid) +
                       "), which must be able to read the bot's data folder"
                 : "Privileges: missing - " + Layers.IdentityProblem + "; the bot would run as root"});
    } else {
        Reports.push_back({true, "Privileges: active - the worker keeps this user (uid " +
                                     std::to_string(getuid()) + ") and drops any capability"});
    }

    std::string Landlock;
    if (Layers.LandlockAbi > 0) {
        Landlock = "Landlock: active (ABI " + std::to_string(Layers.LandlockAbi) +
                   ") - the bot reads only its library, its NAME.data folder beside it and the system's "
                   "libraries, and writes no file";
        if (Layers.LandlockAbi >= 4) Landlock += "; no TCP";
        if (Layers.LandlockAbi >= 6) Landlock += "; its signals and abstract sockets reach no other process";
    } else {
        Landlock =
            Layers.LandlockDisabled
                ? "Landlock: missing - the kernel has it, but it was not enabled at boot (add landlock to "
                  "the lsm= kernel parameter)"
                : "Landlock: missing - this kernel lacks it (Linux 5.13 with CONFIG_SECURITY_LANDLOCK)";
        Landlock +=
            "; the bot can read every file its user can (the system-call filter still refuses writing)";
    }
    Reports.push_back({Layers.LandlockAbi > 0, Landlock});

#if defined(__x86_64__) && !defined(__ILP32__)
    Reports.push_back(
        {Layers.Seccomp,
         Layers.Seccomp
             ? "System-call filter (seccomp): active - an allow-list of what the loader, the C and C++ "
               "runtimes, threads, memory and time need; no sockets, no new processes, no System V IPC "
               "or message queues, no access to other processes, signals to itself only; a refused call "
               "ends the bot and is named"
             : "System-call filter (seccomp): missing - this kernel cannot trap system calls with seccomp"});
#else
    Reports.push_back(
        {false, "System-call filter (seccomp): missing - the filter is written for x86-64 only"});
#endif

    const std::string Tasks = std::to_string(SandboxTaskCap);
    if (Layers.Root && Layers.Identity && Layers.Identity->OwnUser) {
        Reports.push_back({true,
                           "Thread limit: active - RLIMIT_NPROC of the worker's own user, which "
                           "runs nothing else, lets it run at most " +
                               Tasks + " threads"});
    } else if (Layers.TaskGroups != TCgroupCap::None) {
        Reports.push_back({true, "Thread limit: active - a control group per worker (" +
                                     GroupKind(Layers.TaskGroups, "pids") + ") runs at most " + Tasks +
                                     " threads"});
    } else if ((Layers.Root && Layers.Identity) || (!Layers.Root && ProcessLimitTakesEffect())) {
        Reports.push_back(
            {true, "Thread limit: active - RLIMIT_NPROC lets a bot start at most " + Tasks +
                       " threads more than its user runs (no control group: " + Layers.CgroupsMissing + ")"});
    } else {
        Reports.push_back({false, "Thread limit: missing - no control group (" + Layers.CgroupsMissing +
                                      "), and RLIMIT_NPROC does not bind root or a holder of "
                                      "CAP_SYS_RESOURCE or CAP_SYS_ADMIN"});
    }

    if (Layers.MemoryGroups != TCgroupCap::None) {
        Reports.push_back({true, "Memory cap (--bot-memory): active - a control group per worker (" +
                                     GroupKind(Layers.MemoryGroups, "memory") +
                                     ") caps all a bot holds, memfd and shared memory included, besides "
                                     "its address space"});
    } else {
        Reports.push_back({Layers.Seccomp,
                           Layers.Seccomp
                               ? "Memory cap (--bot-memory): active - the address space is capped, and "
                                 "memfd_create and System V shared memory are refused (no control group: " +
                                     Layers.CgroupsMissing + ")"
                               : "Memory cap (--bot-memory): missing - only the address space is capped, and "
                                 "without the system-call filter memory shared by descriptor escapes it"});
    }
    return Reports;
}

std::vector<std::string> DescribeSandboxLayers(const TSandboxLayers &Layers) {
    std::vector<std::string> Lines;
    for (const TLayerReport &Report : ReportSandboxLayers(Layers)) Lines.push_back(Report.Text);
    std::string Programs =
        "Bots that are programs (NAME.bot): the same layers, entered before the program starts; they "
        "may also read their folder, read and run their program, its interpreter and the system's "
        "programs (/usr, /bin, /lib, /lib64), and replace themselves with a program (exec), never start "
        "a second process or write a file";
    if (Layers.Root && Layers.Identity)
        Programs +=
            "; the user they run as must be able to read their folder and run their program and "
            "interpreter (not one under /root, such as ~/.pyenv/shims/python3)";
    Lines.push_back(Programs);
    return Lines;
}

}  // namespace velkaran

namespace velkaran {

TSandboxStart CheckSandboxStart(bool Strict, const std::string &User) {
    const TSandboxLayers Layers = DetectSandboxLayers(User);
    TSandboxStart Start;
    if (Layers.Root && !User.empty() && !Layers.Identity) {
        Start.Lines.push_back("--sandbox-user: " + Layers.IdentityProblem);
        Start.Refused = true;
        return Start;
    }
    for (const TLayerReport &Report : ReportSandboxLayers(Layers))
        if (!Report.Active) Start.Lines.push_back("the sandbox lacks a layer: " + Report.Text);
    if (Strict && !Start.Lines.empty()) {
        Start.Lines.push_back(
            "--sandbox=strict runs bots only with every layer of the sandbox; nothing was played");
        Start.Refused = true;
    }
    return Start;
}

}  // namespace velkaran
