// How many different game pairs two bots played, from how many start positions, and whether the
// pairs did nothing but repeat themselves.
#pragma once

#include "game_record.h"

#include <cstdint>
#include <unordered_set>

namespace velkaran {

// A fingerprint of a game's play: start position, sets, moves, result and end (never 0).
uint64_t GameFingerprint(const TGameRecord &Record);

// A fingerprint of a start position.
uint64_t StartFingerprint(const TStartPosition &Start);

class TPairCensus {
public:
    // The most different pairs a census tells apart: enough to judge determinism over any opening
    // book in use, and a bound on its memory however many pairs are played. Beyond it a pair counts
    // as seen before, and DistinctPairs() stays at this number.
    static constexpr std::size_t MostRemembered = 1024;

    // Counts a complete pair from the fingerprints of its start position and of its two games
    // (the one in which bot A moved first, then the other). True when no pair before it was the
    // same.
    bool Add(uint64_t Start, uint64_t FirstGame, uint64_t SecondGame);

    int64_t Pairs() const { return Pairs_; }
    // The pairs that were not the same as an earlier one.
    int64_t DistinctPairs() const { return static_cast<int64_t>(SeenPairs.size()); }
    // The different start positions the pairs began from.
    int64_t Positions() const { return static_cast<int64_t>(SeenStarts.size()); }
    // Every start position gave one and the same pair each time, and some position was played
    // more than once: the repeated pairs tell nothing new.
    bool Deterministic() const { return Pairs_ > Positions() && DistinctPairs() == Positions(); }

private:
    int64_t Pairs_ = 0;
    std::unordered_set<uint64_t> SeenPairs;
    std::unordered_set<uint64_t> SeenStarts;
};

}  // namespace velkaran
