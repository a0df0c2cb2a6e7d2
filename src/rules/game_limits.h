// Numbers of the game that several parts of the program rely on, each kept here once.
#pragma once

#include <cstdint>

namespace velkaran {

// Under hidden information a player whose shield is above this shows only the shield, and the
// opponent does not learn the card that player played last.
inline constexpr int32_t HiddenShieldLimit = 20;

// The longest a single move may take in a game between two bots, in milliseconds.
inline constexpr double MoveTimeLimitMs = 20000.0;

}  // namespace velkaran
