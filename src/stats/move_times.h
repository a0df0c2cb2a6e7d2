// The distribution of per-move thinking times in bounded memory, exactly mergeable.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace velkaran {

// Thinking times in milliseconds, kept in logarithmic bins of less than 1 % relative width from
// 0.001 ms to 10^7 ms, with an underflow bin (0 and anything smaller, negative and NaN times
// counting as 0) and an overflow bin, together with the exact count, the exact maximum and the
// sum in whole nanoseconds (each time rounded to the nanosecond; exact up to 584 years in all,
// held there beyond). Two histograms merge into exactly the one of all their times, in any order.
class TMoveTimeHistogram {
public:
    // Bins per decade: 10^(1/232) - 1 = 0.997 % relative width.
    static constexpr int32_t BinsPerDecade = 232;
    // Bin 0 is the underflow, 1..LogBinCount the logarithmic bins, LogBinCount + 1 the overflow.
    static constexpr int32_t LogBinCount = 10 * BinsPerDecade;
    static constexpr int32_t BinCount = LogBinCount + 2;

    TMoveTimeHistogram();

    // Counts one move that took Ms milliseconds.
    void Add(double Ms);
    // Adds every move of Other to this histogram.
    void Merge(const TMoveTimeHistogram &Other);

    // The number of moves.
    uint64_t Count() const { return TotalCount; }
    // The mean time in milliseconds; 0 when empty.
    double Mean() const;
    // The longest time in milliseconds; 0 when empty.
    double Max() const { return Longest; }
    // A time within 0.5 % of the Q-quantile (the ceil(Q Count)-th shortest time, Q clamped to 0..1):
    // the geometric middle of its bin (0 for the underflow bin), never above Max(), and Max() itself
    // for the longest time; 0 when empty.
    double Quantile(double Q) const;

    // The bin of a time of Ms milliseconds.
    static int32_t BinOf(double Ms);

    // The serialisable form: the non-empty bins as (bin, count) in increasing bin order, the sum
    // in nanoseconds, Max() and Count().
    std::vector<std::pair<int32_t, uint64_t>> NonEmptyBins() const;
    uint64_t SumNanoseconds() const { return TotalNanoseconds; }
    // Replaces the contents with a serialised form and returns true; returns false and changes
    // nothing when the parts do not fit together (a bin out of range, bins out of order or empty,
    // counts not adding up to Count, a maximum outside the highest bin, a sum beyond Count * Max).
    bool Restore(const std::vector<std::pair<int32_t, uint64_t>> &Bins, uint64_t SumNanoseconds, double MaxMs,
                 uint64_t Count);

    friend bool operator==(const TMoveTimeHistogram &, const TMoveTimeHistogram &) = default;

private:
    std::vector<uint64_t> Counts;
    uint64_t TotalCount = 0;
    uint64_t TotalNanoseconds = 0;
    double Longest = 0;
};

}  // namespace velkaran
