// Whether a player's resources cover a card's cost, packed so that a whole card set is checked cheaply.
//
// A packed word holds energy, metal and electro-elements in 8-bit lanes (bits 16, 8 and 0). A resource
// lane is 64 plus the resource capped at 63; a cost lane is the cost itself, at most 63. Subtracting a
// cost from resources then never borrows across lanes, and a lane keeps its bit 6 exactly when the
// resource covers the cost.
#pragma once

#include "card_rows.h"

#include <velkaran/bot.h>

#include <algorithm>
#include <cstdint>

namespace velkaran {

inline constexpr int32_t MaxPackedCost = 63;
inline constexpr uint32_t PackedGuardBits = 0x404040;

constexpr uint32_t PackLanes(int32_t Energy, int32_t Metal, int32_t Elements) {
    return static_cast<uint32_t>(Energy) << 16 | static_cast<uint32_t>(Metal) << 8 |
           static_cast<uint32_t>(Elements);
}

constexpr bool CostsFitTheirLanes() {
    for (const TCardRow &Row : CardRows)
        if (Row.Cost.Energy > MaxPackedCost || Row.Cost.Metal > MaxPackedCost ||
            Row.Cost.Elements > MaxPackedCost)
            return false;
    return true;
}
static_assert(CostsFitTheirLanes(), "every cost fits its lane");

// The packed cost of every card, PackedCardCosts[1] .. PackedCardCosts[50].
inline constexpr CardTable<uint32_t> PackedCardCosts = [] {
    CardTable<uint32_t> Table{};
    for (const TCardRow &Row : CardRows)
        Table[Row.Card] = PackLanes(Row.Cost.Energy, Row.Cost.Metal, Row.Cost.Elements);
    return Table;
}();

// True when Player's resources cover Cost. Bitwise rather than short-circuit: affordability is
// unpredictable, and branches on it cost more than the three comparisons.
constexpr bool CanPay(const TPlayerStatus &Player, const TCardCost &Cost) {
    return (Cost.Energy <= Player.Energy) & (Cost.Metal <= Player.Metal) & (Cost.Elements <= Player.Elements);
}

// What Player lacks of each resource to pay Cost (0 where it has enough), wide enough for any gap.
struct TShortfall {
    int64_t Energy = 0;
    int64_t Metal = 0;
    int64_t Elements = 0;
};
constexpr TShortfall Shortfall(const TPlayerStatus &Player, const TCardCost &Cost) {
    auto Gap = [](int32_t Price, int32_t Held) { return Price > Held ? int64_t{Price} - int64_t{Held} : 0; };
    return {Gap(Cost.Energy, Player.Energy), Gap(Cost.Metal, Player.Metal),
            Gap(Cost.Elements, Player.Elements)};
}

// True when a resource is negative (only after wrapping): such a player can pay for no card at all.
constexpr bool HasNegativeResource(const TPlayerStatus &Player) {
    return (Player.Energy | Player.Metal | Player.Elements) < 0;
}

// The packed resources of a player without negative resources.
constexpr uint32_t PackedResources(const TPlayerStatus &Player) {
    auto Lane = [](int32_t Resource) { return 64 + std::min(Resource, MaxPackedCost); };
    return PackLanes(Lane(Player.Energy), Lane(Player.Metal), Lane(Player.Elements));
}

// True when packed resources cover a packed cost.
constexpr bool Covers(uint32_t Resources, uint32_t Cost) {
    return ((Resources - Cost) & PackedGuardBits) == PackedGuardBits;
}

}  // namespace velkaran
