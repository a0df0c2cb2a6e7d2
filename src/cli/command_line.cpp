// The arguments of velkaran-match, read with CLI11 and checked.
#include "command_line.h"

#include "match/version.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace velkaran {
namespace {

constexpr char Description[] =
    "Plays Velkaran bots against each other without a display and prints the result text.\n"
    "FIRST and SECOND name bot libraries: a path with a '/' is used as it is, a bare file name\n"
    "means that file in the current directory.";

constexpr char Footer[] =
    "Without --games one game is played, FIRST moving first. With --games N, N games are played\n"
    "and then N more with the seats exchanged; N may be 0 or negative. stdout carries only the\n"
    "result text: whatever a bot prints goes to stderr.\n"
    "\n"
    "Exit status: 0 the match was played, whatever its outcome; 1 the text or the log could not be\n"
    "written; 2 bad arguments or an unusable bot; 3 a bot crashed inside one of its calls, or did\n"
    "not return from one within the hang limit.";

int Complain(const std::string &Message) {
    std::cerr << "velkaran-match: " << Message << "\nRun with --help for more information.\n";
    return ExitBadArguments;
}

}  // namespace

std::variant<TCommandLine, int> ParseCommandLine(int Argc, const char *const *Argv) {
    TCommandLine Command;
    CLI::App App{Description, "velkaran-match"};
    App.footer(Footer);
    App.set_version_flag("--version", VersionLine, "Print the version line and exit");
    int32_t Games = 0;
    CLI::Option *GamesOption =
        App.add_option("--games", Games, "Play a series of N + N games instead of one game")->type_name("N");
    CLI::Option *TurnLimitOption =
        App.add_option("--turn-limit", Command.TurnLimit,
                       "Rounds after which a game is a draw, 30 to 50000 (default 200)")
            ->type_name("L");
    App.add_option("--hang-limit", Command.HangLimit,
                   "Seconds after which a bot that has not returned from a call ends the run with "
                   "status 3, 1 to 86400 (default 60)")
        ->type_name("SECONDS");
    std::string LogPath;
    CLI::Option *LogOption =
        App.add_option("--log", LogPath, "Also save the result text to FILE (Windows-1251, CR LF)")
            ->type_name("FILE");
    App.add_flag("--list", Command.List, "List the bots of the current directory and exit");
    CLI::Option *FirstOption =
        App.add_option("FIRST", Command.First, "The first player's bot library")->type_name("");
    CLI::Option *SecondOption =
        App.add_option("SECOND", Command.Second, "The second player's bot library")->type_name("");

    try {
        App.parse(Argc, Argv);
    } catch (const CLI::ParseError &Error) {
        std::ostringstream Out, Err;
        const int Status = App.exit(Error, Out, Err);
        std::cout << Out.str() << std::flush;
        if (Status == 0) return ExitPlayed;
        std::string Message = Err.str();
        const std::string Hint = "Run with --help for more information.\n";
        if (Message.ends_with(Hint)) Message.erase(Message.size() - Hint.size());
        while (!Message.empty() && Message.back() == '\n') Message.pop_back();
        return Complain(Message);
    }

    // Loading the bots is watched too, so the limit goes with --list as well.
    if (Command.HangLimit < MinHangLimit || Command.HangLimit > MaxHangLimit) {
        return Complain("--hang-limit must be between " + std::to_string(MinHangLimit) + " and " +
                        std::to_string(MaxHangLimit) + " seconds, not " + std::to_string(Command.HangLimit));
    }
    if (Command.List) {
        for (const CLI::Option *Other : {GamesOption, TurnLimitOption, LogOption, FirstOption})
            if (*Other) return Complain("--list takes no other options and no bots");
        return Command;
    }
    if (!*SecondOption) return Complain("two bots are needed: velkaran-match [OPTIONS] FIRST SECOND");
    if (Command.TurnLimit < MinTurnLimit || Command.TurnLimit > MaxTurnLimit) {
        return Complain("--turn-limit must be between " + std::to_string(MinTurnLimit) + " and " +
                        std::to_string(MaxTurnLimit) + ", not " + std::to_string(Command.TurnLimit));
    }
    if (*GamesOption) Command.Games = Games;
    if (*LogOption) Command.LogPath = LogPath;
    return Command;
}

}  // namespace velkaran
