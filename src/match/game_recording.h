// A finished game as the runners keep it: its record, filled from the game loop's result.
#pragma once

#include "game_loop.h"
#include "records/game_record.h"
#include "statistics_report.h"

#include <string>

namespace velkaran {

// Who sat in a seat, for the record.
struct TSeatLabel {
    std::string File;  // the library's file name; empty for a human
    std::string Name;
};

// Fills Record with the game that Result describes, played at Place by First (seat 0) and
// Second. Record may be reused from game to game: its buffers are kept.
void FillRecord(TGameRecord &Record, const TGameResult &Result, const TGamePlace &Place,
                const TSeatLabel &First, const TSeatLabel &Second);

// The statistics block of Seat as the game counted it: production, thinking time, card uses.
TPlayerStatistics SeatStatistics(const TGameRecord &Record, int32_t Seat);

// Adds Seat's statistics of Record into Total, as AddStatistics adds a game's block.
void AddSeatStatistics(TStatisticsTotal &Total, const TGameRecord &Record, int32_t Seat);

}  // namespace velkaran
