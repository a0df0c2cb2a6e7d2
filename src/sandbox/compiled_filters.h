// The sandbox's fixed seccomp filters, compiled to BPF when the program is built
// (filter_generator/): the refusals of refused_calls.h that do not depend on the process, and the
// allow-list of allowed_calls.h. Both check the architecture first: a call through another ABI
// (i386 by int 0x80, x32) traps.
#pragma once

#include <linux/filter.h>

#include <span>

namespace velkaran {

// Traps or answers with an error what refused_calls.h refuses regardless of the process; lets the
// rest through.
std::span<const sock_filter> CompiledRefusals();

// Lets through what allowed_calls.h names; answers any other call ENOSYS.
std::span<const sock_filter> CompiledAllowList();

// The same pair for a worker that becomes a bot's program: starting a program is neither refused
// nor unknown (StartsAProgram, ProgramCalls).
std::span<const sock_filter> CompiledProgramRefusals();
std::span<const sock_filter> CompiledProgramAllowList();

}  // namespace velkaran
