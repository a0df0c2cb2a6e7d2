// The refusals that depend on the process they guard, written as a seccomp filter when it locks
// itself down: signals and questions aimed at any process but itself, and memfd_create unless a
// control group counts what it holds. A few comparisons, written directly in BPF, so that a
// worker's start does not wait for a filter compiler.
#pragma once

#include <linux/filter.h>
#include <sys/types.h>

#include <vector>

namespace velkaran {

// The filter for the process Self: each refusal of refused_calls.h that DependsOnProcess, for
// x86-64 (a call through another architecture traps); every other call passes.
std::vector<sock_filter> ProcessRefusals(pid_t Self, bool MemoryCapped);

}  // namespace velkaran
