// The system calls a sandboxed bot may make (x86-64): what the dynamic loader, the C and C++
// runtimes, threads, memory, time, streams and exceptions need, and questions a process may ask
// about itself. Anything else is answered "no such system call" (ENOSYS), so that a library falls
// back as it would on an older kernel. Calls listed here may still be refused under conditions
// (refused_calls.h): the two lists are separate filters, and the stricter answer wins.
#pragma once

#include <span>

namespace velkaran {

// The numbers of the allowed calls.
std::span<const int> AllowedCalls();

// The calls allowed besides AllowedCalls to a worker that becomes a bot's program, and to that
// program: starting it (and whatever the program's "#!" line names) and what interpreters ask for
// at their start that a library bot has no use for.
std::span<const int> ProgramCalls();

}  // namespace velkaran
