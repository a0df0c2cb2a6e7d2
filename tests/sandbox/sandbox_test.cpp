// The sandbox from the bot's side: each case forks a child that enters it on a fresh folder and
// tries one thing. Cases whose layer this kernel or user lacks are skipped.
#include "sandbox/sandbox.h"
#include "sandbox/process_limit.h"
#include "sandboxed_child.h"

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <linux/io_uring.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <sys/syscall.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <vector>

namespace velkaran {
namespace {

using testing::RunSandboxed;
using testing::TChildEnd;

// A fresh temporary folder, removed with everything in it.
class TTempFolder {
public:
    TTempFolder() {
        std::string Pattern = (std::filesystem::temp_directory_path() / "velkaran-sandbox-XXXXXX").string();
        if (mkdtemp(Pattern.data()) == nullptr) ADD_FAILURE() << "cannot create a temporary folder";
        Path = Pattern;
    }
    ~TTempFolder() {
        std::error_code Ignored;
        std::filesystem::remove_all(Path, Ignored);
    }
    TTempFolder(const TTempFolder &) = delete;
    TTempFolder &operator=(const TTempFolder &) = delete;

    std::filesystem::path Path;
};

// The errno that opening Path with Flags fails with, or 0 when it opens.
int OpenError(const std::filesystem::path &Path, int Flags) {
    const int Fd = open(Path.c_str(), Flags | O_CLOEXEC, 0644);
    if (Fd < 0) return errno;
    close(Fd);
    return 0;
}

class Sandbox : public ::testing::Test {
protected:
    void SetUp() override {
        Layers = DetectSandboxLayers();
        std::ofstream(Bot.Path / "notes.txt") << "opening book";
        std::ofstream(Elsewhere.Path / "secret.txt") << "not for bots";
    }

    TSandboxLayers Layers;
    TTempFolder Bot;
    TTempFolder Elsewhere;
};

TEST_F(Sandbox, DetectingChangesNothing) {
    rlimit Before{}, After{};
    getrlimit(RLIMIT_NPROC, &Before);
    DetectSandboxLayers();
    getrlimit(RLIMIT_NPROC, &After);
    EXPECT_EQ(prctl(PR_GET_NO_NEW_PRIVS, 0, 0, 0, 0), 0);
    EXPECT_EQ(prctl(PR_GET_SECCOMP, 0, 0, 0, 0), 0);
    EXPECT_EQ(Before.rlim_cur, After.rlim_cur);
    EXPECT_EQ(OpenError(Elsewhere.Path / "secret.txt", O_RDWR), 0);
}

struct TRefusedCase {
    const char *What;
    int (*Try)();
    const char *Expected;  // the name the reporter must get
    int OrSignal = 0;      // a signal that may end the child instead, where the kernel stops the call first
};

const TRefusedCase RefusedCases[] = {
    {"open a socket", [] { return socket(AF_INET, SOCK_STREAM, 0) >= 0 ? 0 : 1; }, "socket"},
    {"fork (the C library forks through clone)",
     [] {
         const pid_t Child = fork();
         if (Child == 0) _exit(0);
         return 1;
     },
     "clone"},
    {"run a program", [] { return execl("/bin/true", "true", nullptr); }, "execve"},
    {"signal the parent", [] { return kill(getppid(), SIGTERM); }, "kill"},
    {"change the parent's limits",
     [] {
         rlimit Same{};
         getrlimit(RLIMIT_NOFILE, &Same);
         return prlimit(getppid(), RLIMIT_NOFILE, &Same, nullptr);
     },
     "prlimit64"},
    {"replace the SIGSYS handler", [] { return signal(SIGSYS, SIG_IGN) == SIG_ERR ? 1 : 0; }, "rt_sigaction"},
    {"share memory the System V way", [] { return shmget(IPC_PRIVATE, 1 << 20, IPC_CREAT | 0600); },
     "shmget"},
    {"open a POSIX message queue",
     [] { return static_cast<int>(syscall(__NR_mq_open, "/velkaran", O_RDWR | O_CREAT, 0600, nullptr)); },
     "mq_open"},
    {"share memory by descriptor with no control group to count it",
     [] { return static_cast<int>(syscall(__NR_memfd_create, "hoard", 0)); }, "memfd_create"},
    {"set up io_uring",
     [] {
         io_uring_params Params{};
         return static_cast<int>(syscall(__NR_io_uring_setup, 1, &Params));
     },
     "io_uring_setup"},
    {"type into a terminal",
     [] {
         const char Key = 'x';
         return ioctl(-1, TIOCSTI, &Key);  // a bad descriptor, in case the call got through
     },
     "ioctl"},
    {"call the kernel through the x32 ABI",
     [] { return static_cast<int>(syscall(0x40000000 | __NR_getpid)); }, "x32 system call"},
    {"call the kernel through the i386 ABI",
     [] {
         long Result = 20;  // getpid there
         asm volatile("int $0x80" : "+a"(Result) : : "memory");
         return 0;
     },
     "i386 system call", SIGSEGV},  // a kernel without i386 emulation faults int 0x80
};

std::atomic<int> TermSignals{0};
void CountTermSignal(int) { ++TermSignals; }

TEST_F(Sandbox, RefusedCallsEndTheBotAndAreReported) {
    if (!Layers.Seccomp) GTEST_SKIP() << "this kernel offers no seccomp filter that traps";
    struct sigaction Previous {};
    struct sigaction Count {};
    Count.sa_handler = CountTermSignal;
    sigaction(SIGTERM, &Count, &Previous);
    for (const TRefusedCase &Case : RefusedCases) {
        SCOPED_TRACE(Case.What);
        const TChildEnd End = RunSandboxed(Bot.Path, Case.Try);
        const bool Trapped =
            End.Exited && End.Status == SandboxViolationStatus && End.Reported == Case.Expected;
        const bool Faulted = !End.Exited && Case.OrSignal != 0 && End.Status == Case.OrSignal;
        EXPECT_TRUE(Trapped || Faulted) << End.Describe();
    }
    sigaction(SIGTERM, &Previous, nullptr);
    EXPECT_EQ(TermSignals, 0) << "a signal reached the parent";
}

struct TOrdinaryCase {
    const char *What;
    int (*Try)();
};

std::atomic<int> OwnSignals{0};
void CountOwnSignal(int) { ++OwnSignals; }

const TOrdinaryCase OrdinaryCases[] = {
    {"compute in 100 MB",
     [] {
         constexpr std::size_t Size = 100u << 20;
         auto *Memory = static_cast<unsigned char *>(std::malloc(Size));
         if (Memory == nullptr) return 1;
         for (std::size_t I = 0; I < Size; ++I) Memory[I] = static_cast<unsigned char>(I);
         uint64_t Sum = 0;
         for (std::size_t I = 0; I < Size; ++I) Sum += Memory[I];
         std::free(Memory);
         return Sum == Size / 256 * (255 * 256 / 2) ? 0 : 2;
     }},
    {"run threads",
     [] {
         std::atomic<int> Done{0};
         std::vector<std::thread> Threads;
         for (int I = 0; I < 4; ++I) Threads.emplace_back([&Done] { ++Done; });
         for (std::thread &Thread : Threads) Thread.join();
         return Done == 4 ? 0 : 1;
     }},
    {"signal itself",
     [] {
         signal(SIGUSR1, CountOwnSignal);
         raise(SIGUSR1);
         kill(getpid(), SIGUSR1);
         return OwnSignals == 2 ? 0 : 1;
     }},
    {"set its own limits, and be told it keeps its CPUs",
     [] {
         rlimit Stack{};
         cpu_set_t Cpus;
         if (getrlimit(RLIMIT_STACK, &Stack) != 0 || setrlimit(RLIMIT_STACK, &Stack) != 0) return 1;
         if (prlimit(getpid(), RLIMIT_STACK, &Stack, nullptr) != 0) return 2;
         if (sched_getaffinity(0, sizeof(Cpus), &Cpus) != 0) return 3;
         return sched_setaffinity(0, sizeof(Cpus), &Cpus) == -1 && errno == EPERM ? 0 : 4;
     }},
    {"learn that clone3 and calls the sandbox does not know are missing",
     [] {
         if (syscall(__NR_clone3, nullptr, 0) != -1 || errno != ENOSYS) return 1;
         return syscall(__NR_sync) == -1 && errno == ENOSYS ? 0 : 2;
     }},
    {"write to an open descriptor",
     [] {
         testing::Report("written");
         return 0;
     }},
};

TEST_F(Sandbox, OrdinaryWorkGoesOn) {
    for (const TOrdinaryCase &Case : OrdinaryCases) {
        SCOPED_TRACE(Case.What);
        const TChildEnd End = RunSandboxed(Bot.Path, Case.Try);
        EXPECT_TRUE(End.Exited && End.Status == 0) << End.Describe();
    }
}

TEST_F(Sandbox, FilesAreReadOnlyInTheBotFolder) {
    if (Layers.LandlockAbi == 0) GTEST_SKIP() << "this kernel offers no Landlock";
    const std::filesystem::path Notes = Bot.Path / "notes.txt";
    const std::filesystem::path Secret = Elsewhere.Path / "secret.txt";
    const TChildEnd Read = RunSandboxed(Bot.Path, [&] {
        std::string Text;
        std::getline(std::ifstream(Notes), Text);
        const bool Listed = std::filesystem::directory_iterator(Bot.Path)->path() == Notes;
        return Text == "opening book" && Listed ? 0 : 1;
    });
    EXPECT_TRUE(Read.Exited && Read.Status == 0) << Read.Describe();

    const struct {
        const char *What;
        std::filesystem::path File;
        int Flags;
    } Refused[] = {{"write a file in the folder", Notes, O_WRONLY},
                   {"create a file in the folder", Bot.Path / "new.txt", O_WRONLY | O_CREAT},
                   {"read a file elsewhere", Secret, O_RDONLY}};
    for (const auto &Case : Refused) {
        SCOPED_TRACE(Case.What);
        const TChildEnd End = RunSandboxed(Bot.Path, [&] { return OpenError(Case.File, Case.Flags); });
        EXPECT_TRUE(End.Exited && End.Status == EACCES) << End.Describe();
    }
    EXPECT_FALSE(std::filesystem::exists(Bot.Path / "new.txt"));
}

TEST_F(Sandbox, ThreadsRunningAtEntryAreCoveredOrEntryFails) {
    if (!Layers.Seccomp) GTEST_SKIP() << "this kernel offers no seccomp filter that traps";
    static std::atomic<bool> Go{false};
    const TChildEnd End = RunSandboxed(
        Bot.Path,
        [] {
            Go = true;
            pause();  // the early thread's socket call ends the process
            return 1;
        },
        [] {  // in the child, before it enters: a thread that waits, then opens a socket
            std::thread([] {
                while (!Go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                socket(AF_UNIX, SOCK_STREAM, 0);
                _exit(2);
            }).detach();
        });
    if (Layers.LandlockAbi > 0 && Layers.LandlockAbi < 8) {
        EXPECT_TRUE(End.Exited && End.Status == 100 && End.Reported.find("enter failed: Landlock") == 0 &&
                    End.Reported.find("threads") != std::string::npos)
            << End.Describe();
    } else {
        EXPECT_TRUE(End.Exited && End.Status == SandboxViolationStatus && End.Reported == "socket")
            << End.Describe();
    }
}

TEST_F(Sandbox, ProcessLimitStopsAThreadFlood) {
    std::string Problem;
    const std::optional<TBotIdentity> Own = SandboxedBotIdentity("", Problem);  // as root: a user of its own
    if (!Own && !ProcessLimitTakesEffect()) GTEST_SKIP() << "RLIMIT_NPROC does not bind this user";
    const TChildEnd End = RunSandboxed(
        Bot.Path,
        [] {
            uint64_t Started = 0;
            try {
                for (; Started <= SandboxTaskCap; ++Started)
                    std::thread([] { pause(); }).detach();  // the child's exit ends them
            } catch (const std::system_error &Error) {
                return Error.code() == std::errc::resource_unavailable_try_again && Started > 0 ? 0 : 1;
            }
            return 2;  // every thread started
        },
        [] {}, std::chrono::seconds(60), Own);
    EXPECT_TRUE(End.Exited && End.Status == 0) << End.Describe();
}

TEST_F(Sandbox, RootBecomesTheBotsUserWithNoCapabilityLeft) {
    std::string Problem;
    const std::optional<TBotIdentity> Identity = SandboxedBotIdentity("", Problem);
    if (!Identity) GTEST_SKIP() << "not root";
    const TChildEnd End = RunSandboxed(
        Bot.Path,
        [] {
            __user_cap_header_struct Header{_LINUX_CAPABILITY_VERSION_3, 0};
            __user_cap_data_struct Data[_LINUX_CAPABILITY_U32S_3] = {};
            if (syscall(__NR_capget, &Header, Data) != 0) return 1;
            for (const auto &Set : Data)
                if (Set.effective != 0 || Set.permitted != 0 || Set.inheritable != 0) return 2;
            for (int Capability = 0; Capability <= CAP_LAST_CAP; ++Capability)
                if (prctl(PR_CAPBSET_READ, Capability, 0, 0, 0) != 0) return 3;
            uid_t Real, Effective, Saved;
            if (getresuid(&Real, &Effective, &Saved) != 0) return 4;
            const uid_t Wanted = OwnUid(getpid());  // no other process runs as it
            return Real == Wanted && Effective == Wanted && Saved == Wanted && getgroups(0, nullptr) == 0 ? 0
                                                                                                          : 5;
        },
        [] {}, std::chrono::seconds(60), Identity);
    EXPECT_TRUE(End.Exited && End.Status == 0) << End.Describe();
}

}  // namespace
}  // namespace velkaran
