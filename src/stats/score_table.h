// The games and points between the rated bots of a field, and whether they fix finite ratings.
// Used by the ratings only (it brings in Eigen, which the library keeps to itself).
#pragma once

#include "ratings.h"

#include <Eigen/Core>

#include <span>
#include <vector>

namespace velkaran {

// Games(i, j) = Games(j, i) played between rows i and j; Points(i, j) scored by i against j.
struct TScoreTable {
    Eigen::MatrixXd Games, Points;
};

// The table of Encounters over the rated bots, where Row[bot] is the row of each bot that played.
TScoreTable ScoreTable(std::span<const TEncounterScore> Encounters, const std::vector<int> &Row, int Size);

// Whether the maximum-likelihood ratings are finite: every split of the bots into two groups has
// points scored across it in both directions (the graph "i scored against j" is strongly connected).
bool HasFiniteMaximum(const TScoreTable &Table);

// Adds one virtual draw between every two bots that met, or between every two bots when the
// field falls apart into groups that never met.
void AddVirtualDraws(TScoreTable &Table);

}  // namespace velkaran
