// Child processes of a test: fork and exec with files for output, waiting and stopping by pid.
#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char **environ;

namespace velkaran::testing {
namespace {

namespace fs = std::filesystem;

std::string VariableName(const std::string &Entry) { return Entry.substr(0, Entry.find('=')); }

// The test's own environment with Overrides put in place of the entries of the same names.
std::vector<std::string> ChildEnvironment(const std::vector<std::string> &Overrides) {
    std::vector<std::string> Result;
    for (char **Entry = environ; *Entry != nullptr; ++Entry) Result.emplace_back(*Entry);
    for (const std::string &Override : Overrides) {
        std::erase_if(
            Result, [&](const std::string &Entry) { return VariableName(Entry) == VariableName(Override); });
        Result.push_back(Override);
    }
    return Result;
}

std::vector<char *> Pointers(std::vector<std::string> &Texts) {
    std::vector<char *> Result;
    for (std::string &Text : Texts) Result.push_back(Text.data());
    Result.push_back(nullptr);
    return Result;
}

int DecodedStatus(int WaitStatus) {
    if (WIFEXITED(WaitStatus)) return WEXITSTATUS(WaitStatus);
    if (WIFSIGNALED(WaitStatus)) return 128 + WTERMSIG(WaitStatus);
    return -1;
}

// The NUL-separated entries of a /proc/PID/environ text.
bool HoldsEntry(const std::string &Environment, const std::string &Entry) {
    std::size_t At = 0;
    while (At < Environment.size()) {
        const std::size_t End = std::min(Environment.find('\0', At), Environment.size());
        if (Environment.compare(At, End - At, Entry) == 0) return true;
        At = End + 1;
    }
    return false;
}

}  // namespace

pid_t StartProcess(const std::vector<std::string> &Argv, const std::vector<std::string> &Environment,
                   const fs::path &Folder, const fs::path &OutFile, const fs::path &ErrFile) {
    // Everything the child needs is made before fork: after it, only async-signal-safe calls.
    const std::string Program = FindProgram(Argv.at(0));
    if (Program.empty()) return -1;
    std::vector<std::string> Arguments = Argv;
    std::vector<std::string> Entries = ChildEnvironment(Environment);
    std::vector<char *> ArgvPointers = Pointers(Arguments);
    std::vector<char *> EnvpPointers = Pointers(Entries);
    const std::string FolderName = Folder.string();
    const std::string OutName = OutFile.string();
    const std::string ErrName = ErrFile.string();
    const bool SharedOutput = OutFile == ErrFile;
    int Report[2];  // the child writes errno here when it cannot exec; exec closes it
    if (pipe2(Report, O_CLOEXEC) != 0) return -1;
    const pid_t Parent = getpid();

    const pid_t Child = fork();
    if (Child == 0) {
        // Should the test die without stopping it (a crash, a timeout), the child gets SIGTERM.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != Parent) _exit(127);
        sigset_t NoSignals;
        sigemptyset(&NoSignals);
        sigprocmask(SIG_SETMASK, &NoSignals, nullptr);
        const int In = open("/dev/null", O_RDONLY | O_CLOEXEC);
        const int Out = open(OutName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        const int Err =
            SharedOutput ? Out : open(ErrName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (In >= 0 && Out >= 0 && Err >= 0 && dup2(In, STDIN_FILENO) >= 0 && dup2(Out, STDOUT_FILENO) >= 0 &&
            dup2(Err, STDERR_FILENO) >= 0 && chdir(FolderName.c_str()) == 0)
            execve(Program.c_str(), ArgvPointers.data(), EnvpPointers.data());
        const int Error = errno;
        [[maybe_unused]] const ssize_t Written = write(Report[1], &Error, sizeof Error);
        _exit(127);
    }
    close(Report[1]);
    if (Child < 0) {
        close(Report[0]);
        return -1;
    }
    int Error = 0;
    ssize_t Read = 0;
    while ((Read = read(Report[0], &Error, sizeof Error)) < 0 && errno == EINTR) {
    }
    close(Report[0]);
    if (Read > 0) {  // it did not get as far as exec
        waitpid(Child, nullptr, 0);
        return -1;
    }
    return Child;
}

std::optional<int> FinishedStatus(pid_t Pid) {
    if (Pid <= 0) return -1;  // never started: nothing to wait for
    int WaitStatus = 0;
    const pid_t Result = waitpid(Pid, &WaitStatus, WNOHANG);
    if (Result == 0) return std::nullopt;
    return Result == Pid ? DecodedStatus(WaitStatus) : -1;
}

void StopProcess(pid_t Pid, std::chrono::milliseconds Grace) {
    if (Pid <= 0 || FinishedStatus(Pid)) return;
    kill(Pid, SIGTERM);
    const auto Deadline = std::chrono::steady_clock::now() + Grace;
    while (std::chrono::steady_clock::now() < Deadline) {
        if (FinishedStatus(Pid)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(Pid, SIGKILL);
    int WaitStatus = 0;
    while (waitpid(Pid, &WaitStatus, 0) < 0 && errno == EINTR) {
    }
}

TProgramRun RunProgram(const std::vector<std::string> &Argv, const std::vector<std::string> &Environment,
                       const fs::path &Scratch) {
    const std::string Name = fs::path(Argv.at(0)).filename().string();
    const fs::path OutFile = Scratch / (Name + ".out");
    const fs::path ErrFile = Scratch / (Name + ".err");
    std::error_code Ignored;
    fs::remove(OutFile, Ignored);
    fs::remove(ErrFile, Ignored);
    TProgramRun Run;
    const pid_t Child = StartProcess(Argv, Environment, Scratch, OutFile, ErrFile);
    if (Child < 0) {
        Run.Err = "cannot start " + Argv.at(0);
        return Run;
    }
    int WaitStatus = 0;
    while (waitpid(Child, &WaitStatus, 0) < 0 && errno == EINTR) {
    }
    Run.Status = DecodedStatus(WaitStatus);
    Run.Out = ReadText(OutFile);
    Run.Err = ReadText(ErrFile);
    return Run;
}

std::vector<TProcessInfo> ProcessesWithEnvironment(const std::string &Entry) {
    std::vector<TProcessInfo> Found;
    std::error_code Ignored;
    for (const auto &Process : fs::directory_iterator("/proc", Ignored)) {
        const std::string Name = Process.path().filename().string();
        if (Name.find_first_not_of("0123456789") != std::string::npos) continue;
        if (!HoldsEntry(ReadText(Process.path() / "environ"), Entry)) continue;
        std::string Command = ReadText(Process.path() / "comm");
        if (!Command.empty() && Command.back() == '\n') Command.pop_back();
        Found.push_back({static_cast<pid_t>(std::stol(Name)), Command});
    }
    return Found;
}

std::string FindProgram(const std::string &Program) {
    if (Program.find('/') != std::string::npos) return access(Program.c_str(), X_OK) == 0 ? Program : "";
    const char *Path = std::getenv("PATH");
    std::stringstream Folders(std::string(Path != nullptr ? Path : "") + ":/usr/local/sbin:/usr/sbin:/sbin");
    std::string Folder;
    while (std::getline(Folders, Folder, ':')) {
        if (Folder.empty()) continue;
        const fs::path Candidate = fs::path(Folder) / Program;
        if (access(Candidate.c_str(), X_OK) == 0) return Candidate.string();
    }
    return "";
}

std::string ReadText(const fs::path &File) {
    std::ifstream Stream(File, std::ios::binary);
    std::ostringstream Text;
    Text << Stream.rdbuf();
    return Text.str();
}

}  // namespace velkaran::testing
