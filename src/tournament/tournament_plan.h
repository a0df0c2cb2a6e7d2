// A tournament split into shards of whole game pairs, to be played on many machines and merged.
#pragma once

#include "tournament_config.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace velkaran {

inline constexpr char PlanFormat[] = "velkaran-tournament-plan";
inline constexpr char ShardFormat[] = "velkaran-tournament-shard";

struct TTournamentPlan {
    TTournamentConfig Config;
    int64_t Shards = 1;
    long long BotMemoryMb = 0;  // the limits every shard's workers run with
    bool Sandbox = false;
    std::string Folder;          // where the bots' libraries are (absolute): every shard plays there
    bool SandboxStrict = false;  // the shards run bots only with every layer of the sandbox
};

// The games [First, End) of the schedule that shard Shard of Plan plays: contiguous whole pairs,
// the same for the same plan on every machine.
struct TShardGames {
    int64_t First = 0;
    int64_t End = 0;
};
TShardGames ShardGames(const TTournamentPlan &Plan, int64_t Shard);

// Why Plan cannot be split as it says (fewer pairs than shards, a bad configuration); empty if it can.
std::string PlanProblem(const TTournamentPlan &Plan);

nlohmann::json PlanToJson(const TTournamentPlan &Plan);

// The plan in Json, checked; nothing, with Error, otherwise.
std::optional<TTournamentPlan> PlanFromJson(const nlohmann::json &Json, std::string &Error);

}  // namespace velkaran
