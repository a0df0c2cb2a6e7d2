// The seccomp filter of the sandbox, built with libseccomp from the table of refused calls.
#pragma once

#include <sys/types.h>

#include <string>

namespace velkaran {

// Whether this kernel runs seccomp filters that can trap a call (SECCOMP_RET_TRAP), on an
// architecture the filter is written for (x86-64). Changes nothing.
bool SyscallFilterAvailable();

// Loads for every thread of the process a filter that traps each refused call (refused_calls.h)
// and every call through another ABI (i386 by int 0x80, x32); everything else passes. Self is the
// process's id, to which signals stay allowed. Empty on success, else what failed.
std::string LoadSyscallFilter(pid_t Self);

}  // namespace velkaran
