// The workers of a run: found by library, probed, reached by the seats, replaced after faults.
#include "worker_pool.h"

#include "host_failure.h"
#include "players/bot_manifest.h"
#include "players/printable_text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace velkaran {

struct TBotWorkerPool::TEntry {
    std::string Path;  // as first named
    std::shared_ptr<TPinnedLibrary> Library;
    std::unique_ptr<TWorkerProcess> Process;
    uint64_t Generation = 0;  // counts the workers started for this library
    // The last probe's failure: the library is not probed again (one that hangs while loading
    // would cost its deadline every time) while it is the one pinned.
    std::optional<TBotLoad> Failed;

    bool Alive() const { return Process != nullptr && Process->Alive(); }
};

namespace {

using worker::TAnswer;
using worker::TRequest;
using worker::TRequestKind;

// The manifest of a program bot as its run pinned it; nothing, with the reason, when it is unusable.
std::optional<TBotManifest> PinnedManifest(const TPinnedLibrary &Library, std::string &Error) {
    std::string Text(MaxManifestBytes + 1, '\0');
    std::size_t Size = 0;
    while (Size < Text.size()) {
        const ssize_t Read =
            pread(Library.Fd(), Text.data() + Size, Text.size() - Size, static_cast<off_t>(Size));
        if (Read < 0 && errno == EINTR) continue;
        if (Read < 0) {
            Error = "the manifest cannot be read";
            return std::nullopt;
        }
        if (Read == 0) break;
        Size += static_cast<std::size_t>(Read);
    }
    Text.resize(Size);
    return ParseBotManifest(Text, Library.Path(), Error);
}

TBotLoad Unusable(const std::string &Path, std::string Reason) {
    TBotLoad Load;
    Load.Bot.Path = Path;
    Load.Problem = TBotProblem::NotLoadable;
    Load.Reason = std::move(Reason);
    return Load;
}

// The outcome of a Load exchange as a loading result. What the worker sent is the bot's text:
// its control characters are escaped.
TBotLoad LoadResult(const std::string &Path, const TCallOutcome &Outcome, const TAnswer &Answer,
                    double TimeoutMs) {
    if (Outcome.Fault == TCallFault::Hung)
        return Unusable(
            Path, "did not finish loading within " + std::to_string(std::lround(TimeoutMs / 1000)) + " s");
    if (Outcome.Fault != TCallFault::None)
        return Unusable(Path, "failed while loading: " + EscapeControlCharacters(Outcome.Detail));
    if (Answer.Problem < static_cast<int32_t>(TBotProblem::None) ||
        Answer.Problem > static_cast<int32_t>(TBotProblem::NoGetTurn))
        return Unusable(Path, "its worker answered an unknown loading problem");
    TBotLoad Load;
    Load.Bot.Path = Path;
    Load.Problem = static_cast<TBotProblem>(Answer.Problem);
    Load.Reason = EscapeControlCharacters(Answer.Text);
    if (Load.Problem == TBotProblem::None || Load.Problem == TBotProblem::NoStartGame ||
        Load.Problem == TBotProblem::NoGetTurn)
        Load.Bot.Name = EscapeControlCharacters(Answer.Name);
    Load.Bot.Available = Load.Problem == TBotProblem::None;
    return Load;
}

// A call's outcome with what the worker said escaped.
TCallOutcome Escaped(TCallOutcome Outcome) {
    Outcome.Detail = EscapeControlCharacters(Outcome.Detail);
    return Outcome;
}

// What a seat keeps between calls: the worker it opened its game with.
struct TSeatState {
    std::string Path;
    TBotWorkerPool::TEntry *Entry = nullptr;  // found at the seat's first call
    bool Opened = false;  // this seat's game began with its opening call and has not ended for it
    uint64_t OpenedGeneration = 0;
    TRequest Request;  // reused: a call fills what it sends
    TAnswer Answer;

    bool SameWorkerAsOpening() const {
        return Entry != nullptr && Entry->Alive() && Entry->Generation == OpenedGeneration;
    }
};

// The call deadline the environment's test hook asks for, if any.
std::optional<double> HookedCallDeadline() {
    const char *Hook = std::getenv("VELKARAN_TEST_CALL_DEADLINE_MS");
    if (Hook == nullptr) return std::nullopt;
    char *End = nullptr;
    const double Ms = std::strtod(Hook, &End);
    if (End == Hook || *End != '\0' || !(Ms > 0)) return std::nullopt;
    return Ms;
}

}  // namespace

TBotWorkerPool::TBotWorkerPool(TWorkerPoolSettings Settings) : Settings(std::move(Settings)) {
    if (this->Settings.Worker.Program.empty()) this->Settings.Worker.Program = DefaultWorkerProgram();
    if (!this->Settings.Run) this->Settings.Run = std::make_shared<TWorkerRun>();
    if (const std::optional<double> Hooked = HookedCallDeadline()) this->Settings.CallTimeoutMs = *Hooked;
}

TBotWorkerPool::~TBotWorkerPool() { StopAll(); }

TBotWorkerPool::TEntry *TBotWorkerPool::EntryFor(const std::string &Path, std::string &Error) {
    std::shared_ptr<TPinnedLibrary> Library = Settings.Run->Library(Path, Error, Settings.FollowFileChanges);
    if (!Library) return nullptr;
    for (const std::unique_ptr<TEntry> &Entry : Entries)
        if (Entry->Library == Library) return Entry.get();
    // The file was pinned anew: its entry's worker still runs the old content.
    for (const std::unique_ptr<TEntry> &Entry : Entries) {
        if (Entry->Path != Path) continue;
        Entry->Process.reset();
        Entry->Library = std::move(Library);
        Entry->Failed.reset();
        return Entry.get();
    }
    auto Entry = std::make_unique<TEntry>();
    Entry->Path = Path;
    Entry->Library = std::move(Library);
    Entries.push_back(std::move(Entry));
    return Entries.back().get();
}

pid_t TBotWorkerPool::WorkerPid(const std::string &Path) const {
    struct stat File {};
    const bool Identified = stat(Path.c_str(), &File) == 0;
    for (const std::unique_ptr<TEntry> &Entry : Entries) {
        const bool Same =
            Entry->Path == Path || (Identified && Entry->Library->IsFile(File.st_dev, File.st_ino));
        if (Same) return Entry->Alive() ? Entry->Process->Pid() : -1;
    }
    return -1;
}

TBotLoad TBotWorkerPool::Probe(const std::string &Path) {
    std::string Error;
    TEntry *Entry = EntryFor(Path, Error);
    if (Entry == nullptr) return Unusable(Path, "cannot be read: " + Error);
    if (!Entry->Alive() && Entry->Failed) {
        TBotLoad Load = *Entry->Failed;
        Load.Bot.Path = Path;
        return Load;
    }
    if (!Entry->Alive()) {
        std::optional<TBotManifest> Program;
        if (IsManifestName(std::filesystem::path(Entry->Library->Path()).filename().string())) {
            Program = PinnedManifest(*Entry->Library, Error);
            if (!Program) {
                Entry->Failed = Unusable(Path, EscapeControlCharacters(Error));
                return *Entry->Failed;
            }
        }
        const int Output = Settings.Run->OutputFor(*Entry->Library);
        try {
            Entry->Process = TWorkerProcess::Start(Settings.Worker, *Settings.Run, *Entry->Library, Output,
                                                   Program ? &*Program : nullptr);
        } catch (...) {
            close(Output);
            throw;
        }
        close(Output);
        if (!Entry->Process) return Unusable(Path, "its run was stopped");
        ++Entry->Generation;
    }
    TRequest Request;
    Request.Kind = TRequestKind::Load;
    TAnswer Answer;
    const TCallOutcome Outcome = Entry->Process->Exchange(Request, Answer, Settings.LoadTimeoutMs);
    TBotLoad Load = LoadResult(Path, Outcome, Answer, Settings.LoadTimeoutMs);
    Load.Fingerprint = Entry->Library->Fingerprint();
    Entry->Failed.reset();
    if (!Load.Bot.Available && !Settings.Run->Stopped()) {
        Entry->Process.reset();
        Entry->Failed = Load;
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
    State->Path = Bot.Path;
    const double Timeout = CallTimeoutMs;

    TStartGameFn StartGame = [this, State, Timeout](int32_t Index, TCardList *CardSet,
                                                    const TTurnInfo *Info) -> TCallOutcome {
        if (State->Entry == nullptr) {
            std::string Error;
            State->Entry = EntryFor(State->Path, Error);
            if (State->Entry == nullptr) return {TCallFault::Crashed, "its library cannot be read: " + Error};
        }
        TEntry &Entry = *State->Entry;
        if (CardSet != nullptr) {  // the opening call: this game's worker, fresh after a fault
            if (!Entry.Alive())
                if (TCallOutcome Failed = Restart(Entry); Failed.Fault != TCallFault::None) return Failed;
            State->Opened = true;
            State->OpenedGeneration = Entry.Generation;
        } else if (State->Opened) {  // the closing call of a game the seat opened
            State->Opened = false;
            if (!State->SameWorkerAsOpening()) return {TCallFault::None, "", true};
        } else if (!Entry.Alive()) {  // a game that ended before it asked this seat for its set
            if (TCallOutcome Failed = Restart(Entry); Failed.Fault != TCallFault::None) return Failed;
        }
        TRequest &Request = State->Request;
        Request.Kind = TRequestKind::StartGame;
        Request.PlayerIndex = Index;
        Request.HasList = CardSet != nullptr ? 1 : 0;
        Request.List = CardSet != nullptr ? *CardSet : TCardList{};
        Request.View = TGameView{};
        Request.Info = *Info;
        TCallOutcome Outcome = Entry.Process->Exchange(Request, State->Answer, Timeout);
        if (Outcome.Fault != TCallFault::None) {
            State->Opened = false;  // the game calls this seat no more
            return Escaped(std::move(Outcome));
        }
        if (CardSet != nullptr) *CardSet = State->Answer.List;
        return Outcome;
    };

    TGetTurnFn GetTurn = [State, Timeout](int32_t Index, const TGameView *View, const TCardList *Playable,
                                          const TTurnInfo *Info) -> TTurnAnswer {
        TTurnAnswer Turn;
        if (!State->SameWorkerAsOpening()) {
            State->Opened = false;
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
        } else {
            State->Opened = false;
            Turn.Outcome = Escaped(std::move(Turn.Outcome));
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
    return Endings;
}

}  // namespace velkaran
