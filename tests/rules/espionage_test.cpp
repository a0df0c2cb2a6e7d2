// Espionage and the pass (cards 41-50), and the shared Steal and Destroy rules.
#include "rules/effects.h"
#include "rules_test_support.h"

namespace velkaran {
namespace {

TEST(StealAndDestroy, TakeAtMostWhatTheOpponentHas) {
    TGameState State = StateHolding(1, 10);
    State[1].Metal = 3;
    Steal(State, 0, TResource::Metal, 5);
    EXPECT_EQ(State[0].Metal, 13);
    EXPECT_EQ(State[1].Metal, 0);

    State[0].Energy = 7;
    State[1].Energy = 10;
    Steal(State, 1, TResource::Energy, 5);
    EXPECT_EQ(State[0].Energy, 2);
    EXPECT_EQ(State[1].Energy, 15);

    Destroy(State, 0, TResource::Elements, 22);
    EXPECT_EQ(State[1].Elements, 0);
    EXPECT_EQ(State[0].Elements, 10);
    State[0].Elements = 30;
    Destroy(State, 1, TResource::Elements, 22);
    EXPECT_EQ(State[0].Elements, 8);
}

TEST(Espionage, Cards41And42StealUpToFive) {
    for (const auto &[Card, Field] :
         {std::pair{41, &TPlayerStatus::Metal}, std::pair{42, &TPlayerStatus::Elements}}) {
        for (const auto &[Has, Taken] : {std::pair{3, 3}, std::pair{5, 5}, std::pair{8, 5}}) {
            TGameState Before = StateHolding(Card);
            Before[1].*Field = Has;
            TGameState Expected = Paid(Before, Card);
            Expected[1].*Field = Has - Taken;
            Expected[0].*Field += Taken;
            EXPECT_EQ(AfterPlaying(Before, Card), Expected) << "card " << Card << ", opponent has " << Has;
        }
    }
}

TEST(Espionage, Card43StealsEnergyOnlyBelowAShieldOfSeven) {
    TGameState Before = StateHolding(43);
    Before[1].Shield = 7;
    TGameState Expected = Paid(Before, 43);
    Expected[1].Shield = 0;
    EXPECT_EQ(AfterPlaying(Before, 43), Expected);

    Before[1].Shield = 6;
    Before[1].Energy = 30;
    Expected = Paid(Before, 43);
    Expected[1].Shield = 0;
    Expected[1].Energy = 25;
    Expected[0].Energy += 5;
    EXPECT_EQ(AfterPlaying(Before, 43), Expected);

    Before[1].Shield = 20;
    Expected = Paid(Before, 43);
    Expected[1].Shield = 13;
    EXPECT_EQ(AfterPlaying(Before, 43), Expected);
}

TEST(Espionage, Cards44And45NeverTakeTheLastBuildings) {
    TGameState Before = StateHolding(44);
    Before[1].Mines = 2;
    EXPECT_EQ(AfterPlaying(Before, 44), Paid(Before, 44));
    Before[1].Mines = 3;
    TGameState Expected = Paid(Before, 44);
    Expected[1].Mines = 2;
    EXPECT_EQ(AfterPlaying(Before, 44), Expected);

    Before = StateHolding(45);
    Before[1].Batteries = 3;
    EXPECT_EQ(AfterPlaying(Before, 45), Paid(Before, 45));
    Before[1].Batteries = 4;
    Expected = Paid(Before, 45);
    Expected[1].Batteries = 3;
    EXPECT_EQ(AfterPlaying(Before, 45), Expected);
}

TEST(Espionage, Card46TurnsDestroyedShieldIntoEnergy) {
    const struct {
        int32_t Shield, Base, ShieldAfter, BaseAfter, EnergyGain;
    } Cases[] = {
        {6, 30, 0, 21, 6}, {0, 30, 0, 15, 0}, {14, 30, 0, 29, 14}, {15, 30, 0, 30, 15}, {20, 30, 5, 30, 15}};
    for (const auto &[Shield, Base, ShieldAfter, BaseAfter, EnergyGain] : Cases) {
        TGameState Before = StateHolding(46);
        Before[1].Shield = Shield;
        Before[1].Base = Base;
        TGameState Expected = Paid(Before, 46);
        Expected[1].Shield = ShieldAfter;
        Expected[1].Base = BaseAfter;
        Expected[0].Energy += EnergyGain;
        EXPECT_EQ(AfterPlaying(Before, 46), Expected) << "shield " << Shield;
    }
}

TEST(Espionage, Card47StealsMetalBelowShield15AndDestroysItOtherwise) {
    const struct {
        int32_t Shield, Metal, ShieldAfter, MetalAfter, Gain;
    } Cases[] = {{15, 12, 0, 0, 0}, {14, 12, 0, 0, 12}, {30, 25, 15, 5, 0}, {0, 25, 0, 5, 20}};
    for (const auto &[Shield, Metal, ShieldAfter, MetalAfter, Gain] : Cases) {
        TGameState Before = StateHolding(47);
        Before[1].Shield = Shield;
        Before[1].Metal = Metal;
        TGameState Expected = Paid(Before, 47);
        Expected[1].Shield = ShieldAfter;
        Expected[1].Metal = MetalAfter;
        Expected[0].Metal += Gain;
        EXPECT_EQ(AfterPlaying(Before, 47), Expected) << "shield " << Shield;
    }
}

TEST(Espionage, Card48HitsTheBaseAndStealsOrDestroysEnergy) {
    const struct {
        int32_t Shield, Energy, EnergyAfter, Gain;
    } Cases[] = {{20, 30, 8, 0}, {15, 10, 0, 0}, {14, 30, 8, 22}, {0, 10, 0, 10}};
    for (const auto &[Shield, Energy, EnergyAfter, Gain] : Cases) {
        TGameState Before = StateHolding(48);
        Before[1].Shield = Shield;
        Before[1].Base = 50;
        Before[1].Energy = Energy;
        TGameState Expected = Paid(Before, 48);
        Expected[1].Base = 35;
        Expected[1].Energy = EnergyAfter;
        Expected[0].Energy += Gain;
        EXPECT_EQ(AfterPlaying(Before, 48), Expected) << "shield " << Shield;
    }
}

TEST(Espionage, Card49HitsTheBaseFromShield10AndStealsElementsBelow) {
    TGameState Before = StateHolding(49);
    Before[1].Shield = 10;
    TGameState Expected = Paid(Before, 49);
    Expected[1].Base = 30;
    EXPECT_EQ(AfterPlaying(Before, 49), Expected);

    Before[1].Shield = 9;
    Before[1].Elements = 30;
    Expected = Paid(Before, 49);
    Expected[1].Elements = 10;
    Expected[0].Elements += 20;
    EXPECT_EQ(AfterPlaying(Before, 49), Expected);
}

TEST(Pass, Card50IsFreeAndAddsOneOfEachResource) {
    TGameState Before = StateHolding(50, 0);
    TGameState Expected = Before;
    Expected[1].Energy = Expected[1].Metal = Expected[1].Elements = 1;
    Expected[1].Statistics.CardUses[50] = 1;
    EXPECT_EQ(AfterPlaying(Before, 50, 1), Expected);
}

}  // namespace
}  // namespace velkaran
