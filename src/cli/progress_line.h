// The progress of a series on stderr, redrawn in place, for a user watching a terminal.
#pragma once

#include "match/match_runner.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace velkaran {

// Draws "game K of T, First A : B Second, draws D, S s" on stderr with a carriage return, at most
// ten times a second and always for the last game. Does nothing when not Enabled.
class ProgressLine {
public:
    ProgressLine(bool Enabled, std::string FirstName, std::string SecondName);
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;
    ~ProgressLine() { Clear(); }

    // Redraws the line for Progress when it is time to.
    void Show(const TSeriesProgress &Progress);
    // Blanks the line and puts the cursor back at its start; nothing when nothing was drawn.
    void Clear();

private:
    using Clock = std::chrono::steady_clock;
    bool Enabled_;
    std::string FirstName_;
    std::string SecondName_;
    Clock::time_point Start_;
    Clock::time_point LastDrawn_;
    std::size_t Width_ = 0;  // characters of the line on screen
};

// True when stderr is a terminal, so that a progress line makes sense there.
bool StderrIsTerminal();

}  // namespace velkaran
