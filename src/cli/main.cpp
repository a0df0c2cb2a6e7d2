// velkaran-match: plays bots against each other without a display and prints the result text.
#include "bot_argument.h"
#include "card_texts/catalogue_listing.h"
#include "command_line.h"
#include "progress_line.h"
#include "result_output.h"

#include "match/fault_summary.h"
#include "match/match_document.h"
#include "match/match_runner.h"
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

#include <clocale>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
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

// Where the bots run: in worker processes of Run (the pool), or loaded into this process.
class BotHost {
public:
    BotHost(const TCommandLine &Command, std::shared_ptr<TWorkerRun> Run) {
        if (!Run) return;
        TWorkerPoolSettings Settings;
        Settings.Worker.MemoryMb = Command.BotMemoryMb;
        Settings.CallTimeoutMs = CallDeadlineMs(Command.MoveLimitMs);
        Settings.Worker.Sandbox = Command.Sandbox;
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

    // Ends the workers; says on stderr which did not end cleanly, named by Label.
    void Stop(const std::function<std::string(const std::string &Path)> &Label) {
        if (!Pool) return;
        for (const TWorkerEnding &Ending : Pool->StopAll())
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
    for (std::size_t I = 0; I < Table.Bots.size(); ++I)
        if (!Table.Problems[I].empty()) Complain(FileName(Table.Bots[I].Path) + ": " + Table.Problems[I]);
    Bots.Stop([](const std::string &Path) { return "the library \"" + FileName(Path) + "\""; });
    if (!WriteResultText(Out, Table.Texts)) {
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

// The journal for --json, opened before any game so that a folder that cannot take it stops the run.
std::variant<std::unique_ptr<TRecordJournal>, int> OpenJournal(const TCommandLine &Command) {
    if (!Command.JsonPath) return std::unique_ptr<TRecordJournal>();
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
    const std::array<std::string, 2> Labels{
        "the bot \"" + Command.First + "\" (" + Match.First.Bot.Name + ")",
        "the bot \"" + Command.Second + "\" (" + Match.Second.Bot.Name + ")"};
    const auto LabelOfPath = [&](const std::string &Path) {
        return Path == Match.First.Bot.Path ? Labels[0] : Labels[1];
    };

    QuietGameInterface Quiet;
    ProgressLine Progress(StderrIsTerminal(), Match.First.Bot.Name, Match.Second.Bot.Name);
    TFaultSummary Faults;
    int64_t GamesPlayed = 0;
    TMatchEnvironment Environment;
    Environment.Ui = &Quiet;
    Environment.DecimalSeparator = LocaleDecimalSeparator();
    Environment.BotSeat = Bots.Seats();
    Environment.OnSeriesGame = [&Progress](const TSeriesProgress &Now) { Progress.Show(Now); };
    Environment.OnGameEnd = [&](const TPlayedGame &Game) {
        ++GamesPlayed;
        Faults.Add(Game);
        if (Journal) Journal->Append(*Game.Record);
        if (!Command.StopOnFault) return;
        if (const auto Fault = TFaultSummary::FirstFault(Game, Labels)) throw TStopRun{*Fault};
    };

    std::vector<std::string> Lines;
    try {
        Lines = RunMatch(Match, Environment);
    } catch (const TStopRun &Stop) {
        Progress.Clear();
        Complain("stopped at the first fault: " + Stop.Reason + "; no result was written");
        Bots.Stop(LabelOfPath);
        WriteJson(Command, Journal.get(), Match, false);
        return ExitStoppedOnFault;
    } catch (const std::exception &Error) {
        Progress.Clear();
        // Through workers, no bot can throw: the exception is the host's own.
        if (!Command.InProcess) throw;
        Complain(std::string("an exception left a bot (") + Error.what() + "); no result was written");
        return ExitStoppedOnFault;
    }
    Progress.Clear();
    // The workers end before anything is written, so that no bot's last act can touch the files.
    Bots.Stop(LabelOfPath);

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
    if (!WriteJson(Command, Journal.get(), Match, true)) Status = ExitOutputFailed;
    for (const std::string &Line : Faults.Lines(Labels, GamesPlayed)) Complain(Line);
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

int CheckSandbox(std::FILE *Out) {
    std::vector<std::string> Lines = DescribeSandboxLayers(DetectSandboxLayers());
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
    if (Command.SandboxCheck) return CheckSandbox(Out);
    if (Command.Cards) return PrintCards(Command, Out);
    std::shared_ptr<TWorkerRun> Run;
    std::unique_ptr<TTerminationWatch> Watch;
    if (!Command.InProcess) {
        // The workers inherit the CPU. A signal that ends this program ends them first, whatever
        // the bots do; the watch's thread hears it while this one waits for a bot.
        PinThisThreadToOneCpu();
        Run = std::make_shared<TWorkerRun>(Command.BotOutputFolder);
        Watch = std::make_unique<TTerminationWatch>([Run](int Signal) {
            Run->Stop();
            EndAdoptedChildren();
            EndAsSignal(Signal);
        });
        AdoptOrphanedDescendants();
    }
    int Status;
    try {
        BotHost Bots(Command, Run);
        Status = Command.List ? ListBots(Out, Bots) : PlayMatch(Command, Out, Bots);
    } catch (const std::exception &Failure) {
        Complain(std::string("the host failed: ") + Failure.what());
        Status = ExitHostFailed;
    }
    if (Run) EndAdoptedChildren();
    return Status;
}
