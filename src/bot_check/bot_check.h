// velkaran-check's work: a bot played through workers against the sample bots and a seeded random
// player, and what each check found.
#pragma once

#include "check_report.h"

#include "match/match_runner.h"
#include "workers/worker_pool.h"

#include <cstdint>
#include <string>

namespace velkaran {

struct TBotCheckSettings {
    std::string BotPath;          // the bot, with a '/'
    std::string OpponentsFolder;  // the sample bots it meets in both seats; may be empty
    int64_t Positions = 3000;     // positions to reach by seeded random play
    uint64_t Seed = 1;            // the random player's seed
    int32_t TurnLimit = DefaultTurnLimit;
    int32_t MoveLimitMs = DefaultMoveLimitMs;  // a slower move loses by the time limit
    double RandomPlaySeconds = 30;             // random play stops after this long, whatever Positions says
    std::string RecordFolder = ".";  // where a game that shows a defect is saved for the replay viewer
    TWorkerPoolSettings Workers;     // memory cap, sandbox; deadlines follow MoveLimitMs; its Run is not used
};

// Loads the bot in a worker and plays it: a game against each sample bot in each seat, then games
// against the random player until Positions positions were answered, two of them again to see
// whether it answers alike. Never loads a bot into this process. Stops playing after a few faults
// (a crash, a hang, a move over the time limit). Every check of the report says what it found.
TCheckReport CheckBot(const TBotCheckSettings &Settings);

}  // namespace velkaran
