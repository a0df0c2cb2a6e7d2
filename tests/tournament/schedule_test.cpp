// Every game of a schedule has one place and back; the shards of a plan cover all games in whole
// pairs, once each.
#include "tournament/schedule.h"
#include "tournament/tournament_plan.h"

#include <gtest/gtest.h>

#include <set>

namespace velkaran::testing {
namespace {

TTournamentConfig Field(int Bots, int64_t Pairs, bool Gauntlet = false) {
    TTournamentConfig Config;
    for (int Bot = 0; Bot < Bots; ++Bot)
        Config.Bots.push_back({"bot" + std::to_string(Bot) + ".so", "Bot", ""});
    Config.Pairs = Pairs;
    Config.Format = Gauntlet ? TTournamentFormat::Gauntlet : TTournamentFormat::RoundRobin;
    Config.Gauntlet = Gauntlet ? Bots - 1 : 0;
    return Config;
}

TEST(Schedule, EveryGameHasOnePlaceAndBothSeatingsOfEachPair) {
    for (const bool Gauntlet : {false, true}) {
        const TSchedule Schedule(Field(5, 3, Gauntlet));
        EXPECT_EQ(Schedule.Encounters().size(), Gauntlet ? 4u : 10u);
        std::set<std::tuple<int32_t, int64_t, int32_t>> Places;
        for (int64_t Index = 0; Index < Schedule.Games(); ++Index) {
            const TScheduledGame Game = Schedule.Game(Index);
            EXPECT_EQ(Schedule.IndexOf(Game.Encounter, Game.Pair, Game.Leg), Index);
            const TEncounter &Encounter = Schedule.Encounters()[static_cast<std::size_t>(Game.Encounter)];
            EXPECT_EQ(Game.First, Game.Leg == 0 ? Encounter.A : Encounter.B);
            EXPECT_EQ(Game.Second, Game.Leg == 0 ? Encounter.B : Encounter.A);
            if (Gauntlet) {
                EXPECT_EQ(Encounter.A, 4);
            }
            Places.insert({Game.Encounter, Game.Pair, Game.Leg});
        }
        EXPECT_EQ(static_cast<int64_t>(Places.size()), Schedule.Games());
        EXPECT_EQ(Schedule.IndexOf(0, 3, 0), -1);
    }
}

TTournamentPlan Split(int64_t Shards) {
    TTournamentPlan Plan;
    Plan.Config = Field(4, 5);
    Plan.Shards = Shards;
    return Plan;
}

TEST(Schedule, ShardsCoverEveryGameOnceInWholePairs) {
    for (const int64_t Shards : {1, 4, 6, 30}) {
        const TTournamentPlan Plan = Split(Shards);
        ASSERT_EQ(PlanProblem(Plan), "");
        int64_t Next = 0;
        for (int64_t Shard = 0; Shard < Shards; ++Shard) {
            const TShardGames Games = ShardGames(Plan, Shard);
            EXPECT_EQ(Games.First, Next);
            EXPECT_EQ(Games.First % 2, 0);
            EXPECT_GT(Games.End, Games.First);
            Next = Games.End;
        }
        EXPECT_EQ(Next, TSchedule(Plan.Config).Games());
    }
    EXPECT_NE(PlanProblem(Split(31)), "");  // more shards than pairs
}

}  // namespace
}  // namespace velkaran::testing
