// The progress line.
#include "progress.h"

#include "match/number_text.h"

#include <cmath>
#include <cstdio>

namespace velkaran {

TTournamentProgress::TTournamentProgress(bool Enabled)
    : Enabled(Enabled), Start(std::chrono::steady_clock::now()) {}

std::string DurationText(double Seconds) {
    if (!std::isfinite(Seconds) || Seconds < 0) return "?";
    const auto Whole = static_cast<long long>(std::llround(Seconds));
    char Text[32];
    if (Whole >= 3600)
        std::snprintf(Text, sizeof Text, "%lld:%02lld:%02lld", Whole / 3600, Whole / 60 % 60, Whole % 60);
    else
        std::snprintf(Text, sizeof Text, "%lld:%02lld", Whole / 60, Whole % 60);
    return Text;
}

void TTournamentProgress::Show(int64_t Done, int64_t Total, int64_t GamesThisRun, const std::string &Leader,
                               double LeaderScore) {
    if (!Enabled) return;
    const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    const double Rate = Seconds > 0 ? static_cast<double>(GamesThisRun) / Seconds : 0;
    char Line[512];
    std::snprintf(Line, sizeof Line, "games %lld of %lld · %.1f games/s · ETA %s",
                  static_cast<long long>(Done), static_cast<long long>(Total), Rate,
                  Rate > 0 ? DurationText(static_cast<double>(Total - Done) / Rate).c_str() : "?");
    std::string Text = Line;
    if (!Leader.empty()) {
        std::snprintf(Line, sizeof Line, " · leader %s %.1f%%", Leader.c_str(), 100 * LeaderScore);
        Text += Line;
    }
    const auto Length = static_cast<std::size_t>(TextLength(Text));
    std::fprintf(stderr, "\r%s%s", Text.c_str(),
                 std::string(Width > Length ? Width - Length : 0, ' ').c_str());
    std::fflush(stderr);
    Width = Length;
}

void TTournamentProgress::Clear() {
    if (!Enabled || Width == 0) return;
    std::fprintf(stderr, "\r%s\r", std::string(Width, ' ').c_str());
    std::fflush(stderr);
    Width = 0;
}

}  // namespace velkaran
