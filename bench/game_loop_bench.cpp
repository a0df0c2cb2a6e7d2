// Host time per move of a whole game between two trivial players, next to the floor that any
// timed move costs: two steady-clock reads around one indirect call.
#include "match/game_loop.h"
#include "players/quiet_game_interface.h"

#include <benchmark/benchmark.h>
#include <velkaran/bot.h>

#include <chrono>
#include <cstdint>

namespace {

using namespace velkaran;

// Cheap attacks first: the game ends on a destroyed base after some dozens of moves.
constexpr TCardList TrivialSet{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 50}};

void ChooseTrivialSet(int32_t, TCardList *CardSet, const TTurnInfo *) {
    if (CardSet) *CardSet = TrivialSet;
}

int32_t PlayFirstPlayable(int32_t, const TGameView *, const TCardList *Playable, const TTurnInfo *) {
    return Playable ? Playable->Card[0] : 0;
}

const TGameOptions Options{BotsOnly | HiddenInformation | 200, "Trivial", "Trivial"};

// The number of GetTurn calls in one game between the trivial players.
int64_t MovesPerGame() {
    int64_t Moves = 0;
    const TGetTurnFn Counting = [&Moves](int32_t Index, const TGameView *View, const TCardList *Playable,
                                         const TTurnInfo *Info) {
        ++Moves;
        return PlayFirstPlayable(Index, View, Playable, Info);
    };
    TGameResult Result;
    QuietGameInterface Ui;
    PlayGame(Infallible(ChooseTrivialSet), Infallible(ChooseTrivialSet), Counting, Counting, Options, Result,
             Ui);
    return Moves;
}

// Per iteration one whole game with the real clock; PerMove is the time of one move.
void WholeGame(benchmark::State &State) {
    const int64_t Moves = MovesPerGame();
    const TStartGameFn Start = Infallible(ChooseTrivialSet);
    const TGetTurnFn Turn = PlayFirstPlayable;
    QuietGameInterface Ui;
    TGameResult Result;
    for (auto _ : State) {
        PlayGame(Start, Start, Turn, Turn, Options, Result, Ui);
        benchmark::DoNotOptimize(Result);
    }
    State.counters["MovesPerGame"] = static_cast<double>(Moves);
    State.counters["PerMove"] = benchmark::Counter(static_cast<double>(Moves * State.iterations()),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(WholeGame);

// Per iteration two steady-clock reads around one indirect call of the trivial player.
void Floor(benchmark::State &State) {
    TGetTurnProc volatile Player = PlayFirstPlayable;
    const TCardList Playable = TrivialSet;
    const TGameView View{};
    const TTurnInfo Info{};
    for (auto _ : State) {
        const auto Before = std::chrono::steady_clock::now();
        const int32_t Card = Player(0, &View, &Playable, &Info);
        const auto After = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(Card);
        benchmark::DoNotOptimize(After - Before);
    }
    State.counters["PerMove"] = benchmark::Counter(static_cast<double>(State.iterations()),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(Floor);

}  // namespace

BENCHMARK_MAIN();
