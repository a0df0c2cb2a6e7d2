// Attacks, special attacks and super attacks (cards 1-14 and 23-32), and the shared Attack rule.
#include "rules/effects.h"
#include "rules_test_support.h"

namespace velkaran {
namespace {

TEST(AttackRule, ShieldAbsorbsFirstThenTheBaseTakesTheRest) {
    TPlayer Target{};
    Target.Base = 40;
    Target.Shield = 3;
    Attack(Target, 5);
    EXPECT_EQ(Target.Shield, 0);
    EXPECT_EQ(Target.Base, 38);

    Target.Shield = 5;
    Attack(Target, 5);
    EXPECT_EQ(Target.Shield, 0);
    EXPECT_EQ(Target.Base, 38);

    Target.Base = 3;
    Attack(Target, 5);
    EXPECT_EQ(Target.Base, -2);
}

// Every plain attack card, from either seat: a shield of exactly its strength stops it, one less lets 1
// through.
TEST(AttackCards, PlainAttacksHitTheShieldBeforeTheBase) {
    const struct {
        int32_t Card, Strength;
    } Attacks[] = {{1, 5},  {2, 5},  {3, 5},   {4, 7},   {5, 8},   {6, 8},   {7, 10},
                   {8, 10}, {9, 10}, {10, 14}, {11, 15}, {13, 17}, {14, 18}, {31, 49}};
    for (const auto &[Card, Strength] : Attacks) {
        for (int32_t Player : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "card " << Card << ", player " << Player);
            const int32_t Foe = Opponent(Player);
            TGameState Before = StateHolding(Card);
            Before[Foe].Shield = Strength;
            TGameState Expected = Paid(Before, Card, Player);
            Expected[Foe].Shield = 0;
            EXPECT_EQ(AfterPlaying(Before, Card, Player), Expected);

            Before[Foe].Shield = Strength - 1;
            Expected = Paid(Before, Card, Player);
            Expected[Foe].Shield = 0;
            Expected[Foe].Base = 39;
            EXPECT_EQ(AfterPlaying(Before, Card, Player), Expected);
        }
    }
}

TEST(AttackCards, Card12HitsTheOpponentThenThePlayer) {
    TGameState Before = StateHolding(12);
    Before[0].Shield = 4;
    Before[1].Shield = 20;
    TGameState Expected = Paid(Before, 12);
    Expected[1].Shield = 0;
    Expected[1].Base = 35;
    Expected[0].Shield = 0;
    Expected[0].Base = 34;
    EXPECT_EQ(AfterPlaying(Before, 12), Expected);
}

TEST(AttackCards, Card30HitsThePlayerWithTwenty) {
    TGameState Before = StateHolding(30);
    Before[0].Shield = 0;
    Before[0].Base = 20;
    Before[1].Shield = 49;
    TGameState Expected = Paid(Before, 30);
    Expected[0].Base = 0;  // the player's own base may reach 0
    Expected[1].Shield = 0;
    EXPECT_EQ(AfterPlaying(Before, 30), Expected);

    Before[0].Shield = 25;
    Before[1].Shield = 0;
    Expected = Paid(Before, 30);
    Expected[0].Shield = 5;
    Expected[1].Base = 40 - 49;
    EXPECT_EQ(AfterPlaying(Before, 30), Expected);
}

TEST(AttackCards, Card31SpendsExactlyWhatThePlayerHas) {
    TGameState Before = StateHolding(31);
    Before[0].Energy = 26;
    Before[0].Metal = 16;
    Before[0].Elements = 10;
    const TGameState After = AfterPlaying(Before, 31);
    EXPECT_EQ(After[0].Energy, 0);
    EXPECT_EQ(After[0].Metal, 0);
    EXPECT_EQ(After[0].Elements, 0);
    EXPECT_EQ(After[1].Base, 40 - 34);
}

TEST(SpecialAttacks, Cards23To25IgnoreTheShield) {
    for (const auto &[Card, Damage] : {std::pair{23, 3}, std::pair{24, 7}, std::pair{25, 7}}) {
        TGameState Before = StateHolding(Card);
        Before[1].Shield = 30;
        TGameState Expected = Paid(Before, Card);
        Expected[1].Base = 40 - Damage;
        EXPECT_EQ(AfterPlaying(Before, Card), Expected) << "card " << Card;
    }
}

TEST(SpecialAttacks, Card26SpendsUpToSevenOwnShieldPoints) {
    const struct {
        int32_t OwnShield, OwnShieldAfter, Strength;
    } Cases[] = {{10, 3, 15}, {7, 0, 15}, {6, 0, 13}, {3, 0, 7}, {0, 0, 1}};
    for (const auto &[OwnShield, OwnShieldAfter, Strength] : Cases) {
        TGameState Before = StateHolding(26);
        Before[0].Shield = OwnShield;
        Before[1].Shield = 0;
        TGameState Expected = Paid(Before, 26);
        Expected[0].Shield = OwnShieldAfter;
        Expected[1].Base = 40 - Strength;
        EXPECT_EQ(AfterPlaying(Before, 26), Expected) << "own shield " << OwnShield;
    }
    // The attack passes through the opponent's shield first.
    TGameState Before = StateHolding(26);
    Before[0].Shield = 10;
    Before[1].Shield = 20;
    TGameState Expected = Paid(Before, 26);
    Expected[0].Shield = 3;
    Expected[1].Shield = 5;
    EXPECT_EQ(AfterPlaying(Before, 26), Expected);
}

TEST(SpecialAttacks, Card27HitsOnlyWithoutAShield) {
    TGameState Before = StateHolding(27);
    Before[1].Shield = 1;
    EXPECT_EQ(AfterPlaying(Before, 27), Paid(Before, 27));  // still costs the full price

    Before[1].Shield = 0;
    TGameState Expected = Paid(Before, 27);
    Expected[1].Base = 29;
    EXPECT_EQ(AfterPlaying(Before, 27), Expected);
}

TEST(SuperAttacks, Cards28And29LowerShieldAndBaseSeparately) {
    const struct {
        int32_t Card, Shield, Base, ShieldAfter, BaseAfter;
    } Cases[] = {{28, 4, 30, 0, 20},  {28, 15, 30, 5, 20}, {28, 10, 40, 0, 30},
                 {29, 10, 40, 0, 20}, {29, 20, 40, 5, 20}, {29, 15, 25, 0, 5}};
    for (const auto &[Card, Shield, Base, ShieldAfter, BaseAfter] : Cases) {
        TGameState Before = StateHolding(Card);
        Before[1].Shield = Shield;
        Before[1].Base = Base;
        TGameState Expected = Paid(Before, Card);
        Expected[1].Shield = ShieldAfter;
        Expected[1].Base = BaseAfter;
        EXPECT_EQ(AfterPlaying(Before, Card), Expected) << "card " << Card << ", shield " << Shield;
    }
}

TEST(SuperAttacks, Card32AddsFiveToTheBaseAfterTheAttack) {
    TGameState Before = StateHolding(32);
    Before[1].Shield = 30;
    TGameState Expected = Paid(Before, 32);
    Expected[1].Shield = 5;
    Expected[1].Base = 35;
    EXPECT_EQ(AfterPlaying(Before, 32), Expected);

    Before[1].Shield = 20;
    Expected = Paid(Before, 32);
    Expected[1].Shield = 0;
    Expected[1].Base = 30;
    EXPECT_EQ(AfterPlaying(Before, 32), Expected);
}

TEST(AttackCards, LoweringABaseCanCostTheOpponentLaboratories) {
    TGameState Before = StateHolding(31);
    Before[1].Base = 100;
    Before[1].Shield = 0;
    Before[1].Laboratories = 15;
    const TGameState After = AfterPlaying(Before, 31);
    EXPECT_EQ(After[1].Base, 51);
    EXPECT_EQ(After[1].Laboratories, 5);
}

}  // namespace
}  // namespace velkaran
