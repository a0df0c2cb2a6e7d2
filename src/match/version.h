// The program's version line.
#pragma once

namespace velkaran {

// Shown as the main window's caption, the message boxes' caption and by --version.
inline constexpr char VersionLine[] = "Velkaran 2 build 2060 RC2";

}  // namespace velkaran
