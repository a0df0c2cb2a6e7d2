// Containing a bot that crashes: the program names the bot, its seat and the call, and exits 3.
#pragma once

#include "players/bot_library.h"

#include <optional>
#include <string>

namespace velkaran {

// Installs handlers for the fatal signals (on an alternate stack, so that a runaway recursion is
// caught too) and for exit(). When one strikes inside a guarded bot call or while a library is
// loaded, stderr gets a line naming the bot, its seat, the call, the round and the game, and the
// program ends with ExitBotCrashed. A fault outside any bot call is left to the default action.
void InstallCrashGuard();

// Bot with its StartGame and GetTurn routed through the guard. Slot (0 or 1) is the bot's place
// on the command line; Label names it in messages (the argument as given).
TBot GuardBot(const TBot &Bot, int Slot, const std::string &Label);

// Marks the loading of the library at Path (loader, GetName) as the call in progress, or ends
// that mark when Path is empty.
void GuardLoading(const std::string &Path);

// The guarded call that has not returned (an exception left it), described for a message, and
// the mark cleared; nothing when no call is in progress.
std::optional<std::string> TakeCallInProgress();

// A loader that marks every library it loads with GuardLoading before the platform loads it.
LibraryLoader &GuardedLibraryLoader();

}  // namespace velkaran
