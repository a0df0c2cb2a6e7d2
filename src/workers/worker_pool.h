// One worker process per bot library, kept for a whole run and replaced after a fault.
#pragma once

#include "players/bot_library.h"
#include "players/player_seat.h"
#include "rules/game_limits.h"
#include "worker_process.h"
#include "worker_run.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace velkaran {

// How long a library may take to load and answer its name checks.
inline constexpr double DefaultLoadTimeoutMs = 30000.0;

// How long the host waits for a worker beyond the move time limit before it gives the call up.
inline constexpr double WorkerGraceMs = 2000.0;

// How long the host waits for a game call when a move may take MoveLimitMs: the limit and a grace
// of a tenth of it, at least 200 ms and at most WorkerGraceMs (22 s for the game's 20 s, 250 ms
// for 50 ms), so that a short limit also ends a hung bot's call soon.
constexpr double CallDeadlineMs(double MoveLimitMs) {
    return MoveLimitMs + std::max(200.0, std::min(WorkerGraceMs, MoveLimitMs / 10));
}

struct TWorkerPoolSettings {
    TWorkerSettings Worker;
    // Any game call. The environment variable VELKARAN_TEST_CALL_DEADLINE_MS, a test hook,
    // replaces it, so that tests of a hanging bot need not wait the whole deadline.
    double CallTimeoutMs = CallDeadlineMs(MoveTimeLimitMs);
    double LoadTimeoutMs = DefaultLoadTimeoutMs;  // start, load and the name checks
    double StopGraceMs = 2000.0;                  // a worker's own ending, at the run's end
    // The run the workers belong to (its pinned libraries, its output, its stop), shared by the
    // pools of one run; when null the pool makes one of its own, the output going to stderr.
    std::shared_ptr<TWorkerRun> Run;
    // Each probe looks at the library as it is now, pinning a changed file anew and replacing its
    // worker (a bot list that follows its folder); otherwise the run keeps what it began with.
    bool FollowFileChanges = false;
};

// How a worker ended at the end of the run, when that was not a clean exit.
struct TWorkerEnding {
    std::string Path;  // the library
    std::string How;   // e.g. "killed by SIGSEGV (Segmentation fault)"
};

// The workers of one runner thread. Two names of one library file share a worker, as one loaded
// library would serve both. Not thread-safe: every call comes from the thread that runs the
// games. A failure of the host's own (see THostFailure) is thrown from any call, never reported
// as a bot's fault.
class TBotWorkerPool {
public:
    explicit TBotWorkerPool(TWorkerPoolSettings Settings);
    // Ends every worker (see StopAll).
    ~TBotWorkerPool();
    TBotWorkerPool(const TBotWorkerPool &) = delete;
    TBotWorkerPool &operator=(const TBotWorkerPool &) = delete;

    // Runs the loading checks of the library at Path (with a '/') in its worker, started when
    // needed, within the load deadline; the run pins the library's content first. A library that
    // cannot be read, crashes, hangs or breaks the protocol while it loads is unusable, with the
    // reason. The worker of a usable library is kept for the games; an unusable library's is ended.
    TBotLoad Probe(const std::string &Path);

    // The seat functions for Bot (its Path), talking to the library's worker. After a fault the
    // worker is gone and a fresh one (loaded again) serves the seat's next call of a game; a
    // seat whose worker died in the other seat's call of the same game is skipped, not called. A
    // call not answered within CallTimeoutMs (the settings' when not given) is given up.
    TSeatCalls Seat(const TBot &Bot);
    TSeatCalls Seat(const TBot &Bot, double CallTimeoutMs);

    // The process of the live worker of the library at Path, or -1 when it has none.
    pid_t WorkerPid(const std::string &Path) const;

    // Ends the workers of libraries other than Paths.
    void Retain(const std::vector<std::string> &Paths);

    // Asks every worker to end, waits for each up to the grace, ends what is left of them;
    // returns those that did not end cleanly.
    std::vector<TWorkerEnding> StopAll();

    const std::shared_ptr<TWorkerRun> &Run() const { return Settings.Run; }

    struct TEntry;

private:
    TEntry *EntryFor(const std::string &Path, std::string &Error);
    TCallOutcome Restart(TEntry &Entry);

    TWorkerPoolSettings Settings;
    std::vector<std::unique_ptr<TEntry>> Entries;
};

}  // namespace velkaran
