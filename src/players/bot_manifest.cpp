// Reading a bot's manifest and finding its program.
#include "bot_manifest.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velkaran {
namespace {

namespace fs = std::filesystem;

std::string Trimmed(const std::string &Text) {
    const std::size_t First = Text.find_first_not_of(" \t\r");
    if (First == std::string::npos) return {};
    return Text.substr(First, Text.find_last_not_of(" \t\r") - First + 1);
}

// The words of a command line; nothing when a quote is not closed.
std::optional<std::vector<std::string>> Words(const std::string &Line) {
    std::vector<std::string> Result;
    std::string Word;
    bool InWord = false;
    bool Quoted = false;
    for (std::size_t I = 0; I < Line.size(); ++I) {
        const char Character = Line[I];
        if (Quoted) {
            if (Character == '"') {
                Quoted = false;
            } else if (Character == '\\' && I + 1 < Line.size() &&
                       (Line[I + 1] == '"' || Line[I + 1] == '\\')) {
                Word += Line[++I];
            } else {
                Word += Character;
            }
        } else if (Character == '"') {
            Quoted = InWord = true;
        } else if (Character == ' ' || Character == '\t') {
            if (InWord) Result.push_back(std::move(Word));
            Word.clear();
            InWord = false;
        } else {
            Word += Character;
            InWord = true;
        }
    }
    if (Quoted) return std::nullopt;
    if (InWord) Result.push_back(std::move(Word));
    return Result;
}

bool IsExecutableFile(const fs::path &Path) {
    std::error_code Error;
    return fs::is_regular_file(Path, Error) && access(Path.c_str(), X_OK) == 0;
}

// Program as an absolute path: relative to Directory when it holds a '/', else found on PATH.
std::optional<std::string> FindProgram(const std::string &Program, const fs::path &Directory,
                                       std::string &Error) {
    if (Program.find('/') != std::string::npos) {
        const fs::path Path = fs::weakly_canonical(Directory / Program);
        if (IsExecutableFile(Path)) return Path.string();
        Error = "the program \"" + Program + "\" is not an executable file in " + Directory.string();
        return std::nullopt;
    }
    const char *Search = std::getenv("PATH");
    std::istringstream Folders(Search != nullptr ? Search : "/usr/local/bin:/usr/bin:/bin");
    std::string Folder;
    while (std::getline(Folders, Folder, ':')) {
        if (Folder.empty() || Folder.front() != '/') continue;  // the current folder is never searched
        const fs::path Path = fs::path(Folder) / Program;
        if (IsExecutableFile(Path)) return Path.string();
    }
    Error = "the program \"" + Program + "\" is not on PATH";
    return std::nullopt;
}

}  // namespace

bool IsManifestName(const std::string &FileName) {
    const std::string Suffix = ManifestSuffix;
    return FileName.size() > Suffix.size() && FileName.ends_with(Suffix);
}

std::optional<TBotManifest> ReadBotManifest(const std::string &Path, std::string &Error) {
    std::error_code FileError;
    if (!fs::is_regular_file(Path, FileError)) {
        Error = "the manifest is not a file";
        return std::nullopt;
    }
    if (fs::file_size(Path, FileError) > MaxManifestBytes) {
        Error = "the manifest is larger than " + std::to_string(MaxManifestBytes / 1024) + " KiB";
        return std::nullopt;
    }
    std::ifstream File(Path, std::ios::binary);
    if (!File) {
        Error = "the manifest cannot be read";
        return std::nullopt;
    }
    std::ostringstream Text;
    Text << File.rdbuf();
    return ParseBotManifest(Text.str(), Path, Error);
}

std::optional<TBotManifest> ParseBotManifest(const std::string &Text, const std::string &Path,
                                             std::string &Error) {
    std::error_code FileError;
    if (Text.size() > MaxManifestBytes) {
        Error = "the manifest is larger than " + std::to_string(MaxManifestBytes / 1024) + " KiB";
        return std::nullopt;
    }
    std::istringstream File(Text);
    const fs::path Folder = fs::absolute(fs::path(Path)).parent_path();
    TBotManifest Manifest;
    Manifest.Directory = Folder.string();
    bool HasCommand = false;
    std::string Line;
    for (int Number = 1; std::getline(File, Line); ++Number) {
        const std::string Where = "line " + std::to_string(Number) + ": ";
        const std::string Content = Trimmed(Line);
        if (Content.empty() || Content.front() == '#') continue;
        const std::size_t Equals = Content.find('=');
        if (Equals == std::string::npos) {
            Error = Where + "not of the form \"key = value\"";
            return std::nullopt;
        }
        const std::string Key = Trimmed(Content.substr(0, Equals));
        const std::string Value = Trimmed(Content.substr(Equals + 1));
        if (Key == "command") {
            const auto Command = Words(Value);
            if (!Command || Command->empty()) {
                Error = Where + (Command ? "the command is empty" : "a quote is not closed");
                return std::nullopt;
            }
            Manifest.Command = *Command;
            HasCommand = true;
        } else if (Key == "directory") {
            if (Value.empty()) {
                Error = Where + "the directory is empty";
                return std::nullopt;
            }
            Manifest.Directory = fs::weakly_canonical(Folder / Value).string();
        } else {
            Error = Where + "unknown key \"" + Key + "\" (a manifest knows \"command\" and \"directory\")";
            return std::nullopt;
        }
    }
    if (!HasCommand) {
        Error = "the manifest has no \"command = ...\" line";
        return std::nullopt;
    }
    if (!fs::is_directory(Manifest.Directory, FileError)) {
        Error = "the directory " + Manifest.Directory + " is not a folder";
        return std::nullopt;
    }
    const auto Program = FindProgram(Manifest.Command.front(), Manifest.Directory, Error);
    if (!Program) return std::nullopt;
    Manifest.Program = *Program;
    return Manifest;
}

std::vector<std::string> ManifestFiles(const TBotManifest &Manifest) {
    std::vector<std::string> Files{Manifest.Program};
    for (std::size_t I = 1; I < Manifest.Command.size(); ++I) {
        const std::string &Word = Manifest.Command[I];
        if (Word.empty() || Word.front() == '-') continue;
        std::error_code Error;
        const fs::path Path = fs::path(Manifest.Directory) / Word;
        if (fs::is_regular_file(Path, Error)) Files.push_back(fs::weakly_canonical(Path, Error).string());
    }
    return Files;
}

}  // namespace velkaran
