// Russian counts with the word agreeing: "1 игра", "3 игры", "11 игр", "21 игра".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velkaran {

// The three forms a counted Russian noun takes.
struct TPlural {
    std::string_view One;   // after 1, 21, 101 ...: "игра"
    std::string_view Few;   // after 2-4, 22-24 ...: "игры"
    std::string_view Many;  // after 0, 5-20, 25-30 ... and 11-14 of every hundred: "игр"
};

// The form of Word that follows Count; a negative count agrees as its absolute value does.
std::string_view PluralForm(int64_t Count, const TPlural &Word);

// Count, a blank and the form of Word that follows it: "3 игры".
std::string CountText(int64_t Count, const TPlural &Word);

// The counted words the program's texts use: after a number ("3 игры") ...
inline constexpr TPlural GamesWord{"игра", "игры", "игр"};
inline constexpr TPlural GameOfSeriesWord{"партия", "партии", "партий"};
inline constexpr TPlural RoundsWord{"раунд", "раунда", "раундов"};
inline constexpr TPlural MovesWord{"ход", "хода", "ходов"};
inline constexpr TPlural PairsWord{"пара", "пары", "пар"};
inline constexpr TPlural BotsWord{"бот", "бота", "ботов"};
inline constexpr TPlural LibrariesWord{"библиотека", "библиотеки", "библиотек"};
inline constexpr TPlural SecondsWord{"секунда", "секунды", "секунд"};
inline constexpr TPlural WinsWord{"победа", "победы", "побед"};
inline constexpr TPlural DrawsWord{"ничья", "ничьи", "ничьих"};
inline constexpr TPlural LossesWord{"поражение", "поражения", "поражений"};
// ... and after "из" or "после" ("из 1 игры", "из 5 игр").
inline constexpr TPlural OfGamesWord{"игры", "игр", "игр"};
inline constexpr TPlural OfGamesOfSeriesWord{"партии", "партий", "партий"};

// "1 раунд", "3 раунда", "25 раундов".
inline std::string RoundsText(int64_t Rounds) { return CountText(Rounds, RoundsWord); }

}  // namespace velkaran
