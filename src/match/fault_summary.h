// What went wrong in the games of a match or a tournament, per player: for a report after the
// result text.
#pragma once

#include "match_runner.h"

#include "records/termination.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velkaran {

// Counts, for each player, the calls that faulted, the games lost by the time limit and the
// answers the rules refused (an invalid set, a refused card), and remembers the first of them.
class TFaultSummary {
public:
    // A summary of Players players (2 in a match; the bots of a tournament).
    explicit TFaultSummary(std::size_t Players = 2);

    // Counts one finished game; its PlayerOfSeat name players below Players.
    void Add(const TPlayedGame &Game);

    // One line per player with anything counted: "<label> faulted, broke a rule or lost by the time
    // limit in K of N games (crashed: 2, refused: 1); first: GetTurn as the second player, round 2 of
    // game 3: card 37 is not in its set". Labels name the players; N counts the player's games. A
    // player whose label is empty (a human at the desktop) has no line.
    std::vector<std::string> Lines(std::span<const std::string> Labels) const;

    // The same in Russian, for the desktop program.
    std::vector<std::string> RussianLines(std::span<const std::string> Labels) const;

    // The first call fault of Game as "<label> crashed in GetTurn as the second player, round 3 of
    // game 1: <detail>"; nothing when no call of the game faulted.
    static std::optional<std::string> FirstFault(const TPlayedGame &Game,
                                                 std::span<const std::string> Labels);

private:
    // The first thing that went wrong for a player: where, and what in each language.
    struct TFirst {
        TGameFault Where;  // its Fault is None for a slow move or a refused answer
        int64_t Game = 0;
        std::string English;
        std::string Russian;
    };
    struct TPlayerFaults {
        int64_t Played = 0;  // games counted
        int64_t Games = 0;   // games with anything counted
        int64_t Crashed = 0;
        int64_t Hung = 0;
        int64_t Protocol = 0;
        int64_t TooSlow = 0;
        int64_t Refused = 0;
        std::optional<TFirst> First;
    };
    std::vector<std::string> Report(std::span<const std::string> Labels, TLanguage Language) const;
    std::vector<TPlayerFaults> Players;
};

// How the desktop program names the players of Settings in its messages: «Name» (file).
std::array<std::string, 2> SeatLabels(const TMatchSettings &Settings);

// Lines joined by "\n".
std::string JoinLines(const std::vector<std::string> &Lines);

}  // namespace velkaran
