// Loading one bot library and checking it in the order the bot table relies on.
#include "bot_library.h"

#include "bot_manifest.h"

#include "printable_text.h"
#include "rules/player_names.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace velkaran {
namespace {

// dlopen and dlsym. A handle is never closed: the bot's functions stay valid until the process ends.
class DynamicLibraryLoader final : public LibraryLoader {
public:
    void *Load(const std::string &Path, std::string &Error) override {
        // Only a regular file is handed to dlopen: opening a named pipe would wait for a writer
        // forever, and a device is never a library.
        struct stat File {};
        if (stat(Path.c_str(), &File) == 0 && !S_ISREG(File.st_mode)) {
            Error = Path + ": " + (S_ISDIR(File.st_mode) ? "a directory" : "not a regular file");
            return nullptr;
        }
        void *Library = dlopen(Path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (Library == nullptr) {
            const char *Message = dlerror();
            Error = Message != nullptr ? Message : "the library cannot be loaded";
        }
        return Library;
    }

    void *Symbol(void *Library, const char *Name) override {
        dlerror();  // a null export is not an error, so clear any stale message first
        return dlsym(Library, Name);
    }
};

using TGetNameProc = const char *(*)();

}  // namespace

std::string Printable(std::string_view Text, std::size_t Longest) {
    std::string Result = EscapeControlCharacters(Text.substr(0, Longest));
    if (Text.size() > Longest) Result += "...";
    return Result;
}

std::string RefusedNameReason(std::string_view Name) {
    return "name \"" + Printable(Name) +
           "\" refused: at most 30 characters, each a Latin letter, a digit, a blank or one of ( ) + - . _";
}

namespace {

TBotLoad Failure(TBotLoad Load, TBotProblem Problem, std::string Reason) {
    Load.Bot.Available = false;
    Load.Problem = Problem;
    Load.Reason = std::move(Reason);
    return Load;
}

}  // namespace

LibraryLoader &SystemLibraryLoader() {
    static DynamicLibraryLoader Loader;
    return Loader;
}

TBotLoad LoadBotLibrary(const std::string &Path, LibraryLoader &Loader) {
    TBotLoad Load;
    Load.Bot.Path = Path;
    if (IsManifestName(std::filesystem::path(Path).filename().string()))
        return Failure(Load, TBotProblem::NotLoadable,
                       "a bot that is a program runs in a worker process, never inside this one");
    std::string Error;
    void *Library = Loader.Load(Path, Error);
    if (Library == nullptr) {
        return Failure(Load, TBotProblem::NotLoadable,
                       "not a loadable library: " + (Error.empty() ? std::string("unknown reason") : Error));
    }

    const auto GetName = reinterpret_cast<TGetNameProc>(Loader.Symbol(Library, "GetName"));
    if (GetName == nullptr) return Failure(Load, TBotProblem::NoGetName, "missing export \"GetName\"");

    // The name is checked on the first call; the second call's text becomes the name, unchecked,
    // as long as it is a text at all.
    const char *FirstName = GetName();
    if (FirstName == nullptr) {
        return Failure(Load, TBotProblem::NameRefused, "GetName returned a null pointer instead of a name");
    }
    if (!IsValidName(FirstName)) {
        return Failure(Load, TBotProblem::NameRefused, RefusedNameReason(FirstName));
    }
    const char *SecondName = GetName();
    if (SecondName == nullptr) {
        return Failure(Load, TBotProblem::NameRefused,
                       "GetName returned a null pointer instead of a name on its second call");
    }
    // Shown in texts and logs: a control character in it is written as an escape.
    Load.Bot.Name = EscapeControlCharacters(SecondName);

    Load.Bot.StartGameProc = reinterpret_cast<TStartGameProc>(Loader.Symbol(Library, "StartGame"));
    if (Load.Bot.StartGameProc == nullptr) {
        return Failure(Load, TBotProblem::NoStartGame, "missing export \"StartGame\"");
    }
    Load.Bot.GetTurnProc = reinterpret_cast<TGetTurnProc>(Loader.Symbol(Library, "GetTurn"));
    if (Load.Bot.GetTurnProc == nullptr) {
        return Failure(Load, TBotProblem::NoGetTurn, "missing export \"GetTurn\"");
    }
    Load.Bot.Available = true;
    return Load;
}

}  // namespace velkaran
