// Two series of the same two players side by side, as the "Результаты" window compares them.
#pragma once

#include "match_results.h"
#include "results_text.h"

#include <array>
#include <string>

namespace velkaran {

// True when A and B were played between the same two players, in either order.
bool SameTwoPlayers(const TMatchResults &A, const TMatchResults &B);

// The comparison of A and B (SameTwoPlayers), both told from the side of A's player 1: a header
// ("", Captions[0], Captions[1]) and the rows games, points of each player, score in per cent,
// Elo difference with its 95 % interval, LOS, and each player's mean thinking time per move.
// A cell that cannot be known reads "—".
TTextTable SeriesComparison(const TMatchResults &A, const TMatchResults &B,
                            const std::array<std::string, 2> &Captions, const std::string &DecimalSeparator);

}  // namespace velkaran
