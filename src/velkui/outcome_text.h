// How the end of a game reads: who won, why, and how long the game lasted.
#pragma once

#include <velkaran/bot.h>

#include <array>
#include <string>

namespace velkaran {

// The end of a game as the window shows it: a headline, the reason and the length of the game.
struct TOutcome {
    std::string Headline;  // e.g. "Вы победили", "Ничья"
    std::string Reason;    // e.g. "База соперника разрушена."
    std::string Length;    // e.g. "Партия длилась 23 раунда."
};

// The two names a window shows, index = seat.
using TSeatNames = std::array<std::string, 2>;

// The end of a game from one seat's side, read from the closing StartGame's Info (Result carries
// ReceiverWon for a win). Resigned tells that this seat gave up by closing the window.
TOutcome SeatOutcome(const TTurnInfo &Info, bool Resigned);

// The end of a game told to both players at one screen; Info->Result as either seat received it.
TOutcome SharedOutcome(const TTurnInfo &Info, const TSeatNames &Names);

// The end of a game read from its final position (nothing hidden) and final turn information.
// The result code is used when Info carries one; otherwise it is inferred: a destroyed base (the
// first player's looked at first), the turn limit, or an interrupted game (a refused or slow move).
TOutcome FinalPositionOutcome(const TGameView &View, const TTurnInfo &Info, const TSeatNames &Names);

}  // namespace velkaran
