// Plays the games of a tournament, several at once, each game with workers of its own.
#pragma once

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

    // Plays every game of the schedule for which Skip is false, in the schedule's order, with
    // Concurrency games at once; every thread has a worker of its own for each bot, so that no
    // two games running at the same time share a library's globals. Each finished game goes to
    // Sink, one at a time; Sink returns false to end the tournament (an SPRT has decided), which
    // then stops as Stop does. Returns when every game is played or the tournament was stopped.
    // A failure of the host (THostFailure) or an exception of Sink stops the tournament and is
    // rethrown here.
    void Run(const std::function<bool(int64_t Index)> &Skip, const TGameSink &Sink);

    // Callable from any thread: no game starts any more, and the games in flight are abandoned
    // (the workers of this tournament's run ended, and no others) and never reach Sink.
    void Stop();
    bool Stopped() const { return Stopping.load(); }

private:
    void PlayGames(int Thread, const std::function<bool(int64_t Index)> &Skip, const TGameSink &Sink);

    TTournamentConfig Config;
    TSchedule Schedule;
    TRunnerSettings Settings;
    std::atomic<int64_t> Next{0};
    std::atomic<bool> Stopping{false};
    std::mutex SinkLock;
};

}  // namespace velkaran
