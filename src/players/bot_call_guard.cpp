// The guard: trampolines that mark the bot call in progress, and the handlers that report it.
#include "bot_call_guard.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cassert>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>

namespace velkaran {
namespace {

constexpr std::size_t LabelCapacity = 1024;

struct TGuardedSlot {
    TStartGameProc StartGame = nullptr;
    TGetTurnProc GetTurn = nullptr;
    char Label[LabelCapacity] = {};
};

std::array<TGuardedSlot, 2> Slots;
char LoadingPath[LabelCapacity] = {};
std::mutex LoadingPathMutex;  // between MarkLoading and a snapshot from another thread
TBotCallGuardSettings Installed;

// The marked call is read by the signal handlers and, through SnapshotCallInProgress, by another
// thread; hence atomics, lock-free so that handlers may read them. ActiveToken is the call's kind
// in the low bits and a number counting the calls above (0: no call), and it is written last, with
// release order, so that a reader that sees the same token before and after reading the numbers
// has read a consistent record (a sequence lock that costs the calling thread only plain stores).
constexpr uint64_t KindBits = 3;
constexpr uint64_t KindMask = (uint64_t{1} << KindBits) - 1;
static_assert(static_cast<uint64_t>(TGuardedCall::LoadingLibrary) <= KindMask, "every kind fits the token");
static_assert(std::atomic<uint64_t>::is_always_lock_free && std::atomic<int64_t>::is_always_lock_free &&
                  std::atomic<int32_t>::is_always_lock_free,
              "signal handlers read the record");

std::atomic<uint64_t> ActiveToken{0};
uint64_t CallsMarked = 0;  // the marking thread's own count
std::atomic<int32_t> ActiveSlot{-1};
std::atomic<int32_t> ActiveSeat{0};
std::atomic<int32_t> ActiveRound{0};
std::atomic<int64_t> GameNumber{0};
TGuardedCall CallLeftByException = TGuardedCall::None;

TGuardedCall ActiveCall() {
    return static_cast<TGuardedCall>(ActiveToken.load(std::memory_order_relaxed) & KindMask);
}

void CopyText(char (&To)[LabelCapacity], const std::string &From) {
    const std::size_t Length = std::min(From.size(), LabelCapacity - 1);
    std::memcpy(To, From.data(), Length);
    To[Length] = '\0';
}

// Ends the mark. The numbers of the record (the game number too) change only after the 0.
void Leave() {
    ActiveToken.store(0, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
}

void Enter(int Slot, int32_t Seat, TGuardedCall Call, int32_t Round) {
    Leave();
    ActiveSlot.store(Slot, std::memory_order_relaxed);
    ActiveSeat.store(Seat, std::memory_order_relaxed);
    ActiveRound.store(Round, std::memory_order_relaxed);
    ++CallsMarked;
    ActiveToken.store(CallsMarked << KindBits | static_cast<uint64_t>(Call), std::memory_order_release);
}

// The last marked call as Call, from the numbers and buffers written when it began.
TCallInProgress Describe(TGuardedCall Call) {
    TCallInProgress Described;
    Described.Call = Call;
    if (Call == TGuardedCall::LoadingLibrary) {
        Described.LibraryPath = LoadingPath;
    } else if (const int32_t Slot = ActiveSlot.load(std::memory_order_relaxed);
               Slot >= 0 && Slot < static_cast<int>(Slots.size())) {
        Described.Label = Slots[static_cast<std::size_t>(Slot)].Label;
    }
    Described.Seat = ActiveSeat.load(std::memory_order_relaxed);
    Described.Round = ActiveRound.load(std::memory_order_relaxed);
    Described.Game = GameNumber.load(std::memory_order_relaxed);
    return Described;
}

// Marks a bot call for its lifetime. When an exception leaves the call, the call is remembered
// for TakeCallLeftByException.
class TCallMark {
public:
    TCallMark(int Slot, int32_t Seat, TGuardedCall Call, int32_t Round)
        : Call_(Call), Exceptions_(std::uncaught_exceptions()) {
        CallLeftByException = TGuardedCall::None;
        Enter(Slot, Seat, Call, Round);
    }
    ~TCallMark() {
        if (std::uncaught_exceptions() > Exceptions_) CallLeftByException = Call_;
        Leave();
    }
    TCallMark(const TCallMark &) = delete;
    TCallMark &operator=(const TCallMark &) = delete;

private:
    TGuardedCall Call_;
    int Exceptions_;
};

template <int Slot>
void GuardedStartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    if (PlayerIndex == 0 && CardSet != nullptr)  // a game opens with seat 1
        GameNumber.store(GameNumber.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    const TCallMark Mark(Slot, PlayerIndex,
                         CardSet != nullptr ? TGuardedCall::OpeningStartGame : TGuardedCall::ClosingStartGame,
                         Info != nullptr ? Info->Turn : 0);
    Slots[Slot].StartGame(PlayerIndex, CardSet, Info);
}

template <int Slot>
int32_t GuardedGetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                       const TTurnInfo *Info) {
    const TCallMark Mark(Slot, PlayerIndex, TGuardedCall::Turn, Info != nullptr ? Info->Turn : 0);
    return Slots[Slot].GetTurn(PlayerIndex, View, Playable, Info);
}

constexpr std::array<TStartGameProc, 2> StartGameTrampolines = {GuardedStartGame<0>, GuardedStartGame<1>};
constexpr std::array<TGetTurnProc, 2> GetTurnTrampolines = {GuardedGetTurn<0>, GuardedGetTurn<1>};

struct TFatalSignal {
    int Number;
    const char *Name;
    const char *Meaning;
};

constexpr auto FatalSignals = std::to_array<TFatalSignal>({
    {SIGSEGV, "SIGSEGV", "invalid memory access"},
    {SIGBUS, "SIGBUS", "bus error"},
    {SIGFPE, "SIGFPE", "arithmetic error"},
    {SIGILL, "SIGILL", "illegal instruction"},
    {SIGABRT, "SIGABRT", "aborted"},
    {SIGTRAP, "SIGTRAP", "trap"},
    {SIGSYS, "SIGSYS", "bad system call"},
});
static_assert(FatalSignals.size() == 7, "the seven signals a bot's fault can raise");

std::array<struct sigaction, FatalSignals.size()> PreviousActions;  // restored for the program's own faults

// Hands the marked call to the program's reaction; the mark ends first.
[[noreturn]] void ReactToCrash(int Signal) {
    const TCallInProgress Call = Describe(ActiveCall());
    Leave();
    Installed.React(Call, Signal);
    _exit(127);  // a reaction must not return
}

void OnFatalSignal(int Signal, siginfo_t *Info, void *) {
    const bool SentFromOutside = Installed.PassOnSignalsFromOutside && Info != nullptr &&
                                 Info->si_code <= 0 && Info->si_pid != getpid();
    if (ActiveCall() == TGuardedCall::None || SentFromOutside) {
        // Not a bot's doing: hand it to whoever handled it before (the default action, or a
        // sanitizer's report). A fault of the processor strikes again on return; a sent signal
        // is sent again.
        for (std::size_t I = 0; I < FatalSignals.size(); ++I)
            if (FatalSignals[I].Number == Signal) sigaction(Signal, &PreviousActions[I], nullptr);
        if (Info == nullptr || Info->si_code <= 0) raise(Signal);
        return;
    }
    ReactToCrash(Signal);
}

void OnExit() {
    if (ActiveCall() != TGuardedCall::None) ReactToCrash(0);
}

class TGuardingLoader final : public LibraryLoader {
public:
    void *Load(const std::string &Path, std::string &Error) override {
        MarkLoading(Path);
        return SystemLibraryLoader().Load(Path, Error);
    }
    void *Symbol(void *Library, const char *Name) override {
        return SystemLibraryLoader().Symbol(Library, Name);
    }
};

const TFatalSignal *FindFatalSignal(int Signal) {
    for (const TFatalSignal &Fatal : FatalSignals)
        if (Fatal.Number == Signal) return &Fatal;
    return nullptr;
}

}  // namespace

void InstallBotCallGuard(const TBotCallGuardSettings &Settings) {
    assert(Settings.React != nullptr && "the guard needs the program's reaction");
    Installed = Settings;

    static char AlternateStack[1 << 16];
    stack_t Stack{};
    Stack.ss_sp = AlternateStack;
    Stack.ss_size = sizeof AlternateStack;
    sigaltstack(&Stack, nullptr);

    struct sigaction Action {};
    Action.sa_sigaction = OnFatalSignal;
    Action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&Action.sa_mask);
    for (std::size_t I = 0; I < FatalSignals.size(); ++I)
        sigaction(FatalSignals[I].Number, &Action, &PreviousActions[I]);
    std::atexit(OnExit);
}

TBot GuardBot(const TBot &Bot, int Slot, const std::string &Label) {
    TGuardedSlot &Guarded = Slots.at(static_cast<std::size_t>(Slot));
    Guarded.StartGame = Bot.StartGameProc;
    Guarded.GetTurn = Bot.GetTurnProc;
    CopyText(Guarded.Label, Label);
    TBot Result = Bot;
    if (Bot.StartGameProc != nullptr)
        Result.StartGameProc = StartGameTrampolines[static_cast<std::size_t>(Slot)];
    if (Bot.GetTurnProc != nullptr) Result.GetTurnProc = GetTurnTrampolines[static_cast<std::size_t>(Slot)];
    return Result;
}

void MarkLoading(const std::string &Path) {
    Leave();
    {
        const std::lock_guard Lock(LoadingPathMutex);
        CopyText(LoadingPath, Path);
    }
    Enter(-1, 0, TGuardedCall::LoadingLibrary, 0);
}

void EndLoading() { Leave(); }

LibraryLoader &GuardedLibraryLoader() {
    static TGuardingLoader Loader;
    return Loader;
}

TCallSnapshot SnapshotCallInProgress() {
    for (;;) {
        TCallSnapshot Snapshot;
        Snapshot.Token = ActiveToken.load(std::memory_order_acquire);
        if (Snapshot.Token == 0) return Snapshot;
        Snapshot.Call = Describe(static_cast<TGuardedCall>(Snapshot.Token & KindMask));
        if (Snapshot.Call.Call == TGuardedCall::LoadingLibrary) {
            const std::lock_guard Lock(LoadingPathMutex);
            Snapshot.LibraryPath = LoadingPath;
        } else {
            Snapshot.Label = Snapshot.Call.Label;  // a slot's label is written before its calls
        }
        Snapshot.Call.Label = "";
        Snapshot.Call.LibraryPath = "";
        std::atomic_thread_fence(std::memory_order_acquire);
        if (ActiveToken.load(std::memory_order_relaxed) == Snapshot.Token) return Snapshot;
    }
}

std::optional<TCallInProgress> TakeCallLeftByException() {
    if (CallLeftByException == TGuardedCall::None) return std::nullopt;
    const TCallInProgress Call = Describe(CallLeftByException);
    CallLeftByException = TGuardedCall::None;
    return Call;
}

void UnblockFatalSignals() {
    sigset_t Fatal;
    sigemptyset(&Fatal);
    for (const TFatalSignal &Signal : FatalSignals) sigaddset(&Fatal, Signal.Number);
    sigprocmask(SIG_UNBLOCK, &Fatal, nullptr);
}

const char *FatalSignalName(int Signal) {
    const TFatalSignal *Fatal = FindFatalSignal(Signal);
    return Fatal != nullptr ? Fatal->Name : nullptr;
}

const char *FatalSignalMeaning(int Signal) {
    const TFatalSignal *Fatal = FindFatalSignal(Signal);
    return Fatal != nullptr ? Fatal->Meaning : nullptr;
}

}  // namespace velkaran
