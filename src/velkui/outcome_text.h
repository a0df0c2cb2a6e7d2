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

// True for the codes a game ends with: 1, 2, 4, 17, 18, 33 and 34 (without ReceiverWon).
bool IsGameResultCode(int32_t Code);

// The end of a game at its final position (nothing hidden). Info->Result decides when the host
// passes it: who won and why (a destroyed base, the turn limit, an invalid set or a refused card,
// a slow move); a code that is no game result is shown as unknown. Only a Result of 0 (a host that
// passes none) makes it a guess from the board: a destroyed base (the first player's looked at
// first), the turn limit, or an interrupted game.
TOutcome FinalPositionOutcome(const TGameView &View, const TTurnInfo &Info, const TSeatNames &Names);

}  // namespace velkaran
