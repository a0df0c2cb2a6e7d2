// Plays the games of a tournament, several at once, each game with workers of its own.
#pragma once

#include "index_ranges.h"
#include "schedule.h"

#include "records/game_record.h"
#include "workers/worker_pool.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace velkaran {

struct TRunnerSettings {
    int Concurrency = 1;          // games at once, each on a thread of its own
    std::string Folder = ".";     // where the bots' libraries are
    TWorkerPoolSettings Workers;  // how workers start (the call deadline follows the configuration's
                                  // move limit); their run (made when null) is the tournament's
    bool PinThreads = true;       // each thread, and its workers, on one CPU
};

// A finished game: its record and the thinking time of each of its moves.
using TGameSink = std::function<bool(const TGameRecord &Record, const std::vector<double> &MoveTimesMs)>;

class TTournamentRunner {
public:
    TTournamentRunner(const TTournamentConfig &Config, TRunnerSettings Settings);

    // Plays every game First .. End - 1 of the schedule that Done does not hold, in the schedule's
    // order, with Concurrency games at once; every thread has a worker of its own for each bot, so
    // that no two games running at the same time share a library's globals. Each finished game goes
    // to Sink, one at a time; Sink returns false to end the tournament (an SPRT has decided), which
    // then stops as Stop does. Returns when every game is played or the tournament was stopped.
    // A failure of the host (no worker could be started, say) stops the tournament: Failure says why.
    void Run(int64_t First, int64_t End, const TIndexRanges &Done, const TGameSink &Sink);

    // Callable from any thread: no game starts any more, and the games in flight are abandoned
    // (the workers of this tournament's run ended, and no others) and never reach Sink.
    void Stop();
    bool Stopped() const { return Stopping.load(); }
    // Callable from any thread: no game starts any more, and the games in flight are played to
    // their end and reach Sink as usual.
    void StopTaking() { Finishing.store(true); }
    // After Run: what ended it from within (the host out of memory, say), empty when nothing did.
    std::string Failure() const;

private:
    void PlayGames(const TGameSink &Sink);
    // Notes What as the failure that ends the run (the first one counts) and stops it.
    void Fail(const std::string &What);
    // The next game to play, or -1 when there is none left.
    int64_t TakeGame();

    TTournamentConfig Config;
    TSchedule Schedule;
    TRunnerSettings Settings;
    std::mutex TakeLock;  // over the three below
    TIndexRanges Skipped;
    int64_t Next = 0;
    int64_t Last = 0;  // one past the last game to play
    std::atomic<bool> Stopping{false};
    std::atomic<bool> Finishing{false};
    std::mutex SinkLock;
    mutable std::mutex FailureLock;
    std::string Failure_;
};

}  // namespace velkaran
