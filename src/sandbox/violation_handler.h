// The SIGSYS handler that ends a sandboxed process when the filter refuses one of its calls.
#pragma once

#include "sandbox.h"

#include <string>

namespace velkaran {

// Installs, on an alternate stack of the calling thread, a SIGSYS handler that passes the refused
// call's name to Reporter (when not null) and then ends the process with SandboxViolationStatus;
// unblocks SIGSYS in the calling thread. Empty on success, else what failed.
std::string InstallViolationHandler(TViolationReporter Reporter);

}  // namespace velkaran
