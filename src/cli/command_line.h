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
inline constexpr int ExitOutputFailed = 1;  // the text could not be written, or the log not saved
inline constexpr int ExitBadArguments = 2;  // bad arguments or an unusable bot; no game was played
inline constexpr int ExitBotCrashed = 3;    // a bot crashed, threw or hung inside one of its calls


// Seconds a single bot call may run before the program gives up on the bot as hung.
inline constexpr int32_t MinHangLimit = 1;
inline constexpr int32_t MaxHangLimit = 86400;
inline constexpr int32_t DefaultHangLimit = 60;

// One run of velkaran-match: either --list, or a match between FIRST and SECOND.
struct TCommandLine {
    bool List = false;
    std::optional<int32_t> Games;  // set by --games: a series of N + N games; else one game
    int32_t TurnLimit = DefaultTurnLimit;
    int32_t HangLimit = DefaultHangLimit;  // seconds
    std::optional<std::string> LogPath;
    std::string First;
    std::string Second;
};

// Reads the arguments. Returns the command line, or the exit status when the run ends here:
// ExitPlayed after --help or --version (printed on stdout), ExitBadArguments after a message
// on stderr that says what is wrong.
std::variant<TCommandLine, int> ParseCommandLine(int Argc, const char *const *Argv);

}  // namespace velkaran
