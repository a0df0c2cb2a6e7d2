// Containing a bot that crashes: bot calls and library loading are marked while in progress, and
// handlers for the fatal signals and exit() hand the marked call to the program's own reaction.
// Everything a handler reads is a fixed buffer or a lock-free atomic written before the call.
#pragma once

#include "bot_library.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velkaran {

enum class TGuardedCall : int { None, OpeningStartGame, Turn, ClosingStartGame, LoadingLibrary };

// The marked call, as a reaction sees it. The texts point into the guard's fixed buffers.
struct TCallInProgress {
    TGuardedCall Call = TGuardedCall::None;
    const char *Label = "";        // the bot's label given to GuardBot; empty while loading
    const char *LibraryPath = "";  // the library being loaded (LoadingLibrary only)
    int32_t Seat = 0;              // 0 for the first player, 1 for the second
    int32_t Round = 0;             // the round of a GetTurn call
    int64_t Game = 0;              // counted from 1 by the games seat 0 opens since the start
};

// What the program does when a bot fails inside a marked call: Signal is the fatal signal, or 0
// when the bot called exit(). Runs inside a signal handler or an exit handler, so it must be
// async-signal-safe, and it must end the process (it never returns).
using TBotCrashReaction = void (*)(const TCallInProgress &Call, int Signal);

struct TBotCallGuardSettings {
    TBotCrashReaction React = nullptr;
    // A fatal signal that another process sent during a bot call is passed on, not blamed on the bot.
    bool PassOnSignalsFromOutside = true;
};

// Installs handlers for the fatal signals (on an alternate stack, so that a runaway recursion is
// caught too) and for exit(). When one strikes inside a marked call, Settings.React is called with
// that call; a fault outside any marked call goes to the handler that was there before.
void InstallBotCallGuard(const TBotCallGuardSettings &Settings);

// Bot with its StartGame and GetTurn routed through the guard for Slot (0 or 1); Label names the
// bot to the reaction. An entry point the bot lacks stays null.
TBot GuardBot(const TBot &Bot, int Slot, const std::string &Label);

// Marks the loading of the library at Path as the call in progress; the mark stays over its
// GetName calls until EndLoading or the next library.
void MarkLoading(const std::string &Path);

// Ends the loading mark.
void EndLoading();

// A loader that marks every library with MarkLoading before the platform loads it.
LibraryLoader &GuardedLibraryLoader();

// The marked call copied for a reader on another thread (a watchdog). Token is 0 when no call is
// marked, and differs for every call marked; Call's texts are empty: they are in Label and
// LibraryPath.
struct TCallSnapshot {
    uint64_t Token = 0;
    TCallInProgress Call;
    std::string Label;
    std::string LibraryPath;

    // Call with its texts pointing into this snapshot.
    TCallInProgress View() const {
        TCallInProgress Viewed = Call;
        Viewed.Label = Label.c_str();
        Viewed.LibraryPath = LibraryPath.c_str();
        return Viewed;
    }
};

// A consistent copy of the marked call, safe to take from any thread while the marking thread
// runs on (it costs that thread nothing). Not async-signal-safe.
TCallSnapshot SnapshotCallInProgress();

// The guarded bot call that an exception left, when no call has begun since, and that record
// cleared; nothing otherwise.
std::optional<TCallInProgress> TakeCallLeftByException();

// Unblocks the fatal signals the guard handles: a reaction runs with its signal blocked, and a
// program that replaces itself must not pass that on. Async-signal-safe.
void UnblockFatalSignals();

// The short name of a fatal signal ("SIGSEGV") and what it means ("invalid memory access");
// null for a signal the guard does not handle. Async-signal-safe.
const char *FatalSignalName(int Signal);
const char *FatalSignalMeaning(int Signal);

}  // namespace velkaran
