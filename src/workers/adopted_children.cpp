// Adopted children found in /proc by their parent and session, ended through pidfds.
#include "adopted_children.h"

#include "worker_run.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace velkaran {

void AdoptOrphanedDescendants() { prctl(PR_SET_CHILD_SUBREAPER, 1); }

void EndAdoptedChildren() {
    int Adopting = 0;
    if (prctl(PR_GET_CHILD_SUBREAPER, &Adopting) != 0 || Adopting == 0) return;
    const pid_t Self = getpid();
    const pid_t Session = getsid(0);
    std::vector<std::pair<pid_t, int>> Ending;  // the children killed, with their pidfds
    std::error_code Ignored;
    for (const auto &Entry : std::filesystem::directory_iterator("/proc", Ignored)) {
        const std::string Name = Entry.path().filename().string();
        if (Name.empty() || Name.find_first_not_of("0123456789") != std::string::npos) continue;
        // /proc/PID/stat: "pid (command) state ppid pgrp session ...", the command may hold blanks
        // and parentheses.
        std::ifstream Stat(Entry.path() / "stat");
        std::string Text((std::istreambuf_iterator<char>(Stat)), std::istreambuf_iterator<char>());
        const std::size_t Close = Text.rfind(')');
        if (Close == std::string::npos) continue;
        std::istringstream Fields(Text.substr(Close + 1));
        std::string State;
        pid_t Parent = 0;
        pid_t Group = 0;
        pid_t ChildSession = 0;
        Fields >> State >> Parent >> Group >> ChildSession;
        const auto Child = static_cast<pid_t>(std::stol(Name));
        if (Parent != Self || ChildSession == Session || IsRunningWorker(Child)) continue;
        // A child not yet reaped keeps its pid: the pidfd is its own.
        const int PidFd = static_cast<int>(syscall(SYS_pidfd_open, Child, 0));
        if (PidFd < 0) continue;
        syscall(SYS_pidfd_send_signal, PidFd, SIGKILL, nullptr, 0);
        Ending.emplace_back(Child, PidFd);
    }
    const auto Until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    for (const auto &[Child, PidFd] : Ending) {
        const auto Left =
            std::chrono::duration_cast<std::chrono::milliseconds>(Until - std::chrono::steady_clock::now());
        pollfd Ended{PidFd, POLLIN, 0};
        if (poll(&Ended, 1, static_cast<int>(std::max<long long>(0, Left.count()))) > 0)
            waitpid(Child, nullptr, WNOHANG);
        close(PidFd);
    }
}

}  // namespace velkaran
