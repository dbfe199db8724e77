// Rounding, NULL-aware statistics and depth-to-index ranges, dense at the boundaries, and the
// worker pool the reports spread their curves over.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <thread>
#include <limits>
#include <stdexcept>
#include <vector>

#include "core/ParallelFor.h"
#include "core/Q7mathutils.h"

namespace {
constexpr float N = -999.25f;  // NULL
constexpr float kInf = std::numeric_limits<float>::infinity();
}

TEST(Stats, RoundToIntTakesHalvesAwayFromZeroAndNeverOverflows)
{
    const std::pair<float, int> cases[] = {
        {0.5f, 1},         {-0.5f, -1},       {2.5f, 3},          {-2.5f, -3},       {0.49999997f, 0},
        {-0.49999997f, 0}, {-7.6f, -8},       {1e10f, INT_MAX},   {-1e10f, INT_MIN}, {kInf, INT_MAX},
        {-kInf, INT_MIN},  {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const auto& [x, expected] : cases)
        EXPECT_EQ(RoundToInt(x), expected) << x;
}

TEST(Stats, MeanAndVarianceSkipNullAndAnswerZeroWithoutValues)
{
    const float mixed[] = {N, 1.0f, 2.0f, N, 3.0f, 4.0f, N};
    EXPECT_FLOAT_EQ(NullMean(7, N, mixed), 2.5f);
    EXPECT_FLOAT_EQ(NullVariance(7, N, mixed), 1.25f);  // population variance, no square root
    EXPECT_FLOAT_EQ(NullMean(3, N, mixed), 1.5f);       // only the first n count
    const float allNull[] = {N, N};
    using Input = std::pair<int, const float*>;
    for (auto [n, values] : {Input{2, allNull}, Input{0, mixed}, Input{-1, mixed}, Input{5, nullptr}}) {
        EXPECT_EQ(NullMean(n, N, values), 0.0f);
        EXPECT_EQ(NullVariance(n, N, values), 0.0f);
    }
    // Whole blocks of eight and a tail: 0..18 without the multiples of 5 (NULL).
    std::vector<float> ramp;
    for (int i = 0; i < 19; ++i)
        ramp.push_back(i % 5 == 0 ? N : float(i));
    EXPECT_FLOAT_EQ(NullMean(19, N, ramp.data()), 9.4f);
    EXPECT_FLOAT_EQ(NullVariance(19, N, ramp.data()), 28.906667f);
    // A float sum of a million 0.1f drifts by about 1%; the mean stays on the value.
    const std::vector<float> values(1000000, 0.1f);
    EXPECT_EQ(NullMean(1000000, N, values.data()), 0.1f);
    EXPECT_EQ(NullVariance(1000000, N, values.data()), 0.0f);
}

TEST(Stats, MinAndMaxTakeTheFirstExtremeAndSkipNull)
{
    struct Case { std::vector<float> values; float min; int minIndex; float max; int maxIndex; };
    const Case cases[] = {
        {{3.0f, 1.0f, 5.0f, 1.0f, 5.0f}, 1.0f, 1, 5.0f, 2},  // first extreme wins
        {{N, 4.0f, N, -2.0f}, -2.0f, 3, 4.0f, 1},           // a NULL values[0] is replaced
        {{N, N, N}, N, 0, N, 0},                             // all NULL
    };
    for (const Case& c : cases) {
        int minIndex = -7;
        int maxIndex = -7;
        const int n = static_cast<int>(c.values.size());
        EXPECT_EQ(NullMin(n, N, c.values.data(), minIndex), c.min);
        EXPECT_EQ(NullMax(n, N, c.values.data(), maxIndex), c.max);
        EXPECT_EQ(minIndex, c.minIndex);
        EXPECT_EQ(maxIndex, c.maxIndex);
    }
    int index = 9;
    EXPECT_EQ(NullMin(0, N, cases[0].values.data(), index), N);
    EXPECT_EQ(NullMax(2, N, nullptr, index), N);
    EXPECT_EQ(index, 9);  // left unchanged
}

TEST(Stats, IndexRangeForDepthsAtTheBoundaries)
{
    const float depths[] = {100.0f, 100.5f, 101.0f, 101.5f, 102.0f};
    struct Case { float top, bottom; int n; bool ok; int first, last; };
    const Case cases[] = {
        {90.0f, 110.0f, 5, true, 0, 4},   // top above, bottom below the data
        {100.5f, 101.5f, 5, true, 1, 3},  // exactly on samples
        {100.6f, 100.9f, 5, true, 2, 1},  // strictly between two samples: first = last + 1
        {101.0f, 101.0f, 5, true, 2, 2},  {0.0f, 100.0f, 5, true, 0, 0},
        {80.0f, 99.0f, 5, false, 0, -1},  // above the data
        {103.0f, 110.0f, 5, false, 5, 4}, // below the data
        {0.0f, 1000.0f, 1, true, 0, 0},   {0.0f, 1000.0f, 0, false, 0, -1},
    };
    // The same depths in a file written bottom up: the mirrored indexes.
    const float upward[] = {102.0f, 101.5f, 101.0f, 100.5f, 100.0f};
    for (const Case& c : cases) {
        int first = -5;
        int last = -5;
        EXPECT_EQ(GetIndexRangeForDepths(c.top, c.bottom, c.n, depths, first, last), c.ok) << c.top << ".." << c.bottom;
        EXPECT_EQ(std::make_pair(first, last), std::make_pair(c.first, c.last)) << c.top << ".." << c.bottom;
        if (c.n != 5)
            continue;
        EXPECT_EQ(GetIndexRangeForDepths(c.top, c.bottom, c.n, upward, first, last), c.ok) << c.top << ".." << c.bottom;
        EXPECT_EQ(std::make_pair(first, last), std::make_pair(4 - c.last, 4 - c.first)) << "upward " << c.top;
    }
    int first = 0;
    int last = 0;
    EXPECT_FALSE(GetIndexRangeForDepths(0.0f, 1000.0f, 5, nullptr, first, last));

    const FloatPairList intervals = {{101.5f, 200.0f}, {100.6f, 100.9f}, {0.0f, 100.0f}, {103.0f, 104.0f}};
    EXPECT_EQ(IntervalsToIndexPairs(intervals, depths, 5), (IntPairVector{{3, 4}, {0, 0}}));  // empty ones left out
}

TEST(ParallelFor, RunsEveryIndexOnceAlsoNestedAndFromTwoThreadsAtOnce)
{
    const auto run = [](int rounds) {
        for (int round = 0; round < rounds; ++round) {
            const int n = 1 + round % 40;
            std::vector<std::atomic<int>> counts(static_cast<std::size_t>(n * 3));
            ParallelFor(n, [&](int i) {
                ParallelFor(3, [&](int j) { ++counts[static_cast<std::size_t>(i * 3 + j)]; });
            });
            for (const std::atomic<int>& count : counts)
                if (count != 1)
                    return false;
        }
        return true;
    };
    bool other = false;
    std::thread second([&] { other = run(300); });
    EXPECT_TRUE(run(300));
    second.join();
    EXPECT_TRUE(other);
}

// A body that throws, on the caller's thread or a worker's: the exception reaches the caller once
// no body of the call runs, and the pool takes the next call whole.
TEST(ParallelFor, ABodyThatThrowsReachesTheCallerAfterEveryBodyHasEnded)
{
    for (const auto& [n, every] : {std::pair{2, 2}, std::pair{1000, 1000}, std::pair{1000, 2}}) {
        std::atomic<int> running{0};
        EXPECT_THROW(ParallelFor(n,
                                 [&](int i) {
                                     ++running;
                                     std::this_thread::sleep_for(std::chrono::microseconds(100));
                                     --running;
                                     if (i % every == every - 1)
                                         throw std::runtime_error("fault");
                                 }),
                     std::runtime_error);
        EXPECT_EQ(running.load(), 0) << n;
        std::atomic<int> count{0};
        ParallelFor(n, [&](int) { ++count; });
        EXPECT_EQ(count.load(), n);
    }
}
