// One finished game as a record: enough to count it, report it, and replay it move by move.
#pragma once

#include "termination.h"

#include "rules/game_state.h"
#include "rules/start_position.h"

#include <velkaran/bot.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velkaran {

// One seat of a recorded game.
struct TSeatRecord {
    std::string File;          // the bot library's file name ("greedy.so"); empty for a human
    std::string Name;          // the name the seat played under
    TCardList Set{};           // the set as the game accepted it; all 0 when it was refused or never chosen
    double TimeMs = 0;         // thinking time over the game, as it was counted
    double LongestMoveMs = 0;  // the longest single move
    // Resources the seat's buildings produced over the game (the report's totals).
    int32_t ProducedEnergy = 0;
    int32_t ProducedMetal = 0;
    int32_t ProducedElements = 0;
    friend bool operator==(const TSeatRecord &, const TSeatRecord &) = default;
};

// Where a game stands in its match or tournament.
struct TGamePlace {
    int64_t Number = 0;     // 1 for the first game of the run
    int32_t Encounter = 0;  // the pairing of two bots it belongs to (0 in a plain match)
    int64_t Pair = 0;       // the game pair within the encounter, from 0
    int32_t Leg = 0;        // 0: the first game of its pair; 1: the one with the seats exchanged
    friend bool operator==(const TGamePlace &, const TGamePlace &) = default;
};

// A finished game. Seat 0 moved first in every round.
struct TGameRecord {
    TGamePlace Place;
    std::array<TSeatRecord, 2> Seats;
    int32_t Options = 0;  // the options word: turn limit and flags
    int32_t Result = 0;   // the result code the players were told
    TTermination Termination = TTermination::None;
    TStartPosition Start = StandardStartPosition();  // both players' values at round 1
    int32_t Rounds = 0;                              // rounds begun
    // The answers in order, seat 0 first in each round: a card, or 0 for a round with nothing
    // playable; a call that faulted gave none.
    std::vector<int32_t> Moves;
    std::vector<TGameFault> Faults;
    std::array<TPlayerStatus, 2> Final{};  // both players' status at the end
    TCardList RefusedSet{};                // an invalid set as its bot sent it; all 0 for any other end
    friend bool operator==(const TGameRecord &, const TGameRecord &) = default;
};

// Whether the seat with index Seat won, lost or drew Record, as 1, 0 or 0.5 points.
double SeatPoints(const TGameRecord &Record, int32_t Seat);

// Calls Played(Card) for every card Seat played, in order: its moves but a refused last card and
// the rounds with nothing playable.
template <typename TPlayed>
void ForEachPlayedCard(const TGameRecord &Record, int32_t Seat, TPlayed Played) {
    const std::size_t Count = Record.Moves.size();
    for (std::size_t I = static_cast<std::size_t>(Seat); I < Count; I += 2) {
        const int32_t Card = Record.Moves[I];
        const bool Refused = I + 1 == Count && Record.Termination == TTermination::RefusedCard;
        if (Card >= 1 && Card <= CardCount && !Refused) Played(Card);
    }
}

// How often Seat played each card.
std::array<int64_t, CardCount + 1> CardUses(const TGameRecord &Record, int32_t Seat);

// The same two games: equal start, sets, moves, result and end; place, names and times may differ.
bool SameGame(const TGameRecord &A, const TGameRecord &B);

}  // namespace velkaran
