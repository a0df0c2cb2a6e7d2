// What a series counts for each of its two players, record by record, and the series text.
#pragma once

#include "records/game_record.h"
#include "statistics_report.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velkaran {

// One player's counts over a series, wide enough that nothing wraps.
struct TPlayerTally {
    int64_t Wins = 0;
    int64_t Errors = 0;  // games lost by an invalid set or a refused card, or by a fault
    uint64_t Points = 0;
    TStatisticsTotal Statistics;
};

// The counts of a series between two players, whichever seat each sat in.
struct TMatchTally {
    std::array<TPlayerTally, 2> Players;
    int64_t Draws = 0;
    int64_t Games = 0;

    // Counts Record; PlayerOfSeat[s] is the player (0 or 1) that sat in seat s.
    void Add(const TGameRecord &Record, const std::array<int, 2> &PlayerOfSeat);
};

// The text of a series of 2 x GamesPerHalf games between Names[0] and Names[1] (player 1 and 2 of
// the main window), counted in Tally; DecimalSeparator is the locale's.
std::vector<std::string> SeriesText(const std::array<std::string, 2> &Names, int64_t GamesPerHalf,
                                    const TMatchTally &Tally, const std::string &DecimalSeparator);

// The line a stopped series adds after its number of games.
std::string SeriesStoppedLine(int64_t Played, int64_t Planned);

// The only line of a single game stopped before its end.
inline constexpr char StoppedGameLine[] = "Игра остановлена до конца: результата нет";

// The text of one game, from its record.
std::vector<std::string> SingleGameText(const TGameRecord &Record, const std::string &DecimalSeparator);

}  // namespace velkaran
