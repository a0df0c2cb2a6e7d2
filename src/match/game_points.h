// The points of both seats for one finished game.
#pragma once

#include "game_loop.h"
#include "records/game_record.h"

#include <cstdint>

namespace velkaran {

// Points of the two seats of one game: each seat's score, ten times the score for the winner.
struct TGamePoints {
    uint32_t First = 0;
    uint32_t Second = 0;
};

// The points of the game that Result describes (scores over the rounds begun, times ten for the
// winner, 32-bit unsigned arithmetic; a draw multiplies neither).
TGamePoints GamePoints(const TGameResult &Result);
TGamePoints GamePoints(const TGameRecord &Record);

}  // namespace velkaran
