// velkaran-match: plays bots against each other without a display and prints the result text.
#include "bot_argument.h"
#include "card_texts/catalogue_listing.h"
#include "command_line.h"
#include "progress_line.h"
#include "result_output.h"

#include "match/fault_summary.h"
#include "match/match_document.h"
#include "match/match_runner.h"
#include "match/number_text.h"
#include "match/result_log.h"
#include "players/bot_discovery.h"
#include "players/quiet_game_interface.h"
#include "records/atomic_file.h"
#include "records/record_journal.h"
#include "sandbox/sandbox.h"
#include "workers/adopted_children.h"
#include "workers/cpu_pinning.h"
#include "workers/host_failure.h"
#include "workers/termination_watch.h"
#include "workers/worker_pool.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace velkaran {
namespace {

void Complain(const std::string &Message) { std::fprintf(stderr, "velkaran-match: %s\n", Message.c_str()); }

// The stop request of the match (a TStopRequest), set by the first signal that ends the program.
std::atomic<int> StopRequest{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

// SIGINT, SIGTERM, SIGHUP with the bots loaded into this process: the first stops the match after
// the game in play and lets it report the games finished; a second ends the program as the signal
// would.
void OnTerminationSignal(int Signal) {
    if (StopRequest.exchange(static_cast<int>(TStopRequest::AtOnce)) ==
        static_cast<int>(TStopRequest::AtOnce)) {
        signal(Signal, SIG_DFL);
        raise(Signal);
    }
}

void StopMatchOnTerminationSignals() {
    struct sigaction Action {};
    Action.sa_handler = OnTerminationSignal;
    sigemptyset(&Action.sa_mask);
    for (int Signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(Signal, &Action, nullptr);
}

// Why the result text cannot be saved at Path as a log; empty when it can.
std::string LogPathProblem(const std::string &Path) {
    std::error_code Failure;
    if (Path.empty()) return "no file name was given";
    if (std::filesystem::is_directory(Path, Failure)) return Path + " is a folder";
    if (std::filesystem::exists(Path, Failure)) {
        const int Fd = open(Path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        if (Fd < 0) return "cannot write " + Path + ": " + std::strerror(errno);
        close(Fd);
        return "";
    }
    return UnwritablePath(Path);
}

// The decimal separator of the user's locale, for the report's two fractional numbers.
std::string LocaleDecimalSeparator() {
    const std::lconv *Conventions = std::localeconv();
    if (Conventions == nullptr || Conventions->decimal_point == nullptr ||
        *Conventions->decimal_point == '\0')
        return ".";
    return Conventions->decimal_point;
}

// Where the bots run: in worker processes of Run (the pool), or loaded into this process.
class BotHost {
public:
    BotHost(const TCommandLine &Command, std::shared_ptr<TWorkerRun> Run) {
        if (!Run) return;
        TWorkerPoolSettings Settings;
        Settings.Worker.MemoryMb = Command.BotMemoryMb;
        Settings.CallTimeoutMs = CallDeadlineMs(Command.MoveLimitMs);
        Settings.Worker.Sandbox = Command.Sandbox;
        Settings.Worker.SandboxStrict = Command.SandboxStrict;
        Settings.Worker.SandboxUser = Command.SandboxUser;
        Settings.LoadTimeoutMs = Command.LoadTimeoutSeconds * 1000;
        Settings.Run = std::move(Run);
        Pool = std::make_unique<TBotWorkerPool>(Settings);
    }

    TBotLoad Probe(const std::string &Path) {
        return Pool ? Pool->Probe(Path) : LoadBotLibrary(Path, SystemLibraryLoader());
    }
    TLibraryProbe Prober() {
        return [this](const std::string &Path) { return Probe(Path); };
    }
    TBotSeatFactory Seats() {
        if (!Pool) return InProcessSeat;
        return [this](const TBot &Bot) { return Pool->Seat(Bot); };
    }

    // Ends the workers; says on stderr which did not end cleanly, named by Label, when Tell.
    void Stop(const std::function<std::string(const std::string &Path)> &Label, bool Tell = true) {
        if (!Pool) return;
        for (const TWorkerEnding &Ending : Pool->StopAll())
            if (Tell)
                Complain(Label(Ending.Path) + " did not end cleanly at the end of the run: " + Ending.How);
        Pool.reset();
    }

private:
    std::unique_ptr<TBotWorkerPool> Pool;
};

std::string FileName(const std::string &Path) { return std::filesystem::path(Path).filename().string(); }

int ListBots(std::FILE *Out, BotHost &Bots) {
    TBotTable Table;
    LoadBots(Table, ".", Bots.Prober());
    Bots.Stop([](const std::string &Path) { return "the library \"" + FileName(Path) + "\""; });
    // One line per library: its file, then its bot's name or why it cannot be used.
    std::size_t Width = 0;
    for (const TBot &Bot : Table.Bots) Width = std::max<std::size_t>(Width, TextLength(FileName(Bot.Path)));
    std::vector<std::string> Lines;
    for (std::size_t I = 0; I < Table.Bots.size(); ++I) {
        const std::string File = FileName(Table.Bots[I].Path);
        const std::string Padding(Width - static_cast<std::size_t>(TextLength(File)) + 2, ' ');
        Lines.push_back(File + Padding +
                        (Table.Problems[I].empty() ? Table.Bots[I].Name : "unusable: " + Table.Problems[I]));
    }
    if (!WriteResultText(Out, Lines)) {
        Complain("cannot write to standard output");
        return ExitOutputFailed;
    }
    return ExitPlayed;
}

// Both bots loaded, or the exit status after a message for each unusable one.
std::variant<TMatchSettings, int> MatchSettings(const TCommandLine &Command, BotHost &Bots) {
    TMatchSettings Settings;
    bool Usable = true;
    const std::string *Arguments[2] = {&Command.First, &Command.Second};
    TSeatSetting *Seats[2] = {&Settings.First, &Settings.Second};
    for (int Slot = 0; Slot < 2; ++Slot) {
        TBotArgument Bot = LoadBotArgument(*Arguments[Slot], Bots.Prober());
        if (!Bot.Error.empty()) {
            Complain(Bot.Error);
            Usable = false;
            continue;
        }
        Seats[Slot]->Bot = Bot.Bot;
    }
    if (!Usable) return ExitBadArguments;
    Settings.ModeItem = Command.Games ? 1 : 0;
    Settings.GameCount = Command.Games.value_or(0);
    Settings.TurnLimit = Command.TurnLimit;
    Settings.MoveLimitMs = Command.MoveLimitMs;
    return Settings;
}

// Thrown from the end of a game to end the run at a fault (--stop-on-fault).
struct TStopRun {
    std::string Reason;
};

// The journal for --json, opened before any game so that a path that cannot take the document
// stops the run; --log checked likewise.
std::variant<std::unique_ptr<TRecordJournal>, int> OpenJournal(const TCommandLine &Command) {
    if (Command.LogPath) {
        if (const std::string Problem = LogPathProblem(*Command.LogPath); !Problem.empty()) {
            Complain("--log: " + Problem);
            return ExitBadArguments;
        }
    }
    if (!Command.JsonPath) return std::unique_ptr<TRecordJournal>();
    if (const std::string Problem = UnwritablePath(*Command.JsonPath); !Problem.empty()) {
        Complain("--json: " + Problem);
        return ExitBadArguments;
    }
    RemoveLeftoverTemporaries(*Command.JsonPath);
    std::string Error;
    auto Journal =
        TRecordJournal::Open(std::filesystem::path(*Command.JsonPath).parent_path().string(), Error);
    if (!Journal) {
        Complain("--json: " + Error);
        return ExitBadArguments;
    }
    return Journal;
}

// Writes the match's JSON document when one was asked for; false after a message.
bool WriteJson(const TCommandLine &Command, const TRecordJournal *Journal, const TMatchSettings &Match,
               bool Complete) {
    if (Journal == nullptr) return true;
    std::string Error;
    if (Journal->WriteDocument(*Command.JsonPath, MatchDocumentHead(Match), MatchDocumentTail(Complete),
                               Error))
        return true;
    Complain(Error);
    return false;
}

int PlayMatch(const TCommandLine &Command, std::FILE *Out, BotHost &Bots) {
    auto Opened = OpenJournal(Command);
    if (const int *Status = std::get_if<int>(&Opened)) return *Status;
    const std::unique_ptr<TRecordJournal> Journal =
        std::move(std::get<std::unique_ptr<TRecordJournal>>(Opened));
    std::optional<TOpeningBook> Openings;
    if (Command.Openings) {
        std::string Error;
        if (!(Openings = LoadOpenings(*Command.Openings, Command.Seed, Error))) {
            Complain("--openings: " + Error);
            return ExitBadArguments;
        }
    }
    auto Settings = MatchSettings(Command, Bots);
    if (const int *Status = std::get_if<int>(&Settings)) return *Status;
    TMatchSettings &Match = std::get<TMatchSettings>(Settings);
    if (Openings) Match.Openings = std::move(*Openings);
    if (std::string Error;
        Command.OpeningsOut && !WriteOpenings(*Command.OpeningsOut, Match.Openings, Error)) {
        Complain("--openings-out: " + Error);
        return ExitOutputFailed;
    }
    if (StopRequest.load() != 0) {
        Complain("stopped by a signal before the first game");
        return ExitInterrupted;
    }
    const std::array<std::string, 2> Labels{
        "the bot \"" + Command.First + "\" (" + Match.First.Bot.Name + ")",
        "the bot \"" + Command.Second + "\" (" + Match.Second.Bot.Name + ")"};
    const auto LabelOfPath = [&](const std::string &Path) {
        return Path == Match.First.Bot.Path ? Labels[0] : Labels[1];
    };

    QuietGameInterface Quiet;
    ProgressLine Progress(StderrIsTerminal(), Match.First.Bot.Name, Match.Second.Bot.Name);
    TFaultSummary Faults;
    TMatchEnvironment Environment;
    Environment.Stop = &StopRequest;
    Environment.Ui = &Quiet;
    Environment.DecimalSeparator = LocaleDecimalSeparator();
    Environment.BotSeat = Bots.Seats();
    Environment.OnSeriesGame = [&Progress](const TSeriesProgress &Now) { Progress.Show(Now); };
    Environment.OnGameEnd = [&](const TPlayedGame &Game) {
        Faults.Add(Game);
        if (Journal) Journal->Append(*Game.Record);
        if (!Command.StopOnFault) return;
        if (const auto Fault = TFaultSummary::FirstFault(Game, Labels)) throw TStopRun{*Fault};
    };

    TMatchOutcome Outcome;
    try {
        Outcome = RunMatch(Match, Environment);
    } catch (const TStopRun &Stop) {
        Progress.Clear();
        Complain("stopped at the first fault: " + Stop.Reason + "; no result was written");
        Bots.Stop(LabelOfPath);
        WriteJson(Command, Journal.get(), Match, false);
        return ExitStoppedOnFault;
    } catch (const std::bad_alloc &) {
        throw;
    } catch (const std::exception &Error) {
        Progress.Clear();
        // Through workers, no bot can throw: the exception is the host's own.
        if (!Command.InProcess) throw;
        Complain(std::string("an exception left a bot (") + Error.what() + "); no result was written");
        return ExitStoppedOnFault;
    }
    Progress.Clear();
    const std::vector<std::string> &Lines = Outcome.Lines;
    // The workers end before anything is written, so that no bot's last act can touch the files.
    Bots.Stop(LabelOfPath, !Outcome.Stopped);

    int Status = Outcome.Stopped ? ExitInterrupted : ExitPlayed;
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
    if (!WriteJson(Command, Journal.get(), Match, !Outcome.Stopped)) Status = ExitOutputFailed;
    for (const std::string &Line : Faults.Lines(Labels)) Complain(Line);
    if (Outcome.Stopped)
        Complain("stopped by a signal after " + std::to_string(Outcome.GamesCounted) + " of " +
                 std::to_string(Outcome.GamesPlanned) + " games");
    return Status;
}

// The card catalogue: a table, or JSON on stdout or into the --json file.
int PrintCards(const TCommandLine &Command, std::FILE *Out) {
    if (!Command.JsonPath) return WriteResultText(Out, CatalogueLines()) ? ExitPlayed : ExitOutputFailed;
    const std::string Json = CatalogueJson().dump(2) + "\n";
    if (Command.JsonPath->empty()) {
        if (std::fputs(Json.c_str(), Out) >= 0 && std::fflush(Out) == 0) return ExitPlayed;
        Complain("cannot write to standard output");
        return ExitOutputFailed;
    }
    std::string Error;
    const auto Write = [&Json](int Fd) { return WriteAll(Fd, Json.data(), Json.size()); };
    if (WriteFileAtomically(*Command.JsonPath, Write, Error)) return ExitPlayed;
    Complain("--json: " + Error);
    return ExitOutputFailed;
}

int CheckSandbox(std::FILE *Out, const TCommandLine &Command) {
    std::vector<std::string> Lines = DescribeSandboxLayers(DetectSandboxLayers(Command.SandboxUser));
    return WriteResultText(Out, Lines) ? ExitPlayed : ExitOutputFailed;
}

}  // namespace
}  // namespace velkaran

int main(int Argc, char **Argv) {
    using namespace velkaran;
    std::setlocale(LC_ALL, "");
    const auto Parsed = ParseCommandLine(Argc, Argv);
    if (const int *Status = std::get_if<int>(&Parsed)) return *Status;
    const TCommandLine &Command = std::get<TCommandLine>(Parsed);

    std::FILE *Out = ReserveStdoutForResult();
    if (Out == nullptr) {
        Complain("standard output is not open");
        return ExitOutputFailed;
    }
    if (Command.SandboxCheck) return CheckSandbox(Out, Command);
    if (Command.Cards) return PrintCards(Command, Out);
    if (Command.Sandbox && !Command.InProcess) {
        const TSandboxStart Start = CheckSandboxStart(Command.SandboxStrict, Command.SandboxUser);
        for (const std::string &Line : Start.Lines) Complain(Line);
        if (Start.Refused) return ExitBadArguments;
    }
    std::shared_ptr<TWorkerRun> Run;
    std::unique_ptr<TTerminationWatch> Watch;
    if (Command.InProcess) {
        StopMatchOnTerminationSignals();
    } else {
        // The workers inherit the CPU. The first signal abandons the game in play (the run's
        // workers end at once, whatever the bots do) and lets the match report the games
        // finished; the watch's thread hears it while this one waits for a bot. A second signal
        // ends the program.
        PinThisThreadToOneCpu();
        Run = std::make_shared<TWorkerRun>(Command.BotOutputFolder);
        Watch = std::make_unique<TTerminationWatch>([Run](int) {
            StopRequest.store(static_cast<int>(TStopRequest::AtOnce));
            Run->Stop();
        });
        AdoptOrphanedDescendants();
    }
    int Status;
    try {
        BotHost Bots(Command, Run);
        Status = Command.List ? ListBots(Out, Bots) : PlayMatch(Command, Out, Bots);
    } catch (const std::bad_alloc &) {
        if (Run) Run->Stop();
        Complain("out of memory");
        Status = ExitOutputFailed;
    } catch (const std::exception &Failure) {
        Complain(std::string("the host failed: ") + Failure.what());
        Status = ExitHostFailed;
    }
    if (Run) EndAdoptedChildren();
    return Status;
}
