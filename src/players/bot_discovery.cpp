// Bot discovery: the "*.so" entries of a directory, each loaded and checked, as the bot table.
#include "bot_discovery.h"

#include "bot_manifest.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace velkaran {
namespace {

constexpr std::string_view LibrarySuffix = ".so";

}  // namespace

std::vector<std::string> LibraryEntries(const std::string &Directory) {
    std::vector<std::string> Names;
    std::error_code Error;
    std::filesystem::directory_iterator Entry(Directory.empty() ? "." : Directory, Error);
    for (; !Error && Entry != std::filesystem::directory_iterator(); Entry.increment(Error)) {
        std::string Name = Entry->path().filename().string();
        if (Name.ends_with(LibrarySuffix) || IsManifestName(Name)) Names.push_back(std::move(Name));
    }
    std::sort(Names.begin(), Names.end());  // std::string compares as unsigned bytes
    return Names;
}

namespace {

// The path handed to the loader. It always holds a '/', so the loader never searches the
// system's library paths for a bare file name.
std::string LibraryPath(const std::string &Directory, const std::string &Name) {
    if (Directory.empty() || Directory == ".") return "./" + Name;
    if (Directory.ends_with('/')) return Directory + Name;
    return Directory + "/" + Name;
}

// Copies into Entry the fields that the checks reached before they stopped; the others keep
// what an earlier run left there.
void ApplyLoad(TBot &Entry, const TBotLoad &Load) {
    Entry.Available = Load.Bot.Available;
    Entry.Path = Load.Bot.Path;
    switch (Load.Problem) {
        case TBotProblem::NotLoadable:
        case TBotProblem::NoGetName:
        case TBotProblem::NameRefused:
            return;
        case TBotProblem::NoStartGame:
            Entry.Name = Load.Bot.Name;
            return;
        case TBotProblem::NoGetTurn:
            Entry.Name = Load.Bot.Name;
            Entry.StartGameProc = Load.Bot.StartGameProc;
            return;
        case TBotProblem::None:
            Entry = Load.Bot;
            return;
    }
}

}  // namespace

void LoadBots(TBotTable &Table, const std::string &Directory, LibraryLoader &Loader) {
    LoadBots(Table, Directory, [&Loader](const std::string &Path) { return LoadBotLibrary(Path, Loader); });
}

void LoadBots(TBotTable &Table, const std::string &Directory, const TLibraryProbe &Probe) {
    const std::vector<std::string> Names = LibraryEntries(Directory);
    Table.Bots.resize(Names.size());
    Table.Texts.assign(Names.size(), std::string());
    Table.Problems.assign(Names.size(), std::string());
    for (std::size_t I = 0; I < Names.size(); ++I) {
        const TBotLoad Load = Probe(LibraryPath(Directory, Names[I]));
        ApplyLoad(Table.Bots[I], Load);
        Table.Texts[I] = Load.Bot.Available ? Load.Bot.Name : std::string(UnavailableText);
        Table.Problems[I] = Load.Reason;
    }
}

}  // namespace velkaran
