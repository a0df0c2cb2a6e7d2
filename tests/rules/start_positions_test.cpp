// Start positions: what may begin a game, and positions made from a seed, the same everywhere.
#include "rules/random_start_positions.h"
#include "rules/turn_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace velkaran {
namespace {

TEST(StartPositions, AreCheckedAgainstWhatNoRuleEverLeaves) {
    EXPECT_EQ(StartPositionProblem(StandardStartPosition()), "");
    TStartPosition Start = StandardStartPosition();
    Start.Sides[1].Base = 0;
    EXPECT_EQ(StartPositionProblem(Start), "the second side's base is 0, below 1");
    Start = StandardStartPosition();
    Start.Sides[0].Laboratories = 6;  // a base of 40 allows 5
    EXPECT_EQ(StartPositionProblem(Start),
              "the first side's laboratories are 6, more than a base of 40 allows (5)");
    Start.Sides[0].Base = 55;  // 6 from a base of 55 on
    EXPECT_EQ(StartPositionProblem(Start), "");
    Start.Sides[0].Batteries = 2;
    EXPECT_EQ(StartPositionProblem(Start), "the first side's batteries is 2, below 3");
    Start = StandardStartPosition();
    Start.Sides[1].Energy = MaxStartValue + 1;
    EXPECT_NE(StartPositionProblem(Start), "");

    TGameState State;
    NewGameState(State, Start);
    EXPECT_EQ(State[1].Energy, MaxStartValue + 1);
    EXPECT_EQ(State[0].Energy, 15);
    EXPECT_EQ(State[1].Cards, TCardList{});
}

TEST(StartPositions, FromASeedAreTheSameOnEveryMachineAndWhateverTheCount) {
    const std::vector<TStartPosition> Ten = RandomStartPositions(7, 10);
    const std::vector<TStartPosition> Five = RandomStartPositions(7, 5);
    ASSERT_EQ(Ten.size(), 10u);
    EXPECT_TRUE(std::equal(Five.begin(), Five.end(), Ten.begin()));
    EXPECT_NE(RandomStartPositions(8, 5), Five);

    // Positions 0 to 999 of seed 7 are all different, all playable and far from destruction; and
    // the sum of all their values is pinned, so that a change of the generator (or of a standard
    // library under it) cannot pass unseen.
    std::set<std::vector<int32_t>> Different;
    int64_t Sum = 0;
    for (const TStartPosition &Start : RandomStartPositions(7, 1000)) {
        EXPECT_EQ(StartPositionProblem(Start), "");
        std::vector<int32_t> Values;
        for (const TPlayerStatus &Side : Start.Sides) {
            EXPECT_GE(Side.Base, NearDestructionBase);
            Values.insert(Values.end(), {Side.Base, Side.Shield, Side.Batteries, Side.Mines,
                                         Side.Laboratories, Side.Energy, Side.Metal, Side.Elements});
        }
        for (const int32_t Value : Values) Sum += Value;
        Different.insert(Values);
    }
    EXPECT_EQ(Different.size(), 1000u);
    EXPECT_EQ(Sum, 179540);
}

}  // namespace
}  // namespace velkaran
