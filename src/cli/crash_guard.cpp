// This program's reaction to a bot that crashes: a line on stderr, then exit status 3.
// The line is built in a fixed buffer, since it is written from a signal handler.
#include "crash_guard.h"

#include "command_line.h"
#include "players/signal_safe_text.h"

#include <unistd.h>

namespace velkaran {
namespace {

const char *CallName(TGuardedCall Call) {
    switch (Call) {
        case TGuardedCall::OpeningStartGame:
            return "StartGame (choosing its cards)";
        case TGuardedCall::Turn:
            return "GetTurn";
        case TGuardedCall::ClosingStartGame:
            return "StartGame (told the result)";
        default:
            return "a call";
    }
}

// "the bot "x.so" (Name) in GetTurn as the first player, round 3 of game 2", or the loading.
void DescribeCall(const TCallInProgress &Call, TSignalSafeText &Text) {
    if (Call.Call == TGuardedCall::LoadingLibrary) {
        Text.Add("the library \"");
        Text.Add(Call.LibraryPath);
        Text.Add("\" while it was loaded or asked for its name");
        return;
    }
    Text.Add(Call.Label);
    Text.Add(" in ");
    Text.Add(CallName(Call.Call));
    Text.Add(Call.Seat == 0 ? " as the first player" : " as the second player");
    if (Call.Call == TGuardedCall::Turn) {
        Text.Add(", round ");
        Text.Add(static_cast<int64_t>(Call.Round));
    }
    Text.Add(" of game ");
    Text.Add(Call.Game);
}

void ReportCrash(const TCallInProgress &Call, int Signal) {
    TSignalSafeText Text;
    if (Signal == 0) {
        Text.Add("velkaran-match: ");
        DescribeCall(Call, Text);
        Text.Add(" ended the program; no result was written");
    } else {
        const char *Name = FatalSignalName(Signal);
        Text.Add("velkaran-match: crash in ");
        DescribeCall(Call, Text);
        Text.Add(" (signal ");
        Text.Add(static_cast<int64_t>(Signal));
        Text.Add(": ");
        if (Name != nullptr) {
            Text.Add(Name);
            Text.Add(", ");
            Text.Add(FatalSignalMeaning(Signal));
        } else {
            Text.Add("a fatal signal");
        }
        Text.Add("); no result was written");
    }
    Text.WriteLineToStderr();
    _exit(ExitBotCrashed);
}

}  // namespace

void ReportHang(const TCallInProgress &Call, std::chrono::seconds Limit) {
    TSignalSafeText Text;
    Text.Add("velkaran-match: hang in ");
    DescribeCall(Call, Text);
    Text.Add(" (no return within ");
    Text.Add(static_cast<int64_t>(Limit.count()));
    Text.Add(" s, the hang limit); no result was written");
    Text.WriteLineToStderr();
    _exit(ExitBotCrashed);
}

void InstallCrashGuard() {
    TBotCallGuardSettings Settings;
    Settings.React = ReportCrash;
    InstallBotCallGuard(Settings);
}

TBot GuardArgumentBot(const TBot &Bot, int Slot, const std::string &Argument) {
    return GuardBot(Bot, Slot, "the bot \"" + Argument + "\" (" + Bot.Name + ")");
}

std::optional<std::string> TakeCallInProgress() {
    const auto Call = TakeCallLeftByException();
    if (!Call) return std::nullopt;
    TSignalSafeText Text;
    DescribeCall(*Call, Text);
    return Text.Take();
}

}  // namespace velkaran
