// What velkaran-tournament was asked to do, read from its arguments.
#pragma once

#include "stats/sprt_settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace velkaran {

// Exit statuses of velkaran-tournament.
inline constexpr int ExitTournamentPlayed = 0;  // the tournament was played to its end (or the plan written)
inline constexpr int ExitTournamentOutputFailed = 1;   // stdout or a file could not be written; out of memory
inline constexpr int ExitTournamentHostFailed = 1;     // the host itself failed: e.g. no worker started
inline constexpr int ExitTournamentBadArguments = 2;   // bad arguments, unusable bots, a file refused
inline constexpr int ExitTournamentPartial = 3;        // --merge: shards are missing, incomplete or refused
inline constexpr int ExitTournamentInterrupted = 130;  // stopped by SIGINT, SIGTERM or SIGHUP before its end

enum class TTournamentAction {
    Play,        // play the tournament here
    Plan,        // --plan FILE --shards S: write the plan and play nothing
    ShardCount,  // --shard-count --plan FILE: print the plan's number of shards
    RunShard,    // --run-shard I --plan FILE --out DIR
    Merge,       // --merge DIR --plan FILE
};

struct TTournamentCommand {
    TTournamentAction Action = TTournamentAction::Play;
    std::vector<std::string> Bots;  // library files; empty: every usable bot of the folder
    std::optional<std::string> Gauntlet;
    int64_t Pairs = 10;
    int Concurrency = 0;  // 0: the number of CPUs this process may use
    int32_t TurnLimit = 200;
    int32_t MoveLimitMs = 20000;
    std::optional<std::string> Openings;     // --openings: "random:K" or a book file
    uint64_t Seed = 1;                       // --seed, for random:K
    std::optional<std::string> OpeningsOut;  // --openings-out: the positions played, as a book
    std::optional<TSprtSettings> Sprt;
    std::optional<std::string> JsonPath;
    std::optional<std::string> ResumePath;
    bool Force = false;  // --json may write over an existing file
    std::string BotOutputFolder;
    long long BotMemoryMb = 0;
    bool Sandbox = false;
    bool SandboxStrict = false;      // --sandbox=strict
    std::string SandboxUser;         // --sandbox-user
    double LoadTimeoutSeconds = 30;  // how long a library may take to load in its worker
    // Shards of a plan.
    std::string PlanPath;
    int64_t Shards = 0;
    int64_t Shard = -1;
    std::string Folder;  // --out DIR of a shard, or --merge DIR
};

// Reads the arguments: the command, or the exit status when the run ends here (after --help or
// --version, or after a message on stderr saying what is wrong).
std::variant<TTournamentCommand, int> ParseTournamentCommand(int Argc, const char *const *Argv);

}  // namespace velkaran
