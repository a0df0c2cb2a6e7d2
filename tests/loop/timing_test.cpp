// The timing of moves: the 20000 ms limit between bots and the TotalTime bookkeeping.
#include "game_fixture.h"

#include <chrono>
#include <ostream>

namespace velkaran::testing {
namespace {

// A GetTurn script that takes Duration ms of the fixture's clock in round Round, then answers.
RecordingGameInterface::TTurnScript Slow(double &Now, int32_t Round, double Duration,
                                         RecordingGameInterface::TTurnScript Answer) {
    return [&Now, Round, Duration, Answer](int32_t Index, const TGameView *View, const TCardList *Playable,
                                           const TTurnInfo *Info) {
        if (Info->Turn == Round) Now += Duration;
        return Answer(Index, View, Playable, Info);
    };
}

struct TSlowMove {
    int32_t Options;
    int32_t Mover;
    double Duration;
    int32_t Expected;
    friend std::ostream &operator<<(std::ostream &Out, const TSlowMove &M) {
        return Out << "options 0x" << std::hex << M.Options << std::dec << ", player " << M.Mover << " takes "
                   << M.Duration << " ms";
    }
};

class MoveTimeLimit : public GameFixture, public ::testing::WithParamInterface<TSlowMove> {};

TEST_P(MoveTimeLimit, AppliesOnlyBetweenBotsAndOnlyAbove20000Ms) {
    const TSlowMove Case = GetParam();
    Options.Options = Case.Options;
    Now = 1e6 + 0.25;
    (Case.Mover == 0 ? First : Second).OnGetTurn = Slow(Now, 1, Case.Duration, Always(50));
    Play();

    EXPECT_EQ(Result.Result, Case.Expected);
    if (HasFlags(Case.Expected, TimeLimitExceeded)) {  // the slow move was applied, then judged
        EXPECT_EQ(Result.FinalInfo.Turn, 1);
        EXPECT_EQ(Result.FinalInfo.LastMove, 50);
        EXPECT_EQ(Result.FinalState[Case.Mover].Statistics.CardUses[50], 1);
        EXPECT_EQ(Result.FinalState[Case.Mover].Energy, 16);
        EXPECT_EQ(Closing(Case.Mover == 0 ? Second : First).Info->Result, Case.Expected | ReceiverWon);
    }
    EXPECT_NEAR(Result.FinalState[Case.Mover].Statistics.TotalTime, Case.Duration, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(GameLoop, MoveTimeLimit,
                         ::testing::Values(TSlowMove{SeriesGame(2), 0, 20000, TurnLimitReached},
                                           TSlowMove{SeriesGame(2), 0, 20001, 33},
                                           TSlowMove{SeriesGame(2), 1, 20000, TurnLimitReached},
                                           TSlowMove{SeriesGame(2), 1, 20001, 34},
                                           TSlowMove{SingleBotGame(2), 1, 20000.001, 34},
                                           TSlowMove{HumanGame(2), 0, 20001, TurnLimitReached},
                                           TSlowMove{HumanGame(2), 1, 1e9, TurnLimitReached}));

using MoveTiming = GameFixture;

TEST_F(MoveTiming, SlowMoveThatDestroysTheOpponentsBaseStillLoses) {
    First.OnStartGame = Choose(RaidSet);
    First.OnGetTurn = Slow(Now, 7, 20500, FirstPlayable());
    Play();

    EXPECT_EQ(Result.Result, FirstPlayerLost | TimeLimitExceeded);
    EXPECT_EQ(Result.FinalState[1].Base, -1);
    EXPECT_EQ(Closing(Second).Info->Result, 33 | ReceiverWon);
}

TEST_F(MoveTiming, SlowInformingCallLosesToo) {
    Options.Options = SeriesGame(3);
    First.OnStartGame = Choose(DrainSet);
    Second.OnStartGame = Choose(DrainSet);
    First.OnGetTurn = FirstPlayable();
    Second.OnGetTurn = Slow(Now, 2, 20001, FirstPlayable());
    Play();

    EXPECT_FALSE(Second.CallsOf(TUiCallKind::GetTurn).at(1).Playable.has_value());
    EXPECT_EQ(Result.Result, SecondPlayerLost | TimeLimitExceeded);
    EXPECT_EQ(Result.FinalInfo.Turn, 2);
}

TEST_F(MoveTiming, TotalTimeSumsEveryGetTurnCallAndNothingElse) {
    // Three rounds of the drain game, the second of them without a playable card; StartGame
    // calls take a second each and are not counted.
    Options.Options = SeriesGame(3);
    for (RecordingGameInterface *Player : {&First, &Second}) {
        const double Step = Player == &First ? 1.5 : 2.25;
        Player->OnStartGame = [this](int32_t Index, TCardList *Set, const TTurnInfo *Info) {
            Now += 1000;
            Choose(DrainSet)(Index, Set, Info);
        };
        Player->OnGetTurn = [this, Step](int32_t Index, const TGameView *View, const TCardList *Playable,
                                         const TTurnInfo *Info) {
            Now += Step;
            return FirstPlayable()(Index, View, Playable, Info);
        };
    }
    Play();

    ASSERT_EQ(Result.Result, TurnLimitReached);
    EXPECT_EQ(Result.FinalState[0].Statistics.TotalTime, 4.5);
    EXPECT_EQ(Result.FinalState[1].Statistics.TotalTime, 6.75);
    EXPECT_EQ(ClockReads, 2 * 6);  // once before and once after each GetTurn call, nowhere else
}

TEST_F(MoveTiming, RefusedMoveIsTimedToo) {
    First.OnGetTurn = [this](int32_t, const TGameView *, const TCardList *, const TTurnInfo *) {
        Now += 7;
        return 0;
    };
    Play();

    EXPECT_EQ(Result.Result, FirstPlayerLost | ErrorOrPass);
    EXPECT_EQ(Result.FinalState[0].Statistics.TotalTime, 7);
}

TEST(GetTimeMs, IsAMonotonicMillisecondClock) {
    const double Before = GetTimeMs();
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(3);
    while (std::chrono::steady_clock::now() < Deadline) {
    }
    const double After = GetTimeMs();
    EXPECT_GE(After - Before, 3.0);
    EXPECT_LT(After - Before, 60000.0);
}

}  // namespace
}  // namespace velkaran::testing
