// The layers of the bot sandbox that this kernel and user offer, and how to tell the user.
#pragma once

#include <string>
#include <vector>

namespace velkaran {

struct TSandboxLayers {
    bool NoNewPrivileges = false;   // prctl(PR_SET_NO_NEW_PRIVS)
    int LandlockAbi = 0;            // 0 when Landlock is absent or disabled
    bool LandlockDisabled = false;  // the kernel has Landlock, but it was not enabled at boot
    bool Seccomp = false;           // seccomp filters that trap (SECCOMP_RET_TRAP), on x86-64
    bool ProcessLimit = false;      // RLIMIT_NPROC binds (it does not for root)
};

// The layers available to the calling process. Detecting changes nothing.
TSandboxLayers DetectSandboxLayers();

// One English line per layer: active or missing, what it does or why it is missing.
std::vector<std::string> DescribeSandboxLayers(const TSandboxLayers &Layers);

}  // namespace velkaran
