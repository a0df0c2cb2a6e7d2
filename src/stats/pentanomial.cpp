// Counting game pairs and games.
#include "pentanomial.h"

#include <algorithm>

namespace velkaran {

namespace {

// Half points of one game (0, 1 or 2), or -1 for a value that is not 0, 0.5 or 1.
int HalfPoints(double Points) {
    if (Points == 0.0) return 0;
    if (Points == 0.5) return 1;
    if (Points == 1.0) return 2;
    return -1;
}

}  // namespace

TPentanomial &TPentanomial::operator+=(const TPentanomial &Other) {
    LL += Other.LL;
    LD += Other.LD;
    WLDD += Other.WLDD;
    WD += Other.WD;
    WW += Other.WW;
    DD += Other.DD;
    return *this;
}

TWinDrawLoss &TWinDrawLoss::operator+=(const TWinDrawLoss &Other) {
    Wins += Other.Wins;
    Draws += Other.Draws;
    Losses += Other.Losses;
    return *this;
}

bool AddPair(TPentanomial &Table, double FirstGamePointsA, double SecondGamePointsA) {
    const int First = HalfPoints(FirstGamePointsA);
    const int Second = HalfPoints(SecondGamePointsA);
    if (First < 0 || Second < 0) return false;
    uint64_t *const Bins[] = {&Table.LL, &Table.LD, &Table.WLDD, &Table.WD, &Table.WW};
    ++*Bins[First + Second];
    if (First == 1 && Second == 1) ++Table.DD;
    return true;
}

uint64_t Pairs(const TPentanomial &Table) { return Table.LL + Table.LD + Table.WLDD + Table.WD + Table.WW; }

uint64_t Games(const TWinDrawLoss &Counts) { return Counts.Wins + Counts.Draws + Counts.Losses; }

TWinDrawLoss GameCounts(const TPentanomial &Table) {
    const uint64_t DrawDraw = std::min(Table.DD, Table.WLDD);
    const uint64_t WinLoss = Table.WLDD - DrawDraw;
    return {2 * Table.WW + Table.WD + WinLoss, Table.LD + Table.WD + 2 * DrawDraw,
            2 * Table.LL + Table.LD + WinLoss};
}

}  // namespace velkaran
