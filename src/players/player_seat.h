// A seat of a game: the two functions through which the game loop talks to its player.
#pragma once

#include <velkaran/bot.h>

#include <cstdint>
#include <functional>

namespace velkaran {

// A player's StartGame: a bot's export, the game interface's, a test's lambda or a proxy.
using TStartGameFn = std::function<void(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info)>;

// A player's GetTurn, of the same origins as TStartGameFn.
using TGetTurnFn = std::function<int32_t(int32_t PlayerIndex, const TGameView *View,
                                         const TCardList *Playable, const TTurnInfo *Info)>;

}  // namespace velkaran
