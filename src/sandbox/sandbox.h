// Locking a bot's worker process down before the bot's library is loaded, so that no instruction
// of the bot runs unconfined: the bot may compute, allocate memory, run threads, read its own
// library, its data folder and the system's libraries, and write to the descriptors it was given,
// and nothing else. Linux only; the system-call filters are written for x86-64.
#pragma once

#include "bot_identity.h"
#include "sandbox_layers.h"
#include "sandboxed_program.h"

#include <optional>
#include <string>

namespace velkaran {

// The exit status of a process that the sandbox ended for a refused system call. A process that
// blocked SIGSYS beforehand is killed by SIGSYS instead.
inline constexpr int SandboxViolationStatus = 125;

// Told the name of a refused system call ("socket", "clone", "i386 system call"), from inside the
// SIGSYS handler: it must be async-signal-safe, and the process ends when it returns.
using TViolationReporter = void (*)(const char *SyscallName);

// What a bot is confined to.
struct TSandboxPolicy {
    std::string Library;     // the bot's library: it may be read and mapped as code (none for a Program)
    std::string DataFolder;  // read-only with everything beneath it, when it exists; empty: none
    std::optional<TBotIdentity> Identity;  // the user to become (the process runs as root); none: stay
                                           // (one of its own is OwnUid of the calling process)
    bool LibraryOpen = false;   // loaded through a descriptor open already: the file need not be reached
    bool MemoryCapped = false;  // a control group caps all the process holds: memfd_create is allowed
    bool TasksCapped = false;   // a control group caps its tasks: no per-user process limit is needed
    // A bot that is a program, which the process becomes once locked down (it is in the program's
    // folder already): it may read that folder, read and run the program and its interpreter and
    // the system's programs, and start a program (exec) in place of itself; nothing more.
    std::optional<TSandboxedProgram> Program;
};

// "NAME.data" beside the library or manifest at LibraryPath ("bots/greedy.so" -> "bots/greedy.data",
// "bots/greedy-py.bot" -> "bots/greedy-py.data"): the one folder a sandboxed bot may read besides
// its own files.
std::string BotDataFolder(const std::string &LibraryPath);

// Locks the calling process down, skipping each layer this kernel lacks (see DetectSandboxLayers):
// drops every capability and becomes Policy.Identity; no new privileges; the process limit
// (RLIMIT_NPROC, unless a control group caps the tasks); Landlock (only reading the library, the
// data folder and the system's library folders, no TCP, signals kept inside); the seccomp filters
// for every thread, whose trapped refusals reach Reporter and end the process with
// SandboxViolationStatus. Descriptors open at entry stay usable: close those the bot must not
// reach. On a Landlock ABI before 8 it must be called while the process runs a single thread.
// For a Program, the user it runs as must be able to run it and read its folder and scripts, else
// the text says what it cannot reach (ProgramUnreachable).
// On success LoadPath is what to load the library through (the library itself, or a descriptor
// opened before the change of user when the new user cannot reach the file; with LibraryOpen, the
// library itself and the file is not opened). Empty on success,
// else an English text naming the layer that failed (the process may be partly locked: end it).
std::string EnterSandbox(const TSandboxPolicy &Policy, TViolationReporter Reporter, std::string &LoadPath);

}  // namespace velkaran
