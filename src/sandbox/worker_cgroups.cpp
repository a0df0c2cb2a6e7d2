#include "worker_cgroups.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

namespace velkaran {
namespace {

namespace fs = std::filesystem;

constexpr const char *GroupPrefix = "velkaran-worker-";

// The words of Text separated by Separator.
std::vector<std::string> Split(const std::string &Text, char Separator) {
    std::vector<std::string> Words;
    std::istringstream In(Text);
    for (std::string Word; std::getline(In, Word, Separator);) Words.push_back(Word);
    return Words;
}

bool Contains(const std::vector<std::string> &Words, const std::string &Word) {
    for (const std::string &Each : Words)
        if (Each == Word) return true;
    return false;
}

std::string ReadFile(const fs::path &Path) {
    std::ifstream In(Path);
    std::ostringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

// Writes Text into the control file Path; false with errno on failure.
bool WriteControl(const fs::path &Path, const std::string &Text) {
    const int Fd = open(Path.c_str(), O_WRONLY | O_CLOEXEC);
    if (Fd < 0) return false;
    const bool Written = write(Fd, Text.data(), Text.size()) == static_cast<ssize_t>(Text.size());
    const int Error = errno;
    close(Fd);
    errno = Error;
    return Written;
}

// A hierarchy mounted here: where, and the part of the hierarchy it shows.
struct TMount {
    std::string Point;
    std::string Root;
};

// The folder of this process's group in a hierarchy, or empty.
std::string OwnFolder(const TMount &Mount, const std::string &Path) {
    if (Mount.Point.empty() || Path.empty()) return "";
    if (Mount.Root != "/" && Path.rfind(Mount.Root, 0) != 0) return "";  // outside what the mount shows
    const std::string Inside = Mount.Root == "/" ? Path : Path.substr(Mount.Root.size());
    return (fs::path(Mount.Point) / fs::path(Inside).relative_path()).lexically_normal().string();
}

TCgroupSupport Detect() {
    TMount Unified, Memory, Pids;
    std::ifstream MountInfo("/proc/self/mountinfo");
    for (std::string Line; std::getline(MountInfo, Line);) {
        const std::size_t Dash = Line.find(" - ");
        if (Dash == std::string::npos) continue;
        const std::vector<std::string> Before = Split(Line.substr(0, Dash), ' ');
        const std::vector<std::string> After = Split(Line.substr(Dash + 3), ' ');
        if (Before.size() < 5 || After.size() < 3) continue;
        const TMount Mount{Before[4], Before[3]};
        if (After[0] == "cgroup2" && Unified.Point.empty()) Unified = Mount;
        if (After[0] != "cgroup") continue;
        const std::vector<std::string> Options = Split(After[2], ',');
        if (Contains(Options, "memory") && Memory.Point.empty()) Memory = Mount;
        if (Contains(Options, "pids") && Pids.Point.empty()) Pids = Mount;
    }
    std::string UnifiedPath, MemoryPath, PidsPath;
    std::ifstream Groups("/proc/self/cgroup");
    for (std::string Line; std::getline(Groups, Line);) {
        const std::size_t First = Line.find(':');
        const std::size_t Second = Line.find(':', First + 1);
        if (First == std::string::npos || Second == std::string::npos) continue;
        const std::vector<std::string> Controllers = Split(Line.substr(First + 1, Second - First - 1), ',');
        const std::string Path = Line.substr(Second + 1);
        if (Line.compare(0, First, "0") == 0 && Controllers.empty()) UnifiedPath = Path;
        if (Contains(Controllers, "memory")) MemoryPath = Path;
        if (Contains(Controllers, "pids")) PidsPath = Path;
    }

    TCgroupSupport Support;
    // cgroup v2: the controllers must be handed down to new groups already, or be ours to hand
    // down (in the root group, which may hold processes and hand controllers down at once).
    const std::string V2 = OwnFolder(Unified, UnifiedPath);
    if (!V2.empty() && access(V2.c_str(), W_OK) == 0) {
        const std::vector<std::string> Handed = Split(ReadFile(fs::path(V2) / "cgroup.subtree_control"), ' ');
        const std::vector<std::string> Present = Split(ReadFile(fs::path(V2) / "cgroup.controllers"), ' ');
        const bool Root = UnifiedPath == "/";
        const auto Usable = [&](const std::string &Controller) {
            const auto Trimmed = [](std::vector<std::string> Words) {
                for (std::string &Word : Words)
                    while (!Word.empty() && Word.back() == '\n') Word.pop_back();
                return Words;
            };
            return Contains(Trimmed(Handed), Controller) || (Root && Contains(Trimmed(Present), Controller));
        };
        if (Usable("memory")) Support.MemoryParent = V2, Support.MemoryV2 = true;
        if (Usable("pids")) Support.TasksParent = V2, Support.TasksV2 = true;
    }
    const std::string V1Memory = OwnFolder(Memory, MemoryPath);
    if (Support.MemoryParent.empty() && !V1Memory.empty() && access(V1Memory.c_str(), W_OK) == 0)
        Support.MemoryParent = V1Memory;
    const std::string V1Pids = OwnFolder(Pids, PidsPath);
    if (Support.TasksParent.empty() && !V1Pids.empty() && access(V1Pids.c_str(), W_OK) == 0)
        Support.TasksParent = V1Pids;

    if (Support.MemoryParent.empty() || Support.TasksParent.empty()) {
        if (Unified.Point.empty() && Memory.Point.empty() && Pids.Point.empty())
            Support.Why = "no control-group hierarchy is mounted";
        else if (getuid() != 0 && V2.empty())
            Support.Why =
                "this user may not make control groups (run as root, or under a cgroup v2 delegation)";
        else
            Support.Why =
                "this process may not make groups with " +
                std::string(Support.MemoryParent.empty() ? "the memory" : "the pids") +
                " controller in its own group (run as root, or delegate cgroup v2 controllers to it)";
    }
    return Support;
}

// Sends SIGKILL to every process left in Folder until none is, within a second.
void EndWhatIsLeft(const fs::path &Folder, bool V2) {
    if (V2 && WriteControl(Folder / "cgroup.kill", "1")) return;
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    for (;;) {
        std::ifstream Processes(Folder / "cgroup.procs");
        bool Any = false;
        for (pid_t Process; Processes >> Process;) {
            Any = true;
            kill(Process, SIGKILL);
        }
        if (!Any || std::chrono::steady_clock::now() > Deadline) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Removes the group Folder, waiting up to a second for its processes to be gone.
void RemoveGroup(const fs::path &Folder, bool V2) {
    EndWhatIsLeft(Folder, V2);
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (rmdir(Folder.c_str()) != 0 && errno == EBUSY && std::chrono::steady_clock::now() < Deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Removes the groups that earlier processes of ours left when they could not remove them (they
// were killed): those named after a process that no longer runs.
void RemoveAbandonedGroups(const std::string &Parent, bool V2) {
    std::error_code Error;
    for (const fs::directory_entry &Entry : fs::directory_iterator(Parent, Error)) {
        const std::string Name = Entry.path().filename().string();
        if (Name.rfind(GroupPrefix, 0) != 0) continue;
        const pid_t Owner = static_cast<pid_t>(std::atol(Name.c_str() + std::strlen(GroupPrefix)));
        if (Owner > 0 && (kill(Owner, 0) == 0 || errno != ESRCH)) continue;
        RemoveGroup(Entry.path(), V2);
    }
}

// Makes the group of worker Serial in Parent; empty with errno on failure.
std::string MakeGroup(const std::string &Parent, uint64_t Serial) {
    static std::once_flag Tidied;
    std::call_once(Tidied, [] {
        const TCgroupSupport &Support = CgroupSupport();
        if (!Support.MemoryParent.empty()) RemoveAbandonedGroups(Support.MemoryParent, Support.MemoryV2);
        if (!Support.TasksParent.empty() && Support.TasksParent != Support.MemoryParent)
            RemoveAbandonedGroups(Support.TasksParent, Support.TasksV2);
    });
    const std::string Folder =
        (fs::path(Parent) / (GroupPrefix + std::to_string(getpid()) + "-" + std::to_string(Serial))).string();
    return mkdir(Folder.c_str(), 0755) == 0 ? Folder : "";
}

// The count after "Key " in a flat-keyed control file, 0 when absent.
uint64_t KeyedCount(const fs::path &File, const std::string &Key) {
    std::ifstream In(File);
    std::string Name;
    uint64_t Count = 0;
    while (In >> Name >> Count)
        if (Name == Key) return Count;
    return 0;
}

}  // namespace

const TCgroupSupport &CgroupSupport() {
    static const TCgroupSupport Support = Detect();
    return Support;
}

std::unique_ptr<TWorkerCgroups> TWorkerCgroups::Create(long long MemoryMb, uint64_t Tasks,
                                                       std::string &Error) {
    Error.clear();
    const TCgroupSupport &Support = CgroupSupport();
    const bool WithMemory = MemoryMb > 0 && !Support.MemoryParent.empty();
    const bool WithTasks = Tasks > 0 && !Support.TasksParent.empty();
    if (!WithMemory && !WithTasks) return nullptr;

    std::unique_ptr<TWorkerCgroups> Made(new TWorkerCgroups);
    const auto Fail = [&](const std::string &What) -> std::unique_ptr<TWorkerCgroups> {
        Error = "cannot " + What + ": " + std::strerror(errno);
        return nullptr;  // Made's destructor removes what was made
    };
    // One group per hierarchy: in cgroup v2 one group carries both caps.
    static std::atomic<uint64_t> Workers{0};
    const uint64_t Serial = Workers.fetch_add(1);
    const auto GroupIn = [&](const std::string &Parent, bool V2) -> TGroup * {
        for (TGroup &Group : Made->Groups)
            if (fs::path(Group.Folder).parent_path() == fs::path(Parent)) return &Group;
        const std::string Folder = MakeGroup(Parent, Serial);
        if (Folder.empty()) return nullptr;
        Made->Groups.push_back({Folder, V2, -1});
        return &Made->Groups.back();
    };
    // In the root group of cgroup v2 the controllers may still have to be handed down.
    if (WithMemory && Support.MemoryV2)
        WriteControl(fs::path(Support.MemoryParent) / "cgroup.subtree_control", "+memory");
    if (WithTasks && Support.TasksV2)
        WriteControl(fs::path(Support.TasksParent) / "cgroup.subtree_control", "+pids");
    if (WithMemory) {
        const TGroup *Group = GroupIn(Support.MemoryParent, Support.MemoryV2);
        if (Group == nullptr) return Fail("make a control group in " + Support.MemoryParent);
        const std::string Bytes = std::to_string(MemoryMb * 1024 * 1024);
        const fs::path Folder = Group->Folder;
        if (Support.MemoryV2) {
            if (!WriteControl(Folder / "memory.max", Bytes)) return Fail("cap the memory of a control group");
            WriteControl(Folder / "memory.swap.max", "0");  // absent without swap accounting
            WriteControl(Folder / "memory.oom.group", "1");
        } else {
            if (!WriteControl(Folder / "memory.limit_in_bytes", Bytes))
                return Fail("cap the memory of a control group");
            WriteControl(Folder / "memory.memsw.limit_in_bytes", Bytes);  // absent without swap accounting
        }
        Made->MemoryMb = MemoryMb;
        Made->MemoryGroupIsV2 = Support.MemoryV2;
        Made->MemoryFolder = Group->Folder;
    }
    if (WithTasks) {
        const TGroup *Group = GroupIn(Support.TasksParent, Support.TasksV2);
        if (Group == nullptr) return Fail("make a control group in " + Support.TasksParent);
        if (!WriteControl(fs::path(Group->Folder) / "pids.max", std::to_string(Tasks)))
            return Fail("cap the tasks of a control group");
        Made->TasksCap = Tasks;
    }
    for (TGroup &Group : Made->Groups) {
        Group.JoinFd = open((fs::path(Group.Folder) / "cgroup.procs").c_str(), O_WRONLY | O_CLOEXEC);
        if (Group.JoinFd < 0) return Fail("open a control group's process list");
    }
    return Made;
}

TWorkerCgroups::~TWorkerCgroups() { Remove(); }

bool TWorkerCgroups::Join() const noexcept {
    for (const TGroup &Group : Groups)
        if (write(Group.JoinFd, "0", 1) != 1) return false;
    return true;
}

void TWorkerCgroups::CloseJoinHandles() {
    for (TGroup &Group : Groups) {
        if (Group.JoinFd >= 0) close(Group.JoinFd);
        Group.JoinFd = -1;
    }
}

std::string TWorkerCgroups::Remove() {
    CloseJoinHandles();
    std::string Note;
    if (!MemoryFolder.empty()) {
        const fs::path Events =
            fs::path(MemoryFolder) / (MemoryGroupIsV2 ? "memory.events" : "memory.oom_control");
        if (KeyedCount(Events, "oom_kill") > 0)
            Note = " (it reached its memory cap of " + std::to_string(MemoryMb) + " MB)";
    }
    for (const TGroup &Group : Groups) RemoveGroup(Group.Folder, Group.V2);
    Groups.clear();
    MemoryFolder.clear();
    return Note;
}

}  // namespace velkaran
