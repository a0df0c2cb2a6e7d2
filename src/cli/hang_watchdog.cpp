// The watchdog thread: it notes when it first saw the call in progress and reports the call once
// the same call is still in progress past the limit.
#include "hang_watchdog.h"

#include "crash_guard.h"
#include "players/bot_call_guard.h"

#include <pthread.h>

#include <csignal>
#include <cstdint>

namespace velkaran {
namespace {

// How often the watchdog looks: the report comes at most this late.
constexpr std::chrono::milliseconds PollInterval{200};

}  // namespace

THangWatchdog::THangWatchdog(std::chrono::seconds Limit) : Limit_(Limit) {
    // Signals meant for the program keep going to the thread that runs the bots.
    sigset_t All, Previous;
    sigfillset(&All);
    pthread_sigmask(SIG_BLOCK, &All, &Previous);
    Thread_ = std::thread([this] { Watch(); });
    pthread_sigmask(SIG_SETMASK, &Previous, nullptr);
}

THangWatchdog::~THangWatchdog() {
    {
        const std::lock_guard Lock(Mutex_);
        Stopping_ = true;
    }
    Wake_.notify_one();
    Thread_.join();
}

void THangWatchdog::Watch() {
    using Clock = std::chrono::steady_clock;
    uint64_t Watched = 0;  // the token of the call seen last, 0 for none
    Clock::time_point FirstSeen;
    std::unique_lock Lock(Mutex_);
    while (!Wake_.wait_for(Lock, PollInterval, [this] { return Stopping_; })) {
        const TCallSnapshot Now = SnapshotCallInProgress();
        if (Now.Token != Watched) {
            Watched = Now.Token;
            FirstSeen = Clock::now();
        } else if (Watched != 0 && Clock::now() - FirstSeen > Limit_) {
            ReportHang(Now.View(), Limit_);
        }
    }
}

}  // namespace velkaran
