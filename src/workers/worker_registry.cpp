// A fixed table of lock-free slots: registering is a compare-and-swap, the signal handler a scan.
#include "worker_registry.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace velkaran {
namespace {

constexpr std::size_t Slots = 4096;
std::atomic<pid_t> Groups[Slots];
static_assert(std::atomic<pid_t>::is_always_lock_free, "read from a signal handler");

void EndWorkersAndResignal(int Signal) {
    KillAllWorkerGroups();
    signal(Signal, SIG_DFL);
    raise(Signal);
}

}  // namespace

void RegisterWorkerGroup(pid_t Group) {
    for (std::atomic<pid_t> &Slot : Groups) {
        pid_t Empty = 0;
        if (Slot.compare_exchange_strong(Empty, Group)) return;
    }
    // More workers than slots: this one is still ended with the host by its parent-death signal.
}

void UnregisterWorkerGroup(pid_t Group) {
    for (std::atomic<pid_t> &Slot : Groups) {
        pid_t Expected = Group;
        if (Slot.compare_exchange_strong(Expected, 0)) return;
    }
}

void KillAllWorkerGroups() {
    for (std::atomic<pid_t> &Slot : Groups) {
        const pid_t Group = Slot.load();
        if (Group > 0) kill(-Group, SIGKILL);
    }
}

void AdoptOrphanedDescendants() { prctl(PR_SET_CHILD_SUBREAPER, 1); }

void EndAdoptedChildren() {
    const pid_t Self = getpid();
    std::error_code Ignored;
    for (const auto &Entry : std::filesystem::directory_iterator("/proc", Ignored)) {
        const std::string Name = Entry.path().filename().string();
        if (Name.empty() || Name.find_first_not_of("0123456789") != std::string::npos) continue;
        // /proc/PID/stat: "pid (command) state ppid ...", the command may hold blanks and parentheses.
        std::ifstream Stat(Entry.path() / "stat");
        std::string Text((std::istreambuf_iterator<char>(Stat)), std::istreambuf_iterator<char>());
        const std::size_t Close = Text.rfind(')');
        if (Close == std::string::npos) continue;
        std::istringstream Fields(Text.substr(Close + 1));
        std::string State;
        pid_t Parent = 0;
        Fields >> State >> Parent;
        const pid_t Child = static_cast<pid_t>(std::stol(Name));
        if (Parent != Self) continue;
        bool Worker = false;
        for (const std::atomic<pid_t> &Slot : Groups) Worker = Worker || Slot.load() == Child;
        if (Worker) continue;
        kill(Child, SIGKILL);
        waitpid(Child, nullptr, 0);
    }
}

void EndWorkersOnTerminationSignals() {
    struct sigaction Action {};
    Action.sa_handler = EndWorkersAndResignal;
    sigemptyset(&Action.sa_mask);
    Action.sa_flags = SA_RESETHAND;
    for (int Signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(Signal, &Action, nullptr);
}

}  // namespace velkaran
