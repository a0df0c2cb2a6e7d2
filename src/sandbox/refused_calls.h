// The system calls a sandboxed bot may not make (x86-64), each with the condition under which it is
// refused and how. These refusals stand above the allow-list of allowed_calls.h: a call must pass
// both, and what the allow-list does not know is answered "no such system call".
#pragma once

#include <cstdint>
#include <span>

namespace velkaran {

enum class TRefusal {
    Always,
    ArgNotSelf,         // unless argument Arg is exactly the process's own id
    ArgNotSelfOrZero,   // unless argument Arg is 0 (the caller) or the process's own id
    ArgNot,             // unless argument Arg is exactly Value
    ArgIs32,            // when the low 32 bits of argument Arg equal Value (the kernel reads an int)
    ArgHasAnyBit,       // when argument Arg has any of the bits of Value
    ArgLacksBit,        // when argument Arg lacks the bit Value
    HandlerFor,         // when a handler is set (argument 1 not null) for the signal Value (argument 0)
    UnlessMemoryCapped  // unless a control group caps everything the process holds (memfd, shared memory)
};

// What a refused call gets.
enum class TRefusalAnswer {
    Trap,          // SIGSYS: the call is reported by name and the process ends
    NoSystemCall,  // ENOSYS, so that callers fall back to an older call
    NotPermitted,  // EPERM: the bot is told no and goes on
    AccessDenied   // EACCES, as for a file Landlock withholds: the bot is told no and goes on
};

struct TRefusedCall {
    const char *Name;
    int Number;
    TRefusal When = TRefusal::Always;
    int Arg = 0;
    uint64_t Value = 0;
    TRefusalAnswer Answer = TRefusalAnswer::Trap;
};

// The refused calls; a call with several conditions has several entries.
std::span<const TRefusedCall> RefusedCalls();

// Whether Call's refusal depends on the process it guards (its id, its memory cap): such refusals
// are written when the process locks itself down (process_refusals.h), the others are compiled
// when the program is built (compiled_filters.h).
bool DependsOnProcess(const TRefusedCall &Call);

// Whether Call starts a program (execve, execveat): a worker that becomes a bot's program runs under
// filters without these refusals (compiled_filters.h), every other worker under filters with them.
bool StartsAProgram(const TRefusedCall &Call);

// The seccomp filter's return value for Answer (SECCOMP_RET_TRAP, or SECCOMP_RET_ERRNO with the
// error).
uint32_t RefusalAction(TRefusalAnswer Answer);

// The name of system call Number as the table spells it, or null for a call it lacks (or does not
// trap). Async-signal-safe.
const char *RefusedCallName(int Number);

}  // namespace velkaran
