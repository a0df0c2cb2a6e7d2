// Bots that crash, exit, hang, fork, print without end or fail to load: velkaran-match plays on,
// counts the lost games, names the faults on stderr, ends with status 0 and leaves nothing running.
#include "cli_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace velkaran::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

struct TFaultyBot {
    const char *Bot;     // a misbehaving test bot
    const char *Detail;  // what the host saw
};

class FaultyBot : public ::testing::TestWithParam<TFaultyBot> {};

TEST_P(FaultyBot, LosesEveryGameItBreaksAndTheSeriesGoesOn) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot(GetParam().Bot, "bad.so");
    const TCliRun Run = Folder.Run({"--games", "2", "--log", "log.txt", "bad.so", "greedy.so"});
    EXPECT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("Количество игр: 4\n"));
    EXPECT_THAT(Run.Out, HasSubstr("Misbehaving : количество побед 0\nGreedy : количество побед 4\n"));
    EXPECT_THAT(Run.Out, HasSubstr("Misbehaving : количество ошибок 4\nGreedy : количество ошибок 0\n"));
    EXPECT_TRUE(std::filesystem::exists(Folder.Path / "log.txt"));
    EXPECT_THAT(Run.Err,
                HasSubstr("velkaran-match: the bot \"bad.so\" (Misbehaving) faulted, broke a rule or lost by "
                          "the time limit in 4 of 4 games (crashed: 4); first: GetTurn as the first player, "
                          "round 3 of game 1: " +
                          std::string(GetParam().Detail)));
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultyBot,
    ::testing::Values(TFaultyBot{"crashing_bot", "killed by SIGSEGV"},
                      TFaultyBot{"aborting_bot", "killed by SIGABRT"},
                      TFaultyBot{"quick_exiting_bot", "exited with status 7"},
                      TFaultyBot{"group_killing_bot", "killed by SIGTERM"},
                      TFaultyBot{"throwing_bot", "an exception left the bot (the test bot gives up)"}),
    [](const ::testing::TestParamInfo<TFaultyBot> &Info) { return std::string(Info.param.Bot); });

// The deadline is the test hook's 1 s here; the real 22 s are waited for by the tournament below,
// and a slow move is measured against the real 20 s limit by the next test.
TEST(Faults, BotThatNeverAnswersLosesByTheTimeLimitAfterTheDeadline) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("looping_bot", "looping.so");
    const TCliRun Run = Folder.Run({"looping.so", "greedy.so"}, {"VELKARAN_TEST_CALL_DEADLINE_MS=1000"});
    EXPECT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("Выиграл второй игрок (Greedy) (превышение лимита времени противника)\n"));
    EXPECT_THAT(Run.Err,
                HasSubstr("(hung: 1); first: GetTurn as the first player, round 3 of game 1: no answer "
                          "within 1000 ms"));
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

// The bot tries to take its worker into the host's process group, out of reach of a group kill,
// and never answers: the run ends at the deadline, and Ctrl-C ends a tournament at once while two
// of its games wait on the bot.
TEST(Faults, ABotThatJoinsTheHostsGroupAndNeverAnswersHoldsNoProgram) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("group_joining_bot", "joining.so");
    const TCliRun Match =
        Folder.Run({"--games", "1", "joining.so", "greedy.so"}, {"VELKARAN_TEST_CALL_DEADLINE_MS=1000"});
    EXPECT_EQ(Match.Status, 0) << Match.Err;
    EXPECT_THAT(Match.Err, HasSubstr("(hung: 2); first: GetTurn as the first player, round 3 of game 1"));
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());

    TCliChild Child = Folder.Start(VELKARAN_TOURNAMENT_PATH, {"--pairs", "2", "--concurrency", "2"});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const auto Interrupted = std::chrono::steady_clock::now();
    kill(Child.Pid, SIGINT);
    const TCliRun Stopped = Folder.Finish(Child);
    EXPECT_EQ(Stopped.Status, 130) << Stopped.Err;
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - Interrupted).count(), 5);
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

TEST(Faults, SlowMoveThatReturnsLosesByTheTimeLimit) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("slow_bot", "slow.so");
    const TCliRun Run = Folder.Run({"greedy.so", "slow.so"});
    EXPECT_EQ(Run.Status, 0) << Run.Err;
    EXPECT_THAT(Run.Out, HasSubstr("Выиграл первый игрок (Greedy) (превышение лимита времени противника)\n"));
    EXPECT_THAT(Run.Err,
                HasSubstr("(too slow: 1); first: GetTurn as the second player, round 3 of game 1: a move "
                          "of 205"));
}

TEST(Faults, AShortMoveLimitLosesASlowMoveAndEndsAHungCallSoon) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("sleepy_bot", "sleepy.so");  // 100 ms for its move in round 3
    Folder.AddTestBot("looping_bot", "looping.so");
    const TCliRun Slow = Folder.Run({"--move-limit", "50", "greedy.so", "sleepy.so"});
    EXPECT_EQ(Slow.Status, 0) << Slow.Err;
    EXPECT_THAT(Slow.Out,
                HasSubstr("Выиграл первый игрок (Greedy) (превышение лимита времени противника)\n"));
    EXPECT_THAT(Slow.Err, HasSubstr("(too slow: 1); first: GetTurn as the second player, round 3 of game 1"));

    const TCliRun Hung = Folder.Run({"--move-limit", "50", "looping.so", "greedy.so"});
    EXPECT_EQ(Hung.Status, 0) << Hung.Err;
    EXPECT_THAT(Hung.Out,
                HasSubstr("Выиграл второй игрок (Greedy) (превышение лимита времени противника)\n"));
    EXPECT_THAT(Hung.Err,
                HasSubstr("(hung: 1); first: GetTurn as the first player, round 3 of game 1: no answer "
                          "within 250 ms"));
    EXPECT_LT(Hung.Seconds, 10);
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

TEST(Faults, StopOnFaultEndsTheRunNamingTheBotAndTheCall) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("crashing_bot", "crashing.so");
    const TCliRun Run = Folder.Run({"--stop-on-fault", "--games", "2", "greedy.so", "crashing.so"});
    EXPECT_EQ(Run.Status, 3);
    EXPECT_EQ(Run.Out, "");
    EXPECT_THAT(Run.Err,
                HasSubstr("velkaran-match: stopped at the first fault: the bot \"crashing.so\" "
                          "(Misbehaving) crashed in GetTurn as the second player, round 3 of game 1: "
                          "killed by SIGSEGV"));
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

// A bot whose set or card the rules refuse hears nothing, so stderr says what it did wrong.
TEST(Faults, ARefusedSetOrCardIsExplained) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("scripted_bot", "scripted.so");
    const std::string Fifteen = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15";
    struct TCase {
        std::string Set, Card, Where, Reason;
    };
    const TCase Cases[] = {
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,18,18", "",
         "StartGame (choosing cards) as the first player of game 1", "card 18 twice in the set"},
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,14,51", "",
         "StartGame (choosing cards) as the first player of game 1", "card 51 is out of range"},
        {"1,2,3,4,5,6,7,8,9,10,11,12,13,14", "", "StartGame (choosing cards) as the first player of game 1",
         "the set holds 14 cards, not 15"},
        {Fifteen, "37", "GetTurn as the first player, round 1 of game 1", "card 37 is not in its set"},
        {"31,2,3,4,5,6,7,8,9,10,11,12,13,14,15", "31", "GetTurn as the first player, round 1 of game 1",
         "card 31 costs En 26, Me 16, El 10; it has En 15, Me 15"},
    };
    for (const TCase &Case : Cases) {
        SCOPED_TRACE(Case.Reason);
        const TCliRun Run = Folder.Run({"--json", "game.json", "scripted.so", "greedy.so"},
                                       {"VELKARAN_BOT_SET=" + Case.Set, "VELKARAN_BOT_CARD=" + Case.Card});
        EXPECT_EQ(Run.Status, 0) << Run.Err;
        EXPECT_THAT(Run.Out, HasSubstr("Выиграл второй игрок (Greedy) (ошибка или пас противника)\n"));
        EXPECT_THAT(Run.Err, HasSubstr("(Scripted) faulted, broke a rule or lost by the time limit in 1 of 1 "
                                       "games (refused: 1); first: " +
                                       Case.Where + ": " + Case.Reason + "\n"));
        std::ifstream Json(Folder.Path / "game.json");
        const nlohmann::json Game = nlohmann::json::parse(Json)["games"][0];
        EXPECT_EQ(Game["refusal"], Case.Reason);
        if (Case.Card.empty()) {  // the record keeps the set the bot sent
            std::string Sent;
            for (const nlohmann::json &Card : Game["refused_set"])
                if (Card != 0) Sent += (Sent.empty() ? "" : ",") + std::to_string(Card.get<int>());
            EXPECT_EQ(Sent, Case.Set);
        }
    }
}

TEST(Faults, LibrariesThatFailWhileLoadingAreUnavailableAndTheOthersListed) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("constructor_crashing_bot", "a_crash.so");
    Folder.AddTestBot("constructor_looping_bot", "b_loop.so");
    Folder.AddTestBot("name_crashing_bot", "c_name.so");
    Folder.AddTestBot("bad_name_pointer_bot", "d_pointer.so");
    const TCliRun List = Folder.Run({"--list", "--load-timeout", "2"});
    EXPECT_EQ(List.Status, 0);
    EXPECT_THAT(List.Out, HasSubstr("a_crash.so    unusable: failed while loading: killed by SIGSEGV"));
    EXPECT_THAT(List.Out, HasSubstr("b_loop.so     unusable: did not finish loading within 2 s"));
    EXPECT_THAT(List.Out, HasSubstr("c_name.so     unusable: failed while loading: killed by SIGSEGV"));
    EXPECT_THAT(List.Out, HasSubstr("d_pointer.so  unusable: failed while loading: killed by SIGSEGV"));
    EXPECT_THAT(List.Out, HasSubstr("greedy.so     Greedy\n"));

    const TCliRun Match = Folder.Run({"greedy.so", "a_crash.so"});
    EXPECT_EQ(Match.Status, 2);
    EXPECT_THAT(Match.Err,
                HasSubstr("cannot use bot \"a_crash.so\": failed while loading: killed by SIGSEGV"));
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

TEST(Faults, ABotsChildrenAndWorkingFolderStayItsOwn) {
    MatchFolder Folder;
    Folder.AddTestBot("forking_bot", "forking.so");
    Folder.AddTestBot("escaping_bot", "escaping.so");
    Folder.AddTestBot("chdir_bot", "chdir.so");
    // The forked children linger for an hour with the bots' output open, one of them out of its
    // worker's group; the run still ends at once, and takes them along.
    for (const char *Forking : {"forking.so", "escaping.so"}) {
        SCOPED_TRACE(Forking);
        const TCliRun Run =
            Folder.Run({"--games", "1", "--turn-limit", "30", "--log", "log.txt", Forking, "chdir.so"});
        EXPECT_EQ(Run.Status, 0) << Run.Err;
        EXPECT_LT(Run.Seconds, 20);
        EXPECT_TRUE(std::filesystem::exists(Folder.Path / "log.txt"));
        EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
    }
}

TEST(Faults, BotOutputGoesToStderrOrItsOwnFileAndNeverGrowsTheHost) {
    MatchFolder Folder;
    Folder.AddSampleBot("passive.so");
    Folder.AddTestBot("chatty_bot", "chatty.so");
    Folder.AddTestBot("spamming_bot", "spamming.so");
    const TCliRun Chatty = Folder.Run({"--games", "1", "chatty.so", "passive.so"});
    ASSERT_EQ(Chatty.Status, 0) << Chatty.Err;
    EXPECT_TRUE(Chatty.Out.starts_with("Первый игрок : Chatty\n")) << Chatty.Out;
    EXPECT_EQ(Chatty.Out.find("chatter"), std::string::npos);
    EXPECT_THAT(Chatty.Err, HasSubstr("chatty.so: chatter: GetTurn round 1\n"));

    Folder.AddFolder("output");
    const TCliRun Filed = Folder.Run({"--bot-output", "output", "chatty.so", "passive.so"});
    ASSERT_EQ(Filed.Status, 0) << Filed.Err;
    EXPECT_THAT(Filed.Err, Not(HasSubstr("chatter")));
    std::ostringstream Log;
    Log << std::ifstream(Folder.Path / "output" / "chatty.so.log").rdbuf();
    EXPECT_THAT(Log.str(), HasSubstr("chatter: GetTurn round 1\n"));

    // 50 MB in one line: the host forwards it in pieces and grows by far less than that.
    const TCliRun Spam = Folder.Run({"spamming.so", "passive.so"});
    EXPECT_EQ(Spam.Status, 0);
    EXPECT_GT(Spam.Err.size(), 50u << 20);
    EXPECT_LT(Spam.MaxRssKb, Chatty.MaxRssKb + 10 * 1024);
}

TEST(Faults, ABotThatCrashesWhileEndingIsNamedAfterTheResult) {
    MatchFolder Folder;
    Folder.AddSampleBot("greedy.so");
    Folder.AddTestBot("destructor_crashing_bot", "ending.so");
    const TCliRun Run = Folder.Run({"ending.so", "greedy.so"});
    EXPECT_EQ(Run.Status, 0);
    EXPECT_THAT(Run.Out, HasSubstr("Первый игрок : Misbehaving\n"));
    EXPECT_THAT(Run.Err,
                HasSubstr("the bot \"ending.so\" (Misbehaving) did not end cleanly at the end of the "
                          "run: killed by SIGSEGV"));
}

}  // namespace
}  // namespace velkaran::testing

namespace velkaran::testing {
namespace {

TEST(Sandbox, ABotThatOpensASocketLosesNamingTheCallAndOrdinaryBotsPlayUnchanged) {
    MatchFolder Folder;
    if (!SeccompAvailable(Folder)) GTEST_SKIP() << "this kernel offers no seccomp filter";
    Folder.AddSampleBot("greedy.so");
    Folder.AddSampleBot("planner.so");
    Folder.AddTestBot("socket_bot", "socket.so");
    // A C++ bot with threads, streams, exceptions and its set in its data folder. Run as root, the
    // sandbox runs bots as an unprivileged user, who must be able to reach the folder.
    Folder.AddTestBot("threaded_bot", "threaded.so");
    Folder.AddFolder("threaded.data");
    Folder.AddTextFile("threaded.data/set.txt", "33 34 35 28 29 32 48 27 23 24 25 14 1 2 50\n");
    using std::filesystem::perms;
    std::filesystem::permissions(Folder.Path, perms::owner_all | perms::group_read | perms::group_exec |
                                                  perms::others_read | perms::others_exec);

    const TCliRun Refused = Folder.Run({"--sandbox", "--games", "1", "socket.so", "greedy.so"});
    EXPECT_EQ(Refused.Status, 0) << Refused.Err;
    EXPECT_THAT(Refused.Out, HasSubstr("Misbehaving : количество ошибок 2\n"));
    EXPECT_THAT(Refused.Err,
                HasSubstr("(crashed: 2); first: GetTurn as the first player, round 3 of game 1: the "
                          "sandbox refused the system call socket"));

    // --sandbox=strict plays only where every layer is there, and names what is missing.
    const bool Complete = Folder.Run({"--sandbox-check"}).Out.find(": missing") == std::string::npos;
    const TCliRun Strict = Folder.Run({"--sandbox=strict", "greedy.so", "planner.so"});
    EXPECT_EQ(Strict.Status, Complete ? 0 : 2) << Strict.Err;
    if (!Complete) {
        EXPECT_THAT(Strict.Err, HasSubstr("the sandbox lacks a layer: "));
    }

    for (const auto &[First, Second] :
         {std::pair{"greedy.so", "planner.so"}, std::pair{"threaded.so", "planner.so"}}) {
        SCOPED_TRACE(First);
        const TCliRun Free = Folder.Run({"--games", "2", First, Second});
        const TCliRun Locked = Folder.Run({"--sandbox", "--games", "2", First, Second});
        EXPECT_EQ(Locked.Status, 0) << Locked.Err;
        EXPECT_EQ(WithoutTimings(Locked.Out), WithoutTimings(Free.Out));
        if (std::string(First) == "threaded.so") {
            EXPECT_THAT(Free.Err, HasSubstr("threaded: a game as player 1, first choice 33"));
            EXPECT_THAT(Locked.Err, HasSubstr("threaded: a game as player 1, first choice 33"));
        }
    }
    EXPECT_THAT(Folder.ProcessesLeft(), IsEmpty());
}

}  // namespace
}  // namespace velkaran::testing
