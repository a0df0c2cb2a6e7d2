// Sandboxed bots in real worker processes: whatever the bot's code does, from the first instruction
// of its constructor on, it stays within the sandbox and its caps, and its worker's control groups
// go with the worker.
#include "workers/bot_folder.h"

#include "sandbox/sandbox_layers.h"
#include "sandbox/worker_cgroups.h"
#include "workers/worker_pool.h"
#include "workers/worker_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace velkaran::testing {
namespace {

using ::testing::HasSubstr;

TWorkerPoolSettings Sandboxed(long long MemoryMb = 0) {
    TWorkerPoolSettings Settings;
    Settings.Worker.Program = VELKARAN_WORKER_PROGRAM;
    Settings.Worker.Sandbox = true;
    Settings.Worker.MemoryMb = MemoryMb;
    Settings.CallTimeoutMs = 10000;
    Settings.LoadTimeoutMs = 10000;
    return Settings;
}

// What became of one attempt of the breakout bot: how its worker ended, if it did, and GetTurn's answer.
struct TAttempt {
    std::string Fault;    // the probe's reason or the failed call's detail; empty when none failed
    int32_t Answer = -1;  // GetTurn's answer, when the calls got that far
};

// Sets the breakout bot Bot on Act at Place, and plays its opening StartGame and one GetTurn in
// a pool of its own (a pool remembers a library that failed to load).
TAttempt Attempt(const TWorkerPoolSettings &Settings, const std::string &Bot, const std::string &Place,
                 const std::string &Act) {
    setenv("VELKARAN_BREAKOUT", (Place + " " + Act).c_str(), 1);
    TBotWorkerPool Pool(Settings);
    TAttempt Result;
    const TBotLoad Load = Pool.Probe(Bot);
    if (!Load.Bot.Available) {
        Result.Fault = Load.Reason;
        return Result;
    }
    const TSeatCalls Seat = Pool.Seat(Load.Bot);
    TCardList Set{};
    TTurnInfo Info{};
    if (const TCallOutcome Started = Seat.StartGame(0, &Set, &Info); Started.Fault != TCallFault::None) {
        Result.Fault = Started.Detail;
        return Result;
    }
    TGameView View{};
    Info.Turn = 1;
    const TTurnAnswer Answer = Seat.GetTurn(0, &View, &Set, &Info);
    Result.Fault = Answer.Outcome.Detail;
    Result.Answer = Answer.Card;
    return Result;
}

// The control groups of this process's workers that are still there.
std::vector<std::string> GroupsLeft() {
    std::vector<std::string> Left;
    const std::string Mine = "velkaran-worker-" + std::to_string(getpid()) + "-";
    for (const std::string &Parent : {CgroupSupport().MemoryParent, CgroupSupport().TasksParent}) {
        std::error_code Error;
        if (Parent.empty()) continue;
        for (const auto &Entry : std::filesystem::directory_iterator(Parent, Error))
            if (Entry.path().filename().string().rfind(Mine, 0) == 0) Left.push_back(Entry.path());
    }
    return Left;
}

class SandboxedBot : public ::testing::Test {
protected:
    void SetUp() override {
        const TSandboxLayers Layers = DetectSandboxLayers();
        if (!Layers.Seccomp || Layers.LandlockAbi == 0)
            GTEST_SKIP() << "this kernel lacks seccomp or Landlock";
        // Open to all, so that only the sandbox stands between the bot and the folder's files.
        std::filesystem::permissions(Folder.Path, std::filesystem::perms::all);
        Bot = Folder.AddTestBot("breakout_bot", "breakout.so");
        Other = Folder.AddSampleBot("passive.so");
        Target = (Folder.Path / "escaped").string();
        setenv("VELKARAN_BREAKOUT_FILE", Target.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("VELKARAN_BREAKOUT");
        unsetenv("VELKARAN_BREAKOUT_FILE");
    }

    BotFolder Folder;
    std::string Bot, Other, Target;
};

TEST_F(SandboxedBot, NoCodeOfTheBotGetsOutFromItsFirstInstruction) {
    // A socket the bot might reach, were sockets open to it.
    const int Listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un Address{};
    Address.sun_family = AF_UNIX;
    const std::string SocketPath = (Folder.Path / "listening").string();
    std::strncpy(Address.sun_path, SocketPath.c_str(), sizeof Address.sun_path - 1);
    ASSERT_EQ(bind(Listener, reinterpret_cast<sockaddr *>(&Address), sizeof Address), 0);
    ASSERT_EQ(listen(Listener, 1), 0);

    const struct {
        const char *Act;
        const char *Refused;  // the call the sandbox traps; null: the bot is told no and goes on
    } Acts[] = {{"write", nullptr}, {"read", nullptr},  {"connect", "socket"}, {"fork", "clone"},
                {"signal", "kill"}, {"sysv", "shmget"}, {"mqueue", "mq_open"}};
    for (const char *Place : {"constructor", "name", "start", "turn", "thread"}) {
        for (const auto &Act : Acts) {
            SCOPED_TRACE(std::string(Place) + " " + Act.Act);
            // Reading aims at another bot's library; everything else at a file beside this one.
            setenv("VELKARAN_BREAKOUT_FILE",
                   std::string(Act.Act) == "read"      ? Other.c_str()
                   : std::string(Act.Act) == "connect" ? SocketPath.c_str()
                                                       : Target.c_str(),
                   1);
            const TAttempt Result = Attempt(Sandboxed(), Bot, Place, Act.Act);
            if (Act.Refused != nullptr) {
                EXPECT_THAT(Result.Fault,
                            HasSubstr(std::string("the sandbox refused the system call ") + Act.Refused));
            } else {
                EXPECT_EQ(Result.Fault, "");
                EXPECT_EQ(Result.Answer, 0);
            }
            EXPECT_FALSE(std::filesystem::exists(Target));
        }
    }
    pollfd Waiting{Listener, POLLIN, 0};
    EXPECT_EQ(poll(&Waiting, 1, 0), 0) << "a bot connected";
    close(Listener);
    EXPECT_THAT(GroupsLeft(), ::testing::IsEmpty());
}

TEST_F(SandboxedBot, MemoryAndThreadsStayWithinTheirCaps) {
#if !defined(__SANITIZE_ADDRESS__)  // AddressSanitizer cannot start in a capped address space
    // 1 GiB through a memfd: refused, or the worker is ended at its cap.
    const TAttempt Hoard = Attempt(Sandboxed(64), Bot, "turn", "memfd");
    EXPECT_THAT(Hoard.Fault, ::testing::AnyOf(HasSubstr("the sandbox refused the system call memfd_create"),
                                              HasSubstr("it reached its memory cap of 64 MB")));
#endif
    const TAttempt Flood = Attempt(Sandboxed(), Bot, "thread", "threads");
    EXPECT_EQ(Flood.Fault, "");
    EXPECT_GT(Flood.Answer, 0);
    EXPECT_LE(Flood.Answer, static_cast<int32_t>(SandboxTaskCap));
    EXPECT_THAT(GroupsLeft(), ::testing::IsEmpty());
}

TEST_F(SandboxedBot, LoadsThePinnedCopyWhateverBecameOfTheFile) {
    // Run as root, the worker changes its user: still it loads the run's copy through its
    // descriptor, and never opens the file, here replaced by a pipe that would block an open.
    TWorkerPoolSettings Settings = Sandboxed();
    Settings.Run = std::make_shared<TWorkerRun>();
    Settings.LoadTimeoutMs = 3000;
    ASSERT_TRUE(TBotWorkerPool(Settings).Probe(Other).Bot.Available);
    std::filesystem::remove(Other);
    ASSERT_EQ(mkfifo(Other.c_str(), 0600), 0);
    TBotWorkerPool Pool(Settings);
    const TBotLoad Load = Pool.Probe(Other);
    ASSERT_TRUE(Load.Bot.Available) << Load.Reason;
    TCardList Set{};
    TTurnInfo Info{};
    EXPECT_EQ(Pool.Seat(Load.Bot).StartGame(0, &Set, &Info).Fault, TCallFault::None);
}

}  // namespace
}  // namespace velkaran::testing
