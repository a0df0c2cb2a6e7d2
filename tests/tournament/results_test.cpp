// Counting a tournament's games in any order: the pentanomial pairs, identical pairs, and games
// that do not belong or come twice.
#include "tournament/tournament_results.h"
#include "tournament/tournament_statistics.h"

#include <gtest/gtest.h>

namespace velkaran::testing {
namespace {

TTournamentConfig TwoBots(int64_t Pairs) {
    TTournamentConfig Config;
    Config.Bots = {{"a.so", "A", ""}, {"b.so", "B", ""}};
    Config.Pairs = Pairs;
    return Config;
}

// A game of the pair Pair and leg Leg that seat Winner won (or a draw for -1), with one move.
TGameRecord Game(int64_t Pair, int32_t Leg, int32_t Winner, int32_t Move = 50) {
    TGameRecord Record;
    Record.Place = {2 * Pair + Leg + 1, 0, Pair, Leg};
    Record.Seats[0].File = Leg == 0 ? "a.so" : "b.so";
    Record.Seats[1].File = Leg == 0 ? "b.so" : "a.so";
    Record.Result = Winner == 0 ? SecondPlayerLost : Winner == 1 ? FirstPlayerLost : TurnLimitReached;
    Record.Termination = Winner < 0 ? TTermination::TurnLimit : TTermination::BaseDestroyed;
    Record.Rounds = 1;
    Record.Moves = {Move, 50};
    return Record;
}

TEST(Results, PairsCountWhicheverLegFinishesFirst) {
    TTournamentResults Results(TwoBots(4));
    std::string Error;
    // Pair 0: A wins both (WW); pair 1: A wins one, loses one (WL), second leg first; pair 2: one
    // draw and one A win (WD); pair 3: only its first leg.
    for (const TGameRecord &Record : {Game(0, 0, 0), Game(0, 1, 1), Game(1, 1, 0), Game(1, 0, 0),
                                      Game(2, 0, -1), Game(2, 1, 1), Game(3, 0, 0)})
        ASSERT_TRUE(Results.Add(Record, Error)) << Error;
    const TPentanomial &Pairs = Results.Encounters()[0].Pentanomial;
    EXPECT_EQ(Pairs.WW, 1u);
    EXPECT_EQ(Pairs.WLDD, 1u);
    EXPECT_EQ(Pairs.WD, 1u);
    EXPECT_EQ(Pairs.LL + Pairs.LD, 0u);
    EXPECT_EQ(Results.Bots()[0].Wins, 5);
    EXPECT_EQ(Results.Bots()[1].Wins, 1);
    EXPECT_EQ(Results.Bots()[0].Draws, 1);
    EXPECT_FALSE(ComputeStatistics(Results).Encounters[0].Deterministic);
}

TEST(Results, IdenticalPairsAreToldAndForeignOrRepeatedGamesRefused) {
    TTournamentResults Results(TwoBots(3));
    std::string Error;
    for (int64_t Pair = 0; Pair < 3; ++Pair) {
        ASSERT_TRUE(Results.Add(Game(Pair, 0, 0), Error));
        ASSERT_TRUE(Results.Add(Game(Pair, 1, 1), Error));
    }
    const TTournamentStatistics Statistics = ComputeStatistics(Results);
    EXPECT_TRUE(Statistics.Encounters[0].Deterministic);
    EXPECT_EQ(Statistics.Encounters[0].DistinctPairs, 1);

    EXPECT_FALSE(Results.Add(Game(1, 0, 0), Error));
    EXPECT_NE(Error.find("twice"), std::string::npos);
    EXPECT_FALSE(Results.Add(Game(3, 0, 0), Error));
    TGameRecord Other = Game(0, 0, 0);
    Other.Seats[0].File = "c.so";
    TTournamentResults Fresh(TwoBots(3));
    EXPECT_FALSE(Fresh.Add(Other, Error));
    EXPECT_EQ(Fresh.GamesDone(), 0);
}

TEST(Results, WithStartPositionsEachPositionIsJudgedOnItsOwnAndAWrongStartIsRefused) {
    TStartPosition Low = StandardStartPosition();
    Low.Sides[1].Base = 30;
    TTournamentConfig Config = TwoBots(4);
    Config.Openings = MakeOpeningBook({StandardStartPosition(), Low});
    TTournamentResults Results(Config);
    std::string Error;
    // Pairs 0 and 2 start at the standard start and are alike; pairs 1 and 3 start from Low, where
    // the games differ from those of pair 0 but repeat each other: every position repeats its pair.
    for (int64_t Pair = 0; Pair < 4; ++Pair) {
        const int32_t Winner = Pair % 2 == 0 ? 0 : -1;
        for (int32_t Leg = 0; Leg < 2; ++Leg) {
            TGameRecord Record = Game(Pair, Leg, Winner);
            Record.Start = Pair % 2 == 0 ? StandardStartPosition() : Low;
            ASSERT_TRUE(Results.Add(Record, Error)) << Error;
        }
    }
    EXPECT_EQ(Results.PositionsPlayed(), 2);
    TTournamentStatistics Statistics = ComputeStatistics(Results);
    EXPECT_EQ(Statistics.Encounters[0].DistinctPairs, 2);
    EXPECT_EQ(Statistics.Encounters[0].Positions, 2);
    EXPECT_TRUE(Statistics.Encounters[0].Deterministic);
    // The estimate comes from the two distinct pairs (a 1-1 and a draw-draw), not from all four.
    EXPECT_EQ(Pairs(Results.Encounters()[0].DistinctPentanomial), 2u);

    TTournamentResults Fresh(Config);
    TGameRecord Wrong = Game(1, 0, 0);  // pair 1 starts from Low, not the standard start
    EXPECT_FALSE(Fresh.Add(Wrong, Error));
    EXPECT_NE(Error.find("did not start from its pair's start position"), std::string::npos);
}

}  // namespace
}  // namespace velkaran::testing
