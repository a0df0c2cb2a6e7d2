// The runner's threads: each takes the next game of the schedule, plays it with its own workers
// and hands the record on.
#include "tournament_runner.h"

#include "match/game_loop.h"
#include "match/game_recording.h"
#include "players/quiet_game_interface.h"
#include "workers/cpu_pinning.h"

#include <sched.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>

namespace velkaran {
namespace {

// The CPUs this process may use, in order.
std::vector<int> AllowedCpus() {
    std::vector<int> Cpus;
    cpu_set_t Allowed;
    CPU_ZERO(&Allowed);
    if (sched_getaffinity(0, sizeof Allowed, &Allowed) == 0)
        for (int Cpu = 0; Cpu < CPU_SETSIZE; ++Cpu)
            if (CPU_ISSET(Cpu, &Allowed)) Cpus.push_back(Cpu);
    return Cpus;
}

}  // namespace

TTournamentRunner::TTournamentRunner(const TTournamentConfig &Config, TRunnerSettings Settings)
    : Config(Config), Schedule(Config), Settings(std::move(Settings)) {
    // A hung call is given up soon after the tournament's own move limit.
    this->Settings.Workers.CallTimeoutMs = CallDeadlineMs(Config.MoveLimitMs);
    if (!this->Settings.Workers.Run) this->Settings.Workers.Run = std::make_shared<TWorkerRun>();
}

void TTournamentRunner::Run(const std::function<bool(int64_t Index)> &Skip, const TGameSink &Sink) {
    const int Threads = std::max(1, Settings.Concurrency);
    const std::vector<int> Cpus = AllowedCpus();
    std::vector<std::thread> Running;
    std::mutex FailureLock;
    std::exception_ptr Failure;
    for (int Thread = 0; Thread < Threads; ++Thread) {
        Running.emplace_back([&, Thread] {
            try {
                if (Settings.PinThreads && !Cpus.empty())
                    PinThisThreadToOneCpu(Cpus[static_cast<std::size_t>(Thread) % Cpus.size()]);
                PlayGames(Thread, Skip, Sink);
            } catch (...) {
                // The host failed (or the sink did): the whole run ends, and the caller hears why.
                const std::lock_guard<std::mutex> Guard(FailureLock);
                if (!Failure) Failure = std::current_exception();
                Stop();
            }
        });
    }
    for (std::thread &Thread : Running) Thread.join();
    if (Failure) std::rethrow_exception(Failure);
}

void TTournamentRunner::Stop() {
    if (Stopping.exchange(true)) return;
    // The calls in flight fault at once; their games are thrown away. Other runs go on.
    Settings.Workers.Run->Stop();
}

void TTournamentRunner::PlayGames(int, const std::function<bool(int64_t Index)> &Skip,
                                  const TGameSink &Sink) {
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
        const int64_t Index = Next.fetch_add(1);
        if (Index >= Schedule.Games()) break;
        if (Skip(Index)) continue;
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
