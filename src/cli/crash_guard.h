// Containing a bot that crashes: the program names the bot, its seat and the call, and exits 3.
#pragma once

#include "players/bot_call_guard.h"

#include <chrono>
#include <optional>
#include <string>

namespace velkaran {

// Installs the bot call guard with this program's reaction: when a bot crashes or calls exit()
// inside a guarded call, or a library while it is loaded, stderr gets a line naming the bot, its
// seat, the call, the round and the game, and the program ends with ExitBotCrashed. A fault
// outside any bot call is left to the default action.
void InstallCrashGuard();

// Writes the line on stderr for a bot that has not returned from Call within Limit (the hang
// limit), and ends the program with ExitBotCrashed. Callable from any thread.
[[noreturn]] void ReportHang(const TCallInProgress &Call, std::chrono::seconds Limit);

// Bot with its StartGame and GetTurn routed through the guard. Slot (0 or 1) is the bot's place
// on the command line; Argument names it in messages (as given, next to the bot's name).
TBot GuardArgumentBot(const TBot &Bot, int Slot, const std::string &Argument);

// The guarded call that an exception left, described for a message, and that record cleared;
// nothing when no such call is pending.
std::optional<std::string> TakeCallInProgress();

}  // namespace velkaran
