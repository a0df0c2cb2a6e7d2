// The bot call guard: guarded calls reach the bot, and a failure inside one reaches the reaction
// with the call it struck. The programs' own reactions are tested end to end in tests/cli and tests/ui.
#include "players/bot_call_guard.h"
#include "players/signal_safe_text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace velkaran {
namespace {

int32_t LastIndex = -1;

void RecordStartGame(int32_t PlayerIndex, TCardList *, const TTurnInfo *) { LastIndex = PlayerIndex; }
int32_t AnswerSeven(int32_t PlayerIndex, const TGameView *, const TCardList *, const TTurnInfo *) {
    LastIndex = PlayerIndex;
    return 7;
}
int32_t Throw(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) {
    throw std::runtime_error("gives up");
}
int32_t Crash(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) {
    std::raise(SIGFPE);
    return 0;
}
int32_t Exit(int32_t, const TGameView *, const TCardList *, const TTurnInfo *) { std::exit(0); }

TBot FakeBot(TGetTurnProc GetTurn) {
    TBot Bot;
    Bot.Available = true;
    Bot.Name = "Fake";
    Bot.StartGameProc = RecordStartGame;
    Bot.GetTurnProc = GetTurn;
    return Bot;
}

// Writes "label|call|seat|round|game|signal" and ends with status 42.
void WriteAndEnd(const TCallInProgress &Call, int Signal) {
    TSignalSafeText Text;
    Text.Add(Call.Label);
    Text.Add(Call.LibraryPath);
    for (const int64_t Number : {static_cast<int64_t>(Call.Call), int64_t{Call.Seat}, int64_t{Call.Round},
                                 Call.Game, int64_t{Signal}}) {
        Text.Add("|");
        Text.Add(Number);
    }
    Text.WriteLineToStderr();
    _exit(42);
}

// Installs the guard with WriteAndEnd and makes a GetTurn call of a bot guarded as seat 1.
void CallGuarded(TGetTurnProc GetTurn) {
    InstallBotCallGuard({WriteAndEnd, true});
    const TBot Bot = GuardBot(FakeBot(GetTurn), 1, "fake bot");
    TCardList Set{};
    TTurnInfo Info{};
    Bot.StartGameProc(0, &Set, &Info);  // game 1 opens
    Info.Turn = 4;
    Bot.GetTurnProc(1, nullptr, nullptr, &Info);
}

TEST(BotCallGuard, GuardedCallsReachTheBotAndAMissingEntryPointStaysMissing) {
    const TBot Guarded = GuardBot(FakeBot(AnswerSeven), 0, "fake bot");
    EXPECT_NE(Guarded.GetTurnProc, &AnswerSeven);
    EXPECT_EQ(Guarded.Name, "Fake");
    TTurnInfo Info{};
    EXPECT_EQ(Guarded.GetTurnProc(1, nullptr, nullptr, &Info), 7);
    EXPECT_EQ(LastIndex, 1);
    Guarded.StartGameProc(0, nullptr, &Info);
    EXPECT_EQ(LastIndex, 0);
    EXPECT_FALSE(TakeCallLeftByException());

    const TBot Missing = GuardBot(FakeBot(nullptr), 1, "fake bot");
    EXPECT_EQ(Missing.GetTurnProc, nullptr);
}

TEST(BotCallGuard, TheCallAnExceptionLeftIsKeptUntilTakenOrTheNextCall) {
    const TBot Throwing = GuardBot(FakeBot(Throw), 1, "thrower");
    TTurnInfo Info{};
    Info.Turn = 3;
    EXPECT_THROW(Throwing.GetTurnProc(1, nullptr, nullptr, &Info), std::runtime_error);
    const auto Left = TakeCallLeftByException();
    ASSERT_TRUE(Left);
    EXPECT_EQ(Left->Call, TGuardedCall::Turn);
    EXPECT_STREQ(Left->Label, "thrower");
    EXPECT_EQ(Left->Seat, 1);
    EXPECT_EQ(Left->Round, 3);
    EXPECT_FALSE(TakeCallLeftByException());

    EXPECT_THROW(Throwing.GetTurnProc(1, nullptr, nullptr, &Info), std::runtime_error);
    Throwing.StartGameProc(1, nullptr, &Info);
    EXPECT_FALSE(TakeCallLeftByException());
}

TEST(BotCallGuardDeathTest, ASignalOrExitInsideACallReachesTheReactionWithThatCall) {
    EXPECT_EXIT(CallGuarded(Crash), ::testing::ExitedWithCode(42),
                "fake bot\\|2\\|1\\|4\\|1\\|" + std::to_string(SIGFPE) + "\n");
    EXPECT_EXIT(CallGuarded(Exit), ::testing::ExitedWithCode(42), "fake bot\\|2\\|1\\|4\\|1\\|0\n");
}

TEST(BotCallGuardDeathTest, AFaultOutsideAnyCallKeepsItsDefaultAction) {
    EXPECT_EXIT(
        {
            InstallBotCallGuard({WriteAndEnd, true});
            std::raise(SIGSYS);  // one the sanitizers leave alone
        },
        ::testing::KilledBySignal(SIGSYS), "");
    EXPECT_EXIT(
        {
            InstallBotCallGuard({WriteAndEnd, true});
            MarkLoading("./a.so");
            EndLoading();
            std::exit(5);
        },
        ::testing::ExitedWithCode(5), "");
}

TEST(BotCallGuardDeathTest, ALibraryThatFailsWhileLoadedIsNamed) {
    EXPECT_EXIT(
        {
            InstallBotCallGuard({WriteAndEnd, true});
            MarkLoading("./a.so");
            std::raise(SIGSEGV);
        },
        ::testing::ExitedWithCode(42), "\\./a\\.so\\|4\\|");
}

TEST(SignalSafeText, NumbersAndTruncation) {
    TSignalSafeText Text;
    Text.Add(int64_t{0});
    Text.Add(" ");
    Text.Add(std::numeric_limits<int64_t>::min());
    Text.Add(" ");
    Text.Add(int64_t{1234});
    EXPECT_EQ(Text.Take(), "0 -9223372036854775808 1234");

    TSignalSafeText Long;
    for (int I = 0; I < 1000; ++I) Long.Add("abcd");
    EXPECT_EQ(Long.Take().size(), TSignalSafeText::Capacity - 1);
    EXPECT_EQ(std::string(Long.CString()), Long.Take());
}

}  // namespace
}  // namespace velkaran
