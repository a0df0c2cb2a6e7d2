// The games of a tournament in their order, computed from a game's index: nothing is listed.
#pragma once

#include "tournament_config.h"

#include <cstdint>
#include <vector>

namespace velkaran {

// Two bots that meet; A sits first in the first game of each of their pairs.
struct TEncounter {
    int32_t A = 0;
    int32_t B = 0;
};

// One game of the schedule.
struct TScheduledGame {
    int64_t Index = 0;  // 0 for the first game
    int32_t Encounter = 0;
    int64_t Pair = 0;
    int32_t Leg = 0;    // 0: A sits first; 1: the seats exchanged
    int32_t First = 0;  // the bots in seat 0 and seat 1
    int32_t Second = 0;
};

// Round robin: every two bots; gauntlet: the gauntlet bot against each other one. The games go
// pair by pair through all encounters, so that every encounter advances alike.
class TSchedule {
public:
    explicit TSchedule(const TTournamentConfig &Config);

    int64_t Games() const { return 2 * Config.Pairs * static_cast<int64_t>(Encounters_.size()); }
    const std::vector<TEncounter> &Encounters() const { return Encounters_; }
    // The game with Index, 0 <= Index < Games().
    TScheduledGame Game(int64_t Index) const;
    // The index of the game at that place; -1 when there is no such game.
    int64_t IndexOf(int32_t Encounter, int64_t Pair, int32_t Leg) const;

private:
    TTournamentConfig Config;
    std::vector<TEncounter> Encounters_;
};

}  // namespace velkaran
