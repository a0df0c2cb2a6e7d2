// Player indices and names: the other player, the name check, the name field.
#pragma once

#include <cstdint>
#include <string_view>

namespace velkaran {

// The name a human seat plays under, and by which the game interface knows a human seat.
inline constexpr char HumanName[] = "_HUMAN_";

// The other player's index: 1 for 0, and 0 for every other value.
constexpr int32_t Opponent(int32_t Player) { return Player == 0 ? 1 : 0; }

// True when Text has at most 30 characters, each a blank, ( ) + - . _ or a Latin letter or digit.
bool IsValidName(const char *Text);

// Clears the 31-byte Field and copies Name into it; a longer name is cut to 30 characters.
void SetOpponentName(char (&Field)[31], std::string_view Name);

}  // namespace velkaran
