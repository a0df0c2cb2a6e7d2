// Starting a worker process, exchanging one request and answer with it, and ending it.
#include "worker_process.h"

#include "exit_description.h"
#include "sandbox/worker_confinement.h"
#include "worker_registry.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <vector>

namespace velkaran {
namespace {

using Clock = std::chrono::steady_clock;

// A write to a worker that has died must fail with EPIPE, not end the host.
void IgnoreBrokenPipes() {
    static std::once_flag Once;
    std::call_once(Once, [] {
        struct sigaction Current {};
        if (sigaction(SIGPIPE, nullptr, &Current) == 0 && Current.sa_handler == SIG_DFL)
            signal(SIGPIPE, SIG_IGN);
    });
}

int OpenPidFd(pid_t Process) { return static_cast<int>(syscall(SYS_pidfd_open, Process, 0)); }

void CloseIfOpen(int &Fd) {
    if (Fd >= 0) close(Fd);
    Fd = -1;
}

// Milliseconds for poll(): rounded up, capped, never negative.
int PollTimeout(double Ms) {
    if (!(Ms > 0)) return 0;
    if (Ms >= INT_MAX) return INT_MAX;
    return static_cast<int>(std::ceil(Ms));
}

// What the child does between fork and exec: only async-signal-safe calls.
[[noreturn]] void BecomeWorker(pid_t Host, int RequestRead, int AnswerWrite, int OutputFd,
                               const char *Program, char *const *Argv,
                               const TWorkerConfinement &Confinement) {
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != Host) _exit(127);  // the host is already gone
    if (!Confinement.JoinFromChild()) _exit(127);
    // The pipes move to their fixed numbers; a descriptor already there is first moved away.
    if (OutputFd == worker::RequestFd || OutputFd == worker::AnswerFd)
        OutputFd = fcntl(OutputFd, F_DUPFD, 10);
    if (AnswerWrite == worker::RequestFd) AnswerWrite = fcntl(AnswerWrite, F_DUPFD, 10);
    if (dup2(RequestRead, worker::RequestFd) < 0 || dup2(AnswerWrite, worker::AnswerFd) < 0) _exit(127);
    if (OutputFd >= 0 && (dup2(OutputFd, STDOUT_FILENO) < 0 || dup2(OutputFd, STDERR_FILENO) < 0)) _exit(127);
    // Nothing to read: the host's terminal is not the bot's.
    const int Nothing = open("/dev/null", O_RDONLY);
    if (Nothing >= 0 && Nothing != STDIN_FILENO) {
        dup2(Nothing, STDIN_FILENO);
        close(Nothing);
    }
    syscall(SYS_close_range, worker::AnswerFd + 1, ~0U, 0);
    // Dispositions and the signal mask are inherited across exec: give the bot the defaults.
    struct sigaction Default {};
    Default.sa_handler = SIG_DFL;
    for (int Signal = 1; Signal < NSIG; ++Signal) sigaction(Signal, &Default, nullptr);
    sigset_t None;
    sigemptyset(&None);
    sigprocmask(SIG_SETMASK, &None, nullptr);
    execv(Program, Argv);
    _exit(127);
}

}  // namespace

std::string DefaultWorkerProgram() {
    std::error_code Error;
    const std::filesystem::path Self = std::filesystem::read_symlink("/proc/self/exe", Error);
    if (Error) return "velkaran-bot-worker";
    return (Self.parent_path() / "velkaran-bot-worker").string();
}

std::unique_ptr<TWorkerProcess> TWorkerProcess::Start(const TWorkerSettings &Settings,
                                                      const std::string &LibraryPath, int OutputFd,
                                                      std::string &Error) {
    IgnoreBrokenPipes();
    if (access(Settings.Program.c_str(), X_OK) != 0) {
        Error = "the worker program " + Settings.Program + " cannot be run: " + std::strerror(errno);
        return nullptr;
    }
    // The sandbox's part: the worker's control groups and how it locks itself down.
    std::unique_ptr<TWorkerConfinement> Confinement = TWorkerConfinement::Prepare(
        {Settings.MemoryMb, Settings.Sandbox, Settings.SandboxStrict, Settings.SandboxUser}, LibraryPath,
        Error);
    if (!Confinement) return nullptr;
    std::vector<std::string> Arguments{Settings.Program};
    if (Settings.MemoryMb > 0)
        Arguments.insert(Arguments.end(), {"--memory-mb", std::to_string(Settings.MemoryMb)});
    Arguments.insert(Arguments.end(), Confinement->Arguments().begin(), Confinement->Arguments().end());
    Arguments.push_back(LibraryPath);
    std::vector<char *> Argv;
    for (std::string &Argument : Arguments) Argv.push_back(Argument.data());
    Argv.push_back(nullptr);

    int Requests[2];
    int Answers[2];
    if (pipe2(Requests, O_CLOEXEC) != 0) {
        Error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return nullptr;
    }
    if (pipe2(Answers, O_CLOEXEC) != 0) {
        Error = std::string("cannot make a pipe: ") + std::strerror(errno);
        close(Requests[0]);
        close(Requests[1]);
        return nullptr;
    }
    const pid_t Host = getpid();
    const pid_t Child = fork();
    if (Child == 0) BecomeWorker(Host, Requests[0], Answers[1], OutputFd, Argv[0], Argv.data(), *Confinement);
    close(Requests[0]);
    close(Answers[1]);
    Confinement->ChildStarted();
    if (Child < 0) {
        Error = std::string("cannot start a worker process: ") + std::strerror(errno);
        close(Requests[1]);
        close(Answers[0]);
        return nullptr;
    }
    setpgid(Child, Child);  // also here, so that the group exists before either side goes on
    RegisterWorkerGroup(Child);
    const int PidFd = OpenPidFd(Child);
    return std::unique_ptr<TWorkerProcess>(
        new TWorkerProcess(Child, PidFd, Requests[1], Answers[0], std::move(Confinement)));
}

TWorkerProcess::TWorkerProcess(pid_t Process, int PidFd, int RequestWrite, int AnswerRead,
                               std::unique_ptr<TWorkerConfinement> Confinement)
    : Process(Process),
      PidFd(PidFd),
      RequestWrite(RequestWrite),
      AnswerRead(AnswerRead),
      Confinement(std::move(Confinement)) {
    // The answer pipe and the process's end, watched together; without pidfd only the pipe.
    Watch = epoll_create1(EPOLL_CLOEXEC);
    for (const int Fd : {AnswerRead, PidFd}) {
        if (Fd < 0) continue;
        epoll_event Event{};
        Event.events = EPOLLIN;
        Event.data.fd = Fd;
        epoll_ctl(Watch, EPOLL_CTL_ADD, Fd, &Event);
    }
}

TWorkerProcess::~TWorkerProcess() {
    if (Running) End();
}

std::string TWorkerProcess::End() {
    kill(-Process, SIGKILL);  // the leader is not reaped yet, so its group id is still ours
    pid_t Reaped;
    do {
        Reaped = waitpid(Process, &Status, 0);
    } while (Reaped < 0 && errno == EINTR);
    UnregisterWorkerGroup(Process);
    Running = false;
    CloseIfOpen(Watch);
    CloseIfOpen(PidFd);
    CloseIfOpen(RequestWrite);
    CloseIfOpen(AnswerRead);
    return DescribeWaitStatus(Status) + Confinement->Release();
}

bool TWorkerProcess::WaitForExit(double TimeoutMs) const {
    if (PidFd < 0) {  // a kernel without pidfd: poll the process now and then
        const auto Until = Clock::now() + std::chrono::duration<double, std::milli>(TimeoutMs);
        do {
            siginfo_t Info{};
            if (waitid(P_PID, static_cast<id_t>(Process), &Info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                Info.si_pid == Process)
                return true;
            usleep(1000);
        } while (Clock::now() < Until);
        return false;
    }
    pollfd Exited{PidFd, POLLIN, 0};
    int Ready;
    do {
        Ready = poll(&Exited, 1, PollTimeout(TimeoutMs));
    } while (Ready < 0 && errno == EINTR);
    return Ready > 0;
}

TCallOutcome TWorkerProcess::Lost() {
    // A worker that dies is given a moment to finish dying; one that lives on has closed or
    // broken its pipes, which is no way to answer either.
    const bool Exited = WaitForExit(1000);
    const std::string How = End();
    if (!Exited) return {TCallFault::Protocol, "stopped answering on its pipes to the host"};
    return {TCallFault::Crashed, How};
}

TCallOutcome TWorkerProcess::Exchange(const worker::TRequest &Request, worker::TAnswer &Answer,
                                      double TimeoutMs) {
    if (!Running) return {TCallFault::Crashed, "the worker had already ended"};
    const Clock::time_point Start = Clock::now();
    ssize_t Written;
    do {
        Written = write(RequestWrite, &Request, sizeof Request);
    } while (Written < 0 && errno == EINTR);
    if (Written != static_cast<ssize_t>(sizeof Request)) return Lost();

    // Until the answer, the worker's end, or the deadline. The clock is read again only after an
    // interruption: a call costs as few system calls as it can.
    double Left = TimeoutMs;
    for (;;) {
        epoll_event Events[2];
        const int Ready = epoll_wait(Watch, Events, 2, PollTimeout(Left));
        if (Ready < 0 && errno == EINTR) {
            Left = TimeoutMs - std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
            continue;
        }
        bool Answered = false;
        bool Exited = false;
        for (int I = 0; I < Ready; ++I) (Events[I].data.fd == AnswerRead ? Answered : Exited) = true;
        if (Answered) break;
        if (Exited || Ready < 0) return Lost();
        End();
        return {TCallFault::Hung, "no answer within " + std::to_string(std::lround(TimeoutMs)) + " ms"};
    }

    ssize_t Read;
    do {
        Read = read(AnswerRead, &Answer, sizeof Answer);
    } while (Read < 0 && errno == EINTR);
    if (Read <= 0) return Lost();

    using worker::TAnswerKind;
    const auto Expected = [&]() -> std::size_t {
        switch (Answer.Kind) {
            case TAnswerKind::Called:
                return Request.Kind == worker::TRequestKind::Load ? 0 : worker::CalledAnswerSize;
            case TAnswerKind::Loaded:
                return Request.Kind == worker::TRequestKind::Load ? sizeof Answer : 0;
            case TAnswerKind::Exception:
            case TAnswerKind::Refused:
                return sizeof Answer;
        }
        return 0;
    }();
    if (Answer.Magic != worker::AnswerMagic || Expected == 0 || static_cast<std::size_t>(Read) != Expected) {
        End();
        return {TCallFault::Protocol, "sent " + std::to_string(Read) + " bytes that are not an answer"};
    }
    if (Answer.Kind == TAnswerKind::Exception) {
        Answer.Text[worker::AnswerTextSize - 1] = '\0';
        const std::string What = Answer.Text;
        End();
        return {TCallFault::Crashed, "an exception left the bot (" + What + ")"};
    }
    if (Answer.Kind == TAnswerKind::Refused) {
        Answer.Text[worker::AnswerTextSize - 1] = '\0';
        const std::string Call = Answer.Text;
        End();
        return {TCallFault::Crashed, "the sandbox refused the system call " + Call};
    }
    Answer.Name[worker::AnswerTextSize - 1] = '\0';
    Answer.Text[worker::AnswerTextSize - 1] = '\0';
    return {};
}

std::string TWorkerProcess::Stop(double GraceMs) {
    if (!Running) return "";
    worker::TRequest Quit;
    Quit.Kind = worker::TRequestKind::Quit;
    const bool Asked = write(RequestWrite, &Quit, sizeof Quit) == static_cast<ssize_t>(sizeof Quit);
    const bool Exited = Asked && WaitForExit(GraceMs);
    const std::string How = End();
    if (!Exited) return "did not end within " + std::to_string(std::lround(GraceMs)) + " ms";
    if (WIFEXITED(Status) && WEXITSTATUS(Status) == 0) return "";
    return How;
}

}  // namespace velkaran
