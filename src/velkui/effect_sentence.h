// A card's effect spelled out in words, for the tooltips of the hand and of the set dialog.
#pragma once

#include <cstdint>
#include <string>

namespace velkaran {

// What Card (1..50) does, as one Russian sentence: the short codes of its catalogue text ("->25",
// "<-10", "SS+7", "SB+9", "Base-5", "Shield-10", "En+1") written out, its words kept as they are.
// Cards whose catalogue text says less than the card does (26, 49) are told as they play.
// Empty for a number outside 1..50.
std::string EffectSentence(int32_t Card);

}  // namespace velkaran
