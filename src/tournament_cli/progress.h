// The progress of a tournament on stderr, one line redrawn in place, for a user at a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace velkaran {

class TTournamentProgress {
public:
    // Draws nothing unless Enabled (stderr is a terminal).
    explicit TTournamentProgress(bool Enabled);
    ~TTournamentProgress() { Clear(); }
    TTournamentProgress(const TTournamentProgress &) = delete;
    TTournamentProgress &operator=(const TTournamentProgress &) = delete;

    // "games 120 of 400 · 85.3 games/s · ETA 0:03 · leader Planner 92.5%": GamesThisRun count
    // towards the speed (a resumed tournament's earlier games do not).
    void Show(int64_t Done, int64_t Total, int64_t GamesThisRun, const std::string &Leader,
              double LeaderScore);
    // Blanks the line; nothing when nothing was drawn.
    void Clear();

private:
    bool Enabled;
    std::chrono::steady_clock::time_point Start;
    std::size_t Width = 0;
};

// "0:03", "1:02:03": a duration in whole seconds.
std::string DurationText(double Seconds);

}  // namespace velkaran
