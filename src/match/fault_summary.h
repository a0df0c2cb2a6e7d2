// What the faults of a match come to, per player: for a report after the result text.
#pragma once

#include "match_runner.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// Counts, for each of the two players of a match, the calls that faulted and the games lost by
// the time limit, and remembers where that first happened.
class TFaultSummary {
public:
    // Counts the faults and the time-limit loss of one finished game.
    void Add(const TPlayedGame &Game);

    // One line per player with anything counted: "<label> faulted or lost by the time limit in K
    // of N games: 2 crashed, 1 too slow; first: GetTurn as the second player, round 2 of game 3:
    // killed by SIGSEGV (Segmentation fault)". Labels name the players, GamesPlayed is N.
    std::vector<std::string> Lines(const std::array<std::string, 2> &Labels, int64_t GamesPlayed) const;

    // The same in Russian, for the desktop program (what the host saw stays as it was said).
    std::vector<std::string> RussianLines(const std::array<std::string, 2> &Labels,
                                          int64_t GamesPlayed) const;

    // The first call fault of Game as "<label> crashed in GetTurn as the second player, round 3 of
    // game 1: <detail>"; nothing when no call of the game faulted.
    static std::optional<std::string> FirstFault(const TPlayedGame &Game,
                                                 const std::array<std::string, 2> &Labels);

private:
    struct TPlayerFaults {
        int64_t Games = 0;
        int64_t Crashed = 0;
        int64_t Hung = 0;
        int64_t Protocol = 0;
        int64_t TooSlow = 0;
        std::optional<TGameFault> First;  // the first fault (or slow move), Detail said as the host saw it
        int64_t FirstGame = 0;
    };
    std::array<TPlayerFaults, 2> Players;
};

// How the desktop program names the players of Settings in its messages: «Name» (file).
std::array<std::string, 2> SeatLabels(const TMatchSettings &Settings);

// Lines joined by "\n".
std::string JoinLines(const std::vector<std::string> &Lines);

}  // namespace velkaran
