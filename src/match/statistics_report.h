// The statistics report of one player: 58 lines of text with a table of the cards played.
#pragma once

#include "rules/card_table.h"
#include "rules/game_state.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velkaran {

// One player's statistics summed over any number of games, wide enough that nothing wraps.
struct TStatisticsTotal {
    int64_t TotalEnergy = 0;
    int64_t TotalMetal = 0;
    int64_t TotalElements = 0;
    double TotalTime = 0;
    CardTable<int64_t> CardUses{};
    friend bool operator==(const TStatisticsTotal &, const TStatisticsTotal &) = default;
};

// The totals of a single game: the three production totals read as unsigned 32-bit numbers.
TStatisticsTotal ToTotal(const TPlayerStatistics &Stats);

// Adds every field of Stats into Total, in place (production totals as unsigned 32-bit numbers).
void AddStatistics(TStatisticsTotal &Total, const TPlayerStatistics &Stats);

// A text of N blanks; empty for N of zero or less.
std::string Spaces(int N);

// Appends the 58 report lines for Stats to Lines; DecimalSeparator is the locale's (e.g. "," or ".").
void WriteStatistics(std::vector<std::string> &Lines, TStatisticsTotal Stats,
                     const std::string &DecimalSeparator);

}  // namespace velkaran
