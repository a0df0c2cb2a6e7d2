// The cost of one bot call through a worker process next to the same call into the library loaded
// in this process: greedy's GetTurn on a fixed position, the host thread and the worker on one CPU.
// The difference is what a worker adds per call.
#include "match/game_loop.h"
#include "players/bot_library.h"
#include "rules/turn_rules.h"
#include "workers/cpu_pinning.h"
#include "workers/worker_pool.h"

#include <benchmark/benchmark.h>
#include <velkaran/bot.h>

#include <string>

namespace {

using namespace velkaran;

const std::string Greedy = std::string(VELKARAN_RUN_DIR) + "/greedy.so";

// A position from the start of a game with greedy's own set, as greedy would be asked.
struct TPosition {
    TGameView View{};
    TCardList Playable{};
    TTurnInfo Info{};
    TCardList Set{};
};

TPosition StartingPosition(const TSeatCalls &Seat) {
    TPosition Position;
    Position.Info.Options = BotsOnly | HiddenInformation | 200;
    Seat.StartGame(0, &Position.Set, &Position.Info);
    TGameState State;
    NewGameState(State);
    State[0].Cards = Position.Set;
    MakeView(State, Position.Info.Options, 0, Position.View);
    GetPlayableCards(State[0], Position.Playable);
    Position.Info.Turn = 1;
    return Position;
}

void Measure(benchmark::State &State, const TSeatCalls &Seat) {
    const TPosition Position = StartingPosition(Seat);
    for (auto _ : State) {
        const TTurnAnswer Answer = Seat.GetTurn(0, &Position.View, &Position.Playable, &Position.Info);
        benchmark::DoNotOptimize(Answer.Card);
    }
}

void InProcess(benchmark::State &State) {
    const TBotLoad Load = LoadBotLibrary(Greedy);
    if (!Load.Bot.Available) return State.SkipWithError(("greedy.so: " + Load.Reason).c_str());
    Measure(State, TSeatCalls{Infallible(Load.Bot.StartGameProc), Load.Bot.GetTurnProc});
}

void ThroughWorker(benchmark::State &State) {
    PinThisThreadToOneCpu();
    TBotWorkerPool Pool{TWorkerPoolSettings{}};
    const TBotLoad Load = Pool.Probe(Greedy);
    if (!Load.Bot.Available) return State.SkipWithError(("greedy.so: " + Load.Reason).c_str());
    Measure(State, Pool.Seat(Load.Bot));
}

BENCHMARK(InProcess);
BENCHMARK(ThroughWorker);

}  // namespace

BENCHMARK_MAIN();
