// What a bot cannot change about a run from inside its worker: the host's clock times every move,
// and the library the run began with is the one it plays to the end.
#include "bot_folder.h"

#include "match/match_runner.h"
#include "players/quiet_game_interface.h"
#include "workers/worker_pool.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace velkaran::testing {
namespace {

using ::testing::HasSubstr;

// The games Bad (player 1) and Passive play through Pool: N + N, or one game when N is 0.
std::vector<TGameRecord> Play(TBotWorkerPool &Pool, const std::string &Bad, const std::string &Passive,
                              int32_t N, TTimeSource Clock,
                              const std::function<void(int64_t Game)> &AfterGame = {}) {
    TMatchSettings Settings;
    Settings.First.Bot = Pool.Probe(Bad).Bot;
    Settings.Second.Bot = Pool.Probe(Passive).Bot;
    Settings.ModeItem = N > 0 ? 1 : 0;
    Settings.GameCount = N;
    Settings.TurnLimit = 30;
    QuietGameInterface Quiet;
    std::vector<TGameRecord> Games;
    TMatchEnvironment Environment;
    Environment.Ui = &Quiet;
    Environment.Clock = std::move(Clock);
    Environment.BotSeat = [&Pool](const TBot &Bot) { return Pool.Seat(Bot); };
    Environment.OnGameEnd = [&](const TPlayedGame &Game) {
        Games.push_back(*Game.Record);
        if (AfterGame) AfterGame(Game.Number);
    };
    RunMatch(Settings, Environment);
    return Games;
}

TWorkerPoolSettings Workers(double CallTimeoutMs) {
    TWorkerPoolSettings Settings;
    Settings.Worker.Program = VELKARAN_WORKER_PROGRAM;
    Settings.CallTimeoutMs = CallTimeoutMs;
    return Settings;
}

// The bot sleeps 0.21 s in round 3 and answers for its worker, which the host never hears again.
// On the test's clock a real millisecond counts as 100: the move is the 21 s the host measured.
TEST(HostClock, ABotThatAnswersInItsWorkersPlaceIsTimedOnTheHostsClock) {
    BotFolder Folder;
    setenv("VELKARAN_FORGE_SLEEP_MS", "210", 1);
    TBotWorkerPool Pool(Workers(5000));
    const std::vector<TGameRecord> Games =
        Play(Pool, Folder.AddTestBot("forging_bot", "forging.so"), Folder.AddSampleBot("passive.so"), 0,
             [] { return 100 * GetTimeMs(); });
    unsetenv("VELKARAN_FORGE_SLEEP_MS");
    ASSERT_EQ(Games.size(), 1u);
    const TGameRecord &Game = Games[0];
    EXPECT_EQ(Game.Result, FirstPlayerLost | TimeLimitExceeded);
    EXPECT_EQ(Game.Termination, TTermination::TooSlow);
    EXPECT_EQ(Game.Rounds, 3);
    EXPECT_TRUE(Game.Faults.empty());
    EXPECT_GE(Game.Seats[0].LongestMoveMs, 21000);
    EXPECT_GE(Game.Seats[0].TimeMs, 21000);
}

// A bot that crashes in every game has a fresh worker for each; after game 2 its file is
// replaced by another bot, overwritten with it, or deleted. The fresh workers still run the
// library the series began with, and the run says once that the file changed.
TEST(PinnedLibraries, AReplacedOverwrittenOrDeletedLibraryChangesNothingInTheRun) {
    for (const char *Change : {"replaced", "overwritten", "deleted"}) {
        SCOPED_TRACE(Change);
        BotFolder Folder;
        const std::string Bad = Folder.AddTestBot("crashing_bot", "bad.so");
        const std::string Passive = Folder.AddSampleBot("passive.so");
        const auto ChangeTheFile = [&](int64_t Game) {
            if (Game != 2) return;
            const std::string Other = Folder.AddSampleBot("greedy.so");
            if (Change == std::string("replaced")) std::filesystem::rename(Other, Bad);
            if (Change == std::string("overwritten"))
                std::ofstream(Bad, std::ios::binary | std::ios::trunc)
                    << std::ifstream(Other, std::ios::binary).rdbuf();
            if (Change == std::string("deleted")) std::filesystem::remove(Bad);
        };
        ::testing::internal::CaptureStderr();
        std::vector<TGameRecord> Games;
        {
            TBotWorkerPool Pool(Workers(2000));
            Games = Play(Pool, Bad, Passive, 3, GetTimeMs, ChangeTheFile);
        }
        const std::string Said = ::testing::internal::GetCapturedStderr();
        ASSERT_EQ(Games.size(), 6u);
        for (const TGameRecord &Game : Games) {
            EXPECT_EQ(Game.Termination, TTermination::Crashed);
            ASSERT_EQ(Game.Faults.size(), 1u);
            EXPECT_EQ(Game.Seats[Game.Faults[0].Seat].File, "bad.so");
            EXPECT_THAT(Game.Faults[0].Detail, HasSubstr("SIGSEGV"));
        }
        const std::string Warning = "the bot library " + Bad + " changed on disk during the run";
        EXPECT_THAT(Said, HasSubstr(Warning));
        EXPECT_EQ(Said.find(Warning), Said.rfind(Warning));
    }
}

}  // namespace
}  // namespace velkaran::testing
