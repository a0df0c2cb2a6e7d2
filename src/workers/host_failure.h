// A failure of the host itself (no worker program, no descriptors or memory left, a failing system
// call of its own): it ends the run with a message, and is never counted against a bot.
#pragma once

#include <stdexcept>
#include <string>

namespace velkaran {

struct THostFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws THostFailure with "What: <the text of errno>".
[[noreturn]] void ThrowHostFailure(const std::string &What, int Errno);

}  // namespace velkaran
