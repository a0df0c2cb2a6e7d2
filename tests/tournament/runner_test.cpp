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

std::map<int64_t, TGameRecord> Play(int Concurrency, const std::function<bool(int64_t)> &Skip) {
    TRunnerSettings Settings;
    Settings.Concurrency = Concurrency;
    Settings.Folder = VELKARAN_SAMPLE_BOTS_DIR;
    Settings.Workers.Worker.Program = VELKARAN_WORKER_PROGRAM;
    TTournamentRunner Runner(SampleField(), Settings);
    std::map<int64_t, TGameRecord> Games;
    Runner.Run(Skip, [&Games](const TGameRecord &Record, const std::vector<double> &) {
        EXPECT_TRUE(Games.emplace(Record.Place.Number, Record).second);
        return true;
    });
    return Games;
}

TEST(Runner, SeveralThreadsPlayTheSameGamesAsOne) {
    const auto None = [](int64_t) { return false; };
    const std::map<int64_t, TGameRecord> One = Play(1, None);
    const std::map<int64_t, TGameRecord> Three = Play(3, None);
    ASSERT_EQ(One.size(), 12u);
    ASSERT_EQ(Three.size(), 12u);
    for (const auto &[Number, Record] : One) EXPECT_TRUE(SameGame(Record, Three.at(Number))) << Number;
    // Skipped games are not played.
    const std::map<int64_t, TGameRecord> Odd = Play(2, [](int64_t Index) { return Index % 2 == 0; });
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
    Runner.Run([](int64_t) { return false; },
               [&Counted](const TGameRecord &, const std::vector<double> &) { return ++Counted < 3; });
    EXPECT_EQ(Counted, 3);
    EXPECT_TRUE(Runner.Stopped());
}

}  // namespace
}  // namespace velkaran::testing
