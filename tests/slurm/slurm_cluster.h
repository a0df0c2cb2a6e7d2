// A one-node Slurm cluster of a test's own: munged, slurmctld and slurmd on loopback addresses and
// free ports, every file in a temporary folder, stopped by pid at the end.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "child_process.h"

namespace velkaran::testing {

class TSlurmCluster {
public:
    TSlurmCluster() = default;
    ~TSlurmCluster();
    TSlurmCluster(const TSlurmCluster &) = delete;
    TSlurmCluster &operator=(const TSlurmCluster &) = delete;

    // Why this machine cannot run a test cluster (not root, a daemon or command missing); empty if it can.
    static std::string Unavailable();

    // Starts the three daemons in a fresh folder and waits until the node is idle; returns an empty
    // text then, else what went wrong with the ends of the daemons' logs (and stops what it started).
    std::string Start();

    // Stops the daemons by pid (SIGTERM, SIGKILL after a few seconds), kills job processes still
    // running, reaps them all and removes the folder. Safe to call twice.
    void Stop();

    // The NAME=value entries that point Slurm's commands (sbatch, squeue, ...) at this cluster.
    std::vector<std::string> Env() const;

    // The live processes of this cluster: daemons, step daemons and the jobs' own processes.
    std::vector<TProcessInfo> Processes() const;

    // The pids of munged, slurmctld and slurmd, in the order started.
    std::vector<pid_t> DaemonPids() const { return {MungedPid, ControllerPid, NodePid}; }

    // The cluster's temporary folder, for a test's files that the jobs use.
    const std::filesystem::path &Folder() const { return Root; }

    // Seconds from the first daemon's start until the node was idle.
    double StartSeconds() const { return ReadySeconds; }

private:
    std::string WriteConfig();
    // Waits until Condition holds; else says which daemon ended, or What when 30 s have passed.
    std::string WaitFor(const std::function<bool()> &Condition, const std::string &What);
    std::string Failure(const std::string &What);

    std::filesystem::path Root;
    std::filesystem::path Config;
    int Port = 0;  // slurmctld's; slurmd's is the next one
    pid_t MungedPid = -1;
    pid_t ControllerPid = -1;
    pid_t NodePid = -1;
    int WasSubreaper = 0;
    double ReadySeconds = 0;
};

}  // namespace velkaran::testing
