// Correlation search, natural cubic spline and random numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Q7mathutils.h"

namespace {
constexpr float N = -999.25f;
}

TEST(Correlation, PearsonOverPairsWithoutNull)
{
    std::vector<float> x, y;
    for (int i = 0; i < 20; ++i) {
        x.push_back(i);
        y.push_back(-2.0f * i + 1.0f);
    }
    y[3] = N;  // NULL pairs are skipped, whatever the other side holds
    x[7] = N;
    float r = 0.0f;
    ASSERT_TRUE(NullCorrelation(20, N, x.data(), y.data(), r));
    EXPECT_NEAR(r, -1.0f, 1e-6f);
    EXPECT_TRUE(NullCorrelation(17, N, x.data(), y.data(), r));  // 15 valid pairs are enough
    EXPECT_FALSE(NullCorrelation(16, N, x.data(), y.data(), r));
    const std::vector<float> constant(20, 0.1f);
    EXPECT_FALSE(NullCorrelation(20, N, x.data(), constant.data(), r));
}

TEST(Correlation, BestShiftFindsTheDisplacementAndClampsTheRange)
{
    std::vector<float> signal;
    for (int i = 0; i < 220; ++i)
        signal.push_back(std::sin(0.37f * i) * 50.0f + std::cos(1.3f * (i * i % 17)) * 20.0f);
    const std::vector<float> base(signal.begin() + 10, signal.begin() + 210);
    for (int shift : {-7, 0, 12}) {
        const std::vector<float> bound(signal.begin() + 10 + shift, signal.begin() + 210 + shift);
        float r = 0.0f;  // bound[i] = base[i + shift]
        EXPECT_EQ(FindBestCorrelationShift(200, N, -15, 15, base.data(), bound.data(), r), shift);
        EXPECT_NEAR(r, 1.0f, 1e-5f);
    }
    const std::vector<float> allNull(30, N);
    struct Case { int n, lo, hi; const float* bound; int shift; float r; };
    const Case cases[] = {
        {30, -100000, 100000, base.data(), 0, 1.0f},  // clamped; the widest shifts lack 15 pairs
        {30, -5, 5, allNull.data(), 0, 0.0f},
        {10, -5, 5, base.data(), 0, 0.0f},            // too short
        {30, 5, -5, base.data(), 0, 0.0f},            // empty range
    };
    for (const Case& c : cases) {
        float r = 5.0f;
        EXPECT_EQ(FindBestCorrelationShift(c.n, N, c.lo, c.hi, base.data(), c.bound, r), c.shift);
        EXPECT_NEAR(r, c.r, 1e-6f);
    }
}

TEST(Spline, RefusesBadInputAndMatchesTheKnownCurve)
{
    std::vector<float> h, z;
    EXPECT_EQ(SplineCoefficients(2, {0, 1}, {0, 1}, h, z), 1);
    EXPECT_EQ(SplineCoefficients(4, {0, 1, 2}, {0, 1, 2}, h, z), 2);
    EXPECT_EQ(SplineCoefficients(3, {0, 1, 1}, {0, 1, 2}, h, z), 3);  // equal knots would divide by zero
    EXPECT_THROW(SplineValue(0.5f, 5, {0, 1}, {0, 1}, {1}, {0, 0}), std::out_of_range);
    // Through (0,0), (1,1), (2,0) the natural spline is 1.5x - 0.5x^3 on [0,1].
    const std::vector<float> x = {0, 1, 2};
    const std::vector<float> y = {0, 1, 0};
    ASSERT_EQ(SplineCoefficients(3, x, y, h, z), 0);
    EXPECT_FLOAT_EQ(z[1], -0.5f);  // second derivative -3, divided by 6
    EXPECT_FLOAT_EQ(SplineValue(0.5f, 0, x, y, h, z), 0.6875f);
    EXPECT_FLOAT_EQ(SplineValue(1.5f, 1, x, y, h, z), 0.6875f);
}

TEST(Spline, UnevenKnotsGiveContinuousSlopeAndFreeEnds)
{
    const std::vector<float> x = {1000.0f, 1000.5f, 1002.0f, 1002.2f, 1004.0f, 1007.0f};
    const std::vector<float> y = {3.0f, 7.0f, -2.0f, 0.0f, 5.0f, 4.0f};
    std::vector<float> h, z;
    ASSERT_EQ(SplineCoefficients(6, x, y, h, z), 0);
    EXPECT_EQ(z.front(), 0.0f);
    EXPECT_EQ(z.back(), 0.0f);
    auto slope = [&](int j, float t) { // derivative on interval j at t (0 left end, 1 right end)
        const float s = 1.0f - t;
        return (y[j + 1] - y[j]) / h[j] + h[j] * (z[j + 1] * (3 * t * t - 1) - z[j] * (3 * s * s - 1));
    };
    for (int j = 0; j + 2 < 6; ++j)
        EXPECT_NEAR(slope(j, 1.0f), slope(j + 1, 0.0f), 1e-3f) << j;
}

TEST(Random, RandomIntCoversZeroToNMinusOne)
{
    Randomize();
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(-5), 0);
    std::vector<int> seen(20, 0);
    for (int i = 0; i < 2000; ++i)
        ++seen.at(RandomInt(20)); // at() catches a value outside 0..19
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 0), 0);
}
