#include "syscall_filter.h"

#include "compiled_filters.h"
#include "process_refusals.h"

#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velkaran {
namespace {

// Loads Program for every thread of the process. Empty on success, else what failed.
std::string Load(std::span<const sock_filter> Program, const char *Which) {
    sock_fprog Filter{static_cast<unsigned short>(Program.size()), const_cast<sock_filter *>(Program.data())};
    const long Result = syscall(__NR_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_TSYNC, &Filter);
    if (Result > 0) return "seccomp: thread " + std::to_string(Result) + " cannot take the filter";
    if (Result < 0)
        return std::string("seccomp: cannot load the filter of ") + Which + ": " + std::strerror(errno);
    return "";
}

}  // namespace

bool SyscallFilterAvailable() {
#if defined(__x86_64__) && !defined(__ILP32__)
    if (prctl(PR_GET_SECCOMP, 0, 0, 0, 0) < 0) return false;  // built without seccomp
    uint32_t Action = SECCOMP_RET_TRAP;
    if (syscall(__NR_seccomp, SECCOMP_GET_ACTION_AVAIL, 0, &Action) == 0) return true;
    return errno == EINVAL;  // a kernel older than this query, which has filters that trap (3.5 on)
#else
    return false;
#endif
}

std::string LoadSyscallFilter(const TFilterSettings &Settings) {
    // A filter may be loaded without privileges only by a process that cannot gain any.
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return std::string("seccomp: cannot set no new privileges: ") + std::strerror(errno);
    // When filters disagree the stricter answer wins; between two errors, the later filter's.
    std::string Failure =
        Load(ProcessRefusals(Settings.Self, Settings.MemoryCapped), "this process's refusals");
    if (Failure.empty())
        Failure = Load(Settings.Program ? CompiledProgramRefusals() : CompiledRefusals(), "refused calls");
    if (Failure.empty())
        Failure = Load(Settings.Program ? CompiledProgramAllowList() : CompiledAllowList(), "allowed calls");
    return Failure;
}

}  // namespace velkaran
