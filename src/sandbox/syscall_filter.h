// The seccomp filters of the sandbox, from the tables of refused and allowed calls.
#pragma once

#include <sys/types.h>

#include <string>

namespace velkaran {

// Whether this kernel runs seccomp filters that can trap a call (SECCOMP_RET_TRAP), on an
// architecture the filter is written for (x86-64). Changes nothing.
bool SyscallFilterAvailable();

struct TFilterSettings {
    pid_t Self = 0;             // the process's id, to which signals stay allowed
    bool MemoryCapped = false;  // a control group caps all its memory: memfd_create is allowed
    bool Program = false;       // the process becomes a bot's program: it may start programs (exec)
};

// Sets no new privileges and loads for every thread of the process the filters: the refusals of
// refused_calls.h (a refused call traps, or is answered with an error), those that depend on the
// process written now and the others compiled with the program, and the allow-list of
// allowed_calls.h, under which any other call is answered ENOSYS; for a Program, the pair that lets
// it start programs. A call through another ABI (i386
// by int 0x80, x32) traps. Empty on success, else what failed.
std::string LoadSyscallFilter(const TFilterSettings &Settings);

}  // namespace velkaran
