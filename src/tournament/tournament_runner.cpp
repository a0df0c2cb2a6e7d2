// The runner's threads: each takes the next game of the schedule, plays it with its own workers
// and hands the record on.
#include "tournament_runner.h"

#include "match/game_loop.h"
#include "match/game_recording.h"
#include "players/quiet_game_interface.h"
#include "workers/cpu_pinning.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>

namespace velkaran {

TTournamentRunner::TTournamentRunner(const TTournamentConfig &Config, TRunnerSettings Settings)
    : Config(Config), Schedule(Config), Settings(std::move(Settings)) {
    // A hung call is given up soon after the tournament's own move limit.
    this->Settings.Workers.CallTimeoutMs = CallDeadlineMs(Config.MoveLimitMs);
    if (!this->Settings.Workers.Run) this->Settings.Workers.Run = std::make_shared<TWorkerRun>();
}

void TTournamentRunner::Run(int64_t First, int64_t End, const TIndexRanges &Done, const TGameSink &Sink) {
    {
        const std::lock_guard<std::mutex> Guard(TakeLock);
        Skipped = Done;
        Next = std::max<int64_t>(First, 0);
        Last = std::min(End, Schedule.Games());
    }
    const int Threads = std::max(1, Settings.Concurrency);
    const std::vector<int> Cpus = UsableCpus();
    std::vector<std::thread> Running;
    try {
        for (int Thread = 0; Thread < Threads; ++Thread) {
            Running.emplace_back([this, Thread, &Sink, &Cpus] {
                if (Settings.PinThreads && !Cpus.empty())
                    PinThisThreadToOneCpu(Cpus[static_cast<std::size_t>(Thread) % Cpus.size()]);
                try {
                    PlayGames(Sink);
                } catch (const std::exception &Error) {  // the host failed, or the sink did
                    Fail(Error.what());
                } catch (...) {
                    Fail("an unknown failure");
                }
            });
        }
    } catch (const std::exception &Error) {  // a thread could not be started
        Fail(Error.what());
    }
    for (std::thread &Thread : Running) Thread.join();
}

void TTournamentRunner::Fail(const std::string &What) {
    {
        const std::lock_guard<std::mutex> Guard(FailureLock);
        if (Failure_.empty()) Failure_ = What;
    }
    Stop();
}

std::string TTournamentRunner::Failure() const {
    const std::lock_guard<std::mutex> Guard(FailureLock);
    return Failure_;
}

void TTournamentRunner::Stop() {
    if (Stopping.exchange(true)) return;
    // The calls in flight fault at once; their games are thrown away. Other runs go on.
    Settings.Workers.Run->Stop();
}

int64_t TTournamentRunner::TakeGame() {
    const std::lock_guard<std::mutex> Guard(TakeLock);
    Next = Skipped.NextAbsent(Next);
    if (Next >= Last || Finishing.load()) return -1;
    return Next++;
}

void TTournamentRunner::PlayGames(const TGameSink &Sink) {
    TBotWorkerPool Pool(Settings.Workers);
    std::vector<TBot> Bots;
    std::vector<TSeatCalls> Seats;
    for (const TTournamentBot &Bot : Config.Bots) {
        TBot Entry;
        Entry.Available = true;
        Entry.Name = Bot.Name;
        Entry.Path = (std::filesystem::path(Settings.Folder) / Bot.File).string();
        if (Entry.Path.find('/') == std::string::npos) Entry.Path = "./" + Entry.Path;
        Seats.push_back(Pool.Seat(Entry));
        Bots.push_back(Entry);
    }
    QuietGameInterface Quiet;
    TGameResult Result;
    TGameRecord Record;
    const int32_t Options = GameOptions(Config);
    while (!Stopping.load()) {
        const int64_t Index = TakeGame();
        if (Index < 0) break;
        const TScheduledGame Game = Schedule.Game(Index);
        const TTournamentBot &First = Config.Bots[static_cast<std::size_t>(Game.First)];
        const TTournamentBot &Second = Config.Bots[static_cast<std::size_t>(Game.Second)];
        const TSeatCalls &FirstSeat = Seats[static_cast<std::size_t>(Game.First)];
        const TSeatCalls &SecondSeat = Seats[static_cast<std::size_t>(Game.Second)];
        PlayGame(FirstSeat.StartGame, SecondSeat.StartGame, FirstSeat.GetTurn, SecondSeat.GetTurn,
                 TGameOptions{Options, First.Name, Second.Name, PairStart(Config.Openings, Game.Pair),
                              static_cast<double>(Config.MoveLimitMs)},
                 Result, Quiet);
        if (Stopping.load()) break;  // abandoned: its workers may have been ended under it
        FillRecord(Record, Result, TGamePlace{Index + 1, Game.Encounter, Game.Pair, Game.Leg},
                   {First.File, First.Name}, {Second.File, Second.Name});
        const std::lock_guard<std::mutex> Guard(SinkLock);
        if (Stopping.load()) break;
        if (!Sink(Record, Result.MoveTimesMs)) Stop();
    }
}

}  // namespace velkaran
