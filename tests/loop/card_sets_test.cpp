// The choice of the card sets: what the opening calls receive and how an invalid set ends a game.
#include "game_fixture.h"

namespace velkaran::testing {
namespace {

using CardSetChoice = GameFixture;

TEST_F(CardSetChoice, OpeningCallsReceiveAClearedListAndExactTurnInfo) {
    Options.FirstName = "A name of thirty characters 30";
    Options.SecondName = "B";
    Play();

    const TRecordedCall FirstOpening = First.Calls.at(0);
    const TRecordedCall SecondOpening = Second.Calls.at(0);
    ASSERT_EQ(FirstOpening.Kind, TUiCallKind::StartGame);
    ASSERT_EQ(SecondOpening.Kind, TUiCallKind::StartGame);
    EXPECT_EQ(FirstOpening.PlayerIndex, 0);
    EXPECT_EQ(SecondOpening.PlayerIndex, 1);
    // The second player's list is cleared again after the first player filled it.
    EXPECT_EQ(Entries(*FirstOpening.CardSet), TSet{});
    EXPECT_EQ(Entries(*SecondOpening.CardSet), TSet{});
    EXPECT_EQ(Bytes(*FirstOpening.Info), Bytes(ExpectedInfo(0, 0, Options.Options, "B", 0)));
    // The long name written before leaves no trace after the opponent's short one, and vice versa.
    EXPECT_EQ(Bytes(*SecondOpening.Info),
              Bytes(ExpectedInfo(0, 0, Options.Options, "A name of thirty characters 30", 0)));
}

TEST_F(CardSetChoice, InvalidFirstSetEndsTheGameBeforeTheSecondPlayerIsAsked) {
    First.OnStartGame = [](int32_t, TCardList *Set, const TTurnInfo *) {
        if (Set)
            for (int I = 0; I < 14; ++I) (*Set)[I] = I + 1;  // entry 14 stays 0
    };
    Play();

    EXPECT_EQ(Result.Result, FirstPlayerLost | ErrorOrPass);
    EXPECT_EQ(Bytes(Result.FinalInfo), Bytes(ExpectedInfo(0, 0, Options.Options, "", 0)));
    EXPECT_TRUE(Result.FinalState == StartingState());  // both players' Cards still all 0
    ASSERT_EQ(Second.Calls.size(), 1u);
    EXPECT_FALSE(Second.Calls[0].CardSet.has_value());
    EXPECT_EQ(Bytes(*Second.Calls[0].Info), Bytes(ExpectedInfo(0, 0, Options.Options, "Alpha", 25)));
    ASSERT_EQ(First.Calls.size(), 2u);
    EXPECT_FALSE(First.Calls[1].CardSet.has_value());
    EXPECT_EQ(Bytes(*First.Calls[1].Info), Bytes(ExpectedInfo(0, 0, Options.Options, "Beta", 17)));
    EXPECT_EQ(Journal, (std::vector<std::string>{"first.StartGame", "first.StartGame", "second.StartGame",
                                                 "ui.HideGameInterface"}));
}

class InvalidSecondSet : public GameFixture, public ::testing::WithParamInterface<TSet> {};

TEST_P(InvalidSecondSet, EndsTheGameWith18AfterTheFirstSetWasStored) {
    Second.OnStartGame = Choose(GetParam());
    Play();

    EXPECT_EQ(Result.Result, SecondPlayerLost | ErrorOrPass);
    EXPECT_EQ(Result.FinalInfo.Turn, 0);
    EXPECT_EQ(Entries(Result.FinalState[0].Cards), PlainSet);
    EXPECT_EQ(Entries(Result.FinalState[1].Cards), TSet{});
    EXPECT_EQ(Closing(First).Info->Result, 26);
    EXPECT_EQ(Closing(Second).Info->Result, 18);
    EXPECT_EQ(First.Count(TUiCallKind::GetTurn) + Second.Count(TUiCallKind::GetTurn), 0u);
}

INSTANTIATE_TEST_SUITE_P(GameLoop, InvalidSecondSet,
                         ::testing::Values(TSet{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 14},
                                           TSet{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 51},
                                           TSet{-1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, TSet{}));

}  // namespace
}  // namespace velkaran::testing
