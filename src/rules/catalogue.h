// The card catalogue: what each of the 50 cards costs and how it is described.
#pragma once

#include "card_table.h"

#include <cstdint>
#include <string_view>

namespace velkaran {

// What playing a card costs, in energy, metal and electro-elements.
struct TCardCost {
    int32_t Energy;
    int32_t Metal;
    int32_t Elements;
    friend constexpr bool operator==(const TCardCost &, const TCardCost &) = default;
};

// Cost of every card, CardCosts[1] .. CardCosts[50].
extern const CardTable<TCardCost> CardCosts;

// Description of every card as shown to users (UTF-8), each beginning "(N) ".
extern const CardTable<std::string_view> CardDescriptions;

// True when every bit set in Mask is also set in Value; a Mask of 0 is always true.
constexpr bool HasFlags(int32_t Value, int32_t Mask) { return (Value & Mask) == Mask; }

}  // namespace velkaran
