// A bot that is a program under the sandbox: the files it runs through, and whether the user the
// sandbox runs it as can reach them.
#pragma once

#include <string>
#include <vector>

namespace velkaran {

// The program a worker becomes, as the worker is told it.
struct TSandboxedProgram {
    std::string Program;                 // the absolute path of the program to run
    std::string Directory;               // its working folder
    std::vector<std::string> Arguments;  // its arguments, the first one its name as the manifest wrote it
};

// The files Program runs through, each to be read and executed: the program itself, the
// interpreter its "#!" line names (for "#!/usr/bin/env NAME", NAME found on PATH too), and the real
// file behind each of them that is a symbolic link.
std::vector<std::string> ProgramExecutables(const std::string &Program);

// The files among Launch's arguments (a script) that lie in its folder, as absolute paths.
std::vector<std::string> ProgramScripts(const TSandboxedProgram &Launch);

// Why the process, as the user it runs as now, cannot start Launch: the first of Executables it
// may not run, its folder or one of Scripts it may not read, said with what to do about it. Empty
// when it can.
std::string ProgramUnreachable(const TSandboxedProgram &Launch, const std::vector<std::string> &Executables,
                               const std::vector<std::string> &Scripts);

}  // namespace velkaran
