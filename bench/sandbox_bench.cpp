// What the sandbox costs, as ratios measured in one run: a call of greedy's GetTurn through a
// sandboxed worker against the same call through a plain one (target: at most 1.10), and a
// worker's start-up with the sandbox against one without (start, load and the name checks, the
// control groups included; target: at most 2), and the same for the worker of a bot that is a
// program (the line-protocol C example, started and greeted; reported, no target yet). The host
// thread and its workers share one CPU.
// Each figure is the median of the repetitions, run in a random interleaved order.
#include "match/game_loop.h"
#include "rules/turn_rules.h"
#include "workers/cpu_pinning.h"
#include "workers/worker_pool.h"

#include <benchmark/benchmark.h>
#include <velkaran/bot.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace velkaran;

const std::string Greedy = std::string(VELKARAN_RUN_DIR) + "/greedy.so";
const std::string LineBot = std::string(VELKARAN_EXAMPLES_DIR) + "/c-line-bot/greedy-line.bot";

TWorkerPoolSettings Workers(bool Sandbox) {
    TWorkerPoolSettings Settings;
    Settings.Worker.Sandbox = Sandbox;
    return Settings;
}

// A call on a position from the start of a game, greedy's own set in hand.
void Call(benchmark::State &State, bool Sandbox) {
    PinThisThreadToOneCpu();
    TBotWorkerPool Pool(Workers(Sandbox));
    const TBotLoad Load = Pool.Probe(Greedy);
    if (!Load.Bot.Available) return State.SkipWithError(("greedy.so: " + Load.Reason).c_str());
    const TSeatCalls Seat = Pool.Seat(Load.Bot);
    TGameView View{};
    TCardList Playable{};
    TTurnInfo Info{};
    TCardList Set{};
    Info.Options = BotsOnly | HiddenInformation | 200;
    Seat.StartGame(0, &Set, &Info);
    TGameState Game;
    NewGameState(Game);
    Game[0].Cards = Set;
    MakeView(Game, Info.Options, 0, View);
    GetPlayableCards(Game[0], Playable);
    Info.Turn = 1;
    for (auto _ : State) benchmark::DoNotOptimize(Seat.GetTurn(0, &View, &Playable, &Info).Card);
}

// A worker of Bot started and loaded, ready for its first call; its ending is not timed.
void StartUp(benchmark::State &State, bool Sandbox, const std::string &Bot = Greedy) {
    PinThisThreadToOneCpu();
    for (auto _ : State) {
        TBotWorkerPool Pool(Workers(Sandbox));
        const TBotLoad Load = Pool.Probe(Bot);
        State.PauseTiming();
        if (!Load.Bot.Available) return State.SkipWithError((Bot + ": " + Load.Reason).c_str());
        Pool.StopAll();
        State.ResumeTiming();
    }
}

void PlainCall(benchmark::State &State) { Call(State, false); }
void SandboxedCall(benchmark::State &State) { Call(State, true); }
void PlainStartUp(benchmark::State &State) { StartUp(State, false); }
void SandboxedStartUp(benchmark::State &State) { StartUp(State, true); }
void PlainProgramStartUp(benchmark::State &State) { StartUp(State, false, LineBot); }
void SandboxedProgramStartUp(benchmark::State &State) { StartUp(State, true, LineBot); }

constexpr int Repetitions = 5;
BENCHMARK(PlainCall)->Repetitions(Repetitions)->ReportAggregatesOnly();
BENCHMARK(SandboxedCall)->Repetitions(Repetitions)->ReportAggregatesOnly();
BENCHMARK(PlainStartUp)->Repetitions(Repetitions)->ReportAggregatesOnly()->Unit(benchmark::kMicrosecond);
BENCHMARK(SandboxedStartUp)->Repetitions(Repetitions)->ReportAggregatesOnly()->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainProgramStartUp)
    ->Repetitions(Repetitions)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(SandboxedProgramStartUp)
    ->Repetitions(Repetitions)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMicrosecond);

// Shows the results as usual and keeps each benchmark's median time per iteration.
class TMedianKeeper : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &Runs) override {
        for (const Run &Result : Runs)
            if (Result.aggregate_name == "median")
                Medians[Result.run_name.function_name] = Result.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(Runs);
    }
    std::map<std::string, double> Medians;
};

}  // namespace

int main(int Argc, char **Argv) {
    // The repetitions of the four take turns, so that a busy spell of the machine falls on all.
    std::vector<char *> Arguments(Argv, Argv + Argc);
    std::string Interleave = "--benchmark_enable_random_interleaving=true";
    Arguments.insert(Arguments.begin() + 1, Interleave.data());
    int Count = static_cast<int>(Arguments.size());
    benchmark::Initialize(&Count, Arguments.data());
    TMedianKeeper Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    // Target 0: reported only.
    const auto Ratio = [&](const char *Sandboxed, const char *Plain, const char *What, double Target) {
        const auto Over = Reporter.Medians.find(Sandboxed);
        const auto Under = Reporter.Medians.find(Plain);
        if (Over == Reporter.Medians.end() || Under == Reporter.Medians.end() || Under->second <= 0) return;
        const double Value = Over->second / Under->second;
        if (Target <= 0) {
            std::printf("sandbox_bench: %s with the sandbox / without = %.2f\n", What, Value);
            return;
        }
        std::printf("sandbox_bench: %s with the sandbox / without = %.2f (target at most %.2f)%s\n", What,
                    Value, Target, Value <= Target ? "" : "  MISSED");
    };
    Ratio("SandboxedCall", "PlainCall", "a call", 1.10);
    Ratio("SandboxedStartUp", "PlainStartUp", "a worker's start-up", 2.0);
    Ratio("SandboxedProgramStartUp", "PlainProgramStartUp", "a program bot's worker's start-up", 0);
    benchmark::Shutdown();
}
