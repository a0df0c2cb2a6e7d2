// Splitting the schedule's game pairs evenly and in order between the shards.
#include "tournament_plan.h"

#include "schedule.h"

namespace velkaran {
namespace {

// The game pairs of the whole tournament.
int64_t PairUnits(const TTournamentPlan &Plan) { return TSchedule(Plan.Config).Games() / 2; }

}  // namespace

TShardGames ShardGames(const TTournamentPlan &Plan, int64_t Shard) {
    const auto Units = static_cast<unsigned __int128>(PairUnits(Plan));
    const auto Shards = static_cast<unsigned __int128>(Plan.Shards);
    const auto From = static_cast<int64_t>(Units * static_cast<unsigned __int128>(Shard) / Shards);
    const auto To = static_cast<int64_t>(Units * static_cast<unsigned __int128>(Shard + 1) / Shards);
    return {2 * From, 2 * To};
}

std::string PlanProblem(const TTournamentPlan &Plan) {
    if (std::string Problem = ConfigProblem(Plan.Config); !Problem.empty()) return Problem;
    if (Plan.Config.Sprt) return "an SPRT decides as games finish, so it cannot be split into shards";
    if (Plan.Shards < 1) return "a plan needs at least one shard";
    if (Plan.Shards > PairUnits(Plan))
        return "the tournament has " + std::to_string(PairUnits(Plan)) + " game pairs, fewer than " +
               std::to_string(Plan.Shards) + " shards";
    return "";
}

nlohmann::json PlanToJson(const TTournamentPlan &Plan) {
    return {{"format", PlanFormat},
            {"version", 1},
            {"config", ConfigToJson(Plan.Config)},
            {"shards", Plan.Shards},
            {"folder", Plan.Folder},
            {"limits",
             {{"bot_memory_mb", Plan.BotMemoryMb},
              {"sandbox", Plan.Sandbox},
              {"sandbox_strict", Plan.SandboxStrict}}}};
}

std::optional<TTournamentPlan> PlanFromJson(const nlohmann::json &Json, std::string &Error) {
    try {
        if (!Json.is_object() || !Json.contains("format") || Json["format"] != PlanFormat) {
            Error = "it is not a plan of velkaran-tournament";
            return std::nullopt;
        }
        if (Json.at("version") != 1) {
            Error = "it was written by another version of velkaran-tournament";
            return std::nullopt;
        }
        TTournamentPlan Plan;
        const std::optional<TTournamentConfig> Config = ConfigFromJson(Json.at("config"), Error);
        if (!Config) return std::nullopt;
        Plan.Config = *Config;
        Plan.Shards = Json.at("shards").get<int64_t>();
        Plan.Folder = Json.at("folder").get<std::string>();
        Plan.BotMemoryMb = Json.at("limits").at("bot_memory_mb").get<long long>();
        Plan.Sandbox = Json.at("limits").at("sandbox").get<bool>();
        Plan.SandboxStrict = Json.at("limits").value("sandbox_strict", false);  // older plans lack it
        if (std::string Problem = PlanProblem(Plan); !Problem.empty()) {
            Error = Problem;
            return std::nullopt;
        }
        return Plan;
    } catch (const std::exception &Bad) {
        Error = std::string("the plan is damaged: ") + Bad.what();
        return std::nullopt;
    }
}

}  // namespace velkaran
