// A bot that faults in its worker loses exactly the games it broke, with the right code and
// termination; the other bot's tallies stay exact and the series goes on with fresh workers.
// The deadlines are short here; the real 22 s are exercised end to end by the cli tests.
#include "bot_folder.h"

#include "match/match_runner.h"
#include "players/quiet_game_interface.h"
#include "workers/host_failure.h"
#include "workers/worker_pool.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace velkaran::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TWorkerPoolSettings ShortDeadlines() {
    TWorkerPoolSettings Settings;
    Settings.Worker.Program = VELKARAN_WORKER_PROGRAM;
    Settings.CallTimeoutMs = 300;
    Settings.LoadTimeoutMs = 3000;
    Settings.StopGraceMs = 1000;
    return Settings;
}

// A series of 2 + 2 games of 30 rounds between Bad (player 1) and the passive sample bot, through
// Pool; every game's result is kept.
struct TSeriesRun {
    std::vector<std::string> Lines;
    std::vector<TGameRecord> Games;
    std::vector<std::array<int, 2>> Seats;
};

TSeriesRun PlaySeries(TBotWorkerPool &Pool, const std::string &Bad, const std::string &Passive) {
    TMatchSettings Settings;
    Settings.First.Bot = Pool.Probe(Bad).Bot;
    Settings.Second.Bot = Pool.Probe(Passive).Bot;
    Settings.ModeItem = 1;
    Settings.GameCount = 2;
    Settings.TurnLimit = 30;
    QuietGameInterface Quiet;
    TMatchEnvironment Environment;
    Environment.Ui = &Quiet;
    Environment.BotSeat = [&Pool](const TBot &Bot) { return Pool.Seat(Bot); };
    TSeriesRun Run;
    Environment.OnGameEnd = [&Run](const TPlayedGame &Game) {
        Run.Games.push_back(*Game.Record);
        Run.Seats.push_back(Game.PlayerOfSeat);
    };
    Run.Lines = RunMatch(Settings, Environment).Lines;
    return Run;
}

struct TFault {
    const char *Bot;
    TTermination Kind;
    int32_t LossBit;  // ErrorOrPass or TimeLimitExceeded
    TSeatCall Call;
    const char *Detail;
};

class WorkerFault : public ::testing::TestWithParam<TFault> {};

TEST_P(WorkerFault, TheBotLosesEveryGameItBreaksAndTheOtherTalliesStayExact) {
    const TFault &Case = GetParam();
    BotFolder Folder;
    TBotWorkerPool Pool(ShortDeadlines());
    const TSeriesRun Run =
        PlaySeries(Pool, Folder.AddTestBot(Case.Bot, "bad.so"), Folder.AddSampleBot("passive.so"));

    ASSERT_EQ(Run.Games.size(), 4u);
    for (std::size_t Game = 0; Game < Run.Games.size(); ++Game) {
        SCOPED_TRACE(Game + 1);
        const TGameRecord &Result = Run.Games[Game];
        const int32_t BadSeat = Run.Seats[Game][0] == 0 ? 0 : 1;
        EXPECT_EQ(Result.Termination, Case.Kind);
        EXPECT_EQ(Result.Result, (BadSeat == 0 ? FirstPlayerLost : SecondPlayerLost) | Case.LossBit);
        ASSERT_EQ(Result.Faults.size(), 1u);
        EXPECT_EQ(Result.Faults[0].Seat, BadSeat);
        EXPECT_EQ(Result.Faults[0].Call, Case.Call);
        EXPECT_THAT(Result.Faults[0].Detail, HasSubstr(Case.Detail));
    }
    EXPECT_THAT(Run.Lines, Contains("Passive : количество побед 4"));
    if (Case.LossBit == ErrorOrPass) {
        EXPECT_THAT(Run.Lines, Contains("Misbehaving : количество ошибок 4"));
    }
    EXPECT_THAT(Run.Lines, Contains("Passive : количество ошибок 0"));
    EXPECT_THAT(Pool.StopAll(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WorkerFault,
    ::testing::Values(
        TFault{"crashing_bot", TTermination::Crashed, ErrorOrPass, TSeatCall::GetTurn, "killed by SIGSEGV"},
        TFault{"exiting_bot", TTermination::Crashed, ErrorOrPass, TSeatCall::GetTurn, "exited with status 0"},
        TFault{"self_killing_bot", TTermination::Crashed, ErrorOrPass, TSeatCall::GetTurn,
               "killed by SIGKILL"},
        TFault{"recursing_bot", TTermination::Crashed, ErrorOrPass, TSeatCall::GetTurn, "killed by SIGSEGV"},
        // A sanitizer build's memset stops the write with SIGABRT before it reaches the guard page.
        TFault{"overwriting_bot", TTermination::Crashed, ErrorOrPass, TSeatCall::GetTurn, "killed by SIG"},
        TFault{"looping_bot", TTermination::Hung, TimeLimitExceeded, TSeatCall::GetTurn,
               "no answer within 300 ms"},
        TFault{"start_looping_bot", TTermination::Hung, ErrorOrPass, TSeatCall::OpeningStartGame,
               "no answer within 300 ms"},
        TFault{"start_crashing_bot", TTermination::Crashed, ErrorOrPass, TSeatCall::OpeningStartGame,
               "killed by SIGSEGV"}),
    [](const ::testing::TestParamInfo<TFault> &Info) { return std::string(Info.param.Bot); });

TEST(WorkerFaults, AFaultInTheClosingCallChangesNoResultAndTheNextGameHasAFreshWorker) {
    BotFolder Folder;
    TBotWorkerPool Pool(ShortDeadlines());
    const TSeriesRun Run = PlaySeries(Pool, Folder.AddTestBot("close_crashing_bot", "bad.so"),
                                      Folder.AddSampleBot("passive.so"));
    ASSERT_EQ(Run.Games.size(), 4u);
    for (const TGameRecord &Result : Run.Games) {
        EXPECT_EQ(Result.Result, TurnLimitReached);
        EXPECT_EQ(Result.Termination, TTermination::TurnLimit);
        ASSERT_EQ(Result.Faults.size(), 1u);
        EXPECT_EQ(Result.Faults[0].Call, TSeatCall::ClosingStartGame);
        EXPECT_EQ(Result.Faults[0].Round, 30);
    }
    EXPECT_THAT(Run.Lines, Contains("Количество ничей 4"));
}

TEST(WorkerFaults, ACrashOutsideAnyCallCostsAGameAndNothingMore) {
    BotFolder Folder;
    TBotWorkerPool Pool(ShortDeadlines());
    const TSeriesRun Run = PlaySeries(Pool, Folder.AddTestBot("thread_crashing_bot", "bad.so"),
                                      Folder.AddSampleBot("passive.so"));
    ASSERT_EQ(Run.Games.size(), 4u);
    int Lost = 0;
    for (std::size_t Game = 0; Game < Run.Games.size(); ++Game) {
        const TGameRecord &Result = Run.Games[Game];
        if (Result.Termination == TTermination::TurnLimit) continue;
        ++Lost;
        EXPECT_EQ(Result.Termination, TTermination::Crashed);
        ASSERT_EQ(Result.Faults.size(), 1u);
        EXPECT_EQ(Result.Faults[0].Seat, Run.Seats[Game][0] == 0 ? 0 : 1);
        EXPECT_THAT(Result.Faults[0].Detail, HasSubstr("killed by SIGSEGV"));
    }
    EXPECT_GE(Lost, 1);
}

TEST(WorkerFaults, AWorkerProgramThatCannotRunIsTheHostsFailureNotTheBots) {
    BotFolder Folder;
    TWorkerPoolSettings Settings = ShortDeadlines();
    Settings.Worker.Program = (Folder.Path / "no-such-worker").string();
    TBotWorkerPool Pool(Settings);
    try {
        Pool.Probe(Folder.AddSampleBot("passive.so"));
        ADD_FAILURE() << "the probe did not fail";
    } catch (const THostFailure &Failure) {
        EXPECT_THAT(Failure.what(), HasSubstr("cannot run the worker program " + Settings.Worker.Program +
                                              ": No such file or directory"));
    }
}

TEST(WorkerFaults, AMemoryCapRefusesABotThatNeedsMore) {
    BotFolder Folder;
    TWorkerPoolSettings Settings = ShortDeadlines();
    Settings.Worker.MemoryMb = 1;  // not even the worker's own libraries fit
    TBotWorkerPool Pool(Settings);
    EXPECT_FALSE(Pool.Probe(Folder.AddSampleBot("passive.so")).Bot.Available);
}

}  // namespace
}  // namespace velkaran::testing
