#include "sandboxed_program.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velkaran {
namespace {

namespace fs = std::filesystem;

// The first words of Program's "#!" line, none when it has none.
std::vector<std::string> InterpreterLine(const std::string &Program) {
    std::ifstream In(Program, std::ios::binary);
    std::string Line;
    if (!In || In.get() != '#' || In.get() != '!' || !std::getline(In, Line)) return {};
    std::istringstream Words(Line);
    std::vector<std::string> Result;
    for (std::string Word; Result.size() < 2 && Words >> Word;) Result.push_back(Word);
    return Result;
}

// Name found on PATH as a shell finds it; empty when it is not there.
std::string OnPath(const std::string &Name) {
    const char *Search = std::getenv("PATH");
    std::istringstream Folders(Search != nullptr ? Search : "/usr/bin:/bin");
    for (std::string Folder; std::getline(Folders, Folder, ':');) {
        const fs::path Candidate = fs::path(Folder.empty() ? "." : Folder) / Name;
        if (access(Candidate.c_str(), X_OK) == 0 && !fs::is_directory(Candidate)) return Candidate.string();
    }
    return "";
}

// Adds Path and, when it is a symbolic link, the file it leads to.
void AddWithRealFile(std::vector<std::string> &Files, const std::string &Path) {
    if (Path.empty()) return;
    Files.push_back(Path);
    std::error_code Error;
    const fs::path Real = fs::canonical(Path, Error);
    if (!Error && Real != fs::path(Path)) Files.push_back(Real.string());
}

}  // namespace

std::vector<std::string> ProgramExecutables(const std::string &Program) {
    std::vector<std::string> Files;
    AddWithRealFile(Files, Program);
    const std::vector<std::string> Interpreter = InterpreterLine(Program);
    if (Interpreter.empty() || Interpreter[0].empty() || Interpreter[0][0] != '/') return Files;
    AddWithRealFile(Files, Interpreter[0]);
    if (fs::path(Interpreter[0]).filename() == "env" && Interpreter.size() > 1)
        AddWithRealFile(Files, OnPath(Interpreter[1]));
    return Files;
}

std::vector<std::string> ProgramScripts(const TSandboxedProgram &Launch) {
    std::vector<std::string> Scripts;
    for (std::size_t I = 1; I < Launch.Arguments.size(); ++I) {
        std::error_code Error;
        const fs::path Path = fs::path(Launch.Directory) / Launch.Arguments[I];
        if (!Launch.Arguments[I].empty() && fs::is_regular_file(Path, Error))
            Scripts.push_back(Path.string());
    }
    return Scripts;
}

std::string ProgramUnreachable(const TSandboxedProgram &Launch, const std::vector<std::string> &Executables,
                               const std::vector<std::string> &Scripts) {
    const std::string Who = "the sandbox's user (uid " + std::to_string(getuid()) + ")";
    for (const std::string &File : Executables) {
        if (access(File.c_str(), X_OK) == 0) continue;
        return Who + " cannot run " + File + " (" + std::strerror(errno) +
               "); name a program it can run in the manifest's command, e.g. an interpreter under "
               "/usr/bin (\"command = /usr/bin/python3 bot.py\"), not one in a home folder";
    }
    if (access(Launch.Directory.c_str(), R_OK | X_OK) != 0)
        return Who + " cannot read the bot's folder " + Launch.Directory + " (" + std::strerror(errno) +
               "); put the bot where every user may read it (not under /root), or name a user who "
               "can with --sandbox-user";
    for (const std::string &File : Scripts) {
        if (access(File.c_str(), R_OK) == 0) continue;
        return Who + " cannot read " + File + " (" + std::strerror(errno) + "); let every user read it";
    }
    return "";
}

}  // namespace velkaran
