// Start positions made from a seed: the same seed gives the same positions on every machine.
#pragma once

#include "start_position.h"

#include <cstdint>
#include <vector>

namespace velkaran {

// The most positions one call makes.
inline constexpr int64_t MaxRandomStartPositions = 1'000'000;

// A base below this after the opening rounds is near destruction: such a position is not kept.
inline constexpr int32_t NearDestructionBase = 25;

// Position Index (from 0) of Seed. It is made by seeded random play from the standard start: both
// sides get a random valid set (15 different cards), then 2 to 8 rounds are played, each side
// playing a random card it can pay for (passing when it has none) and the buildings producing at
// each round's end; the values both sides are left with are the position. An attempt in which a
// base falls below NearDestructionBase (or that gives a value the checks refuse) is thrown away
// and the next one is made from the same sequence. Each position has a sequence of its own, so
// the first K positions of a seed are the same whatever the count asked for.
TStartPosition RandomStartPosition(uint64_t Seed, int64_t Index);

// Positions 0 to Count - 1 of Seed (Count from 0 to MaxRandomStartPositions).
std::vector<TStartPosition> RandomStartPositions(uint64_t Seed, int64_t Count);

}  // namespace velkaran
