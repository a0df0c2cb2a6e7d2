// The tables of a tournament as text for a terminal: standings, crosstable, encounters, thinking
// time, how games were lost, the cards played, and the SPRT.
#pragma once

#include "tournament_statistics.h"

#include <string>
#include <vector>

namespace velkaran {

// The whole report, one string per line (UTF-8).
std::vector<std::string> ReportLines(const TTournamentStatistics &Statistics,
                                     const TTournamentResults &Results);

// "+412 ± 120", "+inf", "-35 [-90, +12]": an Elo difference as the tables print it.
std::string EloText(double Elo);

}  // namespace velkaran
