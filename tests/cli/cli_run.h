// Running the built velkaran-match in a fresh folder of bots, as a user or a script would.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace velkaran::testing {

// What one run left behind: the exit status (128 + signal when killed), stdout and stderr.
struct TCliRun {
    int Status = -1;
    std::string Out;
    std::string Err;
    double Seconds = 0;  // until both pipes were closed and the program had ended
    long MaxRssKb = 0;   // the program's own peak memory
};

// A program started in the background: its process and the read ends of its stdout and stderr.
struct TCliChild {
    pid_t Pid = -1;
    int Out = -1;
    int Err = -1;
    std::chrono::steady_clock::time_point Started;
};

// A fresh folder per test, removed at the end, holding copies of built bots under chosen names.
class MatchFolder {
public:
    MatchFolder();
    ~MatchFolder();
    MatchFolder(const MatchFolder &) = delete;
    MatchFolder &operator=(const MatchFolder &) = delete;

    // Copies a sample bot of the run folder (e.g. "greedy.so") into the folder, as FileName.
    void AddSampleBot(const std::string &Bot, const std::string &FileName = "") const;
    // Copies a test bot of this area (e.g. "crashing_bot") into the folder as FileName.
    void AddTestBot(const std::string &Bot, const std::string &FileName) const;
    // Copies a test bot of the players area (e.g. "refusing_bot") into the folder as FileName.
    void AddPlayersTestBot(const std::string &Bot, const std::string &FileName) const;
    void AddTextFile(const std::string &FileName, const std::string &Text = "not a library\n") const;
    void AddFolder(const std::string &Name) const;

    // Runs velkaran-match with Arguments in the folder, under LC_ALL=C unless Environment (a list
    // of NAME=value) says otherwise, stdout and stderr read through pipes to their end. The run
    // and every process it starts carry the folder's tag in their environment.
    TCliRun Run(const std::vector<std::string> &Arguments,
                const std::vector<std::string> &Environment = {}) const;

    // The same for another of the project's programs (its full path).
    TCliRun RunProgram(const std::string &Program, const std::vector<std::string> &Arguments,
                       const std::vector<std::string> &Environment = {}) const;
    // Starts Program as RunProgram does and returns at once; Finish reads it to its end.
    TCliChild Start(const std::string &Program, const std::vector<std::string> &Arguments,
                    const std::vector<std::string> &Environment = {}) const;
    TCliRun Finish(TCliChild &Child) const;

    // The processes still running with this folder's tag: none once a run has ended cleanly.
    std::vector<int> ProcessesLeft() const;

    std::filesystem::path Path;

private:
    std::string Tag() const;
};

// True when this machine's kernel offers the system-call filter of the sandbox (velkaran-match
// --sandbox-check run in Folder).
bool SeccompAvailable(const MatchFolder &Folder);

// The lines of Text, each without its "\n"; the last line must end with "\n" too.
std::vector<std::string> Lines(const std::string &Text);

// The expected text of a golden file of this area (tests/cli/golden/Name). When the environment
// has VELKARAN_UPDATE_GOLDEN=1 the file is rewritten from Actual first.
std::string GoldenText(const std::string &Name, const std::string &Actual);

// Text with the numbers of the lines that vary from run to run (thinking times and the points
// computed from them) replaced by "#".
std::string WithoutTimings(const std::string &Text);

// Makes ru_RU.UTF-8 usable: LocPath stays empty when the system has it, else it is generated into
// Scratch and LocPath is the folder for LOCPATH. False when this machine cannot provide it.
bool RussianLocale(const std::filesystem::path &Scratch, std::string &LocPath);

}  // namespace velkaran::testing
