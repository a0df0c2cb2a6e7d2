// The crash guard: trampolines that mark the bot call in progress, and the handlers that report it.
// Everything a handler touches is a fixed buffer or a volatile number written before the call.
#include "crash_guard.h"

#include "command_line.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace velkaran {
namespace {

enum TCallKind : int { NoCall, OpeningStartGame, TurnCall, ClosingStartGame, LoadingLibrary };

constexpr std::size_t LabelCapacity = 1024;

struct TGuardedSlot {
    TStartGameProc StartGame = nullptr;
    TGetTurnProc GetTurn = nullptr;
    char Label[LabelCapacity] = {};  // "the bot "<argument>" (<name>)"
};

std::array<TGuardedSlot, 2> Slots;
char LoadingPath[LabelCapacity] = {};

volatile std::sig_atomic_t ActiveCall = NoCall;
volatile std::sig_atomic_t ActiveSlot = -1;
volatile std::sig_atomic_t ActiveSeat = 0;
volatile std::sig_atomic_t ActiveRound = 0;
volatile int64_t GameNumber = 0;

void CopyText(char (&To)[LabelCapacity], const std::string &From) {
    const std::size_t Length = std::min(From.size(), LabelCapacity - 1);
    std::memcpy(To, From.data(), Length);
    To[Length] = '\0';
}

void Enter(int Slot, int32_t Seat, TCallKind Call, int32_t Round) {
    ActiveSlot = Slot;
    ActiveSeat = Seat;
    ActiveRound = Round;
    ActiveCall = Call;
}

void Leave() { ActiveCall = NoCall; }

template <int Slot>
void GuardedStartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    if (PlayerIndex == 0 && CardSet != nullptr) GameNumber = GameNumber + 1;  // a game opens with seat 1
    Enter(Slot, PlayerIndex, CardSet != nullptr ? OpeningStartGame : ClosingStartGame,
          Info != nullptr ? Info->Turn : 0);
    Slots[Slot].StartGame(PlayerIndex, CardSet, Info);
    Leave();
}

template <int Slot>
int32_t GuardedGetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                       const TTurnInfo *Info) {
    Enter(Slot, PlayerIndex, TurnCall, Info != nullptr ? Info->Turn : 0);
    const int32_t Card = Slots[Slot].GetTurn(PlayerIndex, View, Playable, Info);
    Leave();
    return Card;
}

constexpr std::array<TStartGameProc, 2> StartGameTrampolines = {GuardedStartGame<0>, GuardedStartGame<1>};
constexpr std::array<TGetTurnProc, 2> GetTurnTrampolines = {GuardedGetTurn<0>, GuardedGetTurn<1>};

// Async-signal-safe text building into a fixed buffer.
class SignalSafeText {
public:
    void Add(const char *Text) {
        while (*Text != '\0' && Length_ < sizeof Buffer_) Buffer_[Length_++] = *Text++;
    }
    void Add(int64_t Number) {
        char Digits[24];
        int Count = 0;
        uint64_t Value = Number < 0 ? 0 - static_cast<uint64_t>(Number) : static_cast<uint64_t>(Number);
        do {
            Digits[Count++] = static_cast<char>('0' + Value % 10);
            Value /= 10;
        } while (Value != 0);
        if (Number < 0) Add("-");
        while (Count > 0 && Length_ < sizeof Buffer_) Buffer_[Length_++] = Digits[--Count];
    }
    std::string Take() const { return std::string(Buffer_, Length_); }
    void WriteToStderr() const {
        std::size_t Done = 0;
        while (Done < Length_) {
            const ssize_t Written = write(STDERR_FILENO, Buffer_ + Done, Length_ - Done);
            if (Written <= 0) return;
            Done += static_cast<std::size_t>(Written);
        }
    }

private:
    char Buffer_[3 * LabelCapacity];
    std::size_t Length_ = 0;
};

const char *CallName(int Call) {
    switch (Call) {
        case OpeningStartGame:
            return "StartGame (choosing its cards)";
        case TurnCall:
            return "GetTurn";
        case ClosingStartGame:
            return "StartGame (told the result)";
        default:
            return "a call";
    }
}

// "the bot "x.so" (Name) in GetTurn as the first player, round 3 of game 2", or the loading.
void DescribeCall(SignalSafeText &Text) {
    if (ActiveCall == LoadingLibrary) {
        Text.Add("the library \"");
        Text.Add(LoadingPath);
        Text.Add("\" while it was loaded or asked for its name");
        return;
    }
    Text.Add(Slots[ActiveSlot].Label);
    Text.Add(" in ");
    Text.Add(CallName(ActiveCall));
    Text.Add(ActiveSeat == 0 ? " as the first player" : " as the second player");
    if (ActiveCall == TurnCall) {
        Text.Add(", round ");
        Text.Add(static_cast<int64_t>(ActiveRound));
    }
    Text.Add(" of game ");
    Text.Add(GameNumber);
}

const char *SignalName(int Signal) {
    switch (Signal) {
        case SIGSEGV:
            return "SIGSEGV, invalid memory access";
        case SIGBUS:
            return "SIGBUS, bus error";
        case SIGFPE:
            return "SIGFPE, arithmetic error";
        case SIGILL:
            return "SIGILL, illegal instruction";
        case SIGABRT:
            return "SIGABRT, aborted";
        case SIGTRAP:
            return "SIGTRAP, trap";
        case SIGSYS:
            return "SIGSYS, bad system call";
        default:
            return "a fatal signal";
    }
}

constexpr std::array<int, 7> FatalSignals = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS};

std::array<struct sigaction, FatalSignals.size()> PreviousActions;  // restored for the program's own faults

void OnFatalSignal(int Signal, siginfo_t *Info, void *) {
    const bool SentFromOutside = Info != nullptr && Info->si_code <= 0 && Info->si_pid != getpid();
    if (ActiveCall == NoCall || SentFromOutside) {
        // Not a bot's doing: hand it to whoever handled it before (the default action, or a
        // sanitizer's report). A fault of the processor strikes again on return; a sent signal
        // is sent again.
        for (std::size_t I = 0; I < FatalSignals.size(); ++I)
            if (FatalSignals[I] == Signal) sigaction(Signal, &PreviousActions[I], nullptr);
        if (Info == nullptr || Info->si_code <= 0) raise(Signal);
        return;
    }
    SignalSafeText Text;
    Text.Add("velkaran-match: crash in ");
    DescribeCall(Text);
    Text.Add(" (signal ");
    Text.Add(static_cast<int64_t>(Signal));
    Text.Add(": ");
    Text.Add(SignalName(Signal));
    Text.Add("); no result was written\n");
    Text.WriteToStderr();
    _exit(ExitBotCrashed);
}

void OnExit() {
    if (ActiveCall == NoCall) return;
    SignalSafeText Text;
    Text.Add("velkaran-match: ");
    DescribeCall(Text);
    Text.Add(" ended the program; no result was written\n");
    Text.WriteToStderr();
    _exit(ExitBotCrashed);
}

// Marks each library as it is loaded; the mark stays over its GetName calls until the next one.
class GuardingLoader final : public LibraryLoader {
public:
    void *Load(const std::string &Path, std::string &Error) override {
        GuardLoading(Path);
        return SystemLibraryLoader().Load(Path, Error);
    }
    void *Symbol(void *Library, const char *Name) override {
        return SystemLibraryLoader().Symbol(Library, Name);
    }
};

}  // namespace

void InstallCrashGuard() {
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
        sigaction(FatalSignals[I], &Action, &PreviousActions[I]);
    std::atexit(OnExit);
}

TBot GuardBot(const TBot &Bot, int Slot, const std::string &Label) {
    TGuardedSlot &Guarded = Slots.at(static_cast<std::size_t>(Slot));
    Guarded.StartGame = Bot.StartGameProc;
    Guarded.GetTurn = Bot.GetTurnProc;
    CopyText(Guarded.Label, "the bot \"" + Label + "\" (" + Bot.Name + ")");
    TBot Result = Bot;
    Result.StartGameProc = StartGameTrampolines[static_cast<std::size_t>(Slot)];
    Result.GetTurnProc = GetTurnTrampolines[static_cast<std::size_t>(Slot)];
    return Result;
}

void GuardLoading(const std::string &Path) {
    if (Path.empty()) {
        Leave();
        return;
    }
    CopyText(LoadingPath, Path);
    Enter(-1, 0, LoadingLibrary, 0);
}

std::optional<std::string> TakeCallInProgress() {
    if (ActiveCall == NoCall) return std::nullopt;
    SignalSafeText Text;
    DescribeCall(Text);
    Leave();
    return Text.Take();
}

LibraryLoader &GuardedLibraryLoader() {
    static GuardingLoader Loader;
    return Loader;
}

}  // namespace velkaran
