// The worker of a bot that is a program: it sets the program's stage and becomes the program.
#pragma once

#include <string>
#include <vector>

namespace velkaran::worker {

// How to start a program bot: its folder, the program to run and its arguments (the first one is
// the program's name as the manifest wrote it).
struct TProgramLaunch {
    std::string Directory;
    std::string Program;
    std::vector<std::string> Arguments;
};

// Makes the program's folder the current one. Empty on success, else why not.
std::string EnterProgramFolder(const TProgramLaunch &Launch);

// Runs the program (in the current folder) with the host's request pipe as its standard input and the answer
// pipe as its standard output, keeping standard error (the bot's output to the host); every other
// descriptor is closed. Returns only when that fails, with the reason; standard output is then the
// answer pipe, unless handing over the pipes was what failed.
std::string LaunchProgram(const TProgramLaunch &Launch);

}  // namespace velkaran::worker
