// The progress window's lines.
#include "progress_text.h"

#include "results_text.h"
#include "texts/plural.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velkaran {

std::string DurationText(double Seconds) {
    // A day of seconds and more still reads as hours; beyond ~3 000 years it stays there.
    const double Clamped = std::isfinite(Seconds) && Seconds > 0 ? std::min(Seconds, 1e11) : 0.0;
    const auto Whole = static_cast<int64_t>(Clamped);
    const int64_t Hours = Whole / 3600, Minutes = Whole / 60 % 60, Rest = Whole % 60;
    char Buffer[48];
    if (Hours > 0)
        std::snprintf(Buffer, sizeof Buffer, "%lld:%02lld:%02lld", static_cast<long long>(Hours),
                      static_cast<long long>(Minutes), static_cast<long long>(Rest));
    else
        std::snprintf(Buffer, sizeof Buffer, "%lld:%02lld", static_cast<long long>(Minutes),
                      static_cast<long long>(Rest));
    return Buffer;
}

TProgressText SeriesProgressText(const TSeriesProgress &Progress, const std::array<std::string, 2> &Names,
                                 double ElapsedSeconds, const std::string &DecimalSeparator) {
    TProgressText Text;
    const int64_t Played = Progress.GamesPlayed;
    const int64_t Total = Progress.GamesTotal;
    Text.Games = "Сыграно " + std::to_string(Played) + " из " + CountText(Total, OfGamesWord);
    Text.Score = "Счёт: " + Names[0] + " " + std::to_string(Progress.FirstWins) + " — " + Names[1] + " " +
                 std::to_string(Progress.SecondWins) + ", ничьих " + std::to_string(Progress.Draws);
    Text.PerMille =
        Total > 0 ? static_cast<int>(1000.0 * static_cast<double>(Played) / static_cast<double>(Total)) : 0;
    Text.Time = "Прошло " + DurationText(ElapsedSeconds);
    if (Played > 0 && ElapsedSeconds > 0) {
        const double PerSecond = static_cast<double>(Played) / ElapsedSeconds;
        Text.Speed =
            "Скорость: " + FixedText(PerSecond, PerSecond < 10 ? 2 : 1, DecimalSeparator) + " игры в секунду";
        const double Left = static_cast<double>(Total - Played) / PerSecond;
        Text.Time += ", осталось около " + DurationText(Left);
    }
    return Text;
}

std::string ThinkingText(const std::string &Name, double Seconds) {
    if (!(Seconds >= ThinkingShownAfterSeconds)) return {};
    return "Ходит " + Name + ": думает уже " + DurationText(Seconds);
}

TProgressText SingleGameProgressText(const std::array<std::string, 2> &Names, double ElapsedSeconds) {
    TProgressText Text;
    Text.Games = "Идёт игра: " + Names[0] + " — " + Names[1];
    Text.Time = "Прошло " + DurationText(ElapsedSeconds);
    return Text;
}

}  // namespace velkaran
