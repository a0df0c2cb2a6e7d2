// The pentanomial generalized SPRT.
//
// Method (M. Van den Bergh's notes on the generalized SPRT for engine testing: the GSPRT as a stand-in
// for the SPRT with composite hypotheses, and the maximum-likelihood estimate of a multinomial
// distribution with a given expectation value, his Proposition 1.1; the test itself is A. Wald's,
// Sequential Analysis, 1947):
// the pair scores per game take the values a_k = k/4 (k = 0..4) with observed frequencies p_k. Under
// a hypothesis of expected score s = 1 / (1 + 10^(-elo/400)), the most likely distribution is
// q_k = p_k / (1 + x (a_k - s)), where x is the root of sum_k p_k (a_k - s) / (1 + x (a_k - s)) = 0
// on (-1 / (1 - s), 1 / s) (the Lagrange multiplier of the constraint sum_k q_k a_k = s). Then
// LLR = N sum_k p_k ln(q1_k / q0_k) for N pairs. As engine-testing frameworks do, an empty bin is
// counted as 1e-3 pairs, so every q_k is positive and degenerate tables (all pairs alike) still give
// a finite ratio that grows with N.
//
// With normalized Elo bounds the hypotheses fix the t-value (mean - 1/2) / deviation instead of the
// mean: a bound of nElo is a t-value of nElo / (800 / ln 10) per game, sqrt(2) times that per pair,
// and the most likely distributions under each come from MostLikelyWithTValue.
#include "sprt.h"

#include "elo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace velkaran {

namespace {

using TDistribution = std::array<double, 5>;

// The count given to an empty bin.
constexpr double EmptyBinCount = 1e-3;

// The iterations of the t-value estimate, and the change at which it stops earlier.
constexpr int TValueIterations = 10;
constexpr double TValueSettled = 1e-9;

// q_k = p_k / (1 + x d_k), normalised, where x is the root of sum_k p_k d_k / (1 + x d_k) = 0 on the
// interval where every 1 + x d_k > 0. Observed has every entry positive; Shift has entries of both
// signs. Nothing when it has not (no root).
std::optional<TDistribution> Reweighted(const TDistribution &Observed, const TDistribution &Shift) {
    const double Smallest = *std::min_element(Shift.begin(), Shift.end());
    const double Largest = *std::max_element(Shift.begin(), Shift.end());
    if (!(Smallest < 0 && Largest > 0)) return std::nullopt;
    // Sum_k p_k d_k / (1 + x d_k) falls strictly from +infinity to -infinity on the open interval.
    const auto Slope = [&](double X) {
        double Sum = 0;
        for (int K = 0; K < 5; ++K) Sum += Observed[K] * Shift[K] / (1.0 + X * Shift[K]);
        return Sum;
    };
    const double Left = -1.0 / Largest, Right = -1.0 / Smallest;
    double Low = Left, High = Right;
    for (int Step = 0; Step < 2000; ++Step) {  // bisection to the last bit: a fixed, exact path
        const double Middle = Low + (High - Low) / 2;
        if (Middle <= Low || Middle >= High) break;
        (Slope(Middle) > 0 ? Low : High) = Middle;
    }
    const double X = Low != Left ? Low : High;  // a point strictly inside, where 1 + x d_k > 0
    TDistribution Result;
    double Total = 0;
    for (int K = 0; K < 5; ++K) Total += Result[K] = Observed[K] / (1.0 + X * Shift[K]);
    for (double &Probability : Result) Probability /= Total;
    return Result;
}

// The distribution nearest (most likely) to Observed among those with expected score Score
// (0 < Score < 1): the multiplier of the constraint sum_k q_k a_k = Score, with d_k = a_k - Score.
TDistribution MostLikelyWithMean(const TDistribution &Observed, double Score) {
    TDistribution Shift;
    for (int K = 0; K < 5; ++K) Shift[K] = K / 4.0 - Score;
    return *Reweighted(Observed, Shift);
}

// The distribution nearest to Observed among those whose t-value (mean - 1/2) / deviation is T,
// by the fixed-point iteration of Van den Bergh's notes on normalized Elo in practice: from the
// uniform distribution, each step solves the constraint linearised around the last estimate,
// d_k = a_k - 1/2 - T sigma (1 + ((mu - a_k) / sigma)^2) / 2, until the estimate settles.
TDistribution MostLikelyWithTValue(const TDistribution &Observed, double T) {
    TDistribution Estimate;
    Estimate.fill(0.2);
    for (int Step = 0; Step < TValueIterations; ++Step) {
        double Mean = 0, Variance = 0;
        for (int K = 0; K < 5; ++K) Mean += Estimate[K] * (K / 4.0);
        for (int K = 0; K < 5; ++K) Variance += Estimate[K] * (K / 4.0 - Mean) * (K / 4.0 - Mean);
        const double Deviation = std::sqrt(Variance);
        TDistribution Shift;
        for (int K = 0; K < 5; ++K) {
            const double Standardized = (Mean - K / 4.0) / Deviation;
            Shift[K] = K / 4.0 - 0.5 - T * Deviation * (1 + Standardized * Standardized) / 2;
        }
        const std::optional<TDistribution> Next = Reweighted(Observed, Shift);
        if (!Next) break;  // no distribution near this one has that t-value: keep the last estimate
        double Change = 0;
        for (int K = 0; K < 5; ++K) Change = std::max(Change, std::fabs((*Next)[K] - Estimate[K]));
        Estimate = *Next;
        if (Change < TValueSettled) break;
    }
    return Estimate;
}

}  // namespace

TSprtState EvaluateSprt(const TPentanomial &Table, const TSprtSettings &Settings) {
    TSprtState State;
    if (!SprtSettingsError(Settings).empty()) return State;
    State.LowerBound = std::log(Settings.Beta / (1 - Settings.Alpha));
    State.UpperBound = std::log((1 - Settings.Beta) / Settings.Alpha);
    if (Pairs(Table) == 0) return State;

    const uint64_t Counts[] = {Table.LL, Table.LD, Table.WLDD, Table.WD, Table.WW};
    TDistribution Observed;
    double N = 0;
    for (int K = 0; K < 5; ++K)
        N += Observed[K] = Counts[K] > 0 ? static_cast<double>(Counts[K]) : EmptyBinCount;
    for (double &Probability : Observed) Probability /= N;

    TDistribution Null, Alternative;
    if (Settings.Model == TEloModel::Normalized) {
        // The bounds are per game; a pair's t-value is sqrt(2) times a game's.
        Null = MostLikelyWithTValue(Observed, Settings.Elo0 / NormalizedEloPerT * std::sqrt(2.0));
        Alternative = MostLikelyWithTValue(Observed, Settings.Elo1 / NormalizedEloPerT * std::sqrt(2.0));
    } else {
        Null = MostLikelyWithMean(Observed, ScoreFromElo(Settings.Elo0));
        Alternative = MostLikelyWithMean(Observed, ScoreFromElo(Settings.Elo1));
    }
    double PerPair = 0;
    for (int K = 0; K < 5; ++K) PerPair += Observed[K] * std::log(Alternative[K] / Null[K]);
    State.Llr = N * PerPair;
    if (State.Llr >= State.UpperBound)
        State.Verdict = TSprtVerdict::AcceptH1;
    else if (State.Llr <= State.LowerBound)
        State.Verdict = TSprtVerdict::AcceptH0;
    return State;
}

}  // namespace velkaran
