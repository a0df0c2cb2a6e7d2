// The progress line of a series.
#include "progress_line.h"

#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>

namespace velkaran {
namespace {

constexpr auto RedrawInterval = std::chrono::milliseconds(100);

}  // namespace

ProgressLine::ProgressLine(bool Enabled, std::string FirstName, std::string SecondName)
    : Enabled_(Enabled),
      FirstName_(std::move(FirstName)),
      SecondName_(std::move(SecondName)),
      Start_(Clock::now()),
      LastDrawn_() {}

void ProgressLine::Show(const TSeriesProgress &Progress) {
    if (!Enabled_) return;
    const Clock::time_point Now = Clock::now();
    const bool Last = Progress.GamesPlayed >= Progress.GamesTotal;
    if (!Last && Width_ > 0 && Now - LastDrawn_ < RedrawInterval) return;
    LastDrawn_ = Now;
    const double Seconds = std::chrono::duration<double>(Now - Start_).count();
    char Line[256];
    const int Length =
        std::snprintf(Line, sizeof Line, "game %lld of %lld, %s %lld : %lld %s, draws %lld, %.1f s",
                      static_cast<long long>(Progress.GamesPlayed),
                      static_cast<long long>(Progress.GamesTotal), FirstName_.c_str(),
                      static_cast<long long>(Progress.FirstWins), static_cast<long long>(Progress.SecondWins),
                      SecondName_.c_str(), static_cast<long long>(Progress.Draws), Seconds);
    if (Length <= 0) return;
    const std::size_t Width = static_cast<std::size_t>(Length) < sizeof Line ? Length : sizeof Line - 1;
    const std::string Padding(Width_ > Width ? Width_ - Width : 0, ' ');
    std::fprintf(stderr, "\r%s%s", Line, Padding.c_str());
    std::fflush(stderr);
    Width_ = Width;
}

void ProgressLine::Clear() {
    if (!Enabled_ || Width_ == 0) return;
    std::fprintf(stderr, "\r%s\r", std::string(Width_, ' ').c_str());
    std::fflush(stderr);
    Width_ = 0;
}

bool StderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace velkaran
