// A fixed table of lock-free slots: registering is a compare-and-swap, the signal handler a scan.
#include "worker_registry.h"

#include <signal.h>

#include <atomic>
#include <cstddef>

namespace velkaran {
namespace {

constexpr std::size_t Slots = 4096;
std::atomic<pid_t> Groups[Slots];
static_assert(std::atomic<pid_t>::is_always_lock_free, "read from a signal handler");

void EndWorkersAndResignal(int Signal) {
    KillAllWorkerGroups();
    signal(Signal, SIG_DFL);
    raise(Signal);
}

}  // namespace

void RegisterWorkerGroup(pid_t Group) {
    for (std::atomic<pid_t> &Slot : Groups) {
        pid_t Empty = 0;
        if (Slot.compare_exchange_strong(Empty, Group)) return;
    }
    // More workers than slots: this one is still ended with the host by its parent-death signal.
}

void UnregisterWorkerGroup(pid_t Group) {
    for (std::atomic<pid_t> &Slot : Groups) {
        pid_t Expected = Group;
        if (Slot.compare_exchange_strong(Expected, 0)) return;
    }
}

void KillAllWorkerGroups() {
    for (std::atomic<pid_t> &Slot : Groups) {
        const pid_t Group = Slot.load();
        if (Group > 0) kill(-Group, SIGKILL);
    }
}

void EndWorkersOnTerminationSignals() {
    struct sigaction Action {};
    Action.sa_handler = EndWorkersAndResignal;
    sigemptyset(&Action.sa_mask);
    Action.sa_flags = SA_RESETHAND;
    for (int Signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(Signal, &Action, nullptr);
}

}  // namespace velkaran
