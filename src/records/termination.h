// Why a game ended, beside the result code the players receive, and the faults of its calls.
#pragma once

#include "players/player_seat.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velkaran {

// Why a game ended. The players see only the result code; this keeps what really happened.
enum class TTermination : uint8_t {
    None,           // the game has not ended (or was abandoned by an exception)
    BaseDestroyed,  // a base fell below 1
    TurnLimit,      // the turn limit was reached: a draw
    InvalidSet,     // a player chose an invalid card set
    RefusedCard,    // a player answered a card the rules refuse
    TooSlow,        // a move between bots took longer than the move time limit
    Crashed,        // a player's process died or broke the protocol
    Hung,           // a player's process did not answer in time and was ended
};

// The number of kinds, None included, for tables indexed by TTermination.
inline constexpr int TerminationKinds = 8;

// The calls a seat receives in a game.
enum class TSeatCall : uint8_t { OpeningStartGame, GetTurn, ClosingStartGame };

// A call of a game that faulted.
struct TGameFault {
    int32_t Seat = 0;   // 0 for the first player, 1 for the second
    TSeatCall Call{};   // which call
    int32_t Round = 0;  // the round of a GetTurn call; 0 for the opening, the last round for the closing
    TCallFault Fault = TCallFault::None;
    std::string Detail;  // what the host saw, e.g. "killed by SIGSEGV (Segmentation fault)"
    friend bool operator==(const TGameFault &, const TGameFault &) = default;
};

// The result code of a game that ended with Kind, LoserSeat being the seat that lost (unused for
// TurnLimit), in Call: a fault of the opening StartGame loses by error as an invalid set does, a
// hang in GetTurn by the time limit.
int32_t ResultCode(TTermination Kind, int32_t LoserSeat, TSeatCall Call);

// The termination a fault of Call leads to.
TTermination TerminationOfFault(TCallFault Fault);

// Lower-case English names for reports: "base destroyed", "turn limit", "crashed", ...
std::string_view TerminationName(TTermination Kind);
std::string_view SeatCallName(TSeatCall Call);     // "StartGame (choosing cards)", "GetTurn", ...
std::string_view CallFaultName(TCallFault Fault);  // "crashed", "hung", "broke the protocol"

}  // namespace velkaran
