// The head and tail of a tournament's document, and reading one back in two passes: first what
// surrounds the games (to know the schedule), then the games one by one.
#include "tournament_document.h"

#include "records/record_journal.h"
#include "records/record_json.h"
#include "records/record_replay.h"

namespace velkaran {

nlohmann::json TournamentDocumentHead(const TTournamentConfig &Config) {
    return {{"format", TournamentFormat},
            {"version", TournamentDocumentVersion},
            {"config", ConfigToJson(Config)}};
}

nlohmann::json TournamentDocumentTail(const TTournamentResults &Results, bool Complete) {
    return {{"move_times", Results.MoveTimesToJson()},
            {"thinking_time", ThinkingTimeToJson(Results)},
            {"statistics", StatisticsToJson(ComputeStatistics(Results), Results)},
            {"complete", Complete}};
}

std::optional<TSavedTournament> ReadTournament(const std::string &Path,
                                               const std::function<void(const TGameRecord &)> &OnRecord,
                                               std::string &Error) {
    nlohmann::json Rest;
    const auto Skip = [](const nlohmann::json &, std::string &) { return true; };
    if (!ReadDocument(Path, Rest, Skip, Error)) return std::nullopt;
    const auto Refuse = [&Error, &Path](const std::string &Why) {
        Error = Path + " " + Why;
        return std::nullopt;
    };
    if (!Rest.contains("format") || Rest["format"] != TournamentFormat) {
        if (Rest.contains("format") && Rest["format"].is_string())
            return Refuse("is not a tournament of velkaran-tournament: it was written by " +
                          Rest["format"].get<std::string>());
        return Refuse("is not a tournament of velkaran-tournament");
    }
    if (!Rest.contains("version") || Rest["version"] != TournamentDocumentVersion)
        return Refuse("was written by another version of velkaran-tournament");
    if (!Rest.contains("config")) return Refuse("has no configuration");
    std::string Why;
    const std::optional<TTournamentConfig> Config = ConfigFromJson(Rest["config"], Why);
    if (!Config) return Refuse("cannot be resumed: " + Why);

    TSavedTournament Saved;
    Saved.Results = std::make_unique<TTournamentResults>(*Config);
    const auto Count = [&Saved, &OnRecord](const nlohmann::json &Json, std::string &Problem) {
        const std::optional<TGameRecord> Record = RecordFromJson(Json, Problem);
        if (!Record) return false;
        if (std::string Replay = CheckReplay(*Record); !Replay.empty()) {
            Problem = "game " + std::to_string(Record->Place.Number) + " does not replay: " + Replay;
            return false;
        }
        if (!Saved.Results->Add(*Record, Problem)) return false;
        OnRecord(*Record);
        return true;
    };
    if (!ReadDocument(Path, Rest, Count, Why)) return Refuse("cannot be resumed: " + Why);
    if (!Rest.contains("move_times") || !Saved.Results->AddSavedMoveTimes(Rest["move_times"], Why))
        return Refuse("cannot be resumed: " +
                      (Why.empty() ? std::string("the thinking times are missing") : Why));
    Saved.Complete = Rest.contains("complete") && Rest["complete"] == true;
    return Saved;
}

}  // namespace velkaran
