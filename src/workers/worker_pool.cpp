// The workers of a run: found by library file, probed, reached by the seats, replaced after faults.
#include "worker_pool.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>

namespace velkaran {

struct TBotWorkerPool::TEntry {
    std::string Path;
    dev_t Device = 0;
    ino_t Inode = 0;
    bool Identified = false;  // Device and Inode are the file's; else the path tells entries apart
    std::unique_ptr<TWorkerProcess> Process;
    uint64_t Generation = 0;  // counts the workers started for this library
    // The last probe's failure and the file as it was then: an unchanged file is not probed again
    // (a library that hangs while loading would cost its deadline every time).
    std::optional<TBotLoad> Failed;
    std::string FailedFile;

    bool Alive() const { return Process != nullptr && Process->Alive(); }
};

namespace {

using worker::TAnswer;
using worker::TRequest;
using worker::TRequestKind;

std::string FileName(const std::string &Path) { return std::filesystem::path(Path).filename().string(); }

// The outcome of a Load exchange as a loading result.
TBotLoad LoadResult(const std::string &Path, const TCallOutcome &Outcome, const TAnswer &Answer,
                    double TimeoutMs) {
    TBotLoad Load;
    Load.Bot.Path = Path;
    if (Outcome.Fault == TCallFault::Hung) {
        Load.Problem = TBotProblem::NotLoadable;
        Load.Reason = "did not finish loading within " + std::to_string(std::lround(TimeoutMs / 1000)) + " s";
        return Load;
    }
    if (Outcome.Fault != TCallFault::None) {
        Load.Problem = TBotProblem::NotLoadable;
        Load.Reason = "failed while loading: " + Outcome.Detail;
        return Load;
    }
    if (Answer.Problem < static_cast<int32_t>(TBotProblem::None) ||
        Answer.Problem > static_cast<int32_t>(TBotProblem::NoGetTurn)) {
        Load.Problem = TBotProblem::NotLoadable;
        Load.Reason = "its worker answered an unknown loading problem";
        return Load;
    }
    Load.Problem = static_cast<TBotProblem>(Answer.Problem);
    Load.Reason = Answer.Text;
    if (Load.Problem == TBotProblem::None || Load.Problem == TBotProblem::NoStartGame ||
        Load.Problem == TBotProblem::NoGetTurn)
        Load.Bot.Name = Answer.Name;
    Load.Bot.Available = Load.Problem == TBotProblem::None;
    return Load;
}

// The file at Path as far as telling a changed file goes: device, inode, size and modification
// time; empty when there is no such file.
std::string FileState(const std::string &Path) {
    struct stat File {};
    if (stat(Path.c_str(), &File) != 0) return "";
    return std::to_string(File.st_dev) + ":" + std::to_string(File.st_ino) + ":" +
           std::to_string(File.st_size) + ":" + std::to_string(File.st_mtim.tv_sec) + "." +
           std::to_string(File.st_mtim.tv_nsec);
}

// What a seat keeps between calls: the worker it opened its game with.
struct TSeatState {
    TBotWorkerPool::TEntry *Entry = nullptr;
    uint64_t OpenedGeneration = 0;
    TRequest Request;  // reused: a call fills what it sends
    TAnswer Answer;

    bool SameWorkerAsOpening() const { return Entry->Alive() && Entry->Generation == OpenedGeneration; }
};

}  // namespace

TBotWorkerPool::TBotWorkerPool(TWorkerPoolSettings Settings) : Settings(std::move(Settings)) {
    if (this->Settings.Worker.Program.empty()) this->Settings.Worker.Program = DefaultWorkerProgram();
}

TBotWorkerPool::~TBotWorkerPool() { StopAll(); }

TBotWorkerPool::TEntry &TBotWorkerPool::EntryFor(const std::string &Path) {
    struct stat File {};
    const bool Identified = stat(Path.c_str(), &File) == 0;
    for (const std::unique_ptr<TEntry> &Entry : Entries) {
        if (Identified && Entry->Identified && Entry->Device == File.st_dev && Entry->Inode == File.st_ino)
            return *Entry;
        if (!Identified && !Entry->Identified && Entry->Path == Path) return *Entry;
    }
    auto Entry = std::make_unique<TEntry>();
    Entry->Path = Path;
    Entry->Identified = Identified;
    Entry->Device = File.st_dev;
    Entry->Inode = File.st_ino;
    Entries.push_back(std::move(Entry));
    return *Entries.back();
}

int TBotWorkerPool::OutputFor(const TEntry &Entry, std::string &Error) {
    if (Settings.OutputFolder.empty()) {
        if (!Relay) Relay = Settings.Relay ? Settings.Relay : std::make_shared<TOutputRelay>();
        const int Fd = Relay->Attach(FileName(Entry.Path));
        if (Fd < 0) Error = std::string("cannot make a pipe for the bot's output: ") + std::strerror(errno);
        return Fd;
    }
    const std::string Log =
        (std::filesystem::path(Settings.OutputFolder) / (FileName(Entry.Path) + ".log")).string();
    // The first worker of a run (of this process, whatever its pool) starts the file afresh; its
    // successors add to it.
    static std::mutex Lock;
    static std::vector<std::string> OpenedLogs;
    const std::lock_guard<std::mutex> Guard(Lock);
    const bool First = std::find(OpenedLogs.begin(), OpenedLogs.end(), Log) == OpenedLogs.end();
    const int Fd = open(Log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (First ? O_TRUNC : 0), 0644);
    if (Fd < 0) {
        Error = "cannot write the bot's output to " + Log + ": " + std::strerror(errno);
        return -1;
    }
    if (First) OpenedLogs.push_back(Log);
    return Fd;
}

std::string TBotWorkerPool::StartWorker(TEntry &Entry) {
    std::string Error;
    const int Output = OutputFor(Entry, Error);
    if (Output < 0) return Error;
    Entry.Process = TWorkerProcess::Start(Settings.Worker, Entry.Path, Output, Error);
    close(Output);
    if (!Entry.Process) return Error;
    ++Entry.Generation;
    return "";
}

pid_t TBotWorkerPool::WorkerPid(const std::string &Path) const {
    struct stat File {};
    const bool Identified = stat(Path.c_str(), &File) == 0;
    for (const std::unique_ptr<TEntry> &Entry : Entries) {
        const bool Same = Identified && Entry->Identified
                              ? Entry->Device == File.st_dev && Entry->Inode == File.st_ino
                              : Entry->Path == Path;
        if (Same) return Entry->Alive() ? Entry->Process->Pid() : -1;
    }
    return -1;
}

TBotLoad TBotWorkerPool::Probe(const std::string &Path) {
    TEntry &Entry = EntryFor(Path);
    const std::string File = FileState(Path);
    if (!Entry.Alive() && Entry.Failed && Entry.FailedFile == File) return *Entry.Failed;
    if (!Entry.Alive()) {
        if (const std::string Error = StartWorker(Entry); !Error.empty()) {
            TBotLoad Load;
            Load.Bot.Path = Path;
            Load.Problem = TBotProblem::NotLoadable;
            Load.Reason = Error;
            return Load;
        }
    }
    TRequest Request;
    Request.Kind = TRequestKind::Load;
    TAnswer Answer;
    const TCallOutcome Outcome = Entry.Process->Exchange(Request, Answer, Settings.LoadTimeoutMs);
    TBotLoad Load = LoadResult(Path, Outcome, Answer, Settings.LoadTimeoutMs);
    Entry.Failed.reset();
    if (!Load.Bot.Available) {
        Entry.Process.reset();
        Entry.Failed = Load;
        Entry.FailedFile = File;
    }
    return Load;
}

TCallOutcome TBotWorkerPool::Restart(TEntry &Entry) {
    const TBotLoad Load = Probe(Entry.Path);
    if (Load.Bot.Available) return {};
    return {TCallFault::Crashed, "its worker could not be started again: " + Load.Reason};
}

TSeatCalls TBotWorkerPool::Seat(const TBot &Bot) { return Seat(Bot, Settings.CallTimeoutMs); }

TSeatCalls TBotWorkerPool::Seat(const TBot &Bot, double CallTimeoutMs) {
    auto State = std::make_shared<TSeatState>();
    State->Entry = &EntryFor(Bot.Path);
    const double Timeout = CallTimeoutMs;

    TStartGameFn StartGame = [this, State, Timeout](int32_t Index, TCardList *CardSet,
                                                    const TTurnInfo *Info) -> TCallOutcome {
        TEntry &Entry = *State->Entry;
        if (CardSet != nullptr) {  // the opening call: this game's worker, fresh after a fault
            if (!Entry.Alive())
                if (TCallOutcome Failed = Restart(Entry); Failed.Fault != TCallFault::None) return Failed;
            State->OpenedGeneration = Entry.Generation;
        } else if (!State->SameWorkerAsOpening()) {
            return {TCallFault::None, "", true};
        }
        TRequest &Request = State->Request;
        Request.Kind = TRequestKind::StartGame;
        Request.PlayerIndex = Index;
        Request.HasList = CardSet != nullptr ? 1 : 0;
        Request.List = CardSet != nullptr ? *CardSet : TCardList{};
        Request.View = TGameView{};
        Request.Info = *Info;
        TCallOutcome Outcome = Entry.Process->Exchange(Request, State->Answer, Timeout);
        if (Outcome.Fault == TCallFault::None && CardSet != nullptr) *CardSet = State->Answer.List;
        return Outcome;
    };

    TGetTurnFn GetTurn = [State, Timeout](int32_t Index, const TGameView *View, const TCardList *Playable,
                                          const TTurnInfo *Info) -> TTurnAnswer {
        TTurnAnswer Turn;
        if (!State->SameWorkerAsOpening()) {
            Turn.Outcome = {TCallFault::Crashed, "its worker had ended before the call"};
            return Turn;
        }
        TRequest &Request = State->Request;
        Request.Kind = TRequestKind::GetTurn;
        Request.PlayerIndex = Index;
        Request.HasList = Playable != nullptr ? 1 : 0;
        Request.List = Playable != nullptr ? *Playable : TCardList{};
        Request.View = *View;
        Request.Info = *Info;
        Turn.Outcome = State->Entry->Process->Exchange(Request, State->Answer, Timeout);
        if (Turn.Outcome.Fault == TCallFault::None) {
            Turn.Card = State->Answer.Card;
            Turn.OwnTimeMs = State->Answer.DurationMs;
        }
        return Turn;
    };
    return {std::move(StartGame), std::move(GetTurn)};
}

void TBotWorkerPool::Retain(const std::vector<std::string> &Paths) {
    std::erase_if(Entries, [&Paths](const std::unique_ptr<TEntry> &Entry) {
        return std::find(Paths.begin(), Paths.end(), Entry->Path) == Paths.end();
    });
}

std::vector<TWorkerEnding> TBotWorkerPool::StopAll() {
    std::vector<TWorkerEnding> Endings;
    for (const std::unique_ptr<TEntry> &Entry : Entries) {
        if (!Entry->Alive()) continue;
        if (std::string How = Entry->Process->Stop(Settings.StopGraceMs); !How.empty())
            Endings.push_back({Entry->Path, std::move(How)});
        Entry->Process.reset();
    }
    Relay.reset();
    return Endings;
}

}  // namespace velkaran
