// Elo difference between two bots from their game pairs, in the logistic Elo model.
#pragma once

#include "pentanomial.h"

#include <limits>

namespace velkaran {

// The two-sided 95 % quantile of the standard normal distribution.
inline constexpr double Normal95 = 1.959964;

// What the pairs of one encounter say about bot A against bot B.
struct TEloEstimate {
    bool Known = false;        // false when there were no pairs: the fields below are then neutral
    bool EloInfinite = false;  // Score is 0 or 1, so Elo is -infinity or +infinity
    double Score = 0.5;        // mean points per game of A, 0..1
    double Elo = 0;            // Elo difference of A over B
    double Lower = -std::numeric_limits<double>::infinity();  // 95 % interval of Elo
    double Upper = std::numeric_limits<double>::infinity();
    double Los = 0.5;      // likelihood of superiority: the probability that A is the stronger
    double DrawRatio = 0;  // drawn games over all games
    // Normalized Elo: (Score - 1/2) / (the standard deviation of a game's score) * 800 / ln 10,
    // with its 95 % interval; known only when the pairs' scores vary.
    bool NormalizedKnown = false;
    double NormalizedElo = 0;
    double NormalizedLower = -std::numeric_limits<double>::infinity();
    double NormalizedUpper = std::numeric_limits<double>::infinity();
};

// Normalized Elo per unit of t-value (the score's distance from 1/2 in standard deviations of a
// game): 800 / ln 10, which makes normalized and logistic Elo agree near 0 for games without draws.
inline constexpr double NormalizedEloPerT = 347.43558552260146;

// The expected score 1 / (1 + 10^(-Elo/400)) of a bot Elo points stronger than its opponent.
double ScoreFromElo(double Elo);

// The Elo difference 400 log10(Score / (1 - Score)); -infinity for Score <= 0, +infinity for
// Score >= 1 (NaN only for NaN).
double EloFromScore(double Score);

// Score, Elo, 95 % interval, LOS, draw ratio and normalized Elo of bot A from the pairs of Table;
// never NaN.
TEloEstimate EstimateElo(const TPentanomial &Table);

}  // namespace velkaran
