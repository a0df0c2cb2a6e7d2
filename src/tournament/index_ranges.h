// A set of game indices kept as ranges: the games of a run finish nearly in order, so a finished
// prefix and the few games finished beyond it take a handful of ranges whatever the run's size.
#pragma once

#include <cstdint>
#include <map>

namespace velkaran {

class TIndexRanges {
public:
    // Adds Index; false (and nothing changed) when it was there already.
    bool Insert(int64_t Index);
    bool Contains(int64_t Index) const;
    // How many indices the set holds.
    int64_t Count() const { return Size; }
    // The smallest index from From on that the set does not hold.
    int64_t NextAbsent(int64_t From) const;
    // How many of the indices First .. End - 1 the set holds.
    int64_t CountIn(int64_t First, int64_t End) const;
    // The number of ranges, for a test of compactness.
    std::size_t Ranges() const { return Spans.size(); }

private:
    std::map<int64_t, int64_t> Spans;  // first index -> one past the last, disjoint and never touching
    int64_t Size = 0;
};

}  // namespace velkaran
