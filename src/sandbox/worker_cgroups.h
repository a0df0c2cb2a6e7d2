// Control groups of one worker, made by the host: a cap on everything the worker holds in memory
// (memfd and shared memory included) and a cap on its tasks (processes and threads), neither of
// which depends on what else the user runs. cgroup v2 where the host may make groups there, else
// the v1 memory and pids hierarchies.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velkaran {

// Where this process may make control groups for its workers.
struct TCgroupSupport {
    std::string MemoryParent;  // the folder new groups with a memory cap go in; empty when none
    std::string TasksParent;   // likewise for a cap on tasks
    bool MemoryV2 = false;     // MemoryParent is in the cgroup v2 hierarchy
    bool TasksV2 = false;
    std::string Why;  // when either is missing: why
};

// What this process may do, found once per process. Finding it changes nothing.
const TCgroupSupport &CgroupSupport();

// The groups of one worker. The host makes them before it starts the worker, the worker's
// process joins them between fork and exec, and the host removes them once the worker is reaped.
class TWorkerCgroups {
public:
    // Makes the groups: memory capped at MemoryMb megabytes (0: no memory group), tasks capped at
    // Tasks (0: no task group). Null with the reason in Error when a group cannot be made (then
    // nothing is left behind); null with an empty Error when neither cap is asked or supported.
    static std::unique_ptr<TWorkerCgroups> Create(long long MemoryMb, uint64_t Tasks, std::string &Error);

    // Removes the groups (see Remove).
    ~TWorkerCgroups();
    TWorkerCgroups(const TWorkerCgroups &) = delete;
    TWorkerCgroups &operator=(const TWorkerCgroups &) = delete;

    // Moves the calling process into the groups. Async-signal-safe: for the child between fork and
    // exec. False when a move failed.
    bool Join() const noexcept;
    // Closes the descriptors Join uses: the host calls it once the child has been started.
    void CloseJoinHandles();

    bool MemoryCapped() const { return MemoryMb > 0; }
    bool TasksCapped() const { return TasksCap > 0; }

    // Ends every process left in the groups (a bot's children), removes the groups, and says,
    // when it happened, that the memory cap was reached: " (it reached its memory cap of N MB)".
    std::string Remove();

private:
    struct TGroup {
        std::string Folder;
        bool V2 = false;
        int JoinFd = -1;  // cgroup.procs, open for writing until the child has joined
    };
    TWorkerCgroups() = default;

    std::vector<TGroup> Groups;
    long long MemoryMb = 0;
    uint64_t TasksCap = 0;
    bool MemoryGroupIsV2 = false;
    std::string MemoryFolder;
};

}  // namespace velkaran
