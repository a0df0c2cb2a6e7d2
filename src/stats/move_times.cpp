// The move-time histogram.
//
// Logarithmic binning with a bounded relative error, as in HDR histograms (G. Tene) and DDSketch
// (C. Masson, J. E. Rim, H. K. Lee, "DDSketch: a fast and fully-mergeable quantile sketch with
// relative-error guarantees", VLDB 2019): a bin [10^(k/B), 10^((k+1)/B)) of ratio r = 10^(1/B) holds
// values within sqrt(r) - 1 of its geometric middle, and merging adds counts bin by bin.
#include "move_times.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velkaran {

namespace {

constexpr double SmallestMs = 1e-3;  // lower edge of the first logarithmic bin
constexpr double LargestMs = 1e7;    // upper edge of the last one
constexpr uint64_t Saturated = std::numeric_limits<uint64_t>::max();

// Ms in whole nanoseconds, rounded half away from zero; Saturated from 2^64 ns on. Ms >= 0.
uint64_t Nanoseconds(double Ms) {
    const double Value = Ms * 1e6;
    if (Value >= 18446744073709551616.0) return Saturated;
    return static_cast<uint64_t>(std::round(Value));
}

uint64_t SaturatingAdd(uint64_t A, uint64_t B) { return A > Saturated - B ? Saturated : A + B; }

// A time as counted: NaN, negative times and -0 become 0.
double Normalised(double Ms) { return Ms > 0 ? Ms : 0.0; }

}  // namespace

TMoveTimeHistogram::TMoveTimeHistogram() : Counts(BinCount, 0) {}

int32_t TMoveTimeHistogram::BinOf(double Ms) {
    if (!(Ms >= SmallestMs)) return 0;
    if (Ms >= LargestMs) return LogBinCount + 1;
    const double Position = std::floor((std::log10(Ms) + 3.0) * BinsPerDecade);
    return 1 + static_cast<int32_t>(std::clamp(Position, 0.0, static_cast<double>(LogBinCount - 1)));
}

void TMoveTimeHistogram::Add(double Ms) {
    Ms = Normalised(Ms);
    ++Counts[static_cast<std::size_t>(BinOf(Ms))];
    ++TotalCount;
    TotalNanoseconds = SaturatingAdd(TotalNanoseconds, Nanoseconds(Ms));
    Longest = std::max(Longest, Ms);
}

void TMoveTimeHistogram::Merge(const TMoveTimeHistogram &Other) {
    for (std::size_t Bin = 0; Bin < Counts.size(); ++Bin) Counts[Bin] += Other.Counts[Bin];
    TotalCount += Other.TotalCount;
    TotalNanoseconds = SaturatingAdd(TotalNanoseconds, Other.TotalNanoseconds);
    Longest = std::max(Longest, Other.Longest);
}

double TMoveTimeHistogram::Mean() const {
    if (TotalCount == 0) return 0;
    return static_cast<double>(TotalNanoseconds) / 1e6 / static_cast<double>(TotalCount);
}

double TMoveTimeHistogram::Quantile(double Q) const {
    if (TotalCount == 0) return 0;
    const double Share = std::clamp(Q > 0 ? Q : 0.0, 0.0, 1.0);  // NaN counts as 0
    const double Position = std::ceil(Share * static_cast<double>(TotalCount));
    const uint64_t Rank = Position >= static_cast<double>(TotalCount) ? TotalCount
                          : Position < 1                              ? 1
                                                                      : static_cast<uint64_t>(Position);
    if (Rank == TotalCount) return Longest;  // the longest time is known exactly
    uint64_t Seen = 0;
    int32_t Bin = 0;
    while (Bin < BinCount - 1 && (Seen += Counts[static_cast<std::size_t>(Bin)]) < Rank) ++Bin;
    if (Bin == 0) return 0;
    if (Bin == LogBinCount + 1) return Longest;
    const double Middle = std::pow(10.0, (Bin - 0.5) / BinsPerDecade - 3.0);
    return std::min(Middle, Longest);
}

std::vector<std::pair<int32_t, uint64_t>> TMoveTimeHistogram::NonEmptyBins() const {
    std::vector<std::pair<int32_t, uint64_t>> Bins;
    for (int32_t Bin = 0; Bin < BinCount; ++Bin)
        if (Counts[static_cast<std::size_t>(Bin)] > 0)
            Bins.emplace_back(Bin, Counts[static_cast<std::size_t>(Bin)]);
    return Bins;
}

bool TMoveTimeHistogram::Restore(const std::vector<std::pair<int32_t, uint64_t>> &Bins,
                                 uint64_t SumNanoseconds, double MaxMs, uint64_t Count) {
    uint64_t Total = 0;
    int32_t Previous = -1;
    for (const auto &[Bin, BinTotal] : Bins) {
        if (Bin <= Previous || Bin >= BinCount || BinTotal == 0 || BinTotal > Saturated - Total) return false;
        Previous = Bin;
        Total += BinTotal;
    }
    if (Total != Count) return false;
    if (Count == 0) {
        if (SumNanoseconds != 0 || MaxMs != 0) return false;
    } else {
        if (!(MaxMs >= 0) || BinOf(MaxMs) != Previous) return false;
        // The longest time is part of the sum, and no time exceeds it.
        const uint64_t LongestNs = Nanoseconds(MaxMs);
        const uint64_t Ceiling =
            LongestNs != 0 && Count > Saturated / LongestNs ? Saturated : Count * LongestNs;
        if (SumNanoseconds < LongestNs || SumNanoseconds > Ceiling) return false;
    }
    std::fill(Counts.begin(), Counts.end(), 0);
    for (const auto &[Bin, BinTotal] : Bins) Counts[static_cast<std::size_t>(Bin)] = BinTotal;
    TotalCount = Count;
    TotalNanoseconds = SumNanoseconds;
    Longest = MaxMs == 0 ? 0.0 : MaxMs;
    return true;
}

}  // namespace velkaran
