// velkaran-tournament: plays many bots against each other, several games at once, and prints the
// standings, a crosstable and the statistics; saves and resumes; plays and merges shards of a plan.
#include "command_line.h"
#include "plan_actions.h"
#include "tournament_bots.h"
#include "tournament_session.h"

#include "tournament/tournament_report.h"
#include "workers/adopted_children.h"

#include <signal.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <filesystem>

namespace velkaran {
namespace {

void Complain(const std::string &Message) {
    std::fprintf(stderr, "velkaran-tournament: %s\n", Message.c_str());
}

void PrintReport(const TTournamentResults &Results) {
    for (const std::string &Line : ReportLines(ComputeStatistics(Results), Results))
        std::printf("%s\n", Line.c_str());
    std::fflush(stdout);
}

// The journal for a document at Path, in its folder; null after a message when there is none.
std::unique_ptr<TRecordJournal> OpenJournal(const std::string &Path) {
    std::string Error;
    auto Journal = TRecordJournal::Open(std::filesystem::path(Path).parent_path().string(), Error);
    if (!Journal) Complain(Error);
    return Journal;
}

int PlayTournament(const TTournamentCommand &Command) {
    const TWorkerPoolSettings Workers = TournamentWorkers(
        Command.BotMemoryMb, Command.Sandbox, Command.BotOutputFolder, Command.LoadTimeoutSeconds);
    std::unique_ptr<TTournamentResults> Results;
    std::unique_ptr<TRecordJournal> Journal;
    const std::optional<std::string> DocumentPath = Command.JsonPath ? Command.JsonPath : Command.ResumePath;
    if (DocumentPath && !(Journal = OpenJournal(*DocumentPath))) return ExitTournamentBadArguments;

    if (Command.ResumePath) {
        std::string Error;
        auto Saved = ReadTournament(
            *Command.ResumePath, [&Journal](const TGameRecord &Record) { Journal->Append(Record); }, Error);
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
    } else {
        const TProbingWatch Watch(*Workers.Run);
        TBotWorkerPool Probing(Workers);
        const std::optional<TTournamentConfig> Config = NewTournamentConfig(Command, Probing);
        if (!Config) return ExitTournamentBadArguments;
        Results = std::make_unique<TTournamentResults>(*Config);
    }

    const TTournamentConfig Config = Results->Config();
    std::vector<bool> DoneBefore;
    for (int64_t Index = 0; Index < Results->Schedule().Games(); ++Index)
        DoneBefore.push_back(Results->IsDone(Index));
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
    bool Interrupted = false;
    std::string Error;
    try {
        Interrupted = Session.Play(
            Runner, [&DoneBefore](int64_t Index) { return DoneBefore[static_cast<std::size_t>(Index)]; },
            isatty(STDERR_FILENO) == 1);
    } catch (...) {
        // The games counted so far stay, for --resume.
        if (!Session.Save(false, Error)) Complain(Error);
        throw;
    }

    int Status = Interrupted ? ExitTournamentInterrupted : ExitTournamentPlayed;
    if (!Session.Save(!Interrupted, Error)) {
        Complain(Error);
        if (!Interrupted) Status = ExitTournamentOutputFailed;
    }
    if (Interrupted)
        std::fprintf(stderr, "velkaran-tournament: stopped after %lld of %lld games%s\n",
                     static_cast<long long>(Session.Results().GamesDone()),
                     static_cast<long long>(Session.Results().Schedule().Games()),
                     DocumentPath ? ("; go on with --resume " + *DocumentPath).c_str() : "");
    PrintReport(Session.Results());
    return Status;
}

}  // namespace
}  // namespace velkaran

int main(int Argc, char **Argv) {
    using namespace velkaran;
    std::setlocale(LC_ALL, "");
    const auto Parsed = ParseTournamentCommand(Argc, Argv);
    if (const int *Status = std::get_if<int>(&Parsed)) return *Status;
    const TTournamentCommand &Command = std::get<TTournamentCommand>(Parsed);
    // The signals that end a tournament are taken by the thread that watches for them, never
    // delivered at random: blocked here, before any thread starts, so that all inherit it.
    sigset_t Ending;
    sigemptyset(&Ending);
    for (const int Signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&Ending, Signal);
    pthread_sigmask(SIG_BLOCK, &Ending, nullptr);
    // A bot's child that left its worker's group comes here when the worker ends, and ends with the run.
    AdoptOrphanedDescendants();
    int Status = ExitTournamentBadArguments;
    try {
        switch (Command.Action) {
            case TTournamentAction::Play:
                Status = PlayTournament(Command);
                break;
            case TTournamentAction::Plan:
                Status = WritePlan(Command);
                break;
            case TTournamentAction::ShardCount:
                Status = PrintShardCount(Command);
                break;
            case TTournamentAction::RunShard:
                Status = RunShard(Command);
                break;
            case TTournamentAction::Merge:
                Status = MergeShards(Command);
                break;
        }
    } catch (const std::exception &Failure) {
        // The host's own failure, never a bot's: the games counted so far are on disk.
        Complain(std::string("the host failed: ") + Failure.what());
        Status = ExitTournamentHostFailed;
    }
    EndAdoptedChildren();
    return Status;
}
