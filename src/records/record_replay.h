// Replaying a recorded game through the rules, move by move.
#pragma once

#include "game_record.h"

#include "rules/game_limits.h"
#include "rules/game_state.h"

#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// The game after one recorded move (or at the start, before any).
struct TReplayStep {
    int32_t Round = 0;      // the round of the move; 0 for the start
    int32_t Mover = -1;     // the seat that moved; -1 for the start
    int32_t Card = 0;       // the card it played; 0 when it had nothing playable
    bool Produced = false;  // the buildings produced after this move (the round's end)
    bool Fault = false;     // not a move: the mover's fault that ended the game (the viewer's last step)
    TGameState State{};     // both players after the move (and the production)
};

// Replays Record: its start position with both sets, then one step per move. Nothing when the record
// cannot be replayed (a set the rules refuse, a move that does not fit), with the reason in Error,
// in Russian: the replay viewer shows it.
std::optional<std::vector<TReplayStep>> ReplaySteps(const TGameRecord &Record, std::string &Error);

// Replays Record through the rules and checks that it ends where the record says: the way it
// ended, the result code, the rounds, both final statuses and what was produced. A game decided by
// a fault cannot be replayed to its end; then the moves before it must replay, and the fault must
// be that of the seat and round whose turn it was. Empty when it all agrees; else the first thing
// that does not. A slow move is one longer than MoveLimitMs, the limit the game was played with.
std::string CheckReplay(const TGameRecord &Record, double MoveLimitMs = MoveTimeLimitMs);

}  // namespace velkaran
