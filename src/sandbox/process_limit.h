// The process limit of the sandbox where no control group caps a worker's tasks: RLIMIT_NPROC
// caps the threads a bot can start (the kernel counts every task of the real user, threads
// included, against it).
#pragma once

#include "sandbox_layers.h"

#include <cstdint>
#include <string>

namespace velkaran {

// Whether RLIMIT_NPROC binds this process: the kernel exempts the real root user and holders of
// CAP_SYS_RESOURCE or CAP_SYS_ADMIN. Changes nothing.
bool ProcessLimitTakesEffect();

// Lowers RLIMIT_NPROC (soft and hard) to the tasks the real user runs now plus SandboxTaskCap
// (SandboxTaskCap alone for a user of the process's own, which runs nothing else), or keeps a
// lower limit already set. Empty on success, else what failed.
std::string LimitProcesses(bool OwnUser);

}  // namespace velkaran
