// Bot discovery: every "*.so" and "*.bot" of a directory, loaded and checked, as the table behind both
// bot lists.
#pragma once

#include "bot_library.h"

#include <functional>
#include <string>
#include <vector>

namespace velkaran {

// The text a list shows for an entry that cannot be started.
inline constexpr char UnavailableText[] = "Недоступно";

// The bot table and the list texts, index-aligned: entry i of Bots belongs to Texts[i].
struct TBotTable {
    std::vector<TBot> Bots;
    std::vector<std::string> Texts;     // the bot's name, or UnavailableText
    std::vector<std::string> Problems;  // why an entry is unavailable; empty for an available one
};

// Loads and checks one library (given by a path with a '/'): in this process, or in a worker.
using TLibraryProbe = std::function<TBotLoad(const std::string &Path)>;

// The names of the entries of Directory that end in ".so" (libraries) or ".bot" (manifests of
// program bots), files or not, together in byte order. A directory that cannot be read gives none.
std::vector<std::string> LibraryEntries(const std::string &Directory);

// Rebuilds Table from the "*.so" and "*.bot" entries of Directory, sorted by file name (byte order).
// Entries that existed before keep the fields a run does not reach; added ones start empty.
void LoadBots(TBotTable &Table, const std::string &Directory = ".",
              LibraryLoader &Loader = SystemLibraryLoader());

// The same, each library checked by Probe.
void LoadBots(TBotTable &Table, const std::string &Directory, const TLibraryProbe &Probe);

}  // namespace velkaran
