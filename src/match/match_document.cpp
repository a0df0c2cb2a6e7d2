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
    // What a run gives only when asked for, so that a plain match's document stays as it was.
    if (Settings.MoveLimitMs != DefaultMoveLimitMs) Config["move_limit_ms"] = Settings.MoveLimitMs;
    if (!Settings.Openings.Empty()) Config["openings"] = OpeningBookToJson(Settings.Openings);
    return {{"format", "velkaran-match"}, {"version", 1}, {"config", Config}};
}

nlohmann::json MatchDocumentTail(bool Complete) { return {{"complete", Complete}}; }

}  // namespace velkaran
