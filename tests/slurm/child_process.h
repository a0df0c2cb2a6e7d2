// Starting, watching and stopping child processes by pid, for tests that run daemons and scripts.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velkaran::testing {

// What a program that ran to its end left: exit status (128 + signal when killed), stdout, stderr.
struct TProgramRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// A process found in /proc: its pid and command name.
struct TProcessInfo {
    pid_t Pid = 0;
    std::string Name;
};

// Starts Argv (Argv[0] found as FindProgram does) in Folder with the test's environment plus
// Environment (NAME=value entries that replace the test's own), stdin from /dev/null, stdout appended
// to OutFile and stderr to ErrFile (which may be the same); returns the pid, or -1 when it cannot
// start. The child gets SIGTERM if the test process ends first.
pid_t StartProcess(const std::vector<std::string> &Argv, const std::vector<std::string> &Environment,
                   const std::filesystem::path &Folder, const std::filesystem::path &OutFile,
                   const std::filesystem::path &ErrFile);

// The exit status of the child Pid once it has ended (then it is reaped), else nothing.
std::optional<int> FinishedStatus(pid_t Pid);

// Sends SIGTERM to the child Pid, SIGKILL when it has not ended within Grace, and reaps it.
void StopProcess(pid_t Pid, std::chrono::milliseconds Grace);

// Runs Argv to its end as StartProcess does, its output kept in Scratch/NAME.out and .err.
TProgramRun RunProgram(const std::vector<std::string> &Argv, const std::vector<std::string> &Environment,
                       const std::filesystem::path &Scratch);

// The live processes whose environment holds the entry Entry ("NAME=value"); zombies have none.
std::vector<TProcessInfo> ProcessesWithEnvironment(const std::string &Entry);

// The full path of Program in PATH or in the sbin folders, empty when it is not installed.
std::string FindProgram(const std::string &Program);

// The whole content of a file, empty when it cannot be read.
std::string ReadText(const std::filesystem::path &File);

}  // namespace velkaran::testing
