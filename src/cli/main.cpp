// velkaran-match: plays bots against each other without a display and prints the result text.
#include "bot_argument.h"
#include "command_line.h"
#include "crash_guard.h"
#include "hang_watchdog.h"
#include "progress_line.h"
#include "result_output.h"

#include "match/match_runner.h"
#include "match/result_log.h"
#include "players/bot_discovery.h"
#include "players/quiet_game_interface.h"

#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <variant>
#include <vector>

namespace velkaran {
namespace {

void Complain(const std::string &Message) { std::fprintf(stderr, "velkaran-match: %s\n", Message.c_str()); }

// The decimal separator of the user's locale, for the report's two fractional numbers.
std::string LocaleDecimalSeparator() {
    const std::lconv *Conventions = std::localeconv();
    if (Conventions == nullptr || Conventions->decimal_point == nullptr ||
        *Conventions->decimal_point == '\0')
        return ".";
    return Conventions->decimal_point;
}

// " (what it says)" for a standard exception, else nothing.
std::string ExceptionText(const std::exception_ptr &Exception) {
    try {
        std::rethrow_exception(Exception);
    } catch (const std::exception &Error) {
        return std::string(" (") + Error.what() + ")";
    } catch (...) {
        return "";
    }
}

int ListBots(std::FILE *Out) {
    TBotTable Table;
    LoadBots(Table, ".", GuardedLibraryLoader());
    EndLoading();
    if (!WriteResultText(Out, Table.Texts)) {
        Complain("cannot write to standard output");
        return ExitOutputFailed;
    }
    return ExitPlayed;
}

// Both bots loaded and guarded, or the exit status after a message for each unusable one.
std::variant<TMatchSettings, int> MatchSettings(const TCommandLine &Command) {
    TMatchSettings Settings;
    bool Usable = true;
    const std::string *Arguments[2] = {&Command.First, &Command.Second};
    TSeatSetting *Seats[2] = {&Settings.First, &Settings.Second};
    for (int Slot = 0; Slot < 2; ++Slot) {
        TBotArgument Bot = LoadBotArgument(*Arguments[Slot], GuardedLibraryLoader());
        EndLoading();
        if (!Bot.Error.empty()) {
            Complain(Bot.Error);
            Usable = false;
            continue;
        }
        Seats[Slot]->Bot = GuardArgumentBot(Bot.Bot, Slot, *Arguments[Slot]);
    }
    if (!Usable) return ExitBadArguments;
    Settings.ModeItem = Command.Games ? 1 : 0;
    Settings.GameCount = Command.Games.value_or(0);
    Settings.TurnLimit = Command.TurnLimit;
    return Settings;
}

int PlayMatch(const TCommandLine &Command, std::FILE *Out) {
    auto Settings = MatchSettings(Command);
    if (const int *Status = std::get_if<int>(&Settings)) return *Status;

    QuietGameInterface Quiet;
    const TMatchSettings &Match = std::get<TMatchSettings>(Settings);
    ProgressLine Progress(StderrIsTerminal(), Match.First.Bot.Name, Match.Second.Bot.Name);
    TMatchEnvironment Environment;
    Environment.Ui = &Quiet;
    Environment.DecimalSeparator = LocaleDecimalSeparator();
    Environment.OnSeriesGame = [&Progress](const TSeriesProgress &Now) { Progress.Show(Now); };

    std::vector<std::string> Lines;
    try {
        Lines = RunMatch(Match, Environment);
    } catch (...) {
        // An exception that left a bot's call is the bot's fault; any other is the program's own.
        Progress.Clear();
        const auto Call = TakeCallInProgress();
        if (!Call) throw;
        Complain("an exception" + ExceptionText(std::current_exception()) + " left " + *Call +
                 "; no result was written");
        return ExitBotCrashed;
    }
    Progress.Clear();

    int Status = ExitPlayed;
    if (!WriteResultText(Out, Lines)) {
        Complain("cannot write the result text to standard output");
        Status = ExitOutputFailed;
    }
    if (Command.LogPath) {
        if (const auto Failure = SaveResultLog(Lines, *Command.LogPath)) {
            Complain(*Failure);
            Status = ExitOutputFailed;
        }
    }
    return Status;
}

}  // namespace
}  // namespace velkaran

int main(int Argc, char **Argv) {
    using namespace velkaran;
    std::setlocale(LC_ALL, "");
    const auto Parsed = ParseCommandLine(Argc, Argv);
    if (const int *Status = std::get_if<int>(&Parsed)) return *Status;
    const TCommandLine &Command = std::get<TCommandLine>(Parsed);

    InstallCrashGuard();
    std::FILE *Out = ReserveStdoutForResult();
    if (Out == nullptr) {
        Complain("standard output is not open");
        return ExitOutputFailed;
    }
    const THangWatchdog Watchdog{std::chrono::seconds(Command.HangLimit)};
    return Command.List ? ListBots(Out) : PlayMatch(Command, Out);
}
