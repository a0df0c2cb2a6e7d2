// The texts of the progress window of a bot match: games played, the running score, the speed,
// the time gone and the time left.
#pragma once

#include "match/match_runner.h"

#include <array>
#include <string>

namespace velkaran {

struct TProgressText {
    std::string Games;  // "Сыграно 12 из 200 игр"
    std::string Score;  // "Счёт: Greedy 7 — Passive 4, ничьих 1"
    std::string Speed;  // "Скорость: 58,3 игры в секунду"; empty before the first game
    std::string Time;   // "Прошло 0:12, осталось около 0:41"
    int PerMille = 0;   // games played of all, 0..1000
};

// The progress of a series between Names (player 1 and 2) after ElapsedSeconds.
TProgressText SeriesProgressText(const TSeriesProgress &Progress, const std::array<std::string, 2> &Names,
                                 double ElapsedSeconds, const std::string &DecimalSeparator);

// The progress of a single game: its players and the time it has taken.
TProgressText SingleGameProgressText(const std::array<std::string, 2> &Names, double ElapsedSeconds);

// Who is thinking and for how long, once a move has taken ThinkingShownAfterSeconds or more:
// "Ходит Greedy: думает уже 0:12"; empty before that.
inline constexpr double ThinkingShownAfterSeconds = 2;
std::string ThinkingText(const std::string &Name, double Seconds);

// Seconds as "0:07", "12:34" or "3:02:09" (whole seconds, rounded down; negative counts as 0).
std::string DurationText(double Seconds);

}  // namespace velkaran
