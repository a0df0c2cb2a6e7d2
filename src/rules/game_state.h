// The game state: two players, each with a status, a card set and statistics.
#pragma once

#include "card_table.h"

#include <velkaran/bot.h>

#include <array>
#include <cstdint>

namespace velkaran {

// What a game accumulates for one player's statistics report.
struct TPlayerStatistics {
    int32_t TotalEnergy = 0;        // energy produced by batteries (cards do not count)
    int32_t TotalMetal = 0;         // metal produced by mines
    int32_t TotalElements = 0;      // electro-elements produced by laboratories
    double TotalTime = 0;           // milliseconds spent in GetTurn calls
    CardTable<int32_t> CardUses{};  // how often each card was played
    friend bool operator==(const TPlayerStatistics &, const TPlayerStatistics &) = default;
};

// One player's position (the eight TPlayerStatus fields), card set and statistics.
struct TPlayer : TPlayerStatus {
    TCardList Cards{};  // the 15 chosen cards; all 0 until the choice is accepted
    TPlayerStatistics Statistics{};
};

// Both players; index 0 is the first player, who moves first in every round.
using TGameState = std::array<TPlayer, 2>;

// Field-by-field equality of the records handed to players.
bool operator==(const TPlayerStatus &A, const TPlayerStatus &B);
bool operator==(const TCardList &A, const TCardList &B);
bool operator==(const TGameView &A, const TGameView &B);
bool operator==(const TPlayer &A, const TPlayer &B);

}  // namespace velkaran

// The SDK records live in the global namespace; this lets argument-dependent lookup find their equality
// from any namespace (std::array comparisons, test macros).
using velkaran::operator==;
