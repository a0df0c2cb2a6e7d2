// Where a game starts: the eight values of both players at round 1, the standard ones or others.
#pragma once

#include "game_state.h"

#include <array>
#include <cstdint>
#include <string>

namespace velkaran {

// Both players' values at the start of round 1; Sides[0] belongs to the first player, whoever
// that is. The card sets are not part of it: each player still chooses its own.
struct TStartPosition {
    std::array<TPlayerStatus, 2> Sides{};
    friend bool operator==(const TStartPosition &, const TStartPosition &) = default;
};

// The largest value a start position may give any of the eight fields.
inline constexpr int32_t MaxStartValue = 10000;

// Base 40, shield 15, 3 batteries, 2 mines, 2 laboratories and 15 of each resource, for both.
TStartPosition StandardStartPosition();

// True when Start is the standard start.
bool IsStandardStart(const TStartPosition &Start);

// Why Start cannot begin a game, naming the side and the field: a base below 1, a shield or a
// resource below 0, fewer than 3 batteries, 2 mines or 2 laboratories (no rule ever leaves fewer),
// more laboratories than the base allows, or a value above MaxStartValue. Empty when it can.
std::string StartPositionProblem(const TStartPosition &Start);

}  // namespace velkaran
