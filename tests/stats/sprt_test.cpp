// The pentanomial GSPRT: when it stops, how its ratio compares with the normal approximation, the
// degenerate tables, and the command-line form of its settings.
#include "stats/sprt.h"

#include "stats/elo.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velkaran {
namespace {

const TSprtSettings ZeroTen{.Elo0 = 0, .Elo1 = 10};

// Van den Bergh's normal approximation of the ratio: N (s1 - s0) (2 mean - s0 - s1) / (2 variance),
// with the mean and variance of the pair scores per game; close to the exact ratio for small Elo.
double ApproximateLlr(const TPentanomial &Table, const TSprtSettings &Settings) {
    const double Counts[] = {double(Table.LL), double(Table.LD), double(Table.WLDD), double(Table.WD),
                             double(Table.WW)};
    double N = 0, Sum = 0, Squares = 0;
    for (int K = 0; K < 5; ++K) {
        N += Counts[K];
        Sum += Counts[K] * K / 4;
        Squares += Counts[K] * (K / 4.0) * (K / 4.0);
    }
    const double Mean = Sum / N, Variance = Squares / N - Mean * Mean;
    const double S0 = ScoreFromElo(Settings.Elo0), S1 = ScoreFromElo(Settings.Elo1);
    return N * (S1 - S0) * (2 * Mean - S0 - S1) / (2 * Variance);
}

TEST(Sprt, BoundsComeFromAlphaAndBeta) {
    const TSprtState State = EvaluateSprt({}, {.Elo0 = -5, .Elo1 = 5, .Alpha = 0.1, .Beta = 0.01});
    EXPECT_DOUBLE_EQ(State.LowerBound, std::log(0.01 / 0.9));
    EXPECT_DOUBLE_EQ(State.UpperBound, std::log(0.99 / 0.1));
    EXPECT_EQ(State.Llr, 0);
    EXPECT_EQ(State.Verdict, TSprtVerdict::Continue);
}

TEST(Sprt, RatioAgreesWithTheNormalApproximationOnOrdinaryTables) {
    const TPentanomial Stronger{.LL = 20, .LD = 200, .WLDD = 1000, .WD = 250, .WW = 30};
    const TSprtState Accepted = EvaluateSprt(Stronger, ZeroTen);
    EXPECT_NEAR(Accepted.Llr, ApproximateLlr(Stronger, ZeroTen), 0.01 * std::fabs(Accepted.Llr));
    EXPECT_EQ(Accepted.Verdict, TSprtVerdict::AcceptH1);

    const TPentanomial Even{.LL = 100, .LD = 200, .WLDD = 400, .WD = 200, .WW = 100};
    const TSprtState Leaning = EvaluateSprt(Even, ZeroTen);
    EXPECT_NEAR(Leaning.Llr, ApproximateLlr(Even, ZeroTen), 0.01 * std::fabs(Leaning.Llr));
    EXPECT_LT(Leaning.Llr, 0);
    EXPECT_EQ(Leaning.Verdict, TSprtVerdict::Continue);

    const TSprtState Tiny = EvaluateSprt({.LL = 1, .LD = 2, .WLDD = 4, .WD = 2, .WW = 3}, ZeroTen);
    EXPECT_GT(Tiny.Llr, 0);
    EXPECT_EQ(Tiny.Verdict, TSprtVerdict::Continue);
}

TEST(Sprt, EvenPairsAcceptH0Eventually) {
    TPentanomial Table;
    TSprtState State;
    int Rounds = 0;
    while (State.Verdict == TSprtVerdict::Continue && Rounds < 100) {
        Table += TPentanomial{.LL = 10, .LD = 20, .WLDD = 40, .WD = 20, .WW = 10};
        State = EvaluateSprt(Table, ZeroTen);
        ++Rounds;
    }
    EXPECT_EQ(State.Verdict, TSprtVerdict::AcceptH0);
    EXPECT_GT(Rounds, 10);  // 100 even pairs are not yet enough to tell 0 from 10 Elo
}

// With every pair won, the most likely distribution of mean s puts s on WW and 1 - s on LL (the
// empty bins weigh 1e-3 pairs each), so the ratio grows by about ln(s1 / s0) = 0.02844 per pair and
// crosses ln(19) = 2.944 after about 104 pairs.
TEST(Sprt, DegenerateTablesGiveFiniteRatios) {
    const TSprtState Hundred = EvaluateSprt({.WW = 100}, ZeroTen);
    EXPECT_NEAR(Hundred.Llr / 100, std::log(ScoreFromElo(10) / 0.5), 0.0003);
    EXPECT_EQ(Hundred.Verdict, TSprtVerdict::Continue);
    EXPECT_EQ(EvaluateSprt({.WW = 110}, ZeroTen).Verdict, TSprtVerdict::AcceptH1);
    EXPECT_EQ(EvaluateSprt({.LL = 110}, ZeroTen).Verdict, TSprtVerdict::AcceptH0);

    const TSprtState Draws = EvaluateSprt({.WLDD = 1000, .DD = 1000}, ZeroTen);
    EXPECT_TRUE(std::isfinite(Draws.Llr));
    EXPECT_EQ(Draws.Verdict, TSprtVerdict::AcceptH0);

    const TSprtState Refused = EvaluateSprt({.WW = 500}, {.Elo0 = 10, .Elo1 = 0});
    EXPECT_EQ(Refused.Llr, 0);
    EXPECT_EQ(Refused.Verdict, TSprtVerdict::Continue);
}

// Normalized bounds, against the frameworks' procedure worked step by step (from the uniform
// distribution, ten rounds at most of the linearised t-value constraint, each solved for its
// multiplier) and against the closed form of Van den Bergh's notes, which it approaches for small
// t: LLR ~ games / 2 ln((1 + (t - t0)^2) / (1 + (t - t1)^2)), t = (mean - 1/2) / sqrt(2 variance),
// t0,1 = nElo0,1 / 347.4356. For LL 20, LD 200, WLDD 1000, WD 250, WW 30 (mean 0.511667, variance
// 0.0269472, t = 0.050254) with nElo 0 and 5: 1.854135 (closed form 1.855466). For LL 39, LD 2226,
// WLDD 31451, WD 2412, WW 40 with nElo 0.764 and 3.439: 2.162941 (closed form 2.162843).
TEST(Sprt, NormalizedBoundsAreTValuesOfAGame) {
    const TSprtSettings Normalized{.Elo0 = 0, .Elo1 = 5, .Model = TEloModel::Normalized};
    const TSprtState Small =
        EvaluateSprt({.LL = 20, .LD = 200, .WLDD = 1000, .WD = 250, .WW = 30}, Normalized);
    EXPECT_NEAR(Small.Llr, 1.854135, 1e-5);
    const TSprtState Large = EvaluateSprt({.LL = 39, .LD = 2226, .WLDD = 31451, .WD = 2412, .WW = 40},
                                          {.Elo0 = 0.764, .Elo1 = 3.439, .Model = TEloModel::Normalized});
    EXPECT_NEAR(Large.Llr, 2.162941, 1e-5);
    EXPECT_EQ(Large.Verdict, TSprtVerdict::Continue);
    const TSprtState Degenerate = EvaluateSprt({.WW = 300}, Normalized);
    EXPECT_TRUE(std::isfinite(Degenerate.Llr));
}

TEST(SprtSettings, ReadsKeysInAnyOrderWithDefaults) {
    std::string Error;
    const auto Full = ParseSprtSettings("  beta=0.1 elo1=5.5\telo0=-2 alpha=1e-2 ", Error);
    ASSERT_TRUE(Full.has_value()) << Error;
    EXPECT_EQ(Full->Elo0, -2);
    EXPECT_EQ(Full->Elo1, 5.5);
    EXPECT_EQ(Full->Alpha, 0.01);
    EXPECT_EQ(Full->Beta, 0.1);

    const auto Short = ParseSprtSettings("elo0=0 elo1=10", Error);
    ASSERT_TRUE(Short.has_value()) << Error;
    EXPECT_EQ(Short->Alpha, 0.05);
    EXPECT_EQ(Short->Beta, 0.05);
    EXPECT_EQ(Short->Model, TEloModel::Logistic);
    EXPECT_EQ(ParseSprtSettings("model=normalized elo0=0 elo1=2", Error)->Model, TEloModel::Normalized);
}

TEST(SprtSettings, ExplainsWhatIsWrong) {
    const std::pair<const char *, const char *> Cases[] = {
        {"elo0=0", "elo1 is missing."},
        {"elo0=10 elo1=0", "elo0 must be smaller than elo1."},
        {"elo0=0 elo1=10 alpha=0.5", "alpha must lie strictly between 0 and 0.5."},
        {"elo0=0 elo1=5000", "elo0 and elo1 must lie between -1000 and 1000."},
        {"elo0=0 elo1=10 gamma=1", "Unknown key \"gamma\": the keys are elo0, elo1, alpha, beta and model."},
        {"elo0=0 elo1=10 model=bayes", "The model is logistic or normalized, not \"bayes\"."},
        {"elo0=0 elo1=10 elo0=1", "The key elo0 is given twice."},
        {"elo0=0 elo1=1O", "The value of elo1 is not a finite number."},
        {"elo0=0 elo1 10", "\"elo1\" is not of the form key=value."},
    };
    for (const auto &[Text, Message] : Cases) {
        std::string Error;
        EXPECT_FALSE(ParseSprtSettings(Text, Error).has_value()) << Text;
        EXPECT_EQ(Error, Message) << Text;
    }
}

}  // namespace
}  // namespace velkaran
