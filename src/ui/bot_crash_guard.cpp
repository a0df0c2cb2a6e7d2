// The crash guard: trampolines that mark the bot call in progress, and the handlers that start the
// program afresh. Everything a handler touches is prepared before the call: fixed buffers, a
// reserved argument list, and volatile marks.
#include "bot_crash_guard.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace velkaran {
namespace {

constexpr char BotCrashedOption[] = "--bot-crashed";
constexpr char SkipLibraryOption[] = "--skip-library";

enum TCallKind : int { NoCall, OpeningStartGame, TurnCall, ClosingStartGame, LoadingLibrary };

constexpr std::size_t TextCapacity = 1024;

struct TGuardedSlot {
    TStartGameProc StartGame = nullptr;
    TGetTurnProc GetTurn = nullptr;
    char Name[TextCapacity] = {};
};

std::array<TGuardedSlot, 2> Slots;
char LoadingPath[TextCapacity] = {};
volatile std::sig_atomic_t ActiveCall = NoCall;
volatile std::sig_atomic_t ActiveSlot = 0;

// Prepared at installation: the program, the skipped libraries and room for the new argument list.
std::string ProgramPath;
std::vector<std::string> SkippedLibraries;
std::vector<const char *> RestartArguments;
char Message[3 * TextCapacity] = {};

void CopyText(char *To, std::size_t Capacity, const std::string &From) {
    const std::size_t Length = std::min(From.size(), Capacity - 1);
    std::memcpy(To, From.data(), Length);
    To[Length] = '\0';
}

// Marks a call for its lifetime; an exception thrown by the bot ends the mark as well.
class TCallMark {
public:
    TCallMark(int Slot, TCallKind Call) {
        ActiveSlot = Slot;
        ActiveCall = Call;
    }
    ~TCallMark() { ActiveCall = NoCall; }
    TCallMark(const TCallMark &) = delete;
    TCallMark &operator=(const TCallMark &) = delete;
};

template <int Slot>
void GuardedStartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    const TCallMark Mark(Slot, CardSet != nullptr ? OpeningStartGame : ClosingStartGame);
    Slots[Slot].StartGame(PlayerIndex, CardSet, Info);
}

template <int Slot>
int32_t GuardedGetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                       const TTurnInfo *Info) {
    const TCallMark Mark(Slot, TurnCall);
    return Slots[Slot].GetTurn(PlayerIndex, View, Playable, Info);
}

constexpr std::array<TStartGameProc, 2> StartGameTrampolines = {GuardedStartGame<0>, GuardedStartGame<1>};
constexpr std::array<TGetTurnProc, 2> GetTurnTrampolines = {GuardedGetTurn<0>, GuardedGetTurn<1>};

// Appends Text to Message without allocating (async-signal-safe).
void Append(std::size_t &Length, const char *Text) {
    while (*Text != '\0' && Length + 1 < sizeof Message) Message[Length++] = *Text++;
    Message[Length] = '\0';
}

const char *CallName(int Call) {
    switch (Call) {
        case OpeningStartGame:
            return "StartGame (выбор карт)";
        case TurnCall:
            return "GetTurn";
        case ClosingStartGame:
            return "StartGame (итог игры)";
        default:
            return "вызове";
    }
}

const char *SignalName(int Signal) {
    switch (Signal) {
        case SIGSEGV:
            return "SIGSEGV";
        case SIGBUS:
            return "SIGBUS";
        case SIGFPE:
            return "SIGFPE";
        case SIGILL:
            return "SIGILL";
        case SIGABRT:
            return "SIGABRT";
        case SIGTRAP:
            return "SIGTRAP";
        case SIGSYS:
            return "SIGSYS";
        default:
            return "fatal signal";
    }
}

constexpr std::array<int, 7> FatalSignals = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS};
std::array<struct sigaction, FatalSignals.size()> PreviousActions;

// Describes the marked call in Message, says so on stderr and starts the program afresh.
[[noreturn]] void RestartAfterCrash(const char *What) {
    std::size_t Length = 0;
    const bool Loading = ActiveCall == LoadingLibrary;
    if (Loading) {
        Append(Length, "Библиотека \"");
        Append(Length, LoadingPath);
        Append(Length, "\" аварийно завершилась при загрузке (");
        Append(Length, What);
        Append(Length, "). Она показана как недоступная.");
    } else {
        Append(Length, "Бот \"");
        Append(Length, Slots[ActiveSlot].Name);
        Append(Length, "\" аварийно завершился в ");
        Append(Length, CallName(ActiveCall));
        Append(Length, " (");
        Append(Length, What);
        Append(Length, "). Игра прервана, программа запущена заново.");
    }
    ActiveCall = NoCall;
    if (write(STDERR_FILENO, Message, Length) > 0) (void)!write(STDERR_FILENO, "\n", 1);

    std::size_t Argument = 0;
    RestartArguments[Argument++] = ProgramPath.c_str();
    RestartArguments[Argument++] = BotCrashedOption;
    RestartArguments[Argument++] = Message;
    for (const std::string &Skipped : SkippedLibraries) {
        RestartArguments[Argument++] = SkipLibraryOption;
        RestartArguments[Argument++] = Skipped.c_str();
    }
    if (Loading) {
        RestartArguments[Argument++] = SkipLibraryOption;
        RestartArguments[Argument++] = LoadingPath;
    }
    RestartArguments[Argument] = nullptr;

    // The handler runs with its signal blocked; the fresh start must not inherit that.
    sigset_t Fatal;
    sigemptyset(&Fatal);
    for (const int Signal : FatalSignals) sigaddset(&Fatal, Signal);
    sigprocmask(SIG_UNBLOCK, &Fatal, nullptr);
    execv(ProgramPath.c_str(), const_cast<char *const *>(RestartArguments.data()));
    _exit(127);  // the program could not be started again
}

void OnFatalSignal(int Signal, siginfo_t *Info, void *) {
    if (ActiveCall == NoCall) {
        // Not a bot's fault: hand it to whoever handled it before (the default action or a
        // sanitizer). A fault of the processor strikes again on return; a sent signal is resent.
        for (std::size_t I = 0; I < FatalSignals.size(); ++I)
            if (FatalSignals[I] == Signal) sigaction(Signal, &PreviousActions[I], nullptr);
        if (Info == nullptr || Info->si_code <= 0) raise(Signal);
        return;
    }
    RestartAfterCrash(SignalName(Signal));
}

void OnExit() {
    if (ActiveCall != NoCall) RestartAfterCrash("exit");
}

class TGuardingLoader final : public LibraryLoader {
public:
    void *Load(const std::string &Path, std::string &Error) override {
        if (std::find(SkippedLibraries.begin(), SkippedLibraries.end(), Path) != SkippedLibraries.end()) {
            Error = "it crashed while it was loaded";
            return nullptr;
        }
        CopyText(LoadingPath, sizeof LoadingPath, Path);
        ActiveCall = LoadingLibrary;
        return SystemLibraryLoader().Load(Path, Error);
    }
    void *Symbol(void *Library, const char *Name) override {
        return SystemLibraryLoader().Symbol(Library, Name);
    }
};

}  // namespace

std::string RunningProgram(const char *Argv0) {
    std::string Path(4096, '\0');
    const ssize_t Length = readlink("/proc/self/exe", Path.data(), Path.size() - 1);
    if (Length <= 0) return Argv0;
    Path.resize(static_cast<std::size_t>(Length));
    return Path;
}

TCrashRestart ReadCrashRestart(int Argc, char **Argv) {
    TCrashRestart Restart;
    for (int Index = 1; Index + 1 < Argc; ++Index) {
        if (std::strcmp(Argv[Index], BotCrashedOption) == 0)
            Restart.Message = Argv[++Index];
        else if (std::strcmp(Argv[Index], SkipLibraryOption) == 0)
            Restart.SkippedLibraries.emplace_back(Argv[++Index]);
    }
    return Restart;
}

void InstallBotCrashGuard(const std::string &Program, const TCrashRestart &Restart) {
    ProgramPath = Program;
    SkippedLibraries = Restart.SkippedLibraries;
    RestartArguments.assign(2 * SkippedLibraries.size() + 6, nullptr);

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

TBot GuardBot(const TBot &Bot, int Slot) {
    TGuardedSlot &Guarded = Slots.at(static_cast<std::size_t>(Slot));
    Guarded.StartGame = Bot.StartGameProc;
    Guarded.GetTurn = Bot.GetTurnProc;
    CopyText(Guarded.Name, sizeof Guarded.Name, Bot.Name);
    TBot Result = Bot;
    if (Bot.StartGameProc != nullptr)
        Result.StartGameProc = StartGameTrampolines[static_cast<std::size_t>(Slot)];
    if (Bot.GetTurnProc != nullptr) Result.GetTurnProc = GetTurnTrampolines[static_cast<std::size_t>(Slot)];
    return Result;
}

LibraryLoader &GuardedLibraryLoader() {
    static TGuardingLoader Loader;
    return Loader;
}

void EndLoading() { ActiveCall = NoCall; }

}  // namespace velkaran
