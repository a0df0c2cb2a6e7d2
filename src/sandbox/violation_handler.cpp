#include "violation_handler.h"

#include "refused_calls.h"

#include <linux/audit.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#ifndef SYS_SECCOMP
#define SYS_SECCOMP 1
#endif

namespace velkaran {
namespace {

constexpr int X32SystemCallBit = 0x40000000;

std::atomic<TViolationReporter> Reporter{nullptr};
alignas(16) char AlternateStack[64 * 1024];

// What the process tried, for the reporter.
const char *RefusedCallDescription(const siginfo_t &Info) {
    if (Info.si_code != SYS_SECCOMP) return "SIGSYS";  // raised by the process itself
    if (Info.si_arch != AUDIT_ARCH_X86_64) return "i386 system call";
    if ((Info.si_syscall & X32SystemCallBit) != 0) return "x32 system call";
    const char *Name = RefusedCallName(Info.si_syscall);
    return Name != nullptr ? Name : "unknown system call";
}

// Ends the process with the raw exit_group call rather than _exit: before a no-return call,
// AddressSanitizer looks the thread's stack up in /proc/self/maps, which Landlock forbids by then.
void OnRefusedCall(int, siginfo_t *Info, void *) {
    if (const TViolationReporter Report = Reporter.load()) Report(RefusedCallDescription(*Info));
    for (;;) syscall(SYS_exit_group, SandboxViolationStatus);
}

}  // namespace

std::string InstallViolationHandler(TViolationReporter NewReporter) {
    static_assert(std::atomic<TViolationReporter>::is_always_lock_free);
    Reporter.store(NewReporter);
    stack_t Stack{};
    Stack.ss_sp = AlternateStack;
    Stack.ss_size = sizeof(AlternateStack);
    struct sigaction Action {};
    Action.sa_sigaction = OnRefusedCall;
    Action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigfillset(&Action.sa_mask);
    sigset_t Sigsys;
    sigemptyset(&Sigsys);
    sigaddset(&Sigsys, SIGSYS);
    if (sigaltstack(&Stack, nullptr) != 0 || sigaction(SIGSYS, &Action, nullptr) != 0 ||
        (errno = pthread_sigmask(SIG_UNBLOCK, &Sigsys, nullptr)) != 0)
        return std::string("SIGSYS handler: cannot install it: ") + std::strerror(errno);
    return "";
}

}  // namespace velkaran
