// A bot named on the command line: where its library is, and loading it with the discovery checks.
#pragma once

#include "players/bot_discovery.h"
#include "players/bot_library.h"

#include <string>

namespace velkaran {

// The path to load for Argument: as given when it holds a '/', else that file in the current
// directory ("./" + Argument), never a search of the system's library paths.
std::string BotLibraryPath(const std::string &Argument);

// A bot argument loaded: Bot is usable when Error is empty; otherwise Error names the file and
// says why it cannot be used (not loadable with the loader's message, missing export, name refused).
struct TBotArgument {
    TBot Bot;
    std::string Error;
};

// Loads the library that Argument names and runs the discovery checks on it through Probe.
TBotArgument LoadBotArgument(const std::string &Argument, const TLibraryProbe &Probe);

}  // namespace velkaran
