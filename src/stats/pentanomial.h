// Game pairs counted by the pair score of bot A, and plain win/draw/loss counts of games.
#pragma once

#include <cstdint>

namespace velkaran {

// Pairs of games (the seats exchanged between the two games) by the points of bot A over the pair:
// 0 (LL), 0.5 (LD), 1 (WLDD: a win and a loss, or two draws), 1.5 (WD), 2 (WW). DD tells how many of
// the WLDD pairs were two draws; it matters only for the draw ratio and never exceeds WLDD.
struct TPentanomial {
    uint64_t LL = 0, LD = 0, WLDD = 0, WD = 0, WW = 0;
    uint64_t DD = 0;

    // Adds the counts of Other to these (unsigned arithmetic: counts beyond 2^64 would wrap).
    TPentanomial &operator+=(const TPentanomial &Other);
    friend bool operator==(const TPentanomial &, const TPentanomial &) = default;
};

// Games won, drawn and lost by bot A.
struct TWinDrawLoss {
    uint64_t Wins = 0, Draws = 0, Losses = 0;

    // Adds the counts of Other to these.
    TWinDrawLoss &operator+=(const TWinDrawLoss &Other);
    friend bool operator==(const TWinDrawLoss &, const TWinDrawLoss &) = default;
};

// Counts one pair into Table from bot A's points in its two games (each 0, 0.5 or 1); returns false
// and leaves Table unchanged when either value is anything else.
bool AddPair(TPentanomial &Table, double FirstGamePointsA, double SecondGamePointsA);

// The number of pairs in Table.
uint64_t Pairs(const TPentanomial &Table);

// The number of games counted in Counts.
uint64_t Games(const TWinDrawLoss &Counts);

// Bot A's games in the pairs of Table (a WLDD pair is a win and a loss unless DD counts it as two draws).
TWinDrawLoss GameCounts(const TPentanomial &Table);

}  // namespace velkaran
