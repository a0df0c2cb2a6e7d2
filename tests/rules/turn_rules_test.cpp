// The turn rules: new game, card sets, playable cards, playing, the laboratory limit, production, the base.
#include "rules_test_support.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace velkaran {
namespace {

TCardList ListOf(std::initializer_list<int32_t> Cards) {
    TCardList List{};
    int Slot = 0;
    for (int32_t Card : Cards) List[Slot++] = Card;
    return List;
}

constexpr TCardList FirstFifteen{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}};

TEST(NewGame, BothPlayersStartAlikeWithNothingElse) {
    TGameState State = StateHolding(7);
    State[0].Statistics.TotalTime = 12.5;
    State[1].Statistics.CardUses[50] = 3;
    NewGameState(State);
    for (const TPlayer &Player : State) {
        EXPECT_EQ(static_cast<const TPlayerStatus &>(Player), (TPlayerStatus{40, 15, 3, 2, 2, 15, 15, 15}));
        EXPECT_EQ(Player.Cards, TCardList{});
        EXPECT_EQ(Player.Statistics, TPlayerStatistics{});
    }
}

TEST(CardSets, FifteenDifferentCardsInAnyOrderAreValid) {
    EXPECT_TRUE(IsValidCardSet(FirstFifteen));
    EXPECT_TRUE(IsValidCardSet(ListOf({50, 36, 1, 49, 2, 48, 3, 47, 4, 46, 5, 45, 6, 44, 7})));
}

TEST(CardSets, ZeroNegativeOutOfRangeOrRepeatedCardsAreInvalid) {
    for (int32_t Bad : {0, -1, 51, INT32_MIN, INT32_MAX}) {
        for (int Slot : {0, 14}) {
            TCardList List = FirstFifteen;
            List[Slot] = Bad;
            EXPECT_FALSE(IsValidCardSet(List)) << Bad << " in slot " << Slot;
        }
    }
    TCardList Repeated = FirstFifteen;
    Repeated[14] = 1;
    EXPECT_FALSE(IsValidCardSet(Repeated));
    EXPECT_FALSE(IsValidCardSet(TCardList{}));
}

TEST(Playable, ExactCostIsEnoughAndOneUnitShortIsNot) {
    TGameState State = StateHolding(31);
    State[0].Energy = 26;
    State[0].Metal = 16;
    State[0].Elements = 10;
    EXPECT_TRUE(CanPlayCard(State, 0, 31));
    for (int32_t TPlayerStatus::*Resource :
         {&TPlayerStatus::Energy, &TPlayerStatus::Metal, &TPlayerStatus::Elements}) {
        TGameState Short = State;
        Short[0].*Resource -= 1;
        EXPECT_FALSE(CanPlayCard(Short, 0, 31));
    }
}

// Every card, every resource around its cost and at large or wrapped (negative) values: the list agrees
// with the plain rule "each cost at most the resource", and so does CanPlayCard.
TEST(Playable, ListAndCanPlayCardAgreeWithThePlainRuleAtEveryThreshold) {
    int32_t TPlayerStatus::*const Resources[] = {&TPlayerStatus::Energy, &TPlayerStatus::Metal,
                                                 &TPlayerStatus::Elements};
    for (int32_t Card = 1; Card <= CardCount; ++Card) {
        const TCardCost &Cost = CardCosts[Card];
        const int32_t Costs[] = {Cost.Energy, Cost.Metal, Cost.Elements};
        for (int Varied = 0; Varied < 3; ++Varied) {
            for (int32_t Value : {Costs[Varied] - 1, Costs[Varied], Costs[Varied] + 1, 62, 63, 64, 1000,
                                  INT32_MAX, -1, INT32_MIN}) {
                for (int32_t Others : {0, 1000}) {  // the other two exactly at their cost, or far above it
                    TGameState State = StateHolding(Card);
                    for (int Index = 0; Index < 3; ++Index)
                        State[0].*Resources[Index] = Index == Varied ? Value : Costs[Index] + Others;
                    const bool Expected = Value >= Costs[Varied];
                    TCardList List;
                    const int32_t Count = GetPlayableCards(State[0], List);
                    const bool Listed = std::find(List.Card, List.Card + Count, Card) != List.Card + Count;
                    EXPECT_EQ(Listed, Expected)
                        << "card " << Card << ", resource " << Varied << " = " << Value;
                    EXPECT_EQ(CanPlayCard(State, 0, Card), Expected) << "card " << Card;
                }
            }
        }
    }
}

TEST(Playable, OnlyCardsOfTheSetInRangeArePlayable) {
    const TGameState State = StateHolding(1);  // cards 1..15
    EXPECT_TRUE(CanPlayCard(State, 1, 15));
    EXPECT_FALSE(CanPlayCard(State, 1, 16));
    EXPECT_FALSE(CanPlayCard(State, 1, 0));
    EXPECT_FALSE(CanPlayCard(State, 1, -5));
    EXPECT_FALSE(CanPlayCard(State, 1, 51));
}

TEST(Playable, ListKeepsTheOrderOfTheSetAndEndsInZeros) {
    TPlayer Player{};
    Player.Cards = ListOf({31, 50, 2, 1, 41, 15, 3, 16, 17, 18, 24, 20, 21, 22, 23});
    Player.Energy = 5;
    Player.Metal = 4;
    Player.Elements = 0;
    TCardList List = FirstFifteen;  // stale entries must be cleared
    EXPECT_EQ(GetPlayableCards(Player, List), 4);
    EXPECT_EQ(List, ListOf({50, 2, 1, 15}));
}

TEST(Playable, NothingAffordableGivesAnEmptyListAndThePassIsAlwaysThere) {
    TPlayer Player{};
    Player.Cards = FirstFifteen;
    TCardList List = FirstFifteen;
    EXPECT_EQ(GetPlayableCards(Player, List), 0);
    EXPECT_EQ(List, TCardList{});

    Player.Cards[7] = 50;
    EXPECT_EQ(GetPlayableCards(Player, List), 1);
    EXPECT_EQ(List, ListOf({50}));
}

TEST(PlayCardRules, ARefusedMoveChangesNothing) {
    TGameState State = StateHolding(1, 0);  // cards 1..15, no resources
    State[0].Energy = 3;
    State[0].Statistics.TotalTime = 1.5;
    unsigned char Before[sizeof State];
    std::memcpy(Before, &State, sizeof State);
    for (int32_t Card : {0, -1, 51, INT32_MIN, 16, 50, 1, 31}) {
        EXPECT_FALSE(PlayCard(State, 0, Card)) << "card " << Card;
        EXPECT_EQ(std::memcmp(Before, &State, sizeof State), 0) << "card " << Card;
    }
}

TEST(PlayCardRules, ACardCanBePlayedAgainWhileItCanBePaid) {
    TGameState State = StateHolding(1, 0);
    State[0].Energy = 8;
    EXPECT_TRUE(PlayCard(State, 0, 1));
    EXPECT_TRUE(PlayCard(State, 0, 1));
    EXPECT_FALSE(PlayCard(State, 0, 1));
    EXPECT_EQ(State[0].Statistics.CardUses[1], 2);
    EXPECT_EQ(State[0].Energy, 0);
    EXPECT_EQ(State[1].Shield, 5);
}

TEST(LaboratoryLimit, FiveUpToBase50ThenOneMorePerFivePoints) {
    const struct {
        int32_t Base, Laboratories, After;
    } Cases[] = {{50, 7, 5},    {54, 7, 5},
                 {55, 7, 6},    {59, 9, 6},
                 {60, 9, 7},    {100, 7, 7},
                 {100, 16, 15}, {-10, 7, 5},
                 {40, 2, 2},    {INT32_MAX, INT32_MAX, 5 + (INT32_MAX - 50) / 5}};
    for (const auto &[Base, Laboratories, After] : Cases) {
        TGameState State = StateHolding(1);
        State[1].Base = Base;
        State[1].Laboratories = Laboratories;
        TGameState Expected = State;
        Expected[1].Laboratories = After;
        LimitLaboratories(State, 1);
        EXPECT_EQ(State, Expected) << "base " << Base << ", laboratories " << Laboratories;
    }
}

TEST(LaboratoryLimit, AppliesToBothPlayersAfterEveryCard) {
    TGameState State = StateHolding(23);
    State[0].Laboratories = 7;  // above the limit before the card: the card brings it back
    State[1].Base = 56;
    State[1].Laboratories = 7;
    ASSERT_TRUE(PlayCard(State, 0, 23));  // opponent's base 56 - 3 = 53
    EXPECT_EQ(State[1].Laboratories, 5);
    EXPECT_EQ(State[0].Laboratories, 5);
}

TEST(Production, BuildingsAddToResourcesAndTotals) {
    TGameState State = StateHolding(1, 15);
    State[1].Batteries = 5;
    State[1].Statistics.TotalEnergy = 100;
    Produce(State);
    EXPECT_EQ(static_cast<const TPlayerStatus &>(State[0]), (TPlayerStatus{40, 15, 3, 2, 2, 18, 17, 17}));
    EXPECT_EQ(State[0].Statistics.TotalEnergy, 3);
    EXPECT_EQ(State[0].Statistics.TotalMetal, 2);
    EXPECT_EQ(State[0].Statistics.TotalElements, 2);
    EXPECT_EQ(State[1].Energy, 20);
    EXPECT_EQ(State[1].Statistics.TotalEnergy, 105);
}

TEST(Production, WrapsLikeThe32BitRecordsInsteadOfOverflowing) {
    TGameState State = StateHolding(1);
    State[0].Energy = INT32_MAX;
    State[0].Statistics.TotalMetal = INT32_MAX - 1;
    Produce(State);
    EXPECT_EQ(State[0].Energy, INT32_MIN + 2);
    EXPECT_EQ(State[0].Statistics.TotalMetal, INT32_MIN);
    EXPECT_FALSE(CanPlayCard(State, 0, 1));  // a wrapped, negative energy pays for nothing
}

TEST(Base, DestroyedBelowOne) {
    TPlayer Player{};
    Player.Base = 1;
    EXPECT_FALSE(IsBaseDestroyed(Player));
    Player.Base = 0;
    EXPECT_TRUE(IsBaseDestroyed(Player));
    Player.Base = INT32_MIN;
    EXPECT_TRUE(IsBaseDestroyed(Player));
}

TEST(Base, AttacksOnAnAbsurdlyLowBaseWrap) {
    TGameState State = StateHolding(31);
    State[1].Shield = 0;
    State[1].Base = INT32_MIN + 10;
    ASSERT_TRUE(PlayCard(State, 0, 31));
    EXPECT_EQ(State[1].Base, INT32_MAX - 38);
}

}  // namespace
}  // namespace velkaran
