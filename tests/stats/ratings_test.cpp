// Ratings of a field: a symmetric field worked by hand, order and intervals, agreement with the
// two-bot estimate, and the fields whose ratings need the virtual draws.
#include "stats/ratings.h"

#include "stats/elo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace velkaran {
namespace {

TFieldRatings Rate(int BotCount, const std::vector<TEncounterScore> &Encounters) {
    std::string Error;
    const auto Ratings = EstimateRatings(BotCount, Encounters, Error);
    EXPECT_TRUE(Ratings.has_value()) << Error;
    return Ratings.value_or(TFieldRatings{});
}

// Three bots, every pair 50 of 100: all ratings 0. The Fisher information is the Laplacian of a
// triangle with weights 100 * 1/4 = 25, L = 25 (3 I - J); its pseudo-inverse is (I - J/3) / 75, so
// each variance is 2/225 (natural units), sd = 0.0942809 * 400 / ln 10 = 16.3783 Elo, and the 95 %
// half-width 1.959964 * 16.3783 = 32.1008 Elo.
TEST(Ratings, SymmetricFieldIsZeroWithTheHandComputedInterval) {
    const TFieldRatings Ratings = Rate(3, {{0, 1, 50, 100}, {1, 2, 50, 100}, {2, 0, 50, 100}});
    EXPECT_FALSE(Ratings.Regularized);
    for (const TBotRating &Bot : Ratings.Bots) {
        EXPECT_TRUE(Bot.Rated);
        EXPECT_NEAR(Bot.Elo, 0, 1e-9);
        EXPECT_NEAR(Bot.Lower, -32.1008, 1e-4);
        EXPECT_NEAR(Bot.Upper, 32.1008, 1e-4);
    }
}

TEST(Ratings, StrongerBotsRateHigherAndRatingsSumToZero) {
    // Bot 2 beats 1 beats 0, in two encounters for the pair 0-1; bot 3 never played.
    const TFieldRatings Ratings =
        Rate(4, {{0, 1, 20, 50}, {1, 0, 30, 50}, {1, 2, 40, 100}, {0, 2, 30, 100}, {3, 0, 0, 0}});
    const auto &Bots = Ratings.Bots;
    EXPECT_FALSE(Ratings.Regularized);
    EXPECT_LT(Bots[0].Elo, Bots[1].Elo);
    EXPECT_LT(Bots[1].Elo, Bots[2].Elo);
    EXPECT_NEAR(Bots[0].Elo + Bots[1].Elo + Bots[2].Elo, 0, 1e-9);
    for (int Bot = 0; Bot < 3; ++Bot) {
        EXPECT_LT(Bots[Bot].Lower, Bots[Bot].Elo);
        EXPECT_GT(Bots[Bot].Upper, Bots[Bot].Elo);
    }
    EXPECT_FALSE(Bots[3].Rated);
    EXPECT_EQ(Bots[3].Elo, 0);
}

TEST(Ratings, TwoBotsAgreeWithThePairEstimate) {
    const TPentanomial Table{.LL = 1, .LD = 2, .WLDD = 4, .WD = 2, .WW = 3};
    const TEloEstimate Estimate = EstimateElo(Table);
    const TFieldRatings Ratings = Rate(2, {{0, 1, 2 * Pairs(Table) * Estimate.Score, 2 * Pairs(Table)}});
    EXPECT_NEAR(Ratings.Bots[0].Elo - Ratings.Bots[1].Elo, Estimate.Elo, 1e-9);
    EXPECT_NEAR(Ratings.Bots[0].Elo, -Ratings.Bots[1].Elo, 1e-9);
}

TEST(Ratings, FieldsWithoutAFiniteMaximumAreRegularized) {
    // Bot 0 wins every game; bots 1 and 2 split theirs.
    const TFieldRatings Perfect = Rate(3, {{0, 1, 100, 100}, {2, 0, 0, 100}, {1, 2, 50, 100}});
    EXPECT_TRUE(Perfect.Regularized);
    EXPECT_TRUE(std::isfinite(Perfect.Bots[0].Lower) && std::isfinite(Perfect.Bots[0].Upper));
    EXPECT_GT(Perfect.Bots[0].Elo, 500);
    EXPECT_NEAR(Perfect.Bots[1].Elo, Perfect.Bots[2].Elo, 1e-9);

    // Two groups that never met: finite, the groups' centres level.
    const TFieldRatings Apart = Rate(4, {{0, 1, 60, 100}, {2, 3, 60, 100}});
    EXPECT_TRUE(Apart.Regularized);
    EXPECT_GT(Apart.Bots[0].Elo, Apart.Bots[1].Elo);
    EXPECT_NEAR(Apart.Bots[0].Elo, Apart.Bots[2].Elo, 1e-9);
    for (const TBotRating &Bot : Apart.Bots)
        EXPECT_TRUE(std::isfinite(Bot.Lower) && std::isfinite(Bot.Upper));
}

TEST(Ratings, RefusesEncountersThatCannotBe) {
    std::string Error;
    const std::vector<TEncounterScore> OutOfRange{{0, 3, 1, 2}};
    EXPECT_FALSE(EstimateRatings(3, OutOfRange, Error).has_value());
    EXPECT_EQ(Error, "An encounter names a bot outside 0..2.");
    const std::vector<TEncounterScore> TooManyPoints{{0, 1, 2.5, 2}};
    EXPECT_FALSE(EstimateRatings(3, TooManyPoints, Error).has_value());
    EXPECT_EQ(Error, "An encounter gives points outside 0 to its number of games.");
}

}  // namespace
}  // namespace velkaran
