// Plans, shards and merging.
#include "plan_actions.h"

#include "output_files.h"
#include "termination_signals.h"
#include "tournament_bots.h"
#include "tournament_session.h"

#include "records/atomic_file.h"
#include "records/record_journal.h"
#include "tournament/tournament_plan.h"
#include "tournament/tournament_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace velkaran {
namespace {

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
    std::error_code Failure;
    if (std::filesystem::is_directory(Path, Failure)) {
        Complain("cannot read the plan " + Path + ": it is a folder");
        return std::nullopt;
    }
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

// Text as one word of a shell command line.
std::string ShellWord(const std::string &Text) {
    if (!Text.empty() &&
        Text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                               "-_./=:,+@%") == std::string::npos)
        return Text;
    std::string Quoted = "'";
    for (const char Character : Text)
        Quoted += Character == '\'' ? std::string("'\\''") : std::string(1, Character);
    return Quoted + "'";
}

// A shard's file checked through: what it says of itself, and every game of it, each in the
// shard's range, replayed and counted once, into a count of its own.
struct TShardCheck {
    int64_t Games = 0;     // the games it holds
    int64_t Expected = 0;  // the games of the shard
    nlohmann::json MoveTimes;
};

std::optional<TShardCheck> CheckShard(const TTournamentPlan &Plan, const std::string &PlanFingerprint,
                                      int64_t Shard, std::istream &In, const std::string &Path,
                                      std::string &Error) {
    nlohmann::json Head;
    if (!ReadDocumentHead(Path, Head, Error, {"format", "shard", "plan"})) return std::nullopt;
    if (Head.value("format", "") != ShardFormat || Head.value("shard", int64_t{-1}) != Shard) {
        Error = "it is not the result of shard " + std::to_string(Shard);
        return std::nullopt;
    }
    if (Head.value("plan", "") != PlanFingerprint) {
        Error = "it was played from another plan";
        return std::nullopt;
    }
    const TShardGames Games = ShardGames(Plan, Shard);
    TTournamentResults Count(Plan.Config);
    nlohmann::json Rest;
    int64_t Read = 0;
    const auto Check = [&](TGameRecord &Record, std::string &Why) {
        if (++Read % 256 == 0 && TerminationPending()) return false;  // Ctrl-C: the caller stops
        if (!CountSavedGame(Count, Record, Why)) return false;
        const int64_t Index =
            Count.Schedule().IndexOf(Record.Place.Encounter, Record.Place.Pair, Record.Place.Leg);
        if (Index < Games.First || Index >= Games.End) {
            Why = "game " + std::to_string(Record.Place.Number) + " is not a game of this shard";
            return false;
        }
        return true;
    };
    if (!ReadRecords(In, Path, Rest, Check, Error)) return std::nullopt;
    TShardCheck Checked{Count.GamesDone(), Games.End - Games.First,
                        Rest.value("move_times", nlohmann::json())};
    if (!Count.AddSavedMoveTimes(Checked.MoveTimes, Error)) return std::nullopt;
    return Checked;
}

// Plays the shard of Command into Command.Folder, from the bots' folder.
int PlayShard(const TTournamentPlan &Plan, const std::string &Fingerprint, const TTournamentCommand &Command,
              const TWorkerPoolSettings &Workers) {
    std::error_code Made;
    std::filesystem::create_directories(Command.Folder, Made);
    const std::string Path = ShardPath(Command.Folder, Command.Shard);
    if (!CheckDocumentToUpdate(Path)) return ExitTournamentBadArguments;
    std::string Error;
    auto Journal = TRecordJournal::Open(Command.Folder, Error);
    if (!Journal) {
        Complain(Error);
        return ExitTournamentBadArguments;
    }
    TTournamentSession::TDocument Document;
    Document.Path = Path;
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
    Session.Play(Runner, Games.First, Games.End, false);
    const bool Complete =
        Session.Results().DoneGames().CountIn(Games.First, Games.End) == Games.End - Games.First;
    int Status = Complete ? ExitTournamentPlayed : ExitTournamentInterrupted;
    if (const std::string Failure = Runner.Failure(); !Failure.empty()) {
        Complain("shard " + std::to_string(Command.Shard) + " could not go on: " + Failure);
        Status = ExitTournamentOutputFailed;
    }
    if (!Session.Save(Complete, Error)) {
        Complain(Error);
        return ExitTournamentOutputFailed;
    }
    for (const std::string &Line : Session.ProblemLines()) Complain(Line);
    std::printf("Shard %lld: %lld of %lld games played, written to %s\n",
                static_cast<long long>(Command.Shard), static_cast<long long>(Session.Results().GamesDone()),
                static_cast<long long>(Games.End - Games.First), Path.c_str());
    if (!StdoutWritten() && Status == ExitTournamentPlayed) Status = ExitTournamentOutputFailed;
    return Status;
}

}  // namespace

int WritePlan(const TTournamentCommand &Command) {
    if (const std::string Problem = UnwritablePath(Command.PlanPath); !Problem.empty()) {
        Complain("--plan: " + Problem);
        return ExitTournamentBadArguments;
    }
    RemoveLeftoverTemporaries(Command.PlanPath);
    const TTournamentSandbox Sandbox{Command.Sandbox, Command.SandboxStrict, Command.SandboxUser};
    if (!SandboxMayStart(Sandbox)) return ExitTournamentBadArguments;
    const TWorkerPoolSettings Workers =
        TournamentWorkers(Command.BotMemoryMb, Sandbox, Command.BotOutputFolder, Command.LoadTimeoutSeconds);
    const TProbingWatch Watch(*Workers.Run);
    TBotWorkerPool Probing(Workers);
    const std::optional<TTournamentConfig> Config = NewTournamentConfig(Command, Probing);
    if (!Config) return ExitTournamentBadArguments;
    TTournamentPlan Plan{*Config, Command.Shards, Command.BotMemoryMb, Command.Sandbox,
                         std::filesystem::current_path().string()};
    Plan.SandboxStrict = Command.SandboxStrict;
    if (const std::string Problem = PlanProblem(Plan); !Problem.empty()) {
        Complain(Problem);
        return ExitTournamentBadArguments;
    }
    if (!WriteAtomically(Command.PlanPath, PlanToJson(Plan).dump(2) + "\n"))
        return ExitTournamentOutputFailed;
    std::printf("Plan: %lld games of %zu bots in %lld shards, written to %s\n",
                static_cast<long long>(TSchedule(Plan.Config).Games()), Plan.Config.Bots.size(),
                static_cast<long long>(Plan.Shards), Command.PlanPath.c_str());
    return StdoutWritten() ? ExitTournamentPlayed : ExitTournamentOutputFailed;
}

int PrintShardCount(const TTournamentCommand &Command) {
    const std::optional<TTournamentPlan> Plan = ReadPlan(Command.PlanPath);
    if (!Plan) return ExitTournamentBadArguments;
    std::printf("%lld\n", static_cast<long long>(Plan->Shards));
    return StdoutWritten() ? ExitTournamentPlayed : ExitTournamentOutputFailed;
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
    const TTournamentSandbox Sandbox{Plan->Sandbox, Plan->SandboxStrict, Command.SandboxUser};
    if (!SandboxMayStart(Sandbox)) return ExitTournamentBadArguments;
    const TWorkerPoolSettings Workers =
        TournamentWorkers(Plan->BotMemoryMb, Sandbox, Command.BotOutputFolder, Command.LoadTimeoutSeconds);
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
    if (Command.JsonPath) {
        if (!CheckNewDocument(*Command.JsonPath, Command.Force)) return ExitTournamentBadArguments;
        Journal =
            TRecordJournal::Open(std::filesystem::path(*Command.JsonPath).parent_path().string(), Error);
        if (!Journal) {
            Complain(Error);
            return ExitTournamentBadArguments;
        }
    }
    auto Results = std::make_unique<TTournamentResults>(Plan->Config);
    std::vector<int64_t> Rerun;  // the shards to play again
    for (int64_t Shard = 0; Shard < Plan->Shards; ++Shard) {
        if (TerminationPending()) {
            Complain("stopped while merging; nothing was written");
            return ExitTournamentInterrupted;
        }
        const std::string Path = ShardPath(Command.Folder, Shard);
        const std::string Name = "shard " + std::to_string(Shard);
        std::error_code Failure;
        if (!std::filesystem::exists(Path, Failure)) {
            Complain(Name + ": missing (" + Path + ")");
            Rerun.push_back(Shard);
            continue;
        }
        // Checked whole first, then counted: a file refused counts nothing. Both readings go
        // through one open file, so that a shard written anew meanwhile cannot slip in between.
        std::ifstream In(Path, std::ios::binary);
        const std::optional<TShardCheck> Checked = CheckShard(*Plan, Fingerprint, Shard, In, Path, Error);
        if (TerminationPending()) {
            Complain("stopped while merging; nothing was written");
            return ExitTournamentInterrupted;
        }
        if (!Checked) {
            Complain(Name + ": refused, " + Error);
            Rerun.push_back(Shard);
            continue;
        }
        In.clear();
        In.seekg(0);
        nlohmann::json Rest;
        int64_t Read = 0;
        const auto Count = [&](TGameRecord &Record, std::string &Why) {
            if (++Read % 256 == 0 && TerminationPending()) return false;
            if (!CountSavedGame(*Results, Record, Why)) return false;
            if (!Journal || Journal->Append(Record)) return true;
            Why = "cannot keep the game records on disk";
            return false;
        };
        const bool Counted = ReadRecords(In, Path, Rest, Count, Error);
        if (TerminationPending()) {
            Complain("stopped while merging; nothing was written");
            return ExitTournamentInterrupted;
        }
        if (!Counted || !Results->AddSavedMoveTimes(Checked->MoveTimes, Error)) {
            Complain(Name + ": " + Error + "; the merge was given up");
            return ExitTournamentBadArguments;
        }
        if (Checked->Games < Checked->Expected) {
            Complain(Name + ": " + std::to_string(Checked->Games) + " of its " +
                     std::to_string(Checked->Expected) + " games were played");
            Rerun.push_back(Shard);
        }
    }
    const bool Complete = Rerun.empty();
    int Status = Complete ? ExitTournamentPlayed : ExitTournamentPartial;
    if (Journal && !Journal->WriteDocument(*Command.JsonPath, TournamentDocumentHead(Plan->Config),
                                           TournamentDocumentTail(*Results, Complete), Error)) {
        Complain(Error);
        Status = ExitTournamentOutputFailed;
    }
    if (!Complete) {
        Complain("the results are partial: " + std::to_string(Rerun.size()) + " of " +
                 std::to_string(Plan->Shards) +
                 " shards are missing, incomplete or refused. To complete them:");
        for (const int64_t Shard : Rerun)
            std::fprintf(stderr, "  velkaran-tournament --run-shard %lld --plan %s --out %s\n",
                         static_cast<long long>(Shard), ShellWord(Command.PlanPath).c_str(),
                         ShellWord(Command.Folder).c_str());
        std::fprintf(stderr, "and merge again.\n");
        std::printf(
            "Partial results: %zu of %lld shards are missing, incomplete or refused (see stderr).\n\n",
            Rerun.size(), static_cast<long long>(Plan->Shards));
    }
    for (const std::string &Line : ReportLines(ComputeStatistics(*Results), *Results))
        std::printf("%s\n", Line.c_str());
    if (!StdoutWritten() && Status != ExitTournamentOutputFailed) Status = ExitTournamentOutputFailed;
    return Status;
}

}  // namespace velkaran
