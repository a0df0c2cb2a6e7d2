// Why a game ended, beside the result code the players receive, and the faults of its calls: one
// table each, with the name a file stores and the texts people read.
#pragma once

#include "players/player_seat.h"

#include <velkaran/bot.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velkaran {

// The two languages of the program's texts: English for the command-line programs, Russian for
// the desktop program.
enum class TLanguage { English, Russian };

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

// One way a game can end: its result code, the name files keep, and its texts.
struct TTerminationRow {
    TTermination Kind;
    // The bits the result code carries besides the loser's FirstPlayerLost/SecondPlayerLost; for a
    // draw (TurnLimit) the whole code. InStartGame: the same when the deciding call was a StartGame.
    int32_t Code;
    int32_t CodeInStartGame;
    bool Draw;                   // nobody lost
    std::string_view Stored;     // the name in JSON documents; never changes
    std::string_view OldStored;  // the name files written before it had one of its own held
    std::string_view Russian;    // as the desktop program's tables show it
    std::string_view English;    // as the command-line reports show it
};

// Every termination, in the order of TTermination.
inline constexpr TTerminationRow TerminationRows[] = {
    {TTermination::None, 0, 0, false, "none", "not ended", "не закончена", "not ended"},
    {TTermination::BaseDestroyed, 0, 0, false, "base_destroyed", "base destroyed", "база разрушена",
     "base destroyed"},
    {TTermination::TurnLimit, TurnLimitReached, TurnLimitReached, true, "turn_limit", "turn limit",
     "лимит ходов", "turn limit"},
    {TTermination::InvalidSet, ErrorOrPass, ErrorOrPass, false, "invalid_set", "invalid set",
     "неверный набор карт", "invalid set"},
    {TTermination::RefusedCard, ErrorOrPass, ErrorOrPass, false, "refused_card", "refused card",
     "недопустимый ход", "refused card"},
    {TTermination::TooSlow, TimeLimitExceeded, TimeLimitExceeded, false, "too_slow", "too slow",
     "слишком долгий ход", "too slow"},
    {TTermination::Crashed, ErrorOrPass, ErrorOrPass, false, "crashed", "crashed", "сбой бота", "crashed"},
    // A hang in GetTurn is a move that took too long; in StartGame, a set or a result never given.
    {TTermination::Hung, TimeLimitExceeded, ErrorOrPass, false, "hung", "hung", "бот завис", "hung"},
};

// The number of kinds, None included, for tables indexed by TTermination.
inline constexpr int TerminationKinds = static_cast<int>(std::size(TerminationRows));

constexpr bool TerminationRowsInOrder() {
    for (int Kind = 0; Kind < TerminationKinds; ++Kind)
        if (static_cast<int>(TerminationRows[Kind].Kind) != Kind) return false;
    return true;
}
static_assert(TerminationRowsInOrder(), "row I of the table is termination I");

// The row of Kind.
constexpr const TTerminationRow &TerminationRow(TTermination Kind) {
    return TerminationRows[static_cast<std::size_t>(Kind)];
}

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

// The names and texts of a seat's calls and of the ways a call can fault, as for terminations.
struct TSeatCallRow {
    TSeatCall Call;
    std::string_view Stored;
    std::string_view OldStored;
    std::string_view Russian;
    std::string_view English;
};
inline constexpr TSeatCallRow SeatCallRows[] = {
    {TSeatCall::OpeningStartGame, "opening_start_game", "StartGame (choosing cards)",
     "StartGame (выбор карт)", "StartGame (choosing cards)"},
    {TSeatCall::GetTurn, "get_turn", "GetTurn", "GetTurn", "GetTurn"},
    {TSeatCall::ClosingStartGame, "closing_start_game", "StartGame (the result)", "StartGame (итог)",
     "StartGame (the result)"},
};

struct TCallFaultRow {
    TCallFault Fault;
    std::string_view Stored;
    std::string_view OldStored;
    std::string_view Russian;
    std::string_view English;
};
inline constexpr TCallFaultRow CallFaultRows[] = {
    {TCallFault::None, "none", "no fault", "без сбоя", "no fault"},
    {TCallFault::Crashed, "crashed", "crashed", "сбой", "crashed"},
    {TCallFault::Hung, "hung", "hung", "завис", "hung"},
    {TCallFault::Protocol, "protocol", "broke the protocol", "нарушил протокол", "broke the protocol"},
};

constexpr bool CallRowsInOrder() {
    for (std::size_t I = 0; I < std::size(SeatCallRows); ++I)
        if (static_cast<std::size_t>(SeatCallRows[I].Call) != I) return false;
    for (std::size_t I = 0; I < std::size(CallFaultRows); ++I)
        if (static_cast<std::size_t>(CallFaultRows[I].Fault) != I) return false;
    return true;
}
static_assert(CallRowsInOrder(), "row I of each table is value I");

constexpr const TSeatCallRow &SeatCallRow(TSeatCall Call) {
    return SeatCallRows[static_cast<std::size_t>(Call)];
}
constexpr const TCallFaultRow &CallFaultRow(TCallFault Fault) {
    return CallFaultRows[static_cast<std::size_t>(Fault)];
}

// The value whose stored name (or, for files written before, old stored name) is Name.
std::optional<TTermination> StoredTermination(std::string_view Name);
std::optional<TSeatCall> StoredSeatCall(std::string_view Name);
std::optional<TCallFault> StoredCallFault(std::string_view Name);

// The result code of a game that ended with Kind, LoserSeat being the seat that lost (unused for
// a draw), decided in Call (a fault of the opening StartGame loses by error as an invalid set does,
// a hang in GetTurn by the time limit). 0 for None.
int32_t ResultCode(TTermination Kind, int32_t LoserSeat, TSeatCall Call);

// The termination a fault of Call leads to.
TTermination TerminationOfFault(TCallFault Fault);

// What the host saw of a fault (a TGameFault's Detail, in English) said in Language: as it is, or
// in Russian words (the texts library's FaultDetailText).
std::string FaultDetailText(const std::string &Detail, TLanguage Language);

}  // namespace velkaran
