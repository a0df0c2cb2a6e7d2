// A test bot that tries, at the place and in the way the environment variable VELKARAN_BREAKOUT
// names ("PLACE ACT"), to do what a sandboxed bot must not. PLACE: constructor (while the library
// loads), name (GetName), start (the opening StartGame), turn (GetTurn), thread (a thread started
// in GetTurn). ACT:
//   write    create and write the file VELKARAN_BREAKOUT_FILE     read     read that file
//   connect  connect a Unix socket to that file                   fork     start a process
//   signal   signal the host (its parent)                         sysv     make a System V segment
//   mqueue   open a POSIX message queue                           memfd    hold 1 GiB in a memfd
//   threads  start up to 1000 threads (they end with the process)
// GetTurn answers what the attempt came to: 1 when it worked, 0 when it was refused (threads: how
// many started); 50 (a pass) before any attempt. An attempt the sandbox traps ends the process.
#include <velkaran/bot.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

std::atomic<int32_t> Outcome{-1};

std::string Setting(const char *Name) {
    const char *Value = std::getenv(Name);
    return Value != nullptr ? Value : "";
}

bool At(const char *Place) { return Setting("VELKARAN_BREAKOUT").rfind(std::string(Place) + " ", 0) == 0; }

int32_t StartThreads() {
    static std::mutex Lock;
    static std::condition_variable Never;
    int32_t Started = 0;
    try {
        for (; Started < 1000; ++Started)
            std::thread([] {
                std::unique_lock Hold(Lock);
                Never.wait(Hold, [] { return false; });
            }).detach();
    } catch (const std::system_error &) {
    }
    return Started;
}

int32_t Attempt() {
    const std::string Breakout = Setting("VELKARAN_BREAKOUT");
    const std::string Act = Breakout.substr(Breakout.find(' ') + 1);
    const std::string File = Setting("VELKARAN_BREAKOUT_FILE");
    if (Act == "write") {
        const int Fd = open(File.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        return Fd >= 0 && write(Fd, "out", 3) == 3 ? 1 : 0;
    }
    if (Act == "read") {
        char Byte;
        const int Fd = open(File.c_str(), O_RDONLY);
        return Fd >= 0 && read(Fd, &Byte, 1) == 1 ? 1 : 0;
    }
    if (Act == "connect") {
        sockaddr_un Address{};
        Address.sun_family = AF_UNIX;
        std::strncpy(Address.sun_path, File.c_str(), sizeof Address.sun_path - 1);
        const int Socket = socket(AF_UNIX, SOCK_STREAM, 0);
        return connect(Socket, reinterpret_cast<sockaddr *>(&Address), sizeof Address) == 0 ? 1 : 0;
    }
    if (Act == "fork") {
        const pid_t Child = fork();
        if (Child == 0) _exit(0);
        return Child > 0 ? 1 : 0;
    }
    if (Act == "signal") return kill(getppid(), 0) == 0 ? 1 : 0;
    if (Act == "sysv") return shmget(IPC_PRIVATE, 1 << 20, IPC_CREAT | 0600) >= 0 ? 1 : 0;
    if (Act == "mqueue")
        return syscall(SYS_mq_open, "/velkaran-breakout", O_RDWR | O_CREAT, 0600, nullptr) >= 0 ? 1 : 0;
    if (Act == "memfd") {
        const int Fd = static_cast<int>(syscall(SYS_memfd_create, "hoard", 0));
        if (Fd < 0) return 0;
        static char Block[1 << 20];
        std::memset(Block, 'x', sizeof Block);
        for (int Mb = 0; Mb < 1024; ++Mb)
            if (write(Fd, Block, sizeof Block) != static_cast<ssize_t>(sizeof Block)) return 0;
        return 1;
    }
    if (Act == "threads") return StartThreads();
    return -1;
}

__attribute__((constructor)) void WhileLoading() {
    if (At("constructor")) Outcome = Attempt();
}

}  // namespace

extern "C" {

VELKARAN_EXPORT const char *GetName(void) {
    if (At("name") && Outcome < 0) Outcome = Attempt();
    return "Breakout";
}

VELKARAN_EXPORT void StartGame(int32_t PlayerIndex, TCardList *CardSet, const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)Info;
    if (CardSet == nullptr) return;
    if (At("start")) Outcome = Attempt();
    for (int Entry = 0; Entry < CardSetSize; ++Entry) CardSet->Card[Entry] = 36 + Entry;
}

VELKARAN_EXPORT int32_t GetTurn(int32_t PlayerIndex, const TGameView *View, const TCardList *Playable,
                                const TTurnInfo *Info) {
    (void)PlayerIndex;
    (void)View;
    (void)Playable;
    (void)Info;
    if (At("turn")) Outcome = Attempt();
    if (At("thread")) std::thread([] { Outcome = Attempt(); }).join();
    return Outcome >= 0 ? Outcome.load() : 50;
}

}  // extern "C"
