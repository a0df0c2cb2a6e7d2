// This program's reaction to a bot that crashes: the line on stderr, then a fresh start of the
// program that shows it. Everything the reaction touches is prepared at installation: the
// program, the skipped libraries and room for the new argument list.
#include "bot_crash_guard.h"

#include "players/signal_safe_text.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace velkaran {
namespace {

constexpr char BotCrashedOption[] = "--bot-crashed";
constexpr char SkipLibraryOption[] = "--skip-library";

std::string ProgramPath;
std::vector<std::string> SkippedLibraries;
std::vector<const char *> RestartArguments;

const char *CallName(TGuardedCall Call) {
    switch (Call) {
        case TGuardedCall::OpeningStartGame:
            return "StartGame (выбор карт)";
        case TGuardedCall::Turn:
            return "GetTurn";
        case TGuardedCall::ClosingStartGame:
            return "StartGame (итог игры)";
        default:
            return "вызове";
    }
}

// Describes the call on stderr and starts the program afresh with that message.
void RestartAfterCrash(const TCallInProgress &Call, int Signal) {
    const char *SignalText = FatalSignalName(Signal);
    const char *What = Signal == 0 ? "exit" : SignalText != nullptr ? SignalText : "fatal signal";
    const bool Loading = Call.Call == TGuardedCall::LoadingLibrary;
    TSignalSafeText Message;
    if (Loading) {
        Message.Add("Библиотека \"");
        Message.Add(Call.LibraryPath);
        Message.Add("\" аварийно завершилась при загрузке (");
        Message.Add(What);
        Message.Add("). Она показана как недоступная.");
    } else {
        Message.Add("Бот \"");
        Message.Add(Call.Label);
        Message.Add("\" аварийно завершился в ");
        Message.Add(CallName(Call.Call));
        Message.Add(" (");
        Message.Add(What);
        Message.Add("). Игра прервана, программа запущена заново.");
    }
    Message.WriteLineToStderr();

    std::size_t Argument = 0;
    RestartArguments[Argument++] = ProgramPath.c_str();
    RestartArguments[Argument++] = BotCrashedOption;
    RestartArguments[Argument++] = Message.CString();
    for (const std::string &Skipped : SkippedLibraries) {
        RestartArguments[Argument++] = SkipLibraryOption;
        RestartArguments[Argument++] = Skipped.c_str();
    }
    if (Loading) {
        RestartArguments[Argument++] = SkipLibraryOption;
        RestartArguments[Argument++] = Call.LibraryPath;
    }
    RestartArguments[Argument] = nullptr;

    // The handler runs with its signal blocked; the fresh start must not inherit that.
    UnblockFatalSignals();
    execv(ProgramPath.c_str(), const_cast<char *const *>(RestartArguments.data()));
    _exit(127);  // the program could not be started again
}

class TSkippingLoader final : public LibraryLoader {
public:
    void *Load(const std::string &Path, std::string &Error) override {
        if (std::find(SkippedLibraries.begin(), SkippedLibraries.end(), Path) != SkippedLibraries.end()) {
            Error = "it crashed while it was loaded";
            return nullptr;
        }
        return GuardedLibraryLoader().Load(Path, Error);
    }
    void *Symbol(void *Library, const char *Name) override {
        return GuardedLibraryLoader().Symbol(Library, Name);
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

    TBotCallGuardSettings Settings;
    Settings.React = RestartAfterCrash;
    InstallBotCallGuard(Settings);
}

LibraryLoader &SkippingLibraryLoader() {
    static TSkippingLoader Loader;
    return Loader;
}

}  // namespace velkaran
