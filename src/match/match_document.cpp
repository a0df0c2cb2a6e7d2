// The head and tail of a match's JSON document.
#include "match_document.h"

#include <filesystem>

namespace velkaran {
namespace {

nlohmann::json BotJson(const TSeatSetting &Seat) {
    if (Seat.Human) return {{"human", true}};
    return {{"file", std::filesystem::path(Seat.Bot.Path).filename().string()}, {"name", Seat.Bot.Name}};
}

}  // namespace

nlohmann::json MatchDocumentHead(const TMatchSettings &Settings) {
    const bool Series = !Settings.First.Human && !Settings.Second.Human && Settings.ModeItem != 0;
    nlohmann::json Config{
        {"bots", nlohmann::json::array({BotJson(Settings.First), BotJson(Settings.Second)})},
        {"series", Series},
        {"turn_limit", Settings.TurnLimit},
        {"options", BuildOptionsWord(Settings)}};
    if (Series) Config["games_per_half"] = Settings.GameCount;
    return {{"format", "velkaran-match"}, {"version", 1}, {"config", Config}};
}

nlohmann::json MatchDocumentTail(bool Complete) { return {{"complete", Complete}}; }

}  // namespace velkaran
