#include "process_limit.h"

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velkaran {
namespace {

// Whether the calling thread holds Capability in its effective set.
bool HoldsCapability(int Capability) {
    __user_cap_header_struct Header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct Data[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(__NR_capget, &Header, Data) != 0) return true;  // unknown: assume the limit is void
    return (Data[Capability / 32].effective & (1u << (Capability % 32))) != 0;
}

// The tasks (threads) of the processes whose real user is User, as /proc shows them.
uint64_t TasksOfUser(uid_t User) {
    uint64_t Tasks = 0;
    std::error_code Error;
    for (const auto &Entry : std::filesystem::directory_iterator("/proc", Error)) {
        const std::string Name = Entry.path().filename().string();
        if (Name.empty() ||
            !std::all_of(Name.begin(), Name.end(), [](unsigned char C) { return std::isdigit(C) != 0; }))
            continue;
        std::ifstream Status(Entry.path() / "status");  // a process may end meanwhile: then it has no lines
        bool Owned = false;
        for (std::string Line; std::getline(Status, Line);) {
            std::istringstream Fields(Line);
            std::string Key;
            uint64_t Value = 0;
            Fields >> Key >> Value;
            if (Key == "Uid:") Owned = Value == User;
            if (Key == "Threads:" && Owned) Tasks += Value;
        }
    }
    return Tasks;
}

}  // namespace

bool ProcessLimitTakesEffect() {
    return getuid() != 0 && !HoldsCapability(CAP_SYS_RESOURCE) && !HoldsCapability(CAP_SYS_ADMIN);
}

std::string LimitProcesses(bool OwnUser) {
    rlimit Limit{};
    if (getrlimit(RLIMIT_NPROC, &Limit) != 0)
        return std::string("process limit: cannot read RLIMIT_NPROC: ") + std::strerror(errno);
    const rlim_t Wanted = static_cast<rlim_t>((OwnUser ? 0 : TasksOfUser(getuid())) + SandboxTaskCap);
    Limit.rlim_cur = Limit.rlim_max = std::min({Wanted, Limit.rlim_cur, Limit.rlim_max});
    if (setrlimit(RLIMIT_NPROC, &Limit) != 0)
        return std::string("process limit: cannot set RLIMIT_NPROC: ") + std::strerror(errno);
    return "";
}

}  // namespace velkaran
