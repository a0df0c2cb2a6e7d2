// The runner on several threads plays exactly the games one thread plays, each once, with the
// same outcome: the bots are deterministic and no two games share a worker.
#include "tournament/tournament_runner.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>

namespace velkaran::testing {
namespace {

TTournamentConfig SampleField() {
    TTournamentConfig Config;
    Config.Bots = {{"greedy.so", "Greedy", ""}, {"passive.so", "Passive", ""}};
    Config.Pairs = 6;
    return Config;
}

std::map<int64_t, TGameRecord> Play(int Concurrency, const TIndexRanges &Done = {}) {
    TRunnerSettings Settings;
    Settings.Concurrency = Concurrency;
    Settings.Folder = VELKARAN_SAMPLE_BOTS_DIR;
    Settings.Workers.Worker.Program = VELKARAN_WORKER_PROGRAM;
    TTournamentRunner Runner(SampleField(), Settings);
    std::map<int64_t, TGameRecord> Games;
    Runner.Run(0, 12, Done, [&Games](const TGameRecord &Record, const std::vector<double> &) {
        EXPECT_TRUE(Games.emplace(Record.Place.Number, Record).second);
        return true;
    });
    return Games;
}

TEST(Runner, SeveralThreadsPlayTheSameGamesAsOne) {
    const std::map<int64_t, TGameRecord> One = Play(1);
    const std::map<int64_t, TGameRecord> Three = Play(3);
    ASSERT_EQ(One.size(), 12u);
    ASSERT_EQ(Three.size(), 12u);
    for (const auto &[Number, Record] : One) EXPECT_TRUE(SameGame(Record, Three.at(Number))) << Number;
    // Games done already are not played.
    TIndexRanges Even;
    for (int64_t Index = 0; Index < 12; Index += 2) Even.Insert(Index);
    const std::map<int64_t, TGameRecord> Odd = Play(2, Even);
    EXPECT_EQ(Odd.size(), 6u);
    for (const auto &[Number, Record] : Odd) EXPECT_EQ(Number % 2, 0);
}

TEST(Runner, ASinkThatSaysEnoughStopsTheRunner) {
    TRunnerSettings Settings;
    Settings.Concurrency = 2;
    Settings.Folder = VELKARAN_SAMPLE_BOTS_DIR;
    Settings.Workers.Worker.Program = VELKARAN_WORKER_PROGRAM;
    TTournamentRunner Runner(SampleField(), Settings);
    int Counted = 0;
    Runner.Run(0, 12, {},
               [&Counted](const TGameRecord &, const std::vector<double> &) { return ++Counted < 3; });
    EXPECT_EQ(Counted, 3);
    EXPECT_TRUE(Runner.Stopped());
}

}  // namespace
}  // namespace velkaran::testing
