// Keeping a host thread and its workers on one CPU: a wake-up across CPUs costs far more than
// the work of a call. And how many CPUs a run may take.
#pragma once

#include <vector>

namespace velkaran {

// Pins the calling thread to the CPU it runs on now (or to Cpu when it is not negative); the
// worker processes it starts afterwards inherit that. Returns the CPU, or -1 when pinning is not
// possible (the thread then runs as before).
int PinThisThreadToOneCpu(int Cpu = -1);

// The CPUs this process may run on (its affinity mask), in increasing order.
std::vector<int> AllowedCpus();

// How many CPUs this process may use: those of its affinity mask, fewer under a CPU quota of its
// control group (cgroup v2 cpu.max or v1 cpu.cfs_quota_us, rounded up) and under a positive
// SLURM_CPUS_PER_TASK; at least 1.
int UsableCpuCount();

// The first UsableCpuCount() of AllowedCpus(): the CPUs a run's threads are pinned to.
std::vector<int> UsableCpus();

}  // namespace velkaran
