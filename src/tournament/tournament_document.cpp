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

bool CountSavedGame(TTournamentResults &Results, const TGameRecord &Record, std::string &Problem) {
    const auto Game = [&Record] { return "game " + std::to_string(Record.Place.Number); };
    const TTournamentConfig &Config = Results.Config();
    if (std::string Replay = CheckReplay(Record, Config.MoveLimitMs); !Replay.empty()) {
        Problem = Game() + " does not replay: " + Replay;
        return false;
    }
    if (Record.Options != GameOptions(Config)) {
        Problem = Game() + " was played with other options than the tournament's";
        return false;
    }
    const TGamePlace &Place = Record.Place;
    const int64_t Index = Results.Schedule().IndexOf(Place.Encounter, Place.Pair, Place.Leg);
    if (Index >= 0) {
        if (Place.Number != Index + 1) {
            Problem = Game() + " stands where game " + std::to_string(Index + 1) + " belongs";
            return false;
        }
        const TScheduledGame Scheduled = Results.Schedule().Game(Index);
        const int32_t Seated[2] = {Scheduled.First, Scheduled.Second};
        for (std::size_t Seat = 0; Seat < 2; ++Seat) {
            const TTournamentBot &Bot = Config.Bots[static_cast<std::size_t>(Seated[Seat])];
            if (Record.Seats[Seat].File != Bot.File || Record.Seats[Seat].Name != Bot.Name) {
                Problem = Game() + " was played by " + Record.Seats[Seat].Name + " (" +
                          Record.Seats[Seat].File + ") where the tournament has " + Bot.Name + " (" +
                          Bot.File + ")";
                return false;
            }
        }
    }
    return Results.Add(Record, Problem);
}

std::optional<TSavedTournament> ReadTournament(const std::string &Path,
                                               const std::function<void(const TGameRecord &)> &OnRecord,
                                               std::string &Error, const TReadInterrupted &Interrupted) {
    nlohmann::json Rest;
    if (!ReadDocumentHead(Path, Rest, Error, {"format", "version", "config"})) return std::nullopt;
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
    bool Stopped = false;
    int64_t Read = 0;
    const auto Count = [&](TGameRecord &Record, std::string &Problem) {
        if (++Read % 256 == 0 && Interrupted && Interrupted()) {
            Stopped = true;
            return false;
        }
        if (!CountSavedGame(*Saved.Results, Record, Problem)) return false;
        OnRecord(Record);
        return true;
    };
    const bool Whole = ReadRecords(Path, Rest, Count, Why);
    if (Stopped) {
        Error.clear();
        return std::nullopt;
    }
    if (!Whole) return Refuse("cannot be resumed: " + Why);
    if (!Rest.contains("move_times") || !Saved.Results->AddSavedMoveTimes(Rest["move_times"], Why))
        return Refuse("cannot be resumed: " +
                      (Why.empty() ? std::string("the thinking times are missing") : Why));
    Saved.Complete = Rest.contains("complete") && Rest["complete"] == true;
    return Saved;
}

}  // namespace velkaran
