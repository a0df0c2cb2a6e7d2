// The game list in the order and selection the user asks for: sorted by any of its columns,
// filtered by winner, ending and who moved first. Indices into the match's rows, so that a list of
// any length is one vector of numbers.
#pragma once

#include "match_summary.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace velkaran {

// The games to show; an empty member lets every game through.
struct TGameFilter {
    std::optional<int> Winner;  // 0 or 1: that player won; -1: a draw
    std::optional<TTermination> Ending;
    std::optional<int> FirstPlayer;  // the player that moved first
    bool Passes(const TGameRow &Row) const;
};

// The columns of the game list (GameListHeader), in its order.
enum class TGameColumn { Number, FirstPlayer, Result, Ending, Rounds, Reason };

// The indices of the rows of Rows that pass Filter, ordered by Column (numbers by value, the
// result player 1's wins first, then player 2's, then draws; endings as the termination table
// lists them; texts by their bytes), reversed when not Ascending; equals keep the match's order.
std::vector<std::size_t> OrderGames(const std::vector<TGameRow> &Rows, const TGameFilter &Filter,
                                    TGameColumn Column, bool Ascending);

}  // namespace velkaran
