// velkaran-tournament: plays many bots against each other, several games at once, and prints the
// standings, a crosstable and the statistics; saves and resumes; plays and merges shards of a plan.
#include "command_line.h"
#include "output_files.h"
#include "plan_actions.h"
#include "termination_signals.h"
#include "tournament_bots.h"
#include "tournament_session.h"

#include "tournament/tournament_report.h"
#include "workers/adopted_children.h"

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>

namespace velkaran {
namespace {

void PrintReport(const TTournamentResults &Results) {
    for (const std::string &Line : ReportLines(ComputeStatistics(Results), Results))
        std::printf("%s\n", Line.c_str());
}

// The journal for a document at Path, in its folder; null after a message when there is none.
std::unique_ptr<TRecordJournal> OpenJournal(const std::string &Path) {
    std::string Error;
    auto Journal = TRecordJournal::Open(std::filesystem::path(Path).parent_path().string(), Error);
    if (!Journal) Complain(Error);
    return Journal;
}

int PlayTournament(const TTournamentCommand &Command) {
    const TTournamentSandbox Sandbox{Command.Sandbox, Command.SandboxStrict, Command.SandboxUser};
    if (!SandboxMayStart(Sandbox)) return ExitTournamentBadArguments;
    const TWorkerPoolSettings Workers =
        TournamentWorkers(Command.BotMemoryMb, Sandbox, Command.BotOutputFolder, Command.LoadTimeoutSeconds);
    std::unique_ptr<TTournamentResults> Results;
    std::unique_ptr<TRecordJournal> Journal;
    const std::optional<std::string> DocumentPath = Command.JsonPath ? Command.JsonPath : Command.ResumePath;
    if (Command.JsonPath && !CheckNewDocument(*Command.JsonPath, Command.Force))
        return ExitTournamentBadArguments;
    if (!Command.JsonPath && Command.ResumePath && !CheckDocumentToUpdate(*Command.ResumePath))
        return ExitTournamentBadArguments;
    if (DocumentPath && !(Journal = OpenJournal(*DocumentPath))) return ExitTournamentBadArguments;

    bool WasComplete = false;
    if (Command.ResumePath) {
        std::string Error;
        auto Saved = ReadTournament(
            *Command.ResumePath, [&Journal](const TGameRecord &Record) { Journal->Append(Record); }, Error,
            TerminationPending);
        if (!Saved && Error.empty()) {
            Complain("stopped while reading " + *Command.ResumePath + "; it was left as it is");
            return ExitTournamentInterrupted;
        }
        if (!Saved) {
            Complain(Error + "; it was left as it is");
            return ExitTournamentBadArguments;
        }
        if (const std::string Changed = ChangedLibraries(Saved->Results->Config(), ".", *Workers.Run);
            !Changed.empty()) {
            Complain("cannot resume " + *Command.ResumePath + ": " + Changed + "; it was left as it is");
            return ExitTournamentBadArguments;
        }
        Results = std::move(Saved->Results);
        WasComplete = Saved->Complete && TournamentComplete(*Results);
    } else {
        const TProbingWatch Watch(*Workers.Run);
        TBotWorkerPool Probing(Workers);
        const std::optional<TTournamentConfig> Config = NewTournamentConfig(Command, Probing);
        if (!Config) return ExitTournamentBadArguments;
        Results = std::make_unique<TTournamentResults>(*Config);
    }
    if (TerminationPending()) {
        Complain("stopped before the first game" +
                 (Command.ResumePath ? "; " + *Command.ResumePath + " was left as it is" : std::string()));
        return ExitTournamentInterrupted;
    }

    const TTournamentConfig Config = Results->Config();
    TTournamentSession::TDocument Document;
    if (DocumentPath) {
        Document.Path = *DocumentPath;
        Document.Head = TournamentDocumentHead(Config);
        Document.Tail = [](const TTournamentResults &Counted, bool Complete) {
            return TournamentDocumentTail(Counted, Complete);
        };
    }
    TTournamentSession Session(std::move(Results), std::move(Journal), std::move(Document));
    TTournamentRunner Runner(Config, TRunnerSettings{Command.Concurrency, ".", Workers, true});
    const bool Interrupted =
        Session.Play(Runner, 0, Session.Results().Schedule().Games(), isatty(STDERR_FILENO) == 1);

    const bool Complete = TournamentComplete(Session.Results());
    int Status = Complete ? ExitTournamentPlayed : ExitTournamentInterrupted;
    if (const std::string Failure = Runner.Failure(); !Failure.empty()) {
        Complain("the tournament could not go on: " + Failure);
        Status = ExitTournamentOutputFailed;
    }
    std::string Error;
    // A saved tournament that was whole and gained nothing stays exactly as it was.
    const bool Unchanged = WasComplete && Session.PlayedHere() == 0 && !Command.JsonPath;
    if (!Unchanged && !Session.Save(Complete, Error)) {
        Complain(Error);
        Status = ExitTournamentOutputFailed;
    }
    if (!Complete && (Interrupted || Status == ExitTournamentInterrupted))
        Complain("stopped after " + std::to_string(Session.Results().GamesDone()) + " of " +
                 std::to_string(Session.Results().Schedule().Games()) + " games" +
                 (DocumentPath ? "; go on with --resume " + *DocumentPath : std::string()));
    for (const std::string &Line : Session.ProblemLines()) Complain(Line);
    PrintReport(Session.Results());
    if (!StdoutWritten() && Status == ExitTournamentPlayed) Status = ExitTournamentOutputFailed;
    return Status;
}

int Run(const TTournamentCommand &Command) {
    switch (Command.Action) {
        case TTournamentAction::Play:
            return PlayTournament(Command);
        case TTournamentAction::Plan:
            return WritePlan(Command);
        case TTournamentAction::ShardCount:
            return PrintShardCount(Command);
        case TTournamentAction::RunShard:
            return RunShard(Command);
        case TTournamentAction::Merge:
            return MergeShards(Command);
    }
    return ExitTournamentBadArguments;
}

}  // namespace
}  // namespace velkaran

int main(int Argc, char **Argv) {
    using namespace velkaran;
    std::setlocale(LC_ALL, "");
    // The signals that end a tournament are looked at when the program is ready for them, never
    // delivered at random: blocked here, before any thread starts, so that all inherit it.
    BlockTerminationSignals();
    const auto Parsed = ParseTournamentCommand(Argc, Argv);
    if (const int *Status = std::get_if<int>(&Parsed)) return *Status;
    const TTournamentCommand &Command = std::get<TTournamentCommand>(Parsed);
    // A bot's child that left its worker's group comes here when the worker ends, and ends with the run.
    AdoptOrphanedDescendants();
    int Status = ExitTournamentOutputFailed;
    try {
        Status = Run(Command);
    } catch (const std::bad_alloc &) {
        Complain("out of memory");
    } catch (const std::exception &Failure) {
        // The host's own failure, never a bot's: the games counted so far are on disk.
        Complain(std::string("the host failed: ") + Failure.what());
        Status = ExitTournamentHostFailed;
    }
    EndAdoptedChildren();
    return Status;
}
