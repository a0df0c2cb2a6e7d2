// Exceptions from a player or the game interface: they pass through PlayGame, which leaves the
// result record in its documented state and the game interface closed.
#include "game_fixture.h"

#include <stdexcept>

namespace velkaran::testing {
namespace {

struct TPlayerFault : std::runtime_error {
    TPlayerFault() : std::runtime_error("player fault") {}
};

// A script that throws in Round, and answers with Answer before it.
RecordingGameInterface::TTurnScript FailIn(int32_t Round, RecordingGameInterface::TTurnScript Answer) {
    return [Round, Answer](int32_t Index, const TGameView *View, const TCardList *Playable,
                           const TTurnInfo *Info) {
        if (Info->Turn == Round) throw TPlayerFault();
        return Answer(Index, View, Playable, Info);
    };
}

using PlayerFault = GameFixture;

TEST_F(PlayerFault, PassesThroughAndLeavesTheStateOfTheMomentWithoutAResult) {
    Result.Result = 4;  // left over from an earlier game
    Second.OnGetTurn = FailIn(3, Always(50));
    EXPECT_THROW(Play(), TPlayerFault);

    EXPECT_EQ(Result.Result, 0);
    EXPECT_EQ(Bytes(Result.FinalInfo), Bytes(ExpectedInfo(50, 3, Options.Options, "", 0)));
    EXPECT_EQ(Result.FinalState[0].Statistics.CardUses[50], 3);
    EXPECT_EQ(Result.FinalState[1].Statistics.CardUses[50], 2);
    EXPECT_EQ(Result.FinalState[1].Statistics.TotalEnergy, 6);  // two productions
    EXPECT_EQ(First.Count(TUiCallKind::StartGame), 1u);         // no closing calls
    EXPECT_EQ(Second.Count(TUiCallKind::StartGame), 1u);
    EXPECT_TRUE(Ui.Calls.empty());  // a series game never opened the interface
}

TEST_F(PlayerFault, InAHumanGameClosesTheInterfaceItOpened) {
    Options.Options = HumanGame(30);
    Second.OnStartGame = [](int32_t, TCardList *, const TTurnInfo *) { throw TPlayerFault(); };
    EXPECT_THROW(Play(), TPlayerFault);

    EXPECT_EQ(Ui.Kinds(),
              (std::vector<TUiCallKind>{TUiCallKind::ShowGameInterface, TUiCallKind::SetPlayerNames,
                                        TUiCallKind::HideGameInterface}));
    EXPECT_EQ(Result.Result, 0);
    EXPECT_EQ(Entries(Result.FinalState[0].Cards), PlainSet);
}

TEST_F(PlayerFault, InTheClosingCallKeepsTheDecidedResult) {
    Options.Options = SeriesGame(2);
    First.OnStartGame = [](int32_t Index, TCardList *Set, const TTurnInfo *Info) {
        if (!Set) throw TPlayerFault();
        Choose(PlainSet)(Index, Set, Info);
    };
    EXPECT_THROW(Play(), TPlayerFault);

    EXPECT_EQ(Result.Result, TurnLimitReached);
    EXPECT_EQ(Result.FinalInfo.Turn, 2);
    EXPECT_EQ(Second.Count(TUiCallKind::StartGame), 1u);
}

TEST_F(PlayerFault, FromTheInterfaceShowingTheFinalPositionStillClosesIt) {
    Options.Options = SingleBotGame(2);
    Ui.OnCall = [](const TRecordedCall &Call) {
        if (Call.Kind == TUiCallKind::ShowGame) throw TPlayerFault();
    };
    EXPECT_THROW(Play(), TPlayerFault);

    EXPECT_EQ(Ui.Kinds().back(), TUiCallKind::HideGameInterface);
    EXPECT_EQ(Ui.Count(TUiCallKind::HideGameInterface), 1u);
    EXPECT_EQ(Result.Result, TurnLimitReached);
}

TEST_F(PlayerFault, LeavesNothingBehindForTheNextGame) {
    First.OnStartGame = Choose(RaidSet);
    First.OnGetTurn = FirstPlayable();
    Play();
    const TGameResult Clean = Result;

    First.OnGetTurn = FailIn(5, FirstPlayable());
    EXPECT_THROW(Play(), TPlayerFault);
    First.OnGetTurn = FirstPlayable();
    Play();

    EXPECT_EQ(Result.Result, Clean.Result);
    EXPECT_EQ(Bytes(Result.FinalInfo), Bytes(Clean.FinalInfo));
    EXPECT_TRUE(Result.FinalState == Clean.FinalState);
}

}  // namespace
}  // namespace velkaran::testing
