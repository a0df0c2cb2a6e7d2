// The watch: a signalfd and a wake-up pipe, polled by one thread.
#include "termination_watch.h"

#include "host_failure.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

namespace velkaran {
namespace {

sigset_t EndingSignals() {
    sigset_t Ending;
    sigemptyset(&Ending);
    for (const int Signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&Ending, Signal);
    return Ending;
}

}  // namespace

struct TTerminationWatch::TState {
    int Signals = -1;
    int Wake[2] = {-1, -1};
    std::thread Thread;
};

TTerminationWatch::TTerminationWatch(std::function<void(int Signal)> OnSignal)
    : State(std::make_unique<TState>()) {
    const sigset_t Ending = EndingSignals();
    pthread_sigmask(SIG_BLOCK, &Ending, nullptr);
    State->Signals = signalfd(-1, &Ending, SFD_CLOEXEC);
    if (State->Signals < 0) ThrowHostFailure("cannot watch for signals", errno);
    if (pipe2(State->Wake, O_CLOEXEC) != 0) ThrowHostFailure("cannot watch for signals", errno);
    State->Thread = std::thread([State = State.get(), OnSignal = std::move(OnSignal)] {
        bool Heard = false;
        for (;;) {
            pollfd Watch[2] = {{State->Signals, POLLIN, 0}, {State->Wake[0], POLLIN, 0}};
            if (poll(Watch, 2, -1) < 0 && errno != EINTR) return;
            if (Watch[1].revents != 0) return;
            if (Watch[0].revents == 0) continue;
            signalfd_siginfo Info{};
            if (read(State->Signals, &Info, sizeof Info) != static_cast<ssize_t>(sizeof Info)) continue;
            const int Signal = static_cast<int>(Info.ssi_signo);
            if (Heard) EndAsSignal(Signal);
            Heard = true;
            OnSignal(Signal);
        }
    });
}

TTerminationWatch::~TTerminationWatch() {
    (void)!write(State->Wake[1], "x", 1);
    State->Thread.join();
    for (const int Fd : {State->Signals, State->Wake[0], State->Wake[1]})
        if (Fd >= 0) close(Fd);
}

void EndAsSignal(int Signal) {
    signal(Signal, SIG_DFL);
    sigset_t Only;
    sigemptyset(&Only);
    sigaddset(&Only, Signal);
    // The signal is blocked in every thread: raised and unblocked here, it ends the process.
    raise(Signal);
    pthread_sigmask(SIG_UNBLOCK, &Only, nullptr);
    std::_Exit(128 + Signal);
}

}  // namespace velkaran
