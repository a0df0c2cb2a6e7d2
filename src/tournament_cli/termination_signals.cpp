// The blocked signals, looked at with sigpending and taken with sigtimedwait.
#include "termination_signals.h"

#include <signal.h>

#include <ctime>
#include <initializer_list>

namespace velkaran {
namespace {

sigset_t Termination() {
    sigset_t Signals;
    sigemptyset(&Signals);
    for (const int Signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&Signals, Signal);
    return Signals;
}

}  // namespace

void BlockTerminationSignals() {
    const sigset_t Signals = Termination();
    pthread_sigmask(SIG_BLOCK, &Signals, nullptr);
}

bool TerminationPending() {
    sigset_t Pending;
    sigemptyset(&Pending);
    if (sigpending(&Pending) != 0) return false;
    for (const int Signal : {SIGINT, SIGTERM, SIGHUP})
        if (sigismember(&Pending, Signal) == 1) return true;
    return false;
}

bool TakeTermination(long Milliseconds) {
    const sigset_t Signals = Termination();
    const timespec Wait{Milliseconds / 1000, (Milliseconds % 1000) * 1'000'000};
    return sigtimedwait(&Signals, nullptr, &Wait) > 0;
}

}  // namespace velkaran
