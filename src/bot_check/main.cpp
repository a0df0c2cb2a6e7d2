// velkaran-check: one command that tells a bot's author what is wrong with the bot, before a
// tournament does.
#include "bot_check.h"

#include "match/version.h"
#include "workers/adopted_children.h"
#include "workers/cpu_pinning.h"
#include "workers/termination_watch.h"
#include "workers/worker_run.h"

#include <unistd.h>
#include <CLI/CLI.hpp>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

namespace velkaran {
namespace {

namespace fs = std::filesystem;

inline constexpr int ExitPassed = 0;        // no check failed (warnings allowed)
inline constexpr int ExitChecksFailed = 1;  // at least one check failed
inline constexpr int ExitBadArguments = 2;  // bad arguments, or the check could not run

constexpr char Description[] =
    "Checks a Velkaran bot before it meets other bots: its exports and name, the sets it chooses in\n"
    "both seats, its answers in many positions (games against each sample bot in both seats, then\n"
    "seeded random play), its thinking time, its memory, what it prints, crashes and hangs, and\n"
    "whether it answers alike when a game is played again. Each check passes, warns or fails with\n"
    "the evidence; the first game lost by an illegal answer is saved as a record the desktop\n"
    "program's replay viewer opens. The bot runs in worker processes, never in this program.";

constexpr char Footer[] =
    "BOT is a bot library NAME.so, or the manifest NAME.bot of a bot that is a program (see the bot\n"
    "guide): a path with a '/' is used as it is, a bare file name means that file in the current\n"
    "directory.\n"
    "\n"
    "Exit status: 0 no check failed (there may be warnings); 1 a check failed; 2 bad arguments or\n"
    "the check could not run.";

struct TOptions {
    TBotCheckSettings Check;
    bool Json = false;
    std::string Bot;
};

int Complain(const std::string &Message) {
    std::cerr << "velkaran-check: " << Message << "\n";
    return ExitBadArguments;
}

// The sample bots beside this program: run/ of a build tree, or the installed ones.
std::string SampleBotsFolder() {
    std::error_code Error;
    const fs::path Program = fs::read_symlink("/proc/self/exe", Error);
    if (Error) return {};
    const fs::path Prefix = Program.parent_path().parent_path();
    for (const fs::path &Folder : {Prefix / "run", Prefix / VELKARAN_INSTALLED_BOTS_DIR})
        if (fs::is_directory(Folder, Error)) return Folder.string();
    return {};
}

std::optional<TOptions> ParseOptions(int Argc, char **Argv, int &Status) {
    TOptions Options;
    CLI::App App{Description, "velkaran-check"};
    App.footer(Footer);
    App.set_version_flag("--version", VersionLine, "Print the version line and exit");
    App.add_flag("--json", Options.Json, "Print the report as JSON");
    App.add_option("--positions", Options.Check.Positions,
                   "Positions to reach by seeded random play (default 3000)")
        ->type_name("N")
        ->check(CLI::Range(int64_t{0}, int64_t{10'000'000}));
    App.add_option("--seed", Options.Check.Seed, "Seed of the random play (default 1)")->type_name("S");
    App.add_option("--turn-limit", Options.Check.TurnLimit,
                   "Rounds after which a game is a draw (default 200)")
        ->type_name("L")
        ->check(CLI::Range(MinTurnLimit, MaxTurnLimit));
    App.add_option("--move-limit", Options.Check.MoveLimitMs,
                   "Milliseconds a move may take before it loses by the time limit (default 20000)")
        ->type_name("MS")
        ->check(CLI::Range(MinMoveLimitMs, MaxMoveLimitMs));
    Options.Check.OpponentsFolder = SampleBotsFolder();
    App.add_option("--opponents", Options.Check.OpponentsFolder,
                   "The folder of bots to play in both seats (default: the sample bots)")
        ->type_name("DIR");
    App.add_option("--save", Options.Check.RecordFolder,
                   "Where to save a game that shows a defect (default: the current directory)")
        ->type_name("DIR");
    App.add_option("--bot-memory", Options.Check.Workers.Worker.MemoryMb,
                   "Cap the bot worker's address space at MB megabytes")
        ->type_name("MB")
        ->check(CLI::PositiveNumber);
    App.add_flag("--sandbox", Options.Check.Workers.Worker.Sandbox,
                 "Lock the bot's workers down, as tournaments may");
    App.add_option("BOT", Options.Bot, "The bot to check")->required()->type_name("");
    try {
        App.parse(Argc, Argv);
    } catch (const CLI::ParseError &Error) {
        std::ostringstream Out, Err;
        Status = App.exit(Error, Out, Err);
        std::cout << Out.str() << std::flush;
        if (Status != 0) {
            std::cerr << Err.str();
            Status = ExitBadArguments;
        }
        return std::nullopt;
    }
    if (!fs::is_directory(Options.Check.RecordFolder)) {
        Status = Complain("--save: \"" + Options.Check.RecordFolder + "\" is not a folder");
        return std::nullopt;
    }
    Options.Check.BotPath = Options.Bot.find('/') == std::string::npos ? "./" + Options.Bot : Options.Bot;
    if (!fs::is_regular_file(Options.Check.BotPath)) {
        Status = Complain("\"" + Options.Bot + "\" is not a file");
        return std::nullopt;
    }
    return Options;
}

}  // namespace
}  // namespace velkaran

int main(int Argc, char **Argv) {
    using namespace velkaran;
    std::setlocale(LC_ALL, "");
    int Status = ExitPassed;
    const std::optional<TOptions> Options = ParseOptions(Argc, Argv, Status);
    if (!Options) return Status;
    // The workers inherit the CPU. A signal that ends this program ends them first, whatever the
    // bot does; the watch's thread hears it while this one waits for the bot.
    PinThisThreadToOneCpu();
    const TTerminationWatch Watch([](int Signal) {
        TWorkerRun::StopEveryRun();
        EndAdoptedChildren();
        EndAsSignal(Signal);
    });
    AdoptOrphanedDescendants();
    const TCheckReport Report = CheckBot(Options->Check);
    EndAdoptedChildren();
    std::string Text;
    if (Options->Json) {
        Text = ReportJson(Report).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    } else {
        for (const std::string &Line : ReportLines(Report)) Text += Line + "\n";
    }
    if (std::fputs(Text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
        Complain("cannot write the report to standard output");
        return ExitBadArguments;
    }
    return Report.Passed() ? ExitPassed : ExitChecksFailed;
}
