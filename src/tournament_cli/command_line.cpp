// The arguments of velkaran-tournament, read with CLI11 and checked.
#include "command_line.h"

#include "match/match_runner.h"
#include "match/version.h"
#include "records/opening_book.h"
#include "tournament/tournament_config.h"
#include "workers/cpu_pinning.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <thread>

namespace velkaran {
namespace {

constexpr char Description[] =
    "Plays Velkaran bots against each other in a round robin (every two bots) or a gauntlet (one bot\n"
    "against each other one), several games at once, and prints the standings, a crosstable and the\n"
    "statistics. BOT names a bot library NAME.so or the manifest NAME.bot of a bot that is a program:\n"
    "a path with a '/' as it is, a bare file name in the current folder. Without BOTs every usable bot\n"
    "(library or manifest) of the current folder plays.";

constexpr char Footer[] =
    "Each encounter is --pairs game pairs; a pair is two games with the seats exchanged. With\n"
    "--openings, pair P of every encounter starts both its games from start position P mod K of the\n"
    "K positions (a book file, or random:K made from --seed S, default 1), the first player taking\n"
    "the position's first side, so that pairs differ while each stays fair (docs/openings.md). Every\n"
    "game runs its bots in worker processes of its own, so that no two games share a library's\n"
    "globals; a bot that crashes or hangs loses that game. Ctrl-C (or SIGTERM) stops the tournament:\n"
    "the games in flight are abandoned, the JSON document saved and the tables so far printed;\n"
    "--resume FILE goes on from there.\n"
    "\n"
    "Across machines: --plan FILE --shards S writes the tournament and its split into S shards;\n"
    "--run-shard I --plan FILE --out DIR plays shard I into DIR/shard-I.json; --merge DIR --plan FILE\n"
    "combines the shards; scripts/slurm-tournament runs a plan on a Slurm cluster.\n"
    "\n"
    "--json FILE refuses a file that exists (go on with --resume FILE, or pass --force to write over\n"
    "it). A saved tournament, a shard or a merge counts only games that replay through the rules as\n"
    "their records say, played by the tournament's bots.\n"
    "\n"
    "Exit status: 0 the tournament was played to its end (or the plan written, the shard played, all\n"
    "shards merged); 1 standard output, the JSON document or another file could not be written, or\n"
    "memory ran out; 2 bad arguments, an unusable bot, or a file refused (damaged, not the\n"
    "tournament's, a bot library changed); 3 --merge found shards missing, incomplete or refused (the\n"
    "partial results are printed, with the --run-shard commands that complete them); 130 stopped by\n"
    "Ctrl-C, SIGTERM or SIGHUP before the end (the games finished are saved).";

int Complain(const std::string &Message) {
    std::cerr << "velkaran-tournament: " << Message << "\nRun with --help for more information.\n";
    return ExitTournamentBadArguments;
}

}  // namespace

std::variant<TTournamentCommand, int> ParseTournamentCommand(int Argc, const char *const *Argv) {
    TTournamentCommand Command;
    CLI::App App{Description, "velkaran-tournament"};
    App.footer(Footer);
    App.set_version_flag("--version", VersionLine, "Print the version line and exit");
    std::string Gauntlet, Sprt, Json, Resume;
    CLI::Option *PairsOption =
        App.add_option("--pairs", Command.Pairs, "Game pairs per encounter (default 10)")->type_name("N");
    CLI::Option *GauntletOption =
        App.add_option("--gauntlet", Gauntlet, "Play BOT against each other bot instead of a round robin")
            ->type_name("BOT");
    const int UsableCpus = UsableCpuCount();
    App.add_option("--concurrency", Command.Concurrency,
                   "Games at once (default here: " + std::to_string(UsableCpus) +
                       ", the CPUs this process may use by its affinity, its CPU quota and "
                       "SLURM_CPUS_PER_TASK)")
        ->type_name("J");
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
    CLI::Option *SprtOption =
        App.add_option("--sprt", Sprt,
                       "For two bots: stop once a sequential test decides between elo0 and elo1, e.g. "
                       "\"elo0=0 elo1=10 alpha=0.05 beta=0.05\"; add model=normalized for bounds in "
                       "normalized Elo (default: logistic Elo)")
            ->type_name("TEXT");
    CLI::Option *JsonOption =
        App.add_option("--json", Json, "Keep the configuration, every game record and the statistics in FILE")
            ->type_name("FILE");
    App.add_flag("--force", Command.Force, "Let --json write over a file that exists");
    CLI::Option *ResumeOption =
        App.add_option("--resume", Resume,
                       "Go on with the tournament saved in FILE (and keep saving it there)")
            ->type_name("FILE");
    App.add_option("--bot-output", Command.BotOutputFolder, "Write each bot's output to DIR/<file>.log")
        ->type_name("DIR");
    CLI::Option *MemoryOption = App.add_option("--bot-memory", Command.BotMemoryMb,
                                               "Cap each bot worker's address space at MB megabytes")
                                    ->type_name("MB");
    std::string SandboxMode;
    App.add_flag(
        "--sandbox{on}", SandboxMode,
        "Lock each bot worker down before the bot's code runs; --sandbox=strict: only with every layer");
    CLI::Option *SandboxUserOption =
        App.add_option(
               "--sandbox-user", Command.SandboxUser,
               "When run as root: the user sandboxed bots run as (default: a user of each worker's own)")
            ->type_name("USER");
    CLI::Option *LoadTimeoutOption =
        App.add_option("--load-timeout", Command.LoadTimeoutSeconds,
                       "Allow each bot library SECONDS to load and give its name (default 30)")
            ->type_name("SECONDS");
    CLI::Option *PlanOption =
        App.add_option("--plan", Command.PlanPath, "The plan of a sharded tournament")->type_name("FILE");
    CLI::Option *ShardsOption =
        App.add_option("--shards", Command.Shards,
                       "With --plan: split the tournament into S shards and write the plan")
            ->type_name("S");
    bool ShardCount = false;
    App.add_flag("--shard-count", ShardCount, "With --plan: print the plan's number of shards");
    CLI::Option *RunShardOption =
        App.add_option("--run-shard", Command.Shard, "With --plan and --out: play shard I of the plan")
            ->type_name("I");
    std::string Out, Merge;
    CLI::Option *OutOption =
        App.add_option("--out", Out, "The folder for a shard's results")->type_name("DIR");
    CLI::Option *MergeOption =
        App.add_option("--merge", Merge, "With --plan: combine the shard results in DIR")->type_name("DIR");
    App.add_option("BOT", Command.Bots, "Bot libraries (default: every usable bot of the current folder)")
        ->type_name("");

    try {
        App.parse(Argc, Argv);
    } catch (const CLI::ParseError &Error) {
        std::ostringstream Output, Errors;
        const int Status = App.exit(Error, Output, Errors);
        std::cout << Output.str() << std::flush;
        if (Status == 0) return std::cout ? ExitTournamentPlayed : ExitTournamentOutputFailed;
        std::string Message = Errors.str();
        const std::string Hint = "Run with --help for more information.\n";
        if (Message.ends_with(Hint)) Message.erase(Message.size() - Hint.size());
        while (!Message.empty() && Message.back() == '\n') Message.pop_back();
        return Complain(Message);
    }

    if (Command.Pairs < 1 || Command.Pairs > MaxPairs)
        return Complain("--pairs must be between 1 and " + std::to_string(MaxPairs));
    if (Command.Concurrency < 0 || Command.Concurrency > 1024)
        return Complain("--concurrency must be between 1 and 1024");
    if (Command.Concurrency == 0) Command.Concurrency = UsableCpus;
    if (Command.TurnLimit < MinTurnLimit || Command.TurnLimit > MaxTurnLimit)
        return Complain("--turn-limit must be between " + std::to_string(MinTurnLimit) + " and " +
                        std::to_string(MaxTurnLimit) + ", not " + std::to_string(Command.TurnLimit));
    if (Command.MoveLimitMs < MinMoveLimitMs || Command.MoveLimitMs > MaxMoveLimitMs)
        return Complain("--move-limit must be between " + std::to_string(MinMoveLimitMs) + " and " +
                        std::to_string(MaxMoveLimitMs) + " ms, not " + std::to_string(Command.MoveLimitMs));
    if (*OpeningsOption) Command.Openings = Openings;
    if (*OpeningsOutOption) Command.OpeningsOut = OpeningsOut;
    if (*SeedOption && !(Command.Openings && IsRandomOpenings(*Command.Openings)))
        return Complain("--seed goes with --openings random:K");
    if (*OpeningsOutOption && !*OpeningsOption) return Complain("--openings-out goes with --openings");
    if (*MemoryOption && Command.BotMemoryMb <= 0)
        return Complain("--bot-memory must be a positive number of megabytes");
    if (SandboxMode != "" && SandboxMode != "on" && SandboxMode != "strict")
        return Complain("--sandbox takes no value but \"strict\" (--sandbox=strict)");
    Command.Sandbox = !SandboxMode.empty();
    Command.SandboxStrict = SandboxMode == "strict";
    if (*LoadTimeoutOption && !(Command.LoadTimeoutSeconds > 0 && Command.LoadTimeoutSeconds <= 3600))
        return Complain("--load-timeout must be more than 0 and at most 3600 seconds");
    if (!Command.BotOutputFolder.empty() && !std::filesystem::is_directory(Command.BotOutputFolder))
        return Complain("--bot-output: \"" + Command.BotOutputFolder + "\" is not a folder");
    if (*GauntletOption) Command.Gauntlet = Gauntlet;
    if (*JsonOption) Command.JsonPath = Json;
    if (*ResumeOption) Command.ResumePath = Resume;
    if (*SprtOption) {
        std::string Error;
        Command.Sprt = ParseSprtSettings(Sprt, Error);
        if (!Command.Sprt) return Complain("--sprt: " + Error);
        if (*GauntletOption) return Complain("--sprt compares two bots; it cannot go with --gauntlet");
    }

    // The actions around a plan, each with the options it takes.
    const bool Planned = PlanOption->count() > 0;
    const int Actions =
        (*ShardsOption ? 1 : 0) + (ShardCount ? 1 : 0) + (*RunShardOption ? 1 : 0) + (*MergeOption ? 1 : 0);
    if (Actions > 1) return Complain("--shards, --shard-count, --run-shard and --merge go one at a time");
    if (Actions == 1 && !Planned)
        return Complain("--shards, --shard-count, --run-shard and --merge need --plan FILE");
    if (Planned && Actions == 0)
        return Complain("--plan FILE needs --shards S, --shard-count, --run-shard I or --merge DIR");
    if (*OutOption && !*RunShardOption) return Complain("--out goes with --run-shard");
    if (*ShardsOption) {
        Command.Action = TTournamentAction::Plan;
        if (Command.Shards < 1 || Command.Shards > 100000)
            return Complain("--shards must be between 1 and 100000");
        if (*ResumeOption) return Complain("--resume cannot go with --plan");
    } else if (Planned) {
        // The tournament is the plan's: options that would change it have no place here.
        for (const CLI::Option *Changes :
             {PairsOption, GauntletOption, TurnLimitOption, MoveLimitOption, OpeningsOption, SeedOption,
              OpeningsOutOption, SprtOption, ResumeOption})
            if (*Changes)
                return Complain(Changes->get_name() + " belongs to the plan; it cannot go with " +
                                (ShardCount        ? "--shard-count"
                                 : *RunShardOption ? "--run-shard"
                                                   : "--merge"));
        if (!Command.Bots.empty()) return Complain("the bots are the plan's; name none here");
        if (ShardCount) Command.Action = TTournamentAction::ShardCount;
        if (*RunShardOption) {
            Command.Action = TTournamentAction::RunShard;
            if (!*OutOption) return Complain("--run-shard needs --out DIR");
            if (Command.Shard < 0) return Complain("--run-shard needs a shard number from 0");
            Command.Folder = Out;
        }
        if (*MergeOption) {
            Command.Action = TTournamentAction::Merge;
            Command.Folder = Merge;
        }
    }
    if (*SandboxUserOption && !Command.Sandbox && Command.Action != TTournamentAction::RunShard)
        return Complain("--sandbox-user goes with --sandbox");
    if (*ResumeOption) {
        for (const CLI::Option *Changes : {PairsOption, GauntletOption, TurnLimitOption, MoveLimitOption,
                                           OpeningsOption, SeedOption, OpeningsOutOption, SprtOption})
            if (*Changes)
                return Complain(Changes->get_name() +
                                " belongs to the saved tournament; it cannot go with --resume");
        if (!Command.Bots.empty())
            return Complain("the bots are the saved tournament's; name none with --resume");
    }
    return Command;
}

}  // namespace velkaran
