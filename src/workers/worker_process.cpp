// Starting a worker process, exchanging one request and answer with it, and ending it.
#include "worker_process.h"

#include "exit_description.h"
#include "host_failure.h"
#include "library_pin.h"
#include "line_protocol.h"
#include "players/bot_library.h"
#include "players/bot_manifest.h"
#include "rules/player_names.h"
#include "sandbox/worker_confinement.h"
#include "worker_run.h"

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
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace velkaran {
namespace {

using Clock = std::chrono::steady_clock;

// How long the host waits for a worker it killed to be gone, and for a new one to reach exec.
constexpr double EndDeadlineMs = 5000;
constexpr double ExecDeadlineMs = 60000;

// Where the child keeps the pipe on which it reports a failed exec, until the exec closes it.
constexpr int ExecReportFd = worker::LibraryFd + 1;

// A write to a worker that has died must fail with EPIPE, not end the host.
void IgnoreBrokenPipes() {
    static std::once_flag Once;
    std::call_once(Once, [] {
        struct sigaction Current {};
        if (sigaction(SIGPIPE, nullptr, &Current) == 0 && Current.sa_handler == SIG_DFL)
            signal(SIGPIPE, SIG_IGN);
    });
}

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

// Waits up to TimeoutMs for Fd to be readable; true when it is.
bool WaitReadable(int Fd, double TimeoutMs) {
    const auto Until = Clock::now() + std::chrono::duration<double, std::milli>(TimeoutMs);
    for (;;) {
        pollfd Ready{Fd, POLLIN, 0};
        const double Left = std::chrono::duration<double, std::milli>(Until - Clock::now()).count();
        const int Count = poll(&Ready, 1, PollTimeout(Left));
        if (Count > 0) return true;
        if (Count == 0) return false;
        if (errno != EINTR) ThrowHostFailure("cannot wait for a worker process", errno);
    }
}

// The descriptors the child takes over: each source goes to its fixed number.
struct TChildDescriptors {
    int RequestRead;
    int AnswerWrite;
    int Output;
    int Library;  // -1: none
    int Report;   // the write end of the exec report pipe
};

// In the child: reports errno on the report pipe and ends.
[[noreturn]] void Fail(int Report) {
    const int Error = errno;
    (void)!write(Report, &Error, sizeof Error);
    _exit(127);
}

// What the child does between fork and exec: only async-signal-safe calls. A step that fails
// reports its errno on the report pipe, as a failed exec does, and ends the child.
[[noreturn]] void BecomeWorker(pid_t Host, TChildDescriptors Fds, const char *Program, char *const *Argv,
                               const TWorkerConfinement &Confinement) {
    // A session of its own: no terminal, and no way into the host's process group.
    if (setsid() < 0) setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != Host) _exit(127);  // the host is already gone
    if (!Confinement.JoinFromChild()) Fail(Fds.Report);
    // Every descriptor to keep first goes above the numbers it will take, whatever numbers the
    // host's descriptors had (3 and 4 included, or stdout closed), then to its number.
    int Nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (Nothing < 0) Fail(Fds.Report);
    int *const Moving[] = {&Fds.Report, &Fds.RequestRead, &Fds.AnswerWrite,
                           &Fds.Output, &Fds.Library,     &Nothing};
    for (int *Fd : Moving) {
        if (*Fd < 0) continue;
        const int Above = fcntl(*Fd, F_DUPFD_CLOEXEC, ExecReportFd + 1);
        if (Above < 0) Fail(Fds.Report);
        *Fd = Above;
    }
    // dup2 from a different number clears close-on-exec on the target; the report pipe keeps it.
    if (dup3(Fds.Report, ExecReportFd, O_CLOEXEC) < 0) Fail(Fds.Report);
    if (dup2(Nothing, STDIN_FILENO) < 0 || dup2(Fds.Output, STDOUT_FILENO) < 0 ||
        dup2(Fds.Output, STDERR_FILENO) < 0 || dup2(Fds.RequestRead, worker::RequestFd) < 0 ||
        dup2(Fds.AnswerWrite, worker::AnswerFd) < 0)
        Fail(ExecReportFd);
    if (Fds.Library >= 0 ? dup2(Fds.Library, worker::LibraryFd) < 0
                         : close(worker::LibraryFd) < 0 && errno != EBADF)
        Fail(ExecReportFd);
    syscall(SYS_close_range, ExecReportFd + 1, ~0U, 0);
    // Dispositions and the signal mask are inherited across exec: give the bot the defaults.
    struct sigaction Default {};
    Default.sa_handler = SIG_DFL;
    for (int Signal = 1; Signal < NSIG; ++Signal) sigaction(Signal, &Default, nullptr);
    sigset_t None;
    sigemptyset(&None);
    sigprocmask(SIG_SETMASK, &None, nullptr);
    execv(Program, Argv);
    Fail(ExecReportFd);
}

// Makes a close-on-exec pipe; throws THostFailure when none can be made.
void MakePipe(int (&Ends)[2]) {
    if (pipe2(Ends, O_CLOEXEC) != 0) ThrowHostFailure("cannot make a pipe for a worker process", errno);
}

}  // namespace

std::string DefaultWorkerProgram() {
    std::error_code Error;
    const std::filesystem::path Self = std::filesystem::read_symlink("/proc/self/exe", Error);
    if (Error) return "velkaran-bot-worker";
    return (Self.parent_path() / "velkaran-bot-worker").string();
}

std::unique_ptr<TWorkerProcess> TWorkerProcess::Start(const TWorkerSettings &Settings, TWorkerRun &Run,
                                                      const TPinnedLibrary &Library, int OutputFd,
                                                      const TBotManifest *Program) {
    IgnoreBrokenPipes();
    // The sandbox's part: the worker's control groups and how it locks itself down.
    std::string Error;
    std::unique_ptr<TWorkerConfinement> Confinement = TWorkerConfinement::Prepare(
        {Settings.MemoryMb, Settings.Sandbox, Settings.SandboxStrict, Settings.SandboxUser}, Library.Path(),
        Error);
    if (!Confinement) throw THostFailure("cannot confine a worker process: " + Error);
    std::vector<std::string> Arguments{Settings.Program};
    if (Settings.MemoryMb > 0)
        Arguments.insert(Arguments.end(), {"--memory-mb", std::to_string(Settings.MemoryMb)});
    Arguments.insert(Arguments.end(), Confinement->Arguments().begin(), Confinement->Arguments().end());
    if (Program != nullptr) {
        Arguments.insert(Arguments.end(), {"--program", Program->Directory, Program->Program, "--"});
        Arguments.insert(Arguments.end(), Program->Command.begin(), Program->Command.end());
    } else {
        Arguments.push_back(Library.Path());
    }
    std::vector<char *> Argv;
    for (std::string &Argument : Arguments) Argv.push_back(Argument.data());
    Argv.push_back(nullptr);

    // Each pipe is closed again on the way out unless it was handed on.
    struct TPipes {
        int Requests[2] = {-1, -1};
        int Answers[2] = {-1, -1};
        int Report[2] = {-1, -1};
        ~TPipes() {
            for (int *Pair : {Requests, Answers, Report})
                for (int I = 0; I < 2; ++I) CloseIfOpen(Pair[I]);
        }
    } Pipes;
    MakePipe(Pipes.Requests);
    MakePipe(Pipes.Answers);
    MakePipe(Pipes.Report);
    const pid_t Host = getpid();
    const pid_t Child = fork();
    if (Child == 0)
        BecomeWorker(Host,
                     {Pipes.Requests[0], Pipes.Answers[1], OutputFd, Program != nullptr ? -1 : Library.Fd(),
                      Pipes.Report[1]},
                     Argv[0], Argv.data(), *Confinement);
    const int ForkError = errno;
    Confinement->ChildStarted();
    if (Child < 0) ThrowHostFailure("cannot start a worker process", ForkError);
    CloseIfOpen(Pipes.Requests[0]);
    CloseIfOpen(Pipes.Answers[1]);
    CloseIfOpen(Pipes.Report[1]);

    const int PidFd = static_cast<int>(syscall(SYS_pidfd_open, Child, 0));
    const int Failure = errno;
    // Until it is registered and watched, a worker that must not go on is killed by its pid: it
    // is this process's child and not reaped, so the pid is still its.
    const auto Abandon = [Child, PidFd] {
        KillWorker(Child, PidFd);
        const Clock::time_point Until =
            Clock::now() + std::chrono::milliseconds(static_cast<int>(EndDeadlineMs));
        while (waitpid(Child, nullptr, WNOHANG) == 0 && Clock::now() < Until) usleep(1000);
        if (PidFd >= 0) close(PidFd);
    };
    if (PidFd < 0) {
        Abandon();
        ThrowHostFailure("cannot watch a worker process", Failure);
    }
    if (!Run.Register(Child, PidFd)) {
        Abandon();
        return nullptr;
    }
    const auto Unstarted = [&Run, Child, &Abandon] {
        Run.Unregister(Child);
        Abandon();
    };
    // The report pipe ends at exec (nothing read) or brings the errno of what failed before it.
    if (!WaitReadable(Pipes.Report[0], ExecDeadlineMs)) {
        Unstarted();
        throw THostFailure("the worker program " + Settings.Program + " did not start within " +
                           std::to_string(std::lround(ExecDeadlineMs / 1000)) + " s");
    }
    int ExecError = 0;
    ssize_t Read;
    do {
        Read = read(Pipes.Report[0], &ExecError, sizeof ExecError);
    } while (Read < 0 && errno == EINTR);
    if (Read != 0) {
        Unstarted();
        if (Read != static_cast<ssize_t>(sizeof ExecError)) ExecError = EIO;
        ThrowHostFailure("cannot run the worker program " + Settings.Program, ExecError);
    }

    // The answer pipe and the process's end, watched together.
    const int Watch = epoll_create1(EPOLL_CLOEXEC);
    if (Watch < 0) {
        const int Error = errno;
        Unstarted();
        ThrowHostFailure("cannot watch a worker process", Error);
    }
    for (const int Fd : {Pipes.Answers[0], PidFd}) {
        epoll_event Event{};
        Event.events = EPOLLIN;
        Event.data.fd = Fd;
        if (epoll_ctl(Watch, EPOLL_CTL_ADD, Fd, &Event) != 0) {
            const int Error = errno;
            close(Watch);
            Unstarted();
            ThrowHostFailure("cannot watch a worker process", Error);
        }
    }
    std::unique_ptr<TWorkerProcess> Started(new TWorkerProcess(Run, Child, PidFd, Watch, Pipes.Requests[1],
                                                               Pipes.Answers[0], std::move(Confinement)));
    Pipes.Requests[1] = Pipes.Answers[0] = -1;
    if (Program != nullptr) {
        // A program that does not read its input must not hold the host in a write: the host's
        // end of its input never blocks.
        Started->Lines = true;
        fcntl(Started->RequestWrite, F_SETFL, fcntl(Started->RequestWrite, F_GETFL) | O_NONBLOCK);
    }
    return Started;
}

TWorkerProcess::TWorkerProcess(TWorkerRun &Run, pid_t Process, int PidFd, int Watch, int RequestWrite,
                               int AnswerRead, std::unique_ptr<TWorkerConfinement> Confinement)
    : Run(Run),
      Process(Process),
      PidFd(PidFd),
      Watch(Watch),
      RequestWrite(RequestWrite),
      AnswerRead(AnswerRead),
      Confinement(std::move(Confinement)) {}

TWorkerProcess::~TWorkerProcess() {
    if (Running) End();
}

std::string TWorkerProcess::End() {
    KillWorker(Process, PidFd);
    bool Exited = false;
    try {
        Exited = WaitForExit(EndDeadlineMs);
    } catch (const THostFailure &) {
        // Not waited for: it is left unreaped, and the process's own end takes it along.
    }
    Run.Unregister(Process);  // before it is reaped, so that its pid is never signalled again
    Running = false;
    CloseIfOpen(Watch);
    CloseIfOpen(RequestWrite);
    CloseIfOpen(AnswerRead);
    std::string How = "did not end within " + std::to_string(std::lround(EndDeadlineMs)) + " ms of SIGKILL";
    if (Exited && waitpid(Process, &Status, WNOHANG) == Process) How = DescribeWaitStatus(Status);
    CloseIfOpen(PidFd);
    return How + Confinement->Release();
}

bool TWorkerProcess::WaitForExit(double TimeoutMs) const { return WaitReadable(PidFd, TimeoutMs); }

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
    if (Lines) return ExchangeLine(Request, Answer, TimeoutMs);
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
        if (Ready < 0) {
            if (errno != EINTR) {
                const int Error = errno;
                End();
                ThrowHostFailure("cannot wait for a worker's answer", Error);
            }
            Left = TimeoutMs - std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
            continue;
        }
        bool Answered = false;
        bool Exited = false;
        for (int I = 0; I < Ready; ++I) (Events[I].data.fd == AnswerRead ? Answered : Exited) = true;
        if (Answered) break;
        if (Exited) return Lost();
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
    // A program is told the run is over by the end of its input.
    const bool Asked = Lines ? close(std::exchange(RequestWrite, -1)) == 0
                             : write(RequestWrite, &Quit, sizeof Quit) == static_cast<ssize_t>(sizeof Quit);
    const bool Exited = Asked && WaitForExit(GraceMs);
    const std::string How = End();
    if (!Exited) return "did not end within " + std::to_string(std::lround(GraceMs)) + " ms";
    if (WIFEXITED(Status) && WEXITSTATUS(Status) == 0) return "";
    return How;
}

namespace {

// What a program wrote, quoted for a reason: control characters escaped, cut short.
std::string Quoted(std::string_view Text) { return "\"" + Printable(Text, 80) + "\""; }

// The word a request line begins with, for a reason.
const char *RequestWord(const worker::TRequest &Request) {
    switch (Request.Kind) {
        case worker::TRequestKind::Load:
            return "the greeting";
        case worker::TRequestKind::StartGame:
            return Request.HasList != 0 ? "\"start\"" : "\"end\"";
        default:
            return "\"turn\"";
    }
}

}  // namespace

void TWorkerProcess::GreetingAnswer(worker::TAnswer &Answer) const {
    Answer = worker::TAnswer{};
    Answer.Kind = worker::TAnswerKind::Loaded;
    const bool Valid = IsValidName(GreetedName.c_str()) && GreetedName.find('\0') == std::string::npos;
    Answer.Problem = static_cast<int32_t>(Valid ? TBotProblem::None : TBotProblem::NameRefused);
    worker::CopyText(Answer.Name, GreetedName.c_str());
    if (!Valid) worker::CopyText(Answer.Text, RefusedNameReason(GreetedName).c_str());
}

TCallOutcome TWorkerProcess::Broke(const std::string &What) {
    End();
    return {TCallFault::Protocol, What};
}

bool TWorkerProcess::ReadLine(double TimeoutMs, TCallOutcome &Outcome) {
    const Clock::time_point Start = Clock::now();
    char Buffer[4096];
    for (;;) {
        if (const std::size_t Stop = Pending.find('\n'); Stop != std::string::npos) {
            // A line may end in "\r\n", as a program built for another system writes it.
            Line.assign(Pending, 0, Stop > 0 && Pending[Stop - 1] == '\r' ? Stop - 1 : Stop);
            Pending.erase(0, Stop + 1);
            return true;
        }
        if (Pending.size() >= line_protocol::MaxAnswerBytes) {
            Outcome = Broke("wrote a line longer than " + std::to_string(line_protocol::MaxAnswerBytes) +
                            " bytes: " + Quoted(Pending));
            return false;
        }
        const double Left =
            TimeoutMs - std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
        epoll_event Events[2];
        const int Ready = epoll_wait(Watch, Events, 2, PollTimeout(Left));
        if (Ready < 0) {
            if (errno == EINTR) continue;
            const int Error = errno;
            End();
            ThrowHostFailure("cannot wait for a worker's answer", Error);
        }
        if (Ready == 0) {
            const std::string Partial = Pending.empty() ? "" : " (it had written " + Quoted(Pending) + ")";
            End();
            Outcome = {TCallFault::Hung,
                       "no answer within " + std::to_string(std::lround(TimeoutMs)) + " ms" + Partial};
            return false;
        }
        bool Answered = false;
        for (int I = 0; I < Ready; ++I) Answered = Answered || Events[I].data.fd == AnswerRead;
        if (!Answered) {  // the program ended without a whole answer
            Outcome = Lost();
            return false;
        }
        ssize_t Read;
        do {
            Read = read(AnswerRead, Buffer, sizeof Buffer);
        } while (Read < 0 && errno == EINTR);
        if (Read > 0) {
            Pending.append(Buffer, static_cast<std::size_t>(Read));
            continue;
        }
        // Its standard output is closed: it ended, or it closed it and lives on.
        const bool Exited = WaitForExit(1000);
        const std::string How = End();
        Outcome = Exited ? TCallOutcome{TCallFault::Crashed, How}
                         : TCallOutcome{TCallFault::Protocol, "closed its standard output"};
        return false;
    }
}

TCallOutcome TWorkerProcess::ExchangeLine(const worker::TRequest &Request, worker::TAnswer &Answer,
                                          double TimeoutMs) {
    using worker::TRequestKind;
    if (!Pending.empty()) return Broke("wrote " + Quoted(Pending) + " before it was asked");
    if (Request.Kind == TRequestKind::Load && Greeted) {  // a program greets once: its name stands
        GreetingAnswer(Answer);
        return {};
    }
    Sent.clear();
    switch (Request.Kind) {
        case TRequestKind::Load:
            Sent = line_protocol::Greeting();
            break;
        case TRequestKind::StartGame:
            line_protocol::WriteStartGame(Sent, Request.PlayerIndex, Request.HasList != 0, Request.Info);
            break;
        case TRequestKind::GetTurn:
            line_protocol::WriteGetTurn(Sent, Request.PlayerIndex, Request.View,
                                        Request.HasList != 0 ? &Request.List : nullptr, Request.Info);
            break;
        case TRequestKind::Quit:
            return {};
    }
    ssize_t Written;
    do {
        Written = write(RequestWrite, Sent.data(), Sent.size());
    } while (Written < 0 && errno == EINTR);
    if (Written < 0 && errno == EAGAIN) return Broke("does not read its standard input");
    // A worker that could not become the program may have written its reason and gone already:
    // the reason is read as the greeting would have been.
    if (Written != static_cast<ssize_t>(Sent.size()) && Request.Kind != TRequestKind::Load) return Lost();

    TCallOutcome Outcome;
    if (!ReadLine(TimeoutMs, Outcome)) return Outcome;
    if (!Pending.empty()) return Broke("wrote more than one line: " + Quoted(Line + "\n" + Pending));
    if (Request.Kind == TRequestKind::Load && Line.starts_with(worker::WorkerNotePrefix)) {
        // The worker could not become the program: its reason is told whole, as a library's
        // loading failure is. (A program that writes this as its greeting only refuses itself.)
        End();
        Answer = worker::TAnswer{};
        Answer.Kind = worker::TAnswerKind::Loaded;
        Answer.Problem = static_cast<int32_t>(TBotProblem::NotLoadable);
        const std::string_view Reason = std::string_view(Line).substr(std::strlen(worker::WorkerNotePrefix));
        worker::CopyText(Answer.Text, Printable(Reason, worker::AnswerTextSize / 2).c_str());
        return {};
    }
    std::string Error;
    bool Read = false;
    switch (Request.Kind) {
        case TRequestKind::Load:
            if (std::optional<std::string> Name = line_protocol::ReadGreeting(Line, Error)) {
                GreetedName = std::move(*Name);
                Greeted = true;
                GreetingAnswer(Answer);
                Read = true;
            }
            break;
        case TRequestKind::StartGame:
            Answer.List = TCardList{};
            Read = Request.HasList != 0 ? line_protocol::ReadSet(Line, Answer.List, Error)
                                        : line_protocol::ReadOk(Line, Error);
            break;
        default:
            Read = line_protocol::ReadPlay(Line, Answer.Card, Error);
            break;
    }
    if (!Read) return Broke("answered " + Quoted(Line) + " to " + RequestWord(Request) + ": " + Error);
    if (Request.Kind != TRequestKind::Load) Answer.Kind = worker::TAnswerKind::Called;
    return {};
}

}  // namespace velkaran
