// One worker process per bot library file, kept for a whole run and replaced after a fault.
#pragma once

#include "output_relay.h"
#include "players/bot_library.h"
#include "players/player_seat.h"
#include "rules/game_limits.h"
#include "worker_process.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace velkaran {

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
    double CallTimeoutMs = CallDeadlineMs(MoveTimeLimitMs);  // any game call
    double LoadTimeoutMs = 5000.0;                           // start, load and the name checks
    double StopGraceMs = 2000.0;                             // a worker's own ending, at the run's end
    // Where bots' output goes: empty for the host's stderr, each line after the library's file
    // name; else a folder that gets one file per library, "<file name>.log".
    std::string OutputFolder;
    // The relay for output to stderr, shared by the pools of a run; made by the pool when null.
    std::shared_ptr<TOutputRelay> Relay;
};

// How a worker ended at the end of the run, when that was not a clean exit.
struct TWorkerEnding {
    std::string Path;  // the library
    std::string How;   // e.g. "killed by SIGSEGV (Segmentation fault)"
};

// The workers of one runner thread. Libraries are told apart by their file (device and inode),
// so two names of one file share a worker, as one loaded library would serve both. Not
// thread-safe: every call comes from the thread that runs the games.
class TBotWorkerPool {
public:
    explicit TBotWorkerPool(TWorkerPoolSettings Settings);
    // Ends every worker (see StopAll).
    ~TBotWorkerPool();
    TBotWorkerPool(const TBotWorkerPool &) = delete;
    TBotWorkerPool &operator=(const TBotWorkerPool &) = delete;

    // Runs the loading checks of the library at Path (with a '/') in its worker, started when
    // needed, within the load deadline. A library that crashes, hangs or breaks the protocol
    // while it loads is unusable, with the reason; so is one whose worker cannot start. The
    // worker of a usable library is kept for the games; an unusable library's is ended.
    TBotLoad Probe(const std::string &Path);

    // The seat functions for Bot (its Path), talking to the library's worker. After a fault the
    // worker is gone and a fresh one (loaded again) serves the seat's next game; a seat whose
    // worker died in the other seat's call of the same game is skipped, not called. A call not
    // answered within CallTimeoutMs (the settings' when not given) is given up.
    TSeatCalls Seat(const TBot &Bot);
    TSeatCalls Seat(const TBot &Bot, double CallTimeoutMs);

    // The process of the live worker of the library at Path, or -1 when it has none.
    pid_t WorkerPid(const std::string &Path) const;

    // Ends the workers of libraries other than Paths.
    void Retain(const std::vector<std::string> &Paths);

    // Asks every worker to end, waits for each up to the grace, ends what is left of the groups;
    // returns those that did not end cleanly.
    std::vector<TWorkerEnding> StopAll();

    struct TEntry;

private:
    TEntry &EntryFor(const std::string &Path);
    std::string StartWorker(TEntry &Entry);
    TCallOutcome Restart(TEntry &Entry);
    int OutputFor(const TEntry &Entry, std::string &Error);

    TWorkerPoolSettings Settings;
    std::shared_ptr<TOutputRelay> Relay;
    std::vector<std::unique_ptr<TEntry>> Entries;
};

}  // namespace velkaran
