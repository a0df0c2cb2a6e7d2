// The cost of one bot call through a worker process, next to its floor and to the same call into
// the library loaded in this process: greedy's GetTurn on a fixed position. The floor is a bare
// round trip between this thread and a child process over two pipes, with a request and an answer
// of the sizes a call sends; the host thread and the other process share one CPU in both. The
// program ends with the ratio of a call through a worker to that floor (target: at most 1.5).
#include "match/game_loop.h"
#include "players/bot_library.h"
#include "rules/turn_rules.h"
#include "workers/cpu_pinning.h"
#include "workers/worker_pool.h"

#include <benchmark/benchmark.h>
#include <velkaran/bot.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
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

// Reads Size bytes in one piece, as a worker's message arrives; false at the end of the pipe.
bool ReadWhole(int Fd, void *Into, std::size_t Size) {
    return read(Fd, Into, Size) == static_cast<ssize_t>(Size);
}

void BarePipeRoundTrip(benchmark::State &State) {
    PinThisThreadToOneCpu();
    int Requests[2];
    int Answers[2];
    if (pipe(Requests) != 0 || pipe(Answers) != 0) return State.SkipWithError("no pipes");
    const pid_t Echo = fork();
    if (Echo == 0) {
        close(Requests[1]);
        close(Answers[0]);
        worker::TRequest Request;
        worker::TAnswer Answer;
        while (ReadWhole(Requests[0], &Request, sizeof Request))
            if (write(Answers[1], &Answer, worker::CalledAnswerSize) < 0) break;
        _exit(0);
    }
    close(Requests[0]);
    close(Answers[1]);
    worker::TRequest Request;
    worker::TAnswer Answer;
    for (auto _ : State) {
        if (write(Requests[1], &Request, sizeof Request) < 0 ||
            !ReadWhole(Answers[0], &Answer, worker::CalledAnswerSize))
            return State.SkipWithError("the echo process is gone");
    }
    close(Requests[1]);
    close(Answers[0]);
    waitpid(Echo, nullptr, 0);
}

BENCHMARK(InProcess);
BENCHMARK(BarePipeRoundTrip);
BENCHMARK(ThroughWorker);

// Reports as the console does and keeps each benchmark's time per call (the median when repeated).
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &Runs) override {
        ConsoleReporter::ReportRuns(Runs);
        for (const Run &Each : Runs) {
            const bool Median = Each.run_type == Run::RT_Aggregate && Each.aggregate_name == "median";
            if (Each.run_type == Run::RT_Iteration || Median)
                NsPerCall[Each.run_name.function_name] = Each.GetAdjustedRealTime();
        }
    }
    std::map<std::string, double> NsPerCall;
};

}  // namespace

int main(int Argc, char **Argv) {
    benchmark::Initialize(&Argc, Argv);
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    benchmark::Shutdown();
    const auto Floor = Reporter.NsPerCall.find("BarePipeRoundTrip");
    const auto Worker = Reporter.NsPerCall.find("ThroughWorker");
    if (Floor != Reporter.NsPerCall.end() && Worker != Reporter.NsPerCall.end() && Floor->second > 0)
        std::printf(
            "worker_call_bench: a call through a worker is %.2fx the bare same-CPU pipe round trip "
            "(%.2f us against %.2f us; target: at most 1.5x)\n",
            Worker->second / Floor->second, Worker->second / 1000, Floor->second / 1000);
    return 0;
}
