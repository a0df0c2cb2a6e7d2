// The score table of a field and the existence of its maximum-likelihood ratings (L. R. Ford,
// "Solution of a ranking problem from binary comparisons", American Mathematical Monthly 64, 1957).
#include "score_table.h"

#include <algorithm>

namespace velkaran {

namespace {

// Whether every row is reached from row 0 along the edges i -> j for which Edge(i, j) holds.
template <typename TEdge>
bool ReachesAll(int Size, TEdge Edge) {
    std::vector<char> Seen(static_cast<std::size_t>(Size), 0);
    std::vector<int> Stack{0};
    Seen[0] = 1;
    while (!Stack.empty()) {
        const int From = Stack.back();
        Stack.pop_back();
        for (int To = 0; To < Size; ++To)
            if (!Seen[static_cast<std::size_t>(To)] && Edge(From, To)) {
                Seen[static_cast<std::size_t>(To)] = 1;
                Stack.push_back(To);
            }
    }
    return std::all_of(Seen.begin(), Seen.end(), [](char Reached) { return Reached != 0; });
}

}  // namespace

TScoreTable ScoreTable(std::span<const TEncounterScore> Encounters, const std::vector<int> &Row, int Size) {
    TScoreTable Table{Eigen::MatrixXd::Zero(Size, Size), Eigen::MatrixXd::Zero(Size, Size)};
    for (const TEncounterScore &Encounter : Encounters) {
        if (Encounter.Games == 0) continue;
        const int First = Row[static_cast<std::size_t>(Encounter.First)];
        const int Second = Row[static_cast<std::size_t>(Encounter.Second)];
        const double Games = static_cast<double>(Encounter.Games);
        Table.Games(First, Second) += Games;
        Table.Games(Second, First) += Games;
        Table.Points(First, Second) += Encounter.PointsFirst;
        Table.Points(Second, First) += Games - Encounter.PointsFirst;
    }
    return Table;
}

bool HasFiniteMaximum(const TScoreTable &Table) {
    const int Size = static_cast<int>(Table.Games.rows());
    return ReachesAll(Size, [&](int I, int J) { return Table.Points(I, J) > 0; }) &&
           ReachesAll(Size, [&](int I, int J) { return Table.Points(J, I) > 0; });
}

void AddVirtualDraws(TScoreTable &Table) {
    const int Size = static_cast<int>(Table.Games.rows());
    const bool Connected = ReachesAll(Size, [&](int I, int J) { return Table.Games(I, J) > 0; });
    for (int I = 0; I < Size; ++I)
        for (int J = I + 1; J < Size; ++J)
            if (!Connected || Table.Games(I, J) > 0) {
                Table.Games(I, J) += 1;
                Table.Games(J, I) += 1;
                Table.Points(I, J) += 0.5;
                Table.Points(J, I) += 0.5;
            }
}

}  // namespace velkaran
