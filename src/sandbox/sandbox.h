// Locking a bot's worker process down before it serves any game call: the bot may compute,
// allocate memory, run threads, read files in its own folder and write to the descriptors it has
// open, and nothing else. Linux only; the system-call filter is written for x86-64.
#pragma once

#include "sandbox_layers.h"

#include <string>

namespace velkaran {

// The exit status of a process that the sandbox ended for a refused system call. A process that
// blocked SIGSYS beforehand is killed by SIGSYS instead.
inline constexpr int SandboxViolationStatus = 125;

// Told the name of a refused system call ("socket", "clone", "i386 system call"), from inside the
// SIGSYS handler: it must be async-signal-safe, and the process ends when it returns.
using TViolationReporter = void (*)(const char *SyscallName);

// Locks the calling process down, skipping each layer this kernel or user lacks (see
// DetectSandboxLayers): no new privileges; the process limit; Landlock (only reading BotFolder and
// beneath, no TCP, signals kept inside); the seccomp filter of refused_calls.h for every thread,
// whose refusals reach Reporter and end the process with SandboxViolationStatus. Descriptors open
// at entry stay usable: close those the bot must not reach. On a Landlock ABI before 8 it must be
// called while the process runs a single thread. Empty on success, else an English text naming
// the layer that failed (the process may be partly locked: end it).
std::string EnterSandbox(const std::string &BotFolder, TViolationReporter Reporter);

}  // namespace velkaran
