// The process limit of the sandbox: RLIMIT_NPROC caps the threads a bot can start (the kernel
// counts every task of the real user, threads included, against it).
#pragma once

#include <cstdint>
#include <string>

namespace velkaran {

// How many tasks beyond those its user runs at entry a sandboxed process may start.
inline constexpr uint64_t SandboxTaskAllowance = 256;

// Whether RLIMIT_NPROC binds this process: the kernel exempts the real root user and holders of
// CAP_SYS_RESOURCE or CAP_SYS_ADMIN. Changes nothing.
bool ProcessLimitTakesEffect();

// Lowers RLIMIT_NPROC (soft and hard) to the tasks the real user runs now plus SandboxTaskAllowance,
// or keeps a lower limit already set. Empty on success, else what failed.
std::string LimitProcesses();

}  // namespace velkaran
