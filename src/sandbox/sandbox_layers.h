// The layers of the bot sandbox that this kernel, machine and user offer, and how to tell the user.
#pragma once

#include "bot_identity.h"

#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// How a worker's tasks or memory are capped beyond what it sets itself.
enum class TCgroupCap { None, V1, V2 };

struct TSandboxLayers {
    bool NoNewPrivileges = false;                // prctl(PR_SET_NO_NEW_PRIVS)
    int LandlockAbi = 0;                         // 0 when Landlock is absent or disabled
    bool LandlockDisabled = false;               // the kernel has Landlock, but it was not enabled at boot
    bool Seccomp = false;                        // seccomp filters that trap (SECCOMP_RET_TRAP), on x86-64
    TCgroupCap TaskGroups = TCgroupCap::None;    // a control group per worker caps its tasks
    TCgroupCap MemoryGroups = TCgroupCap::None;  // a control group per worker caps its memory
    std::string CgroupsMissing;                  // why a control group cannot be made, when not
    bool Root = false;                           // this process runs as root
    std::optional<TBotIdentity> Identity;        // as root: the user bots run as
    std::string IdentityProblem;                 // as root: why there is none
};

// How many tasks (threads, the worker's own included) one sandboxed worker may run.
inline constexpr uint64_t SandboxTaskCap = 256;

// The layers available here, with bots run as User (see SandboxedBotIdentity). Detecting changes
// nothing.
TSandboxLayers DetectSandboxLayers(const std::string &User = "");

// Only what the kernel offers the process itself: no new privileges, Landlock and seccomp (the
// other fields stay empty). Quick, and reads no file.
TSandboxLayers DetectKernelLayers();

// One layer as the user is told it: "Landlock: active (ABI 7) - ..." or "...: missing - why".
struct TLayerReport {
    bool Active = false;
    std::string Text;
};

// Every layer: active or missing, what it does or why it is missing.
std::vector<TLayerReport> ReportSandboxLayers(const TSandboxLayers &Layers);

// The texts of ReportSandboxLayers, one line per layer, and a line on what a bot that is a program
// gets.
std::vector<std::string> DescribeSandboxLayers(const TSandboxLayers &Layers);

// What a run that starts with the sandbox tells the user on stderr, and whether it may go on.
struct TSandboxStart {
    std::vector<std::string> Lines;  // "the sandbox lacks a layer: ..." per missing layer, and why it stops
    bool Refused = false;            // with Strict a layer is missing, or User is no user to run bots as
};

// Checks the layers for a run with bots run as User; with Strict every layer must be there.
TSandboxStart CheckSandboxStart(bool Strict, const std::string &User);

}  // namespace velkaran
