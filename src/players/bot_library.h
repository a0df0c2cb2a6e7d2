// Loading one bot library and checking it: the entry of the bot table it becomes.
#pragma once

#include <velkaran/bot.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace velkaran {

// One discovered bot. Available only when the library loaded, its name passed the name check
// and both StartGame and GetTurn were found.
struct TBot {
    bool Available = false;
    std::string Name;  // from the second GetName call, once the first passed; control characters escaped
    TStartGameProc StartGameProc = nullptr;  // set when the lookup succeeded
    TGetTurnProc GetTurnProc = nullptr;      // set when the lookup succeeded
    std::string Path;                        // the library as it was loaded, always with a '/'
};

// The platform's loader behind a seam, so that tests can fake a missing export or a bad library.
class LibraryLoader {
public:
    virtual ~LibraryLoader() = default;
    // Loads the library at Path (never unloaded); null on failure, with the loader's message in Error.
    virtual void *Load(const std::string &Path, std::string &Error) = 0;
    // The address of the export Name, or null when it is absent.
    virtual void *Symbol(void *Library, const char *Name) = 0;
};

// The real loader: dlopen(RTLD_NOW | RTLD_LOCAL) and dlsym; libraries are never closed.
LibraryLoader &SystemLibraryLoader();

// Why a library did not become an available bot.
enum class TBotProblem { None, NotLoadable, NoGetName, NameRefused, NoStartGame, NoGetTurn };

// The outcome of loading one library: the bot entry, and what went wrong with a readable reason.
struct TBotLoad {
    TBot Bot;
    TBotProblem Problem = TBotProblem::None;
    std::string Reason;       // empty when Problem is None; else e.g. the loader's message
    std::string Fingerprint;  // of the content loaded, when the host pinned it (see FileFingerprint)
};

// The reason a name that fails the name check is refused, e.g. "name \"Бот\" refused: ...".
std::string RefusedNameReason(std::string_view Name);

// Text a bot sent, shown in a message: control characters escaped, cut after Longest bytes ("...").
std::string Printable(std::string_view Text, std::size_t Longest = 60);

// Loads the library at Path (used as given, so pass "./name.so" for the current directory) and
// runs the checks in their order: load, GetName, name check, second GetName, StartGame, GetTurn.
TBotLoad LoadBotLibrary(const std::string &Path, LibraryLoader &Loader = SystemLibraryLoader());

}  // namespace velkaran
