// How the main window finds a chosen bot again: by its library's file name, and what it says
// about the libraries of the folder.
#pragma once

#include "players/bot_discovery.h"

#include <string>

namespace velkaran {

// The file name that identifies a library across discoveries and runs, e.g. "greedy.so" for
// "./greedy.so"; empty for an empty path.
std::string LibraryFileName(const std::string &Path);

// The entry of Table whose library has FileName; -1 when none has it or FileName is empty.
int EntryOfLibrary(const TBotTable &Table, const std::string &FileName);

// The main window's status line: Blocked (the reason the start button gives, its lines joined)
// when there is one; else how many libraries cannot be used, or that there are none, or how many
// bots are ready.
std::string BotStatusLine(const TBotTable &Table, const std::string &Blocked);

}  // namespace velkaran
