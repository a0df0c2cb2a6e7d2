// velkaran-bot-worker: runs one bot library in a process of its own and serves the host's calls.
//
// Started by a Velkaran host, never by hand: the host passes the library's path, its pinned
// content on descriptor 5, the pipes on descriptors 3 (requests) and 4 (answers), and the bot's
// output on 1 and 2. Everything the bot does stays inside this process: its crash, exit, hang or
// stray write costs only this process. For a bot that is a program (--program) the worker sets the
// program's stage and becomes it, its pipes as the program's standard input and output.
#include "guarded_records.h"
#include "program_launch.h"

#include "players/bot_library.h"
#include "sandbox/sandbox.h"
#include "workers/worker_protocol.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

namespace velkaran::worker {
namespace {

struct TWorkerOptions {
    std::string Library;
    std::optional<TProgramLaunch> Program;  // a program bot: --program DIRECTORY PROGRAM -- ARGUMENTS
    long long MemoryMb = 0;                 // 0: no limit
    bool Sandbox = false;
    TSandboxPolicy Policy;  // under the sandbox: what the bot is confined to
};

[[noreturn]] void Fail(const std::string &Message) {
    std::fprintf(stderr, "velkaran-bot-worker: %s\n", Message.c_str());
    std::exit(2);
}

TWorkerOptions ReadOptions(int Argc, char **Argv) {
    TWorkerOptions Options;
    for (int I = 1; I < Argc; ++I) {
        const std::string Argument = Argv[I];
        if (Argument == "--sandbox") {
            Options.Sandbox = true;
        } else if (Argument == "--bot-data" && I + 1 < Argc) {
            Options.Policy.DataFolder = Argv[++I];
        } else if (Argument == "--user" && I + 1 < Argc) {
            Options.Policy.Identity = IdentityFromArgument(Argv[++I]);
            if (!Options.Policy.Identity) Fail("--user needs UID:GID of a user other than root");
        } else if (Argument == "--memory-capped") {
            Options.Policy.MemoryCapped = true;
        } else if (Argument == "--tasks-capped") {
            Options.Policy.TasksCapped = true;
        } else if (Argument == "--memory-mb" && I + 1 < Argc) {
            char *End = nullptr;
            Options.MemoryMb = std::strtoll(Argv[++I], &End, 10);
            if (*End != '\0' || Options.MemoryMb <= 0) Fail("--memory-mb needs a positive number");
        } else if (Argument == "--program" && I + 3 < Argc && std::string(Argv[I + 3]) == "--") {
            Options.Program = TProgramLaunch{Argv[I + 1], Argv[I + 2], {Argv + I + 4, Argv + Argc}};
            if (Options.Program->Arguments.empty()) Fail("--program needs the program's arguments after --");
            break;
        } else if (Options.Library.empty() && !Argument.starts_with("--")) {
            Options.Library = Argument;
        } else {
            Fail("unknown argument \"" + Argument + "\"");
        }
    }
    if (Options.Library.empty() && !Options.Program)
        Fail(
            "usage: velkaran-bot-worker [--memory-mb MB] [--sandbox [--bot-data DIR] [--user UID:GID] "
            "[--memory-capped] [--tasks-capped]] LIBRARY | --program DIRECTORY PROGRAM -- ARGUMENTS");
    Options.Policy.Library = Options.Library;
    if (Options.Policy.DataFolder.empty() && !Options.Library.empty())
        Options.Policy.DataFolder = BotDataFolder(Options.Library);
    // A program's worker enters the program's folder before it locks itself down.
    std::error_code Error;
    if (Options.Program && !Options.Policy.DataFolder.empty())
        Options.Policy.DataFolder = std::filesystem::absolute(Options.Policy.DataFolder, Error).string();
    return Options;
}

// No core files; the first to go when memory runs out; the address space capped when asked.
void ApplyLimits(const TWorkerOptions &Options) {
    const rlimit NoCore{0, 0};
    setrlimit(RLIMIT_CORE, &NoCore);
    if (std::FILE *Score = std::fopen("/proc/self/oom_score_adj", "w")) {
        std::fputs("1000", Score);
        std::fclose(Score);
    }
    if (Options.MemoryMb > 0) {
        const auto Bytes = static_cast<rlim_t>(Options.MemoryMb) * 1024 * 1024;
        const rlimit Memory{Bytes, Bytes};
        if (setrlimit(RLIMIT_AS, &Memory) != 0)
            Fail("cannot limit the memory: " + std::string(std::strerror(errno)));
    }
}

// Locks the process down for the program it is to become. Empty on success, else why not.
std::string EnterProgramSandbox(const TWorkerOptions &Options) {
    TSandboxPolicy Policy = Options.Policy;
    Policy.Program =
        TSandboxedProgram{Options.Program->Program, Options.Program->Directory, Options.Program->Arguments};
    // A refused call before the exec is the worker's own: it ends the worker, which the host sees
    // as the program's crash; after the exec the program's refused call kills it by SIGSYS.
    std::string Unused;
    const std::string Error = EnterSandbox(
        Policy, [](const char *) {}, Unused);
    return Error.empty() ? "" : "the sandbox could not be entered: " + Error;
}

// Writes Size bytes of Answer in one piece; a host that is gone ends the worker. (Not inlined: g++
// 12 then mistakes the record for its first field and warns of an overread.)
[[gnu::noinline]] void Send(const TAnswer &Answer, std::size_t Size) {
    ssize_t Written;
    do {
        Written = write(AnswerFd, &Answer, Size);
    } while (Written < 0 && errno == EINTR);
    if (Written != static_cast<ssize_t>(Size)) std::_Exit(3);
}

// Reads one whole request; false when the host has closed the pipe.
bool Receive(TRequest &Request) {
    ssize_t Read;
    do {
        Read = read(RequestFd, &Request, sizeof Request);
    } while (Read < 0 && errno == EINTR);
    if (Read == 0) return false;
    if (Read != static_cast<ssize_t>(sizeof Request) || Request.Magic != RequestMagic) {
        std::fputs("velkaran-bot-worker: a request that is not one; ending\n", stderr);
        std::_Exit(4);
    }
    return true;
}

// The answer the sandbox's handler sends when it refuses a system call; filled in the handler,
// which may not allocate.
TAnswer RefusalAnswer;

void ReportRefusal(const char *SyscallName) {
    RefusalAnswer.Magic = AnswerMagic;
    RefusalAnswer.Kind = TAnswerKind::Refused;
    CopyText(RefusalAnswer.Text, SyscallName);
    (void)!write(AnswerFd, &RefusalAnswer, sizeof RefusalAnswer);
}

class BotServer {
public:
    explicit BotServer(TWorkerOptions Options) : Options(std::move(Options)), LoadPath(ContentPath()) {}

    // Under --sandbox, locks the process down before any code of the bot's can run: a failure is
    // told to the host when it asks for the library, which is then not loaded.
    void EnterTheSandbox() {
        if (!Options.Sandbox) return;
        // A pinned copy is loaded through its descriptor, whatever became of the file meanwhile.
        TSandboxPolicy Policy = Options.Policy;
        Policy.LibraryOpen = LoadPath != Options.Library;
        std::string Reachable;
        const std::string Error = EnterSandbox(Policy, ReportRefusal, Reachable);
        if (!Error.empty()) SandboxFailure = "the sandbox could not be entered: " + Error;
        if (!Policy.LibraryOpen) LoadPath = Reachable;
    }

    // Serves requests until the host says Quit or goes away.
    [[noreturn]] void Run() {
        TRequest Request;
        while (Receive(Request)) {
            switch (Request.Kind) {
                case TRequestKind::Load:
                    Load();
                    break;
                case TRequestKind::StartGame:
                case TRequestKind::GetTurn:
                    Call(Request);
                    break;
                case TRequestKind::Quit:
                    std::exit(0);
                default:
                    std::fputs("velkaran-bot-worker: an unknown request; ending\n", stderr);
                    std::_Exit(4);
            }
        }
        std::exit(0);
    }

private:
    // The loading checks, as discovery runs them.
    void Load() {
        Answer = TAnswer{};
        Answer.Kind = TAnswerKind::Loaded;
        if (!SandboxFailure.empty()) {
            Answer.Problem = static_cast<int32_t>(TBotProblem::NotLoadable);
            CopyText(Answer.Text, SandboxFailure.c_str());
            Send(Answer, sizeof Answer);
            return;
        }
        TBotLoad Result = LoadBotLibrary(LoadPath);
        // A library loaded through a descriptor is still named by its file in what the host hears.
        for (std::size_t At = 0;
             LoadPath != Options.Library && (At = Result.Reason.find(LoadPath, At)) != std::string::npos;
             At += Options.Library.size())
            Result.Reason.replace(At, LoadPath.size(), Options.Library);
        Answer.Problem = static_cast<int32_t>(Result.Problem);
        CopyText(Answer.Name, Result.Bot.Name.c_str());
        CopyText(Answer.Text, Result.Reason.c_str());
        if (Result.Problem == TBotProblem::None) Bot = Result.Bot;
        Send(Answer, sizeof Answer);
    }

    // The library's content as the host pinned it, on LibraryFd; the file itself without one.
    std::string ContentPath() const {
        if (fcntl(LibraryFd, F_GETFD) < 0) return Options.Library;
        return "/proc/self/fd/" + std::to_string(LibraryFd);
    }

    // StartGame or GetTurn with the request's records. The host times the call on its own clock.
    void Call(const TRequest &Request) {
        if (Bot.StartGameProc == nullptr || Bot.GetTurnProc == nullptr) {
            std::fputs("velkaran-bot-worker: a call before the library was loaded; ending\n", stderr);
            std::_Exit(4);
        }
        TCallRecords &Records = GuardedRecords();
        Records.List = Request.List;
        Records.View = Request.View;
        Records.Info = Request.Info;
        TCardList *List = Request.HasList != 0 ? &Records.List : nullptr;
        const bool Turn = Request.Kind == TRequestKind::GetTurn;
        int32_t Card = 0;
        try {
            if (Turn) {
                Card = Bot.GetTurnProc(Request.PlayerIndex, &Records.View, List, &Records.Info);
            } else {
                Bot.StartGameProc(Request.PlayerIndex, List, &Records.Info);
            }
        } catch (const std::exception &Error) {
            SendException(Error.what());
        } catch (...) {
            SendException("an exception that is not a std::exception");
        }
        Answer.Kind = TAnswerKind::Called;
        Answer.Card = Card;
        Answer.List = Records.List;
        Send(Answer, CalledAnswerSize);
    }

    // An exception left the bot: the host hears what it said, and the worker ends.
    [[noreturn]] void SendException(const char *What) {
        Answer = TAnswer{};
        Answer.Kind = TAnswerKind::Exception;
        CopyText(Answer.Text, What);
        Send(Answer, sizeof Answer);
        std::_Exit(5);
    }

    const TWorkerOptions Options;
    std::string LoadPath;        // what the library is loaded through
    std::string SandboxFailure;  // why the sandbox could not be entered, when it could not
    TBot Bot;
    TAnswer Answer;
};

}  // namespace
}  // namespace velkaran::worker

#if defined(__SANITIZE_ADDRESS__)
// In a sanitizer build the worker stays out of the bot's way: a bot's crash is the bot's own
// signal, as in a plain build, and what a bot leaks is not the worker's report to make.
extern "C" const char *__asan_default_options() {
    return "handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:handle_abort=0:replace_intrin=0";
}
extern "C" int __lsan_is_turned_off() { return 1; }
#endif

int main(int Argc, char **Argv) {
    using namespace velkaran::worker;
    if (fcntl(RequestFd, F_GETFD) < 0 || fcntl(AnswerFd, F_GETFD) < 0) {
        std::fputs(
            "velkaran-bot-worker: this program is started by Velkaran to run a bot; it is not run by "
            "hand\n",
            stderr);
        return 2;
    }
    const TWorkerOptions Options = ReadOptions(Argc, Argv);
    ApplyLimits(Options);
    if (Options.Program) {
        // A program bot: from here on the host talks to the program itself. When it cannot start,
        // the reason goes where the program's greeting would have, for the host to quote. Under
        // the sandbox the worker enters the program's folder while it may, locks itself down, and
        // only then becomes the program; a program is never run unconfined when the sandbox was
        // asked for.
        std::string Reason = EnterProgramFolder(*Options.Program);
        if (Reason.empty() && Options.Sandbox) Reason = EnterProgramSandbox(Options);
        if (Reason.empty()) Reason = LaunchProgram(*Options.Program);
        const std::string Line = WorkerNotePrefix + Reason + "\n";
        (void)!write(fcntl(AnswerFd, F_GETFD) >= 0 ? AnswerFd : STDOUT_FILENO, Line.data(), Line.size());
        return 126;
    }
    BotServer Server(Options);
    Server.EnterTheSandbox();
    Server.Run();
}
