// The results view of the desktop program as texts: every cell, line and heading it shows, made
// from a match summary. Russian; numbers with the caller's decimal separator.
#pragma once

#include "match_summary.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkaran {

// A table as the view shows it: a header and rows of cells of the same width.
struct TTextTable {
    std::vector<std::string> Header;
    std::vector<std::vector<std::string>> Rows;
};

// What kind of match the summary counts, and how far it got.
struct TMatchScope {
    bool Series = false;       // a series of 2 x GamesPerHalf games; otherwise one game
    int64_t GamesPerHalf = 0;  // N of a series (0 or less plays none)
    bool Stopped = false;      // the user stopped it before its end
};

// The results view: a headline, the standings by player and seat, the Elo line, the thinking
// times, and the games by how they ended.
struct TResultsText {
    std::string Headline;
    TTextTable Standings;     // per player: all games, then moving first, then second
    std::string Elo;          // the Elo difference of player 1, or why there is none
    TTextTable ThinkingTime;  // per player: moves, mean, 95th percentile and maximum, in ms
    TTextTable Terminations;  // one row per way a game ended that occurred
};

// The names the views give players 1 and 2: "Человек" for a human seat; two equal names get
// "(игрок №1)" and "(игрок №2)" after them.
std::array<std::string, 2> ShownPlayerNames(const std::array<std::string, 2> &Names);

// The results view of Summary, whose players are Names (as ShownPlayerNames gives them).
TResultsText ResultsText(const TMatchSummary &Summary, const std::array<std::string, 2> &Names,
                         const TMatchScope &Scope, const std::string &DecimalSeparator);

// How a game ended, in the words of the views: "база разрушена", "лимит ходов", ...
std::string TerminationText(TTermination Kind);

// How a game of the list ended, as its "Окончание" cell says: a move given up is "отказ от хода",
// not a refused card.
inline constexpr std::string_view GaveUpText = "отказ от хода";
std::string GameEndingText(const TGameRow &Row);

// The header of the list of games, and the cells of one game of it: its number, who moved first,
// the result ("победа <name>" or "ничья"), how it ended, its rounds and why the loser lost.
std::vector<std::string> GameListHeader();
std::vector<std::string> GameRowText(const TGameRow &Row, const std::array<std::string, 2> &Names);

// The lines that follow the result text in the text tab: a heading, then each game a bot lost by a
// fault or a refusal, with the bot and the reason ("Игра 3: Beta — сбой бота: раунд 3, GetTurn:
// ..."), at most Limit of them and then how many more; none when no game has a reason.
std::vector<std::string> GameReasonLines(const TMatchSummary &Summary,
                                         const std::array<std::string, 2> &Names, std::size_t Limit);

// Value with Decimals digits after DecimalSeparator (rounded half away from zero); "∞" and "−∞"
// for infinities.
std::string FixedText(double Value, int Decimals, const std::string &DecimalSeparator);

}  // namespace velkaran
