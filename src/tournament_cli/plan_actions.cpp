// Plans, shards and merging.
#include "plan_actions.h"

#include "tournament_bots.h"
#include "tournament_session.h"

#include "records/atomic_file.h"
#include "records/record_journal.h"
#include "records/record_json.h"
#include "records/record_replay.h"
#include "tournament/tournament_plan.h"
#include "tournament/tournament_report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velkaran {
namespace {

void Complain(const std::string &Message) {
    std::fprintf(stderr, "velkaran-tournament: %s\n", Message.c_str());
}

// Text into Path through a temporary file and a rename; false after a message.
bool WriteAtomically(const std::string &Path, const std::string &Text) {
    std::string Error;
    if (WriteFileAtomically(
            Path, [&Text](int Fd) { return WriteAll(Fd, Text.data(), Text.size()); }, Error))
        return true;
    Complain(Error);
    return false;
}

// The plan at Path, with its fingerprint; nothing after a message.
std::optional<TTournamentPlan> ReadPlan(const std::string &Path, std::string *Fingerprint = nullptr) {
    std::ifstream In(Path, std::ios::binary);
    if (!In) {
        Complain("cannot read the plan " + Path + ": " + std::strerror(errno));
        return std::nullopt;
    }
    std::string Error;
    std::optional<TTournamentPlan> Plan;
    try {
        Plan = PlanFromJson(nlohmann::json::parse(In), Error);
    } catch (const nlohmann::json::exception &Bad) {
        Error = std::string("it is not readable JSON: ") + Bad.what();
    }
    if (!Plan) {
        Complain("cannot use the plan " + Path + ": " + Error);
        return std::nullopt;
    }
    if (Fingerprint != nullptr) *Fingerprint = FileFingerprint(Path);
    return Plan;
}

std::string ShardPath(const std::string &Folder, int64_t Shard) {
    return (std::filesystem::path(Folder) / ("shard-" + std::to_string(Shard) + ".json")).string();
}

// What a shard file holds, checked: its games all of that shard, from their pairs' start
// positions, replayed, none twice.
struct TShardFile {
    bool Complete = false;
    nlohmann::json MoveTimes;
};

std::optional<TShardFile> CheckShard(const TTournamentPlan &Plan, const std::string &PlanFingerprint,
                                     int64_t Shard, const std::string &Path, std::string &Error) {
    const TShardGames Games = ShardGames(Plan, Shard);
    std::vector<bool> Seen(static_cast<std::size_t>(Games.End - Games.First), false);
    const TSchedule Schedule(Plan.Config);
    nlohmann::json Rest;
    const auto Check = [&](const nlohmann::json &Json, std::string &Why) {
        const std::optional<TGameRecord> Record = RecordFromJson(Json, Why);
        if (!Record) return false;
        const int64_t Index =
            Schedule.IndexOf(Record->Place.Encounter, Record->Place.Pair, Record->Place.Leg);
        if (Index < Games.First || Index >= Games.End ||
            Seen[static_cast<std::size_t>(Index - Games.First)]) {
            Why = "game " + std::to_string(Record->Place.Number) + " does not belong there";
            return false;
        }
        Seen[static_cast<std::size_t>(Index - Games.First)] = true;
        if (!(Record->Start == PairStart(Plan.Config.Openings, Record->Place.Pair))) {
            Why = "game " + std::to_string(Record->Place.Number) +
                  " did not start from its pair's start position";
            return false;
        }
        if (std::string Replay = CheckReplay(*Record); !Replay.empty()) {
            Why = "game " + std::to_string(Record->Place.Number) + " does not replay: " + Replay;
            return false;
        }
        return true;
    };
    if (!ReadDocument(Path, Rest, Check, Error)) return std::nullopt;
    if (Rest.value("format", "") != ShardFormat || Rest.value("shard", int64_t{-1}) != Shard) {
        Error = "it is not the result of shard " + std::to_string(Shard);
        return std::nullopt;
    }
    if (Rest.value("plan", "") != PlanFingerprint) {
        Error = "it was played from another plan";
        return std::nullopt;
    }
    return TShardFile{Rest.value("complete", false), Rest.value("move_times", nlohmann::json())};
}

// Plays the shard of Command into Command.Folder, from the bots' folder.
int PlayShard(const TTournamentPlan &Plan, const std::string &Fingerprint, const TTournamentCommand &Command,
              const TWorkerPoolSettings &Workers) {
    std::error_code Made;
    std::filesystem::create_directories(Command.Folder, Made);
    std::string Error;
    auto Journal = TRecordJournal::Open(Command.Folder, Error);
    if (!Journal) {
        Complain(Error);
        return ExitTournamentBadArguments;
    }
    TTournamentSession::TDocument Document;
    Document.Path = ShardPath(Command.Folder, Command.Shard);
    Document.Head = {{"format", ShardFormat},
                     {"version", 1},
                     {"shard", Command.Shard},
                     {"plan", Fingerprint},
                     {"config", ConfigToJson(Plan.Config)}};
    Document.Tail = [](const TTournamentResults &Results, bool Complete) {
        return TournamentDocumentTail(Results, Complete);
    };
    TTournamentSession Session(std::make_unique<TTournamentResults>(Plan.Config), std::move(Journal),
                               std::move(Document));
    const TShardGames Games = ShardGames(Plan, Command.Shard);
    TTournamentRunner Runner(Plan.Config, TRunnerSettings{Command.Concurrency, ".", Workers, true});
    const bool Interrupted = Session.Play(
        Runner, [Games](int64_t Index) { return Index < Games.First || Index >= Games.End; }, false);
    if (!Session.Save(!Interrupted, Error)) {
        Complain(Error);
        return Interrupted ? ExitTournamentInterrupted : ExitTournamentOutputFailed;
    }
    std::printf("Shard %lld: %lld games played, written to %s\n", static_cast<long long>(Command.Shard),
                static_cast<long long>(Session.Results().GamesDone()),
                ShardPath(Command.Folder, Command.Shard).c_str());
    return Interrupted ? ExitTournamentInterrupted : ExitTournamentPlayed;
}

}  // namespace

int WritePlan(const TTournamentCommand &Command) {
    const TWorkerPoolSettings Workers = TournamentWorkers(
        Command.BotMemoryMb, Command.Sandbox, Command.BotOutputFolder, Command.LoadTimeoutSeconds);
    const TProbingWatch Watch(*Workers.Run);
    TBotWorkerPool Probing(Workers);
    const std::optional<TTournamentConfig> Config = NewTournamentConfig(Command, Probing);
    if (!Config) return ExitTournamentBadArguments;
    const TTournamentPlan Plan{*Config, Command.Shards, Command.BotMemoryMb, Command.Sandbox,
                               std::filesystem::current_path().string()};
    if (const std::string Problem = PlanProblem(Plan); !Problem.empty()) {
        Complain(Problem);
        return ExitTournamentBadArguments;
    }
    if (!WriteAtomically(Command.PlanPath, PlanToJson(Plan).dump(2) + "\n"))
        return ExitTournamentOutputFailed;
    std::printf("Plan: %lld games of %zu bots in %lld shards, written to %s\n",
                static_cast<long long>(TSchedule(Plan.Config).Games()), Plan.Config.Bots.size(),
                static_cast<long long>(Plan.Shards), Command.PlanPath.c_str());
    return ExitTournamentPlayed;
}

int PrintShardCount(const TTournamentCommand &Command) {
    const std::optional<TTournamentPlan> Plan = ReadPlan(Command.PlanPath);
    if (!Plan) return ExitTournamentBadArguments;
    std::printf("%lld\n", static_cast<long long>(Plan->Shards));
    return ExitTournamentPlayed;
}

int RunShard(const TTournamentCommand &Command) {
    std::string Fingerprint;
    const std::optional<TTournamentPlan> Plan = ReadPlan(Command.PlanPath, &Fingerprint);
    if (!Plan) return ExitTournamentBadArguments;
    if (Command.Shard >= Plan->Shards) {
        Complain("the plan has shards 0 to " + std::to_string(Plan->Shards - 1) + ", not " +
                 std::to_string(Command.Shard));
        return ExitTournamentBadArguments;
    }
    // The shard plays in the bots' folder of the plan, wherever it was started from.
    const std::string OutFolder = std::filesystem::absolute(Command.Folder).string();
    std::error_code Moved;
    std::filesystem::current_path(Plan->Folder, Moved);
    if (Moved) {
        Complain("cannot play shard " + std::to_string(Command.Shard) + ": the plan's folder " +
                 Plan->Folder + " is not here (" + Moved.message() + ")");
        return ExitTournamentBadArguments;
    }
    // The libraries are pinned as checked: the shard plays the content the plan was made with.
    const TWorkerPoolSettings Workers = TournamentWorkers(
        Plan->BotMemoryMb, Plan->Sandbox, Command.BotOutputFolder, Command.LoadTimeoutSeconds);
    if (const std::string Changed = ChangedLibraries(Plan->Config, ".", *Workers.Run); !Changed.empty()) {
        Complain("cannot play shard " + std::to_string(Command.Shard) + ": " + Changed);
        return ExitTournamentBadArguments;
    }
    TTournamentCommand Shard = Command;
    Shard.Folder = OutFolder;
    return PlayShard(*Plan, Fingerprint, Shard, Workers);
}

int MergeShards(const TTournamentCommand &Command) {
    std::string Fingerprint;
    const std::optional<TTournamentPlan> Plan = ReadPlan(Command.PlanPath, &Fingerprint);
    if (!Plan) return ExitTournamentBadArguments;
    std::unique_ptr<TRecordJournal> Journal;
    std::string Error;
    if (Command.JsonPath && !(Journal = TRecordJournal::Open(
                                  std::filesystem::path(*Command.JsonPath).parent_path().string(), Error))) {
        Complain(Error);
        return ExitTournamentBadArguments;
    }
    auto Results = std::make_unique<TTournamentResults>(Plan->Config);
    std::vector<std::string> Failed;
    for (int64_t Shard = 0; Shard < Plan->Shards; ++Shard) {
        const std::string Path = ShardPath(Command.Folder, Shard);
        if (!std::filesystem::exists(Path)) {
            Failed.push_back("shard " + std::to_string(Shard) + ": missing");
            continue;
        }
        const std::optional<TShardFile> File = CheckShard(*Plan, Fingerprint, Shard, Path, Error);
        if (!File) {
            Failed.push_back("shard " + std::to_string(Shard) + ": " + Error);
            continue;
        }
        // Checked: now counted.
        nlohmann::json Rest;
        ReadDocument(
            Path, Rest,
            [&](const nlohmann::json &Json, std::string &Why) {
                const std::optional<TGameRecord> Record = RecordFromJson(Json, Why);
                if (Record && Results->Add(*Record, Why) && Journal) Journal->Append(*Record);
                return true;
            },
            Error);
        if (!Results->AddSavedMoveTimes(File->MoveTimes, Error))
            Failed.push_back("shard " + std::to_string(Shard) + ": " + Error);
        if (!File->Complete) Failed.push_back("shard " + std::to_string(Shard) + ": not played to its end");
    }
    for (const std::string &Line : Failed) Complain(Line);
    const bool Complete = Failed.empty();
    int Status = ExitTournamentPlayed;
    if (Journal && !Journal->WriteDocument(*Command.JsonPath, TournamentDocumentHead(Plan->Config),
                                           TournamentDocumentTail(*Results, Complete), Error)) {
        Complain(Error);
        Status = ExitTournamentOutputFailed;
    }
    if (!Complete)
        std::printf("Partial results: %zu of %lld shards are missing or failed (see above).\n\n",
                    Failed.size(), static_cast<long long>(Plan->Shards));
    for (const std::string &Line : ReportLines(ComputeStatistics(*Results), *Results))
        std::printf("%s\n", Line.c_str());
    return Status;
}

}  // namespace velkaran
