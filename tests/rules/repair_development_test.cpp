// Repairs and development (cards 15-22 and 33-40), and the shared Convert rule.
#include "rules/effects.h"
#include "rules_test_support.h"

namespace velkaran {
namespace {

TEST(Repairs, ShieldAndBaseRepairsAddTheirAmounts) {
    const struct {
        int32_t Card, Shield, Base;
    } Cases[] = {{15, 7, 0}, {16, 11, 0}, {17, 16, 0}, {18, 0, 9}, {20, 0, 12}, {21, 0, 14}, {22, 15, 14}};
    for (const auto &[Card, Shield, Base] : Cases) {
        for (int32_t Player : {0, 1}) {
            TGameState Before = StateHolding(Card);
            Before[Player].Shield = 0;
            TGameState Expected = Paid(Before, Card, Player);
            Expected[Player].Shield += Shield;
            Expected[Player].Base += Base;
            EXPECT_EQ(AfterPlaying(Before, Card, Player), Expected)
                << "card " << Card << ", player " << Player;
        }
    }
}

TEST(Repairs, Card19TurnsAtMostSixShieldPointsIntoTwelveBase) {
    const struct {
        int32_t Shield, ShieldAfter, BaseGain;
    } Cases[] = {{9, 3, 12}, {6, 0, 12}, {4, 0, 8}, {0, 0, 0}};
    for (const auto &[Shield, ShieldAfter, BaseGain] : Cases) {
        TGameState Before = StateHolding(19);
        Before[0].Shield = Shield;
        TGameState Expected = Paid(Before, 19);
        Expected[0].Shield = ShieldAfter;
        Expected[0].Base += BaseGain;
        EXPECT_EQ(AfterPlaying(Before, 19), Expected) << "shield " << Shield;
    }
}

TEST(Development, BuildingCardsAddOneBuilding) {
    const struct {
        int32_t Card, Batteries, Mines, Laboratories, Base;
    } Cases[] = {{33, 1, 0, 0, 0}, {34, 0, 1, 0, 0}, {35, 0, 0, 1, 0}, {36, 1, 1, 0, 0}, {37, 0, 0, 1, 7}};
    for (const auto &[Card, Batteries, Mines, Laboratories, Base] : Cases) {
        TGameState Before = StateHolding(Card);
        TGameState Expected = Paid(Before, Card);
        Expected[0].Batteries += Batteries;
        Expected[0].Mines += Mines;
        Expected[0].Laboratories += Laboratories;
        Expected[0].Base += Base;
        EXPECT_EQ(AfterPlaying(Before, Card), Expected) << "card " << Card;
    }
}

TEST(Development, NewLaboratoriesStopAtTheLimit) {
    TGameState Before = StateHolding(35);
    Before[0].Laboratories = 5;
    EXPECT_EQ(AfterPlaying(Before, 35)[0].Laboratories, 5);

    // Card 37 raises the base first, so the limit grows with it: base 48 + 7 = 55 allows 6.
    Before = StateHolding(37);
    Before[0].Base = 48;
    Before[0].Laboratories = 5;
    EXPECT_EQ(AfterPlaying(Before, 37)[0].Laboratories, 6);
}

TEST(Development, ConversionsTakeAtMostTheirLimit) {
    const struct {
        int32_t Card, Metal, Elements, MetalAfter, ElementsAfter;
    } Cases[] = {
        {38, 10, 0, 0, 20}, {38, 18, 0, 0, 36}, {38, 25, 0, 7, 36},  // 1 Me = 2 El, at most 18 Me
        {39, 0, 20, 15, 5}, {39, 0, 15, 15, 0}, {39, 0, 10, 10, 0},  // 1 El = 1 Me, at most 15 El
        {40, 18, 0, 0, 18}, {40, 25, 3, 7, 21}, {40, 5, 0, 0, 5},    // 1 Me = 1 El, at most 18 Me
    };
    for (const auto &[Card, Metal, Elements, MetalAfter, ElementsAfter] : Cases) {
        TGameState Before = StateHolding(Card);
        Before[0].Metal = Metal;
        Before[0].Elements = Elements;
        TGameState Expected = Paid(Before, Card);
        Expected[0].Metal = MetalAfter;
        Expected[0].Elements = ElementsAfter;
        EXPECT_EQ(AfterPlaying(Before, Card), Expected) << "card " << Card << ", metal " << Metal;
    }
}

TEST(ConvertRule, WrapsInsteadOfOverflowing) {
    TPlayer Player{};
    Player.Metal = 18;
    Player.Elements = INT32_MAX;
    Convert(Player, TResource::Metal, TResource::Elements, 18, 2);
    EXPECT_EQ(Player.Metal, 0);
    EXPECT_EQ(Player.Elements, INT32_MIN + 35);
}

}  // namespace
}  // namespace velkaran
