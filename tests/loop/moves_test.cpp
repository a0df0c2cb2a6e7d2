// Moves and how games end: refused answers, destroyed bases, the turn limit, rounds without a card.
#include "game_fixture.h"

#include <ostream>

namespace velkaran::testing {
namespace {

// Cards 1..13, the pass and card 31, which nobody can afford at the start (26 energy).
constexpr TSet WithCard31{31, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 50};

struct TRefusal {
    int32_t Mover;
    int32_t Answer;
    friend std::ostream &operator<<(std::ostream &Out, const TRefusal &R) {
        return Out << "player " << R.Mover << " answers " << R.Answer;
    }
};

class RefusedMove : public GameFixture, public ::testing::WithParamInterface<TRefusal> {};

TEST_P(RefusedMove, LosesWithErrorOrPassAndShowsTheAnswerInBothClosingCalls) {
    const auto [Mover, Answer] = GetParam();
    RecordingGameInterface &Player = Mover == 0 ? First : Second;
    First.OnStartGame = Choose(WithCard31);
    Second.OnStartGame = Choose(WithCard31);
    Player.OnGetTurn = Always(Answer);
    Play();

    EXPECT_EQ(Result.Result, (Mover == 0 ? FirstPlayerLost : SecondPlayerLost) | ErrorOrPass);
    EXPECT_EQ(Result.FinalInfo.Turn, 1);
    EXPECT_EQ(Result.FinalInfo.LastMove, Answer);
    EXPECT_EQ(Closing(First).Info->LastMove, Answer);
    EXPECT_EQ(Closing(Second).Info->LastMove, Answer);
    EXPECT_EQ(Closing(First).Info->Result, Mover == 0 ? 17 : 26);
    EXPECT_EQ(Closing(Second).Info->Result, Mover == 0 ? 25 : 18);
    // A refused move changes nothing and is not counted.
    const TPlayer &Loser = Result.FinalState[Mover];
    EXPECT_TRUE(static_cast<const TPlayerStatus &>(Loser) == StartingState()[Mover]);
    EXPECT_TRUE(Loser.Statistics.CardUses == CardTable<int32_t>{});
}

INSTANTIATE_TEST_SUITE_P(GameLoop, RefusedMove,
                         ::testing::Values(TRefusal{0, 0},   // declining to move
                                           TRefusal{0, 20},  // not in the set
                                           TRefusal{0, 31},  // in the set, not affordable
                                           TRefusal{1, 77},  // not a card
                                           TRefusal{1, 0}, TRefusal{1, -5}, TRefusal{1, 31}));

using GameEnd = GameFixture;

TEST_F(GameEnd, FirstPlayerDestroysTheSecondBaseInRoundSeven) {
    // 24, 24, 24, 24, 25, 23, 23 take 7 + 7 + 7 + 7 + 7 + 3 + 3 = 41 of the second base.
    First.OnStartGame = Choose(RaidSet);
    First.OnGetTurn = FirstPlayable();
    Play();

    EXPECT_EQ(Result.Result, SecondPlayerLost);
    EXPECT_EQ(Result.FinalInfo.Turn, 7);
    EXPECT_EQ(Result.FinalInfo.LastMove, 23);
    EXPECT_EQ(First.Count(TUiCallKind::GetTurn), 7u);
    EXPECT_EQ(Second.Count(TUiCallKind::GetTurn), 6u);
    EXPECT_EQ(Bytes(*Closing(First).Info), Bytes(ExpectedInfo(23, 7, Options.Options, "Beta", 10)));
    EXPECT_EQ(Bytes(*Closing(Second).Info), Bytes(ExpectedInfo(23, 7, Options.Options, "Alpha", 2)));
    EXPECT_EQ(Result.FinalState[1].Base, -1);
    // Six productions of 3 batteries, 2 mines and 2 laboratories.
    for (const TPlayer &Player : Result.FinalState) {
        EXPECT_EQ(Player.Statistics.TotalEnergy, 18);
        EXPECT_EQ(Player.Statistics.TotalMetal, 12);
        EXPECT_EQ(Player.Statistics.TotalElements, 12);
    }
    CardTable<int32_t> FirstUses{}, SecondUses{};
    FirstUses[24] = 4;
    FirstUses[25] = 1;
    FirstUses[23] = 2;
    SecondUses[50] = 6;
    EXPECT_TRUE(Result.FinalState[0].Statistics.CardUses == FirstUses);
    EXPECT_TRUE(Result.FinalState[1].Statistics.CardUses == SecondUses);
    // Each player sees the card the other played just before; the very first move sees 0.
    EXPECT_EQ(TurnInfo(First, 1).LastMove, 0);
    EXPECT_EQ(TurnInfo(Second, 1).LastMove, 24);
    EXPECT_EQ(TurnInfo(First, 2).LastMove, 50);
    EXPECT_EQ(TurnInfo(Second, 6).LastMove, 23);
    EXPECT_EQ(Bytes(TurnInfo(Second, 6)), Bytes(ExpectedInfo(23, 6, Options.Options, "Alpha", 0)));
}

class BothBasesDestroyed : public GameFixture, public ::testing::WithParamInterface<int32_t> {};

TEST_P(BothBasesDestroyed, FirstPlayerLosesWhoeverMadeTheMove) {
    // Both players take 3 off each other's base for twelve rounds (bases 4), then in round 13
    // the mover plays card 30: 49 on the opponent, 20 on itself through a shield of 15.
    const int32_t Mover = GetParam();
    constexpr TSet Set{23, 30, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 50};
    for (RecordingGameInterface *Player : {&First, &Second}) {
        const int32_t Index = Player == &First ? 0 : 1;
        Player->OnStartGame = Choose(Set);
        Player->OnGetTurn = [Index, Mover](int32_t, const TGameView *, const TCardList *,
                                           const TTurnInfo *Info) {
            return Info->Turn == 13 && Index == Mover ? 30 : 23;
        };
    }
    Play();

    EXPECT_EQ(Result.Result, FirstPlayerLost);
    EXPECT_EQ(Result.FinalInfo.Turn, 13);
    EXPECT_LT(Result.FinalState[0].Base, 1);
    EXPECT_LT(Result.FinalState[1].Base, 1);
    EXPECT_EQ(Closing(First).Info->Result, 1);
    EXPECT_EQ(Closing(Second).Info->Result, 9);
    EXPECT_EQ(Second.Count(TUiCallKind::GetTurn), Mover == 0 ? 12u : 13u);
}

INSTANTIATE_TEST_SUITE_P(GameLoop, BothBasesDestroyed, ::testing::Values(0, 1));

TEST_F(GameEnd, TurnLimitOf30EndsInADrawAfterThirtyFullRounds) {
    Play();

    EXPECT_EQ(Result.Result, TurnLimitReached);
    EXPECT_EQ(Bytes(Result.FinalInfo), Bytes(ExpectedInfo(50, 30, Options.Options, "", 0)));
    ASSERT_EQ(First.Count(TUiCallKind::GetTurn), 30u);
    ASSERT_EQ(Second.Count(TUiCallKind::GetTurn), 30u);
    for (int Round = 1; Round <= 30; ++Round) {
        EXPECT_EQ(TurnInfo(First, Round).Turn, Round);
        EXPECT_EQ(TurnInfo(Second, Round).Turn, Round);
    }
    for (const TPlayer &Player : Result.FinalState) {  // thirty productions
        EXPECT_EQ(Player.Statistics.TotalEnergy, 90);
        EXPECT_EQ(Player.Statistics.TotalMetal, 60);
        EXPECT_EQ(Player.Statistics.TotalElements, 60);
        EXPECT_EQ(Player.Statistics.CardUses[50], 30);
        EXPECT_EQ(Player.Energy, 15 + 30 + 90);
    }
    EXPECT_EQ(Closing(First).Info->Result, 4);
    EXPECT_EQ(Closing(Second).Info->Result, 4);
}

TEST_F(GameEnd, TurnLimitOfZeroStillEndsTheGame) {
    // Counting players only: this game is 65536 rounds long.
    Options.Options = SeriesGame(0);
    int32_t Moves[2] = {0, 0};
    const TStartGameFn Start = Infallible([](int32_t, TCardList *Set, const TTurnInfo *) {
        if (Set) Choose(PlainSet)(0, Set, nullptr);
    });
    const TGetTurnFn Pass = [&Moves](int32_t Index, const TGameView *, const TCardList *, const TTurnInfo *) {
        ++Moves[Index];
        return 50;
    };
    PlayGame(Start, Start, Pass, Pass, Options, Result, Ui, Clock);

    EXPECT_EQ(Result.Result, TurnLimitReached);
    EXPECT_EQ(Result.FinalInfo.Turn, 65536);
    EXPECT_EQ(Moves[0], 65536);
    EXPECT_EQ(Moves[1], 65536);
}

TEST_F(GameEnd, RoundWithoutAPlayableCardInformsBothPlayersAndGoesOn) {
    // Card 36 in round 1 leaves 9 energy, 10 metal, 7 elements after production: nothing of
    // the drain set is affordable in round 2; production brings cards 10, 12 and 7 back in round 3.
    Options.Options = SeriesGame(3);
    for (RecordingGameInterface *Player : {&First, &Second}) {
        Player->OnStartGame = Choose(DrainSet);
        Player->OnGetTurn = [](int32_t, const TGameView *, const TCardList *Playable, const TTurnInfo *) {
            return Playable ? (*Playable)[0] : 77;  // an informing call's answer is ignored
        };
    }
    Play();

    EXPECT_EQ(Result.Result, TurnLimitReached);
    for (const RecordingGameInterface *Player : {&First, &Second}) {
        const auto Turns = Player->CallsOf(TUiCallKind::GetTurn);
        ASSERT_EQ(Turns.size(), 3u);
        EXPECT_EQ(Entries(*Turns[0].Playable), (TSet{36, 13, 10, 12, 7}));
        EXPECT_FALSE(Turns[1].Playable.has_value());
        EXPECT_EQ(Entries(*Turns[2].Playable), (TSet{10, 12, 7}));
        EXPECT_EQ(Turns[2].View->Player[Turns[2].PlayerIndex].Energy, 13);
    }
    EXPECT_EQ(TurnInfo(First, 2).LastMove, 36);  // no playable card: the last move is passed on
    EXPECT_EQ(TurnInfo(Second, 2).LastMove, 0);  // the first player's informing call left 0
    EXPECT_EQ(TurnInfo(First, 3).LastMove, 0);   // and so did the second's
    EXPECT_EQ(Result.FinalInfo.LastMove, 10);
    for (const TPlayer &Player : Result.FinalState) {
        EXPECT_EQ(Player.Statistics.CardUses[36], 1);
        EXPECT_EQ(Player.Statistics.CardUses[10], 1);
        EXPECT_EQ(Player.Statistics.TotalEnergy, 4 + 4 + 4);  // three productions, 4 batteries
    }
}

}  // namespace
}  // namespace velkaran::testing
