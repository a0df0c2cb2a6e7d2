// Containing a bot that crashes: the program starts afresh and tells the user which bot failed.
#pragma once

#include "players/bot_call_guard.h"

#include <string>
#include <vector>

namespace velkaran {

// What a fresh start after a crash is told on its command line.
struct TCrashRestart {
    std::string Message;                        // what to show the user; empty on a normal start
    std::vector<std::string> SkippedLibraries;  // libraries that crashed while they were loaded
};

// The file of the running program (/proc/self/exe), or Argv0 when that cannot be read.
std::string RunningProgram(const char *Argv0);

// Reads the restart options ("--bot-crashed TEXT", "--skip-library PATH") from the command line.
TCrashRestart ReadCrashRestart(int Argc, char **Argv);

// Installs the bot call guard with this program's reaction: when a bot crashes or calls exit()
// inside a guarded call (GuardBot, labelled with the bot's name), or a library while it is loaded,
// stderr gets a line naming the bot and the call, and the process replaces itself with a fresh
// start of Program that shows that line and leaves out every library that crashed while it was
// loaded (Restart's and the new one). A fault outside bot calls keeps its default action.
void InstallBotCrashGuard(const std::string &Program, const TCrashRestart &Restart);

// A loader that refuses the libraries that crashed at an earlier loading (they become unavailable
// entries) and marks each other one as loading until EndLoading, over its GetName calls too.
LibraryLoader &SkippingLibraryLoader();

}  // namespace velkaran
