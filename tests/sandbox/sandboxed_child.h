// A child process that enters the sandbox and tries one thing; the parent reaps it by its id and
// learns how it ended and what the violation reporter was told.
#pragma once

#include "sandbox/sandbox.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace velkaran::testing {

// How a sandboxed child ended.
struct TChildEnd {
    bool Exited = false;   // false when a signal killed it
    int Status = 0;        // its exit status, or the signal that killed it
    std::string Reported;  // what it wrote to the report pipe: the reporter's names, or its own notes

    std::string Describe() const {
        return (Exited ? "exit status " : "killed by signal ") + std::to_string(Status) + ", reported \"" +
               Reported + "\"";
    }
};

// The write end of the report pipe in the child.
inline int ReportFd = -1;

// Writes Text to the report pipe. Async-signal-safe.
inline void Report(const char *Text) {
    if (write(ReportFd, Text, std::strlen(Text)) < 0) _exit(97);
}

// Forks a child that runs Prepare, enters the sandbox with Folder as the bot's data folder and no
// library (reporting refusals to the pipe), runs Action and exits with what Action returns; a
// failed entry is reported as "enter failed: ..." with status 100. A child still running after
// TimeLimit is killed. Returns once the child is reaped.
inline TChildEnd RunSandboxed(
    const std::filesystem::path &Folder, const std::function<int()> &Action,
    const std::function<void()> &Prepare = [] {}, std::chrono::seconds TimeLimit = std::chrono::seconds(60),
    const std::optional<TBotIdentity> &Identity = std::nullopt) {
    int Pipe[2];
    if (pipe2(Pipe, O_CLOEXEC) != 0) return {false, -1, "no pipe"};
    const pid_t Parent = getpid();
    const pid_t Child = fork();
    if (Child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != Parent) _exit(98);
        close(Pipe[0]);
        ReportFd = Pipe[1];
        Prepare();
        TSandboxPolicy Policy;
        Policy.DataFolder = Folder.string();
        Policy.Identity = Identity;
        std::string LoadPath;
        const std::string Failure = EnterSandbox(Policy, Report, LoadPath);
        if (!Failure.empty()) {
            Report(("enter failed: " + Failure).c_str());
            _exit(100);
        }
        _exit(Action());
    }
    close(Pipe[1]);
    TChildEnd End;
    if (Child < 0) {
        close(Pipe[0]);
        return {false, -1, "no child"};
    }
    int WaitStatus = 0;
    const auto Deadline = std::chrono::steady_clock::now() + TimeLimit;
    pid_t Reaped = 0;
    while ((Reaped = waitpid(Child, &WaitStatus, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < Deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (Reaped == 0) {
        kill(Child, SIGKILL);
        waitpid(Child, &WaitStatus, 0);
        End.Reported = "(timed out) ";
    }
    End.Exited = WIFEXITED(WaitStatus);
    End.Status = End.Exited ? WEXITSTATUS(WaitStatus) : WTERMSIG(WaitStatus);
    fcntl(Pipe[0], F_SETFL, O_NONBLOCK);  // a grandchild that slipped out must not hold the reading up
    char Buffer[512];
    for (ssize_t Size; (Size = read(Pipe[0], Buffer, sizeof(Buffer))) > 0;) End.Reported.append(Buffer, Size);
    close(Pipe[0]);
    return End;
}

}  // namespace velkaran::testing
