// Elo from game pairs.
//
// Model: the logistic Elo model (the Bradley-Terry model on a base-10 scale of 400), expected score
// s = 1 / (1 + 10^(-elo/400)) (A. Elo, "The Rating of Chessplayers, Past and Present", 1978; R. A.
// Bradley and M. E. Terry, Biometrika 39, 1952).
//
// Estimate: the pair scores are independent draws of a five-point distribution (0, 1/4, 1/2, 3/4, 1
// points per game); their sample mean is the score, their sample variance divided by the number of
// pairs the variance of that mean (the pentanomial variance of M. Van den Bergh's notes on
// normalized Elo and the GSPRT, as engine-testing frameworks use it: game pairs with the seats
// exchanged remove the seat bias from the variance). The 95 % interval of the score is the normal
// approximation mean +- 1.959964 stderr, each bound mapped through EloFromScore; LOS = Phi((mean -
// 1/2) / stderr).
//
// Normalized Elo (Van den Bergh's notes on normalized Elo, as engine-testing frameworks report it
// for pentanomial counts): a pair's two games stand for two independent games, so a game's
// standard deviation is sqrt(2 variance) of the pair scores; nElo = (mean - 1/2) / sqrt(2 variance)
// * 800 / ln 10, and its interval maps the score interval the same way (the deviation held fixed),
// nElo +- 1.959964 * 800 / ln 10 / sqrt(2 N).
#include "elo.h"

#include <algorithm>
#include <cmath>

namespace velkaran {

namespace {

// The standard normal distribution function.
double NormalCdf(double Z) { return 0.5 * std::erfc(-Z / std::sqrt(2.0)); }

}  // namespace

double ScoreFromElo(double Elo) { return 1.0 / (1.0 + std::pow(10.0, -Elo / 400.0)); }

double EloFromScore(double Score) {
    if (std::isnan(Score)) return Score;
    if (Score <= 0.0) return -std::numeric_limits<double>::infinity();
    if (Score >= 1.0) return std::numeric_limits<double>::infinity();
    return 400.0 * std::log10(Score / (1.0 - Score));
}

TEloEstimate EstimateElo(const TPentanomial &Table) {
    TEloEstimate Estimate;
    const uint64_t PairCount = Pairs(Table);
    if (PairCount == 0) return Estimate;
    const double N = static_cast<double>(PairCount);
    const double Counts[] = {static_cast<double>(Table.LL), static_cast<double>(Table.LD),
                             static_cast<double>(Table.WLDD), static_cast<double>(Table.WD),
                             static_cast<double>(Table.WW)};
    double Mean = 0;
    for (int K = 0; K < 5; ++K) Mean += Counts[K] * (K / 4.0);
    Mean /= N;
    double Variance = 0;
    for (int K = 0; K < 5; ++K) Variance += Counts[K] * (K / 4.0 - Mean) * (K / 4.0 - Mean);
    Variance /= N;
    const double StdErr = std::sqrt(Variance / N);

    Estimate.Known = true;
    Estimate.Score = Mean;
    Estimate.Elo = EloFromScore(Mean);
    Estimate.EloInfinite = std::isinf(Estimate.Elo);
    if (StdErr > 0.0) {
        Estimate.Lower = EloFromScore(Mean - Normal95 * StdErr);
        Estimate.Upper = EloFromScore(Mean + Normal95 * StdErr);
        Estimate.Los = NormalCdf((Mean - 0.5) / StdErr);
        const double GameDeviation = std::sqrt(2.0 * Variance);
        const auto Normalized = [GameDeviation](double Score) {
            return (Score - 0.5) / GameDeviation * NormalizedEloPerT;
        };
        Estimate.NormalizedKnown = true;
        Estimate.NormalizedElo = Normalized(Mean);
        Estimate.NormalizedLower = Normalized(Mean - Normal95 * StdErr);
        Estimate.NormalizedUpper = Normalized(Mean + Normal95 * StdErr);
    } else {  // every pair alike: no spread to measure, the interval is the point itself
        Estimate.Lower = Estimate.Upper = Estimate.Elo;
        Estimate.Los = Mean > 0.5 ? 1.0 : (Mean < 0.5 ? 0.0 : 0.5);
    }
    // A DD pair holds two draws, an LD or WD pair one, a WL pair none (in doubles: nothing wraps).
    const double DrawDraw = static_cast<double>(std::min(Table.DD, Table.WLDD));
    Estimate.DrawRatio = (Counts[1] + Counts[3] + 2.0 * DrawDraw) / (2.0 * N);
    return Estimate;
}

}  // namespace velkaran
