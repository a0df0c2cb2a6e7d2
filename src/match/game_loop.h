// One whole game between two seats, from the card sets to the result.
#pragma once

#include "players/game_interface.h"
#include "players/player_seat.h"
#include "records/termination.h"
#include "rules/game_limits.h"
#include "rules/game_state.h"
#include "rules/start_position.h"

#include <velkaran/bot.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velkaran {

// The options of one game, made by the match runner.
struct TGameOptions {
    int32_t Options = 0;     // turn limit (bits 0..15) and flags, as in the bot SDK
    std::string FirstName;   // first player's name (a bot's name or "_HUMAN_")
    std::string SecondName;  // second player's name
    // Where the game starts: the first player gets Sides[0]. The card sets are chosen as always.
    TStartPosition Start = StandardStartPosition();
    // A move between bots that takes longer than this loses by the time limit.
    double MoveLimitMs = MoveTimeLimitMs;
};

// What a game leaves behind: its result code, why it ended, its final state and the final turn
// information, and every call that faulted.
struct TGameResult {
    int32_t Result = 0;  // exactly one of 1, 2, 4, 17, 18, 33, 34
    TTermination Termination = TTermination::None;
    TStartPosition Start;     // where the game started
    TGameState FinalState{};  // both players with their statistics at the end
    TTurnInfo FinalInfo{};    // LastMove, Turn (rounds begun) and Options at the end; Result too when shown
    std::vector<TGameFault> Faults;    // in the order they happened; a closing call's fault changes nothing
    double LongestMoveMs[2] = {0, 0};  // each seat's longest GetTurn call, as it was counted
    // Every answer in the order it was given, seat 0 first in each round: the card for a round
    // with something playable (a refused card included), 0 for a round with nothing playable. A
    // call that faulted gave no answer. With the two sets this replays the game.
    std::vector<int32_t> Moves;
    std::vector<double> MoveTimesMs;  // the thinking time of each of Moves, as it was counted
    TCardList RefusedSet{};           // the set the rules refused, as its player sent it; else all 0
};

// A monotonic clock in milliseconds; the game loop reads it around every GetTurn call.
using TTimeSource = std::function<double()>;

// The current reading of the steady clock in milliseconds.
double GetTimeMs();

// Plays one game: asks both seats for their sets, plays rounds until a base falls, a move is
// refused or too slow, a call faults, or the turn limit is reached, tells both seats the outcome
// and fills Result. A seat whose call faulted loses (by error, or by the time limit when its
// GetTurn hung) and receives no further call in this game. Clock times every GetTurn call.
// Ui is opened for a human game and shows the final position of a single bot game.
// A turn limit of 0 in Options counts as 65536 rounds, so every game ends.
// An exception from a seat, the clock or Ui passes through; nothing leaks. Result then holds
// the game as it stood: FinalState and FinalInfo of that moment, and Result 0 unless the
// outcome was already decided (a fault in a closing call or in showing the final position).
// The remaining closing calls are not made; Ui is closed if this game had opened it.
void PlayGame(const TStartGameFn &FirstStartGame, const TStartGameFn &SecondStartGame,
              const TGetTurnFn &FirstGetTurn, const TGetTurnFn &SecondGetTurn, const TGameOptions &Options,
              TGameResult &Result, GameInterface &Ui, const TTimeSource &Clock = GetTimeMs);

}  // namespace velkaran
