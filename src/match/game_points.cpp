// Scores and points of one finished game.
#include "game_points.h"

#include "match_runner.h"
#include "rounding.h"
#include "rules/catalogue.h"

#include <cmath>

namespace velkaran {

uint32_t ComputeScore(const TPlayer &Player, uint32_t Rounds) {
    return ComputeScore(Player.Statistics.TotalTime, Rounds);
}

uint32_t ComputeScore(double TotalTimeMs, uint32_t Rounds) {
    if (Rounds == 0) return 2;
    constexpr auto LimitMs = static_cast<uint64_t>(MoveTimeLimitMs);
    const uint64_t Allowed = LimitMs * Rounds;  // exact: at most 20000 * (2^32 - 1)
    const uint64_t PerSecond = 1000ull * Rounds;
    const double Quotient = (static_cast<double>(Allowed) - TotalTimeMs) / static_cast<double>(PerSecond);
    const double Score = RoundHalfToEven(Quotient);
    // A player slower than 20 s per round scores 0 rather than a wrapped negative number;
    // a clock running backwards cannot push a score past the 32-bit range either.
    if (!(Score > 0.0)) return 0;
    if (Score >= 4294967295.0) return UINT32_MAX;
    return static_cast<uint32_t>(Score);
}

namespace {

// Each seat's score over the rounds begun, times ten for the winner (32-bit unsigned arithmetic).
TGamePoints Points(int32_t Code, int32_t Turn, double FirstTimeMs, double SecondTimeMs) {
    const auto Rounds = static_cast<uint32_t>(Turn);
    TGamePoints Points{ComputeScore(FirstTimeMs, Rounds), ComputeScore(SecondTimeMs, Rounds)};
    if (HasFlags(Code, FirstPlayerLost)) Points.Second *= 10u;
    if (HasFlags(Code, SecondPlayerLost)) Points.First *= 10u;
    return Points;
}

}  // namespace

TGamePoints GamePoints(const TGameResult &Result) {
    return Points(Result.Result, Result.FinalInfo.Turn, Result.FinalState[0].Statistics.TotalTime,
                  Result.FinalState[1].Statistics.TotalTime);
}

TGamePoints GamePoints(const TGameRecord &Record) {
    return Points(Record.Result, Record.Rounds, Record.Seats[0].TimeMs, Record.Seats[1].TimeMs);
}

}  // namespace velkaran
