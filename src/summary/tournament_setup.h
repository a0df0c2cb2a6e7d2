// The tournament the desktop program's dialog asks for: its configuration from the choices made,
// why it cannot start, and the line that says how far a running one got.
#pragma once

#include "tournament/tournament_config.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// What the dialog's controls hold.
struct TTournamentChoice {
    std::vector<TTournamentBot> Bots;  // every bot offered
    std::vector<bool> Chosen;          // by bot: ticked
    bool Gauntlet = false;
    int32_t GauntletBot = -1;  // the bot (index into Bots) that plays every other one
    int64_t Pairs = 1;
    int32_t TurnLimit = 200;
    int32_t MoveLimitMs = 20000;
    int64_t StartPositions = 0;  // random start positions of seed 1; 0: the standard start
};

// Why Choice cannot be played (Russian): fewer than two bots ticked, a gauntlet bot not among them,
// a number out of range; empty when it can.
std::string TournamentChoiceProblem(const TTournamentChoice &Choice);

// The configuration of Choice, its bots the ticked ones in their order; nothing, with Error
// (Russian), when TournamentChoiceProblem finds one or the start positions cannot be made.
std::optional<TTournamentConfig> ChosenTournament(const TTournamentChoice &Choice, std::string &Error);

// How far a running tournament got: "Сыграно 12 из 36 игр за 1:05", and what is being waited for
// after a stop was asked.
std::string TournamentProgressText(int64_t GamesDone, int64_t GamesTotal, double Seconds, bool Stopping,
                                   bool Finished);

}  // namespace velkaran
