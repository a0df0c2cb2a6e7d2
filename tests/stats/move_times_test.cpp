// The move-time histogram: quantile accuracy, exact merging, the edges, and restoring saved bins.
#include "stats/move_times.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

namespace velkaran {
namespace {

// Times spread log-uniformly from 0.01 ms to 10^5 ms, the same on every run.
std::vector<double> SampleTimes(std::size_t Count) {
    std::mt19937_64 Generator(2060);
    std::vector<double> Times(Count);
    for (double &Time : Times) {
        const double Unit = static_cast<double>(Generator() >> 11) * 0x1p-53;
        Time = std::pow(10.0, -2.0 + 7.0 * Unit);
    }
    return Times;
}

TMoveTimeHistogram HistogramOf(const std::vector<double> &Times, std::size_t From, std::size_t To) {
    TMoveTimeHistogram Histogram;
    for (std::size_t Index = From; Index < To; ++Index) Histogram.Add(Times[Index]);
    return Histogram;
}

TEST(MoveTimes, QuantilesWithinOnePercentAndExactMeanAndMax) {
    std::vector<double> Times = SampleTimes(20000);
    const TMoveTimeHistogram Histogram = HistogramOf(Times, 0, Times.size());
    std::sort(Times.begin(), Times.end());
    for (const double Q : {0.0, 0.01, 0.1, 0.5, 0.9, 0.99, 0.999}) {
        const auto Rank = std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(Q * Times.size())));
        const double Exact = Times[Rank - 1];
        EXPECT_NEAR(Histogram.Quantile(Q), Exact, 0.01 * Exact) << Q;
    }
    EXPECT_EQ(Histogram.Quantile(1), Times.back());
    EXPECT_EQ(Histogram.Max(), Times.back());
    EXPECT_EQ(Histogram.Count(), Times.size());
    const double Mean = std::accumulate(Times.begin(), Times.end(), 0.0) / static_cast<double>(Times.size());
    EXPECT_NEAR(Histogram.Mean(), Mean, 1e-6);
}

TEST(MoveTimes, MergedShardsEqualOneHistogramOfAllTimes) {
    const std::vector<double> Times = SampleTimes(3000);
    const TMoveTimeHistogram All = HistogramOf(Times, 0, Times.size());
    TMoveTimeHistogram Merged = HistogramOf(Times, 2000, 3000);
    Merged.Merge(HistogramOf(Times, 0, 7));
    Merged.Merge(HistogramOf(Times, 7, 2000));
    EXPECT_EQ(Merged, All);
    EXPECT_EQ(Merged.SumNanoseconds(), All.SumNanoseconds());
    EXPECT_EQ(Merged.Mean(), All.Mean());
}

TEST(MoveTimes, ZeroNegativeAndHugeTimesLandInTheEdgeBins) {
    TMoveTimeHistogram Histogram;
    for (const double Ms : {0.0, -3.0, std::nan(""), 1e-4, 2e9}) Histogram.Add(Ms);
    EXPECT_EQ(Histogram.Count(), 5u);
    EXPECT_EQ(Histogram.Quantile(0.8), 0);
    EXPECT_EQ(Histogram.Quantile(1), 2e9);
    EXPECT_EQ(Histogram.Max(), 2e9);
    EXPECT_EQ(Histogram.SumNanoseconds(), 2000000000000100u);  // 2e9 ms and 1e-4 ms = 100 ns
    EXPECT_EQ(Histogram.NonEmptyBins(),
              (std::vector<std::pair<int32_t, uint64_t>>{{0, 4}, {TMoveTimeHistogram::LogBinCount + 1, 1}}));
    EXPECT_EQ(TMoveTimeHistogram().Quantile(0.5), 0);
    EXPECT_EQ(TMoveTimeHistogram().Mean(), 0);
}

TEST(MoveTimes, RestoreTakesBackSavedBinsAndRejectsDamagedOnes) {
    const std::vector<double> Times = SampleTimes(500);
    const TMoveTimeHistogram Saved = HistogramOf(Times, 0, Times.size());
    const auto Bins = Saved.NonEmptyBins();
    const uint64_t Sum = Saved.SumNanoseconds();

    TMoveTimeHistogram Restored;
    ASSERT_TRUE(Restored.Restore(Bins, Sum, Saved.Max(), Saved.Count()));
    EXPECT_EQ(Restored, Saved);

    auto OutOfRange = Bins;
    OutOfRange.back().first = TMoveTimeHistogram::BinCount;
    auto Unordered = Bins;
    std::swap(Unordered[0], Unordered[1]);
    auto EmptyBin = Bins;
    EmptyBin.emplace_back(TMoveTimeHistogram::BinCount - 1, 0);
    TMoveTimeHistogram Untouched;
    EXPECT_FALSE(Untouched.Restore(OutOfRange, Sum, Saved.Max(), Saved.Count()));
    EXPECT_FALSE(Untouched.Restore(Unordered, Sum, Saved.Max(), Saved.Count()));
    EXPECT_FALSE(Untouched.Restore(EmptyBin, Sum, Saved.Max(), Saved.Count()));
    EXPECT_FALSE(Untouched.Restore(Bins, Sum, Saved.Max(), Saved.Count() + 1));
    EXPECT_FALSE(Untouched.Restore(Bins, Sum, Saved.Max() * 2, Saved.Count()));  // max beyond its bin
    EXPECT_FALSE(Untouched.Restore(Bins, Sum, std::nan(""), Saved.Count()));
    EXPECT_FALSE(Untouched.Restore(Bins, 1, Saved.Max(), Saved.Count()));  // sum below the max
    EXPECT_FALSE(Untouched.Restore(Bins, UINT64_MAX, Saved.Max(), Saved.Count()));
    EXPECT_FALSE(Untouched.Restore({{-1, 500}}, Sum, Saved.Max(), Saved.Count()));
    EXPECT_EQ(Untouched, TMoveTimeHistogram());
}

}  // namespace
}  // namespace velkaran
