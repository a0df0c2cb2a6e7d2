// The arguments of velkaran-match, read with CLI11 and checked.
#include "command_line.h"

#include "match/version.h"
#include "records/opening_book.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

namespace velkaran {
namespace {

constexpr char Description[] =
    "Plays Velkaran bots against each other without a display and prints the result text.\n"
    "FIRST and SECOND name bots: libraries NAME.so, or manifests NAME.bot of bots that are programs\n"
    "(see the bot guide); a path with a '/' is used as it is, a bare file name means that file in\n"
    "the current directory.";

constexpr char Footer[] =
    "Without --games one game is played, FIRST moving first. With --games N, N games are played\n"
    "and then N more with the seats exchanged; N may be 0 or negative. With --openings, game P of\n"
    "each half starts from start position P mod K of the K positions (a book file, or random:K made\n"
    "from --seed S, default 1), the first player taking the position's first side; a single game\n"
    "starts from the first position. stdout carries only the result text: whatever a bot prints\n"
    "goes to stderr, each line after the bot's file name.\n"
    "\n"
    "Each bot runs in a worker process of its own. A bot that crashes, exits, breaks the protocol\n"
    "or does not answer within the move limit and a grace (22 s for the usual 20 s) loses that game\n"
    "(by error, or by the time limit when a move hung) and the match goes on with a fresh worker;\n"
    "after the result text, stderr says which bot faulted, how often and where first.\n"
    "\n"
    "Ctrl-C (or SIGTERM, SIGHUP) stops the match: the game in play is abandoned, and the result text\n"
    "of the games finished (\"Серия остановлена после K из 2N игр\"), --json and --log are written; a\n"
    "second Ctrl-C ends the program at once.\n"
    "\n"
    "Exit status: 0 the match was played to its end, whatever the bots did; 1 the text, the log or the\n"
    "JSON document could not be written (standard output included), memory ran out, or the host itself\n"
    "failed (e.g. a worker could not be started); 2 bad arguments, an unusable bot, or a --log or --json\n"
    "path that cannot be written (no game is played then); 3 --stop-on-fault ended the run; 130\n"
    "stopped by a signal.";

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
    CLI::Option *MoveLimitOption =
        App.add_option(
               "--move-limit", Command.MoveLimitMs,
               "A move longer than MS milliseconds loses by the time limit, 1 to 3600000 (default 20000)")
            ->type_name("MS");
    std::string Openings, OpeningsOut;
    CLI::Option *OpeningsOption =
        App.add_option("--openings", Openings,
                       "Start each game pair from a start position: FILE (a JSON list of positions) or "
                       "random:K (K positions made from --seed)")
            ->type_name("FILE|random:K");
    CLI::Option *SeedOption =
        App.add_option("--seed", Command.Seed, "The seed of --openings random:K (default 1)")->type_name("S");
    CLI::Option *OpeningsOutOption =
        App.add_option("--openings-out", OpeningsOut, "Write the start positions of --openings to FILE")
            ->type_name("FILE");
    std::string LogPath;
    CLI::Option *LogOption =
        App.add_option("--log", LogPath, "Also save the result text to FILE (Windows-1251, CR LF)")
            ->type_name("FILE");
    std::string JsonPath;
    CLI::Option *JsonOption =
        App.add_option("--json", JsonPath,
                       "Also write every game's record to FILE (JSON); with --cards, print the cards as JSON")
            ->type_name("FILE")
            ->expected(0, 1);
    App.add_flag(
        "--list", Command.List,
        "List the libraries of the current directory, each with its bot's name or why it is unusable");
    App.add_flag(
        "--in-process", Command.InProcess,
        "Load the bots into this process (trusted bots, highest speed): a crashing bot ends the program");
    App.add_flag("--stop-on-fault", Command.StopOnFault,
                 "End the run with status 3 at the first fault of a bot's call, naming it");
    CLI::Option *OutputOption = App.add_option("--bot-output", Command.BotOutputFolder,
                                               "Write each bot's output to DIR/<file>.log instead of stderr")
                                    ->type_name("DIR");
    CLI::Option *MemoryOption = App.add_option("--bot-memory", Command.BotMemoryMb,
                                               "Cap each bot worker's address space at MB megabytes")
                                    ->type_name("MB");
    CLI::Option *LoadTimeoutOption =
        App.add_option("--load-timeout", Command.LoadTimeoutSeconds,
                       "Allow each bot library SECONDS to load and give its name (default 30)")
            ->type_name("SECONDS");
    std::string SandboxMode;
    CLI::Option *SandboxOption = App.add_flag(
        "--sandbox{on}", SandboxMode,
        "Lock each bot worker down before the bot's code runs: no network, no new processes, "
        "no files but its library and NAME.data folder (a program: its folder, program and interpreter); "
        "--sandbox=strict: only with every layer");
    CLI::Option *SandboxUserOption =
        App.add_option(
               "--sandbox-user", Command.SandboxUser,
               "When run as root: the user sandboxed bots run as (default: a user of each worker's own)")
            ->type_name("USER");
    App.add_flag("--sandbox-check", Command.SandboxCheck,
                 "Say which sandbox layers work on this machine and exit");
    App.add_flag("--cards", Command.Cards,
                 "Print the 50 cards (number, cost, name and effect in Russian and English) and exit");
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
        if (Status == 0) return std::cout ? ExitPlayed : ExitOutputFailed;
        std::string Message = Err.str();
        const std::string Hint = "Run with --help for more information.\n";
        if (Message.ends_with(Hint)) Message.erase(Message.size() - Hint.size());
        while (!Message.empty() && Message.back() == '\n') Message.pop_back();
        return Complain(Message);
    }

    if (SandboxMode != "" && SandboxMode != "on" && SandboxMode != "strict")
        return Complain("--sandbox takes no value but \"strict\" (--sandbox=strict)");
    Command.Sandbox = !SandboxMode.empty();
    Command.SandboxStrict = SandboxMode == "strict";
    if (*SandboxUserOption && !Command.Sandbox && !Command.SandboxCheck)
        return Complain("--sandbox-user goes with --sandbox");
    if (Command.Cards) {
        for (const CLI::Option *Other : {GamesOption, TurnLimitOption, MoveLimitOption, OpeningsOption,
                                         LogOption, FirstOption, SandboxOption})
            if (*Other || Command.List || Command.SandboxCheck)
                return Complain("--cards takes no other options but --json, and no bots");
        if (*JsonOption) Command.JsonPath = JsonPath;
        return Command;
    }
    if (*JsonOption && JsonPath.empty()) return Complain("--json needs a FILE (only --cards prints JSON)");
    if (Command.SandboxCheck) {
        for (const CLI::Option *Other : {GamesOption, TurnLimitOption, MoveLimitOption, OpeningsOption,
                                         LogOption, JsonOption, FirstOption})
            if (*Other || Command.List) return Complain("--sandbox-check takes no other options and no bots");
        return Command;
    }
    if (*MemoryOption && Command.BotMemoryMb <= 0)
        return Complain("--bot-memory must be a positive number of megabytes");
    if (*LoadTimeoutOption && !(Command.LoadTimeoutSeconds > 0 && Command.LoadTimeoutSeconds <= 3600))
        return Complain("--load-timeout must be more than 0 and at most 3600 seconds");
    if (Command.InProcess) {
        for (const CLI::Option *Worker : {OutputOption, MemoryOption, SandboxOption, LoadTimeoutOption})
            if (*Worker)
                return Complain(Worker->get_name() + " needs bot workers; it cannot go with --in-process");
        if (Command.StopOnFault)
            return Complain("--stop-on-fault needs bot workers; it cannot go with --in-process");
    }
    if (!Command.BotOutputFolder.empty() && !std::filesystem::is_directory(Command.BotOutputFolder))
        return Complain("--bot-output: \"" + Command.BotOutputFolder + "\" is not a folder");
    if (Command.List) {
        for (const CLI::Option *Other : {GamesOption, TurnLimitOption, MoveLimitOption, OpeningsOption,
                                         LogOption, JsonOption, FirstOption})
            if (*Other) return Complain("--list takes no other options and no bots");
        return Command;
    }
    if (!*SecondOption) return Complain("two bots are needed: velkaran-match [OPTIONS] FIRST SECOND");
    if (Command.TurnLimit < MinTurnLimit || Command.TurnLimit > MaxTurnLimit) {
        return Complain("--turn-limit must be between " + std::to_string(MinTurnLimit) + " and " +
                        std::to_string(MaxTurnLimit) + ", not " + std::to_string(Command.TurnLimit));
    }
    if (Command.MoveLimitMs < MinMoveLimitMs || Command.MoveLimitMs > MaxMoveLimitMs) {
        return Complain("--move-limit must be between " + std::to_string(MinMoveLimitMs) + " and " +
                        std::to_string(MaxMoveLimitMs) + " ms, not " + std::to_string(Command.MoveLimitMs));
    }
    if (*OpeningsOption) Command.Openings = Openings;
    if (*OpeningsOutOption) Command.OpeningsOut = OpeningsOut;
    if (*SeedOption && !(Command.Openings && IsRandomOpenings(*Command.Openings)))
        return Complain("--seed goes with --openings random:K");
    if (*OpeningsOutOption && !*OpeningsOption) return Complain("--openings-out goes with --openings");
    if (*GamesOption) Command.Games = Games;
    if (*LogOption) Command.LogPath = LogPath;
    if (*JsonOption) Command.JsonPath = JsonPath;
    return Command;
}

}  // namespace velkaran
