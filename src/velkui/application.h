// The Qt application the windows need: the host's own, or one made on first use.
#pragma once

namespace velkaran {

// True when windows can be shown. Uses the host's QApplication; when the host has none, creates
// one that lives until the process ends. False (with a message on standard error, once) when the
// host runs a non-GUI Qt application or no display can be reached; the windows then stay away.
bool EnsureApplication();

// True when a QApplication exists, without creating one.
bool HasApplication();

}  // namespace velkaran
