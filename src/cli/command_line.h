// What velkaran-match was asked to do, read from its arguments.
#pragma once

#include "match/match_runner.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace velkaran {

// Exit statuses of velkaran-match.
inline constexpr int ExitPlayed = 0;  // the match was played (or the list printed), whatever the outcome
// The text, the log or the JSON could not be written; out of memory.
inline constexpr int ExitOutputFailed = 1;
inline constexpr int ExitHostFailed = 1;      // the host itself failed: e.g. no worker could be started
inline constexpr int ExitBadArguments = 2;    // bad arguments, an unusable bot or path; no game was played
inline constexpr int ExitStoppedOnFault = 3;  // --stop-on-fault: a bot's call faulted
inline constexpr int ExitInterrupted = 130;   // Ctrl-C, SIGTERM or SIGHUP: the games finished were reported

// One run of velkaran-match: --list, --sandbox-check, --cards, or a match between FIRST and SECOND.
struct TCommandLine {
    bool List = false;
    bool SandboxCheck = false;     // --sandbox-check: say which sandbox layers work here
    bool Cards = false;            // --cards: print the card catalogue (as JSON with --json)
    std::optional<int32_t> Games;  // set by --games: a series of N + N games; else one game
    int32_t TurnLimit = DefaultTurnLimit;
    int32_t MoveLimitMs = DefaultMoveLimitMs;  // a slower move loses by the time limit
    std::optional<std::string> Openings;       // --openings: "random:K" or a book file
    uint64_t Seed = 1;                         // --seed, for random:K
    std::optional<std::string> OpeningsOut;    // --openings-out: the positions, as a book
    std::optional<std::string> LogPath;
    std::optional<std::string> JsonPath;  // --json: every game record in a JSON document; with
                                          // --cards, empty for stdout
    bool InProcess = false;               // load the bots into this process instead of workers
    bool StopOnFault = false;             // end the run at the first fault of a bot's call
    std::string BotOutputFolder;          // empty: bots' output to stderr, each line after the file name
    long long BotMemoryMb = 0;            // 0: no cap on a worker's address space
    bool Sandbox = false;                 // --sandbox: lock each worker down before its bot's code runs
    bool SandboxStrict = false;           // --sandbox=strict: and refuse to run without every layer
    std::string SandboxUser;              // --sandbox-user: the user bots run as when this runs as root
    double LoadTimeoutSeconds = 30;       // how long a library may take to load in its worker
    std::string First;
    std::string Second;
};

// Reads the arguments. Returns the command line, or the exit status when the run ends here:
// ExitPlayed after --help or --version (printed on stdout), ExitBadArguments after a message
// on stderr that says what is wrong.
std::variant<TCommandLine, int> ParseCommandLine(int Argc, const char *const *Argv);

}  // namespace velkaran
