// Elo from game pairs: a table worked by hand, and the tables where the estimate degenerates.
#include "stats/elo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace velkaran {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

TEST(Pentanomial, CountsPairsByTheirScoreAndRefusesOtherPoints) {
    TPentanomial Table;
    EXPECT_TRUE(AddPair(Table, 1, 0));
    EXPECT_TRUE(AddPair(Table, 0, 1));
    EXPECT_TRUE(AddPair(Table, 0.5, 0.5));
    EXPECT_TRUE(AddPair(Table, 1, 0.5));
    EXPECT_TRUE(AddPair(Table, 0, 0.5));
    EXPECT_FALSE(AddPair(Table, 0.25, 1));
    EXPECT_FALSE(AddPair(Table, 1, std::nan("")));
    EXPECT_EQ(Table, (TPentanomial{.LL = 0, .LD = 1, .WLDD = 3, .WD = 1, .WW = 0, .DD = 1}));
    EXPECT_EQ(Pairs(Table), 5u);
    // Games of A: wins 1 + 1 + 1, draws 2 + 1 + 1, losses 1 + 1 + 1.
    EXPECT_EQ(GameCounts(Table), (TWinDrawLoss{3, 4, 3}));

    Table += TPentanomial{.LL = 2, .WW = 1};
    EXPECT_EQ(Table, (TPentanomial{.LL = 2, .LD = 1, .WLDD = 3, .WD = 1, .WW = 1, .DD = 1}));
}

// LL 1, LD 2, WLDD 4 (one DD), WD 2, WW 3: N = 12 pairs, pair scores per game 0, 1/4, 1/2, 3/4, 1.
//   mean = (0 + 2/4 + 4/2 + 2*3/4 + 3) / 12 = 7/12 = 0.583333
//   variance = (49*1 + 16*2 + 1*4 + 4*2 + 25*3) / 144 / 12 = 168/1728 = 0.0972222 (deviations in 12ths)
//   stderr = sqrt(0.0972222 / 12) = 0.0900103
//   Elo = 400 log10(7/5) = 58.4512
//   score interval 7/12 -+ 1.959964 * 0.0900103 = 0.406916 .. 0.759750 -> Elo -65.4443 .. 200.0032
//   LOS = Phi((7/12 - 1/2) / 0.0900103) = Phi(0.925820) = 0.822730
//   draws = 2 (LD) + 2 (WD) + 2 (DD) = 6 of 24 games = 0.25
//   a game's deviation sqrt(2 * 0.0972222) = 0.440959; nElo = (7/12 - 1/2) / 0.440959 * 800 / ln 10
//   = 65.6592, interval +- 1.959964 * 347.4356 / sqrt(2 * 12) = +-139.0006: -73.3415 .. 204.6598
TEST(EstimateElo, MatchesAHandComputedTable) {
    const TEloEstimate Estimate = EstimateElo({.LL = 1, .LD = 2, .WLDD = 4, .WD = 2, .WW = 3, .DD = 1});
    EXPECT_TRUE(Estimate.Known);
    EXPECT_FALSE(Estimate.EloInfinite);
    EXPECT_NEAR(Estimate.Score, 7.0 / 12.0, 1e-12);
    EXPECT_NEAR(Estimate.Elo, 58.4512, 1e-4);
    EXPECT_NEAR(Estimate.Lower, -65.4443, 1e-4);
    EXPECT_NEAR(Estimate.Upper, 200.0032, 1e-4);
    EXPECT_NEAR(Estimate.Los, 0.822730, 1e-6);
    EXPECT_DOUBLE_EQ(Estimate.DrawRatio, 0.25);
    EXPECT_TRUE(Estimate.NormalizedKnown);
    EXPECT_NEAR(Estimate.NormalizedElo, 65.6592, 1e-4);
    EXPECT_NEAR(Estimate.NormalizedLower, -73.3415, 1e-4);
    EXPECT_NEAR(Estimate.NormalizedUpper, 204.6598, 1e-4);
}

TEST(EstimateElo, DegenerateTablesGiveHonestValuesAndNoNaN) {
    const TEloEstimate None = EstimateElo({});
    EXPECT_FALSE(None.Known);
    EXPECT_EQ(None.Lower, -Infinity);
    EXPECT_EQ(None.Upper, Infinity);

    const TEloEstimate AllDraws = EstimateElo({.WLDD = 5, .DD = 5});
    EXPECT_EQ(AllDraws.Elo, 0);
    EXPECT_EQ(AllDraws.Lower, 0);
    EXPECT_EQ(AllDraws.Upper, 0);
    EXPECT_EQ(AllDraws.Los, 0.5);
    EXPECT_EQ(AllDraws.DrawRatio, 1);

    const TEloEstimate AllWins = EstimateElo({.WW = 4});
    EXPECT_TRUE(AllWins.EloInfinite);
    EXPECT_EQ(AllWins.Score, 1);
    EXPECT_EQ(AllWins.Elo, Infinity);
    EXPECT_EQ(AllWins.Lower, Infinity);
    EXPECT_EQ(AllWins.Los, 1);
    EXPECT_EQ(AllWins.DrawRatio, 0);
    EXPECT_FALSE(AllWins.NormalizedKnown);  // no spread: no deviation to measure the score in

    // Every pair a loss and a draw: score 1/4 exactly, Elo 400 log10(1/3), no spread.
    const TEloEstimate AllAlike = EstimateElo({.LD = 3});
    EXPECT_FALSE(AllAlike.EloInfinite);
    EXPECT_NEAR(AllAlike.Elo, -190.8485, 1e-4);
    EXPECT_EQ(AllAlike.Lower, AllAlike.Elo);
    EXPECT_EQ(AllAlike.Upper, AllAlike.Elo);
    EXPECT_EQ(AllAlike.Los, 0);
    EXPECT_EQ(AllAlike.DrawRatio, 0.5);

    // A spread whose interval reaches past a score of 0 maps that bound to -infinity, not NaN.
    const TEloEstimate OneWin = EstimateElo({.LL = 3, .WW = 1});
    EXPECT_EQ(OneWin.Lower, -Infinity);
    EXPECT_TRUE(std::isfinite(OneWin.Upper));
    EXPECT_NEAR(EloFromScore(ScoreFromElo(-123.25)), -123.25, 1e-9);
}

}  // namespace
}  // namespace velkaran
