// What each player is shown: the hidden view, the hiding of the last card, and the host's
// records staying intact when a player writes through the pointers it was given.
#include "game_fixture.h"

namespace velkaran::testing {
namespace {

// The first player raises its shield to 22, 29 and 36 in rounds 1 to 3 with card 15; the second
// plays card 36 in round 1, has nothing playable in round 2 and plays card 10 in round 3.
class HiddenOpponent : public GameFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        Options.Options = (GetParam() ? HiddenInformation : 0) | BotsOnly | 3;
        First.OnStartGame = Choose(ShieldSet);
        First.OnGetTurn = FirstPlayable();
        Second.OnStartGame = Choose(DrainSet);
        Second.OnGetTurn = FirstPlayable();
        Play();
    }
};

TEST_P(HiddenOpponent, LastMoveIsHiddenBehindAShieldAbove20WhenTheMoverCanPlay) {
    ASSERT_EQ(Result.Result, TurnLimitReached);
    EXPECT_EQ(TurnInfo(Second, 1).LastMove, 0);    // shield 22, card 15 hidden
    EXPECT_EQ(TurnInfo(First, 2).LastMove, 36);    // shield 15: visible
    EXPECT_EQ(TurnInfo(Second, 2).LastMove, 15);   // shield 29, but nothing playable: passed on
    EXPECT_EQ(TurnInfo(First, 3).LastMove, 0);     // the informing call left 0
    EXPECT_EQ(TurnInfo(Second, 3).LastMove, 0);    // shield 36, card 15 hidden
    EXPECT_EQ(Closing(First).Info->LastMove, 10);  // never hidden at the end
    EXPECT_EQ(Closing(Second).Info->LastMove, 10);
}

TEST_P(HiddenOpponent, ViewHidesTheOpponentOnlyUnderHiddenInformation) {
    const TRecordedCall Round1 = Second.CallsOf(TUiCallKind::GetTurn).at(0);
    const TPlayerStatus Own{40, 15, 3, 2, 2, 15, 15, 15};
    const TPlayerStatus Exact{40, 22, 3, 2, 2, 10, 15, 15};
    const TPlayerStatus Hidden{0, 22, 0, 0, 0, -1, -1, -1};
    EXPECT_EQ(Round1.PlayerIndex, 1);
    EXPECT_TRUE(Round1.View->Player[1] == Own);
    EXPECT_TRUE(Round1.View->Player[0] == (GetParam() ? Hidden : Exact));
    // The informing call of round 2 gets a view too.
    const TRecordedCall Round2 = Second.CallsOf(TUiCallKind::GetTurn).at(1);
    EXPECT_EQ(Round2.View->Player[0].Shield, 29);
    EXPECT_EQ(Round2.View->Player[0].Energy, GetParam() ? -1 : 8);
    // The first player always sees the second exactly: its shield stays 15.
    for (const TRecordedCall &Call : First.CallsOf(TUiCallKind::GetTurn))
        EXPECT_EQ(Call.View->Player[1].Base, 40);
}

INSTANTIATE_TEST_SUITE_P(GameLoop, HiddenOpponent, ::testing::Bool(),
                         [](const auto &Info) { return Info.param ? "Hidden" : "Open"; });

using HostRecords = GameFixture;

TEST_F(HostRecords, PlayerWritingThroughItsPointersChangesNothingTheGameReliesOn) {
    // The same game twice: once with a well-behaved first player, once with one that scribbles
    // over every record it is handed after reading it. Everything else must be the same.
    First.OnStartGame = Choose(RaidSet);
    First.OnGetTurn = FirstPlayable();
    Play();
    const TGameResult Clean = Result;
    const std::vector<TRecordedCall> CleanSecond = Second.Calls;

    Second.Calls.clear();
    Result = TGameResult{};
    First.OnStartGame = [](int32_t Index, TCardList *Set, const TTurnInfo *Info) {
        Choose(RaidSet)(Index, Set, Info);
        std::memset(const_cast<TTurnInfo *>(Info), 0x5A, sizeof *Info);
    };
    First.OnGetTurn = [](int32_t, const TGameView *View, const TCardList *Playable, const TTurnInfo *Info) {
        const int32_t Card = (*Playable)[0];
        std::memset(const_cast<TTurnInfo *>(Info), 0x5A, sizeof *Info);
        std::memset(const_cast<TGameView *>(View), 0x5A, sizeof *View);
        std::memset(const_cast<TCardList *>(Playable), 0x5A, sizeof *Playable);
        return Card;
    };
    Play();

    EXPECT_EQ(Result.Result, Clean.Result);
    EXPECT_EQ(Bytes(Result.FinalInfo), Bytes(Clean.FinalInfo));
    EXPECT_TRUE(Result.FinalState == Clean.FinalState);
    ASSERT_EQ(Second.Calls.size(), CleanSecond.size());
    for (std::size_t I = 0; I < CleanSecond.size(); ++I) {
        EXPECT_EQ(Bytes(*Second.Calls[I].Info), Bytes(*CleanSecond[I].Info)) << "call " << I;
        EXPECT_EQ(Second.Calls[I].View.has_value(), CleanSecond[I].View.has_value());
        if (CleanSecond[I].View) {
            EXPECT_TRUE(*Second.Calls[I].View == *CleanSecond[I].View) << "call " << I;
        }
    }
}

}  // namespace
}  // namespace velkaran::testing
