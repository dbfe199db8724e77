// Smoothing by spectrum and by points over sample ranges.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "core/Smoothing.h"

namespace {
constexpr float N = -999.25f;

// The pair the smoother must match: DCT-II coefficients and the DCT-III of the first K terms.
std::vector<double> DirectPair(const std::vector<float>& x, int k)
{
    const int n = static_cast<int>(x.size());
    std::vector<double> c(n), y(n);
    for (int j = 0; j < n; ++j) {
        double sum = 0;
        for (int i = 0; i < n; ++i)
            sum += x[i] * std::cos(std::numbers::pi * j * (2.0 * i + 1) / (2.0 * n));
        c[j] = 2.0 * sum / n;
    }
    for (int i = 0; i < n; ++i) {
        double sum = c[0] / 2;
        for (int j = 1; j < k; ++j)
            sum += c[j] * std::cos(std::numbers::pi * j * (2.0 * i + 1) / (2.0 * n));
        y[i] = sum;
    }
    return y;
}

std::vector<float> Wave(int n, int seed)
{
    std::vector<float> x(n);
    for (int i = 0; i < n; ++i)
        x[i] = static_cast<float>(10 * std::sin(i * 0.3 + seed) + 3 * std::cos(i * 1.7) + seed);
    return x;
}
}  // namespace

TEST(Smoothing, RangesAreTrimmedOfNullEndsAndNeedSevenSamples)
{
    std::vector<float> s = {N, N, 1, 2, 3, 4, 5, 6, 7, N, 9, 9, 9, 9, 9, 9, N, N};
    const IntPairVector ranges = {{0, 9}, {10, 15}, {10, 17}, {-1, 5}, {5, 18}, {8, 8}, {3, 1}};
    const ListOfFloatValuesWithIndex list = PrepareSmoothingRanges(ranges, 18, s.data(), N);
    // {0, 9}: trimmed to 2..8; {10, 15} has 6 samples; {10, 17} trims to 10..15: too short.
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].index, 2);
    EXPECT_EQ(list[0].values, (FloatVector{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(PrepareSmoothingRanges(ranges, 18, nullptr, N).empty());
}

TEST(Smoothing, SpectrumKeepsDataAtZeroFlattensAtHundredAndMatchesTheDirectPair)
{
    std::vector<float> a = Wave(40, 1);
    std::vector<float> b = Wave(23, 5);
    a[7] = N;  // an inner NULL takes the range's first value before the transform
    ListOfFloatValuesWithIndex found = {{3, a}, {60, b}};
    SpectrumSmoother smoother(found, N);
    EXPECT_EQ(smoother.Apply(0)[0].values, a);  // exactly, NULL included
    std::vector<float> filledA = a;
    filledA[7] = a[0];
    for (int position : {100, 99, 90, 50, 10, 1}) {
        const ListOfFloatValuesWithIndex& out = smoother.Apply(position);
        ASSERT_EQ(out.size(), 2u);
        EXPECT_EQ(out[1].index, 60);
        for (int r = 0; r < 2; ++r) {
            const std::vector<float>& x = r == 0 ? filledA : b;
            const int n = static_cast<int>(x.size());
            const std::vector<double> expected = DirectPair(x, SpectrumSmoother::CoefficientCount(position, n));
            const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
            for (int i = 0; i < n; ++i)
                EXPECT_NEAR(out[r].values[i], expected[i], 1e-4 * (*hi - *lo)) << position << " " << r << " " << i;
        }
    }
    // Position 100 keeps no term: each range is flat at the mean of its filled values.
    double mean = 0;
    for (float v : b)
        mean += v;
    mean /= b.size();
    for (float v : smoother.Apply(100)[1].values)
        EXPECT_NEAR(v, mean, 1e-4);
}

TEST(Smoothing, CoefficientCountIsExactAtEveryLength)
{
    EXPECT_EQ(SpectrumSmoother::CoefficientCount(0, 7), 7);
    EXPECT_EQ(SpectrumSmoother::CoefficientCount(0, 1000), 1000);
    EXPECT_EQ(SpectrumSmoother::CoefficientCount(100, 1000), 0);
    EXPECT_EQ(SpectrumSmoother::CoefficientCount(50, 7), 1);  // 7 * 2500 / 10000 = 1.75
    EXPECT_EQ(SpectrumSmoother::CoefficientCount(1, 3000000), 2940300);  // no 32-bit overflow
}

TEST(Smoothing, SpectrumOfALongRangeIsAConstantForAConstantInput)
{
    ListOfFloatValuesWithIndex found = {{0, FloatVector(50000, 2.5f)}};
    SpectrumSmoother smoother(found, N);
    for (int position : {1, 37, 100})
        for (float v : smoother.Apply(position)[0].values)
            ASSERT_NEAR(v, 2.5f, 1e-5);
}

TEST(Smoothing, OrdinaryAndRecursiveWindows)
{
    const ListOfFloatValuesWithIndex found = {{5, {1, 2, 9, 4, 5, 6, 10}}, {20, {1, N, 3, N, N, N, 7, 8}}};
    ListOfFloatValuesWithIndex out;
    SmoothOrdinary(3, N, found, out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].index, 5);
    // Samples 0, 1 and 6 keep their values; 2..5 are 3-point means of the values as found.
    EXPECT_EQ(out[0].values, (FloatVector{1, 2, 5, 6, 5, 7, 10}));
    // NULL samples get the mean of their non-NULL neighbours; a window of NULLs gives NULL.
    EXPECT_EQ(out[1].values, (FloatVector{1, N, 3, 3, N, 7, 7.5f, 8}));
    SmoothRecursive(3, N, found, out);
    // The left neighbour is the value already smoothed.
    auto mean3 = [](double a, double b, double c) { return static_cast<float>((a + b + c) / 3); };
    const float r2 = mean3(2, 9, 4);
    const float r3 = mean3(r2, 4, 5);
    const float r4 = mean3(r3, 5, 6);
    const float r5 = mean3(r4, 6, 10);
    EXPECT_EQ(out[0].values, (FloatVector{1, 2, r2, r3, r4, r5, 10}));
    // w = 1 and constant ranges leave the values alone; N <= h keeps a short range as found.
    SmoothOrdinary(1, N, found, out);
    EXPECT_EQ(out[1].values, found[1].values);
    SmoothRecursive(13, N, found, out);
    EXPECT_EQ(out[0].values, found[0].values);
    const ListOfFloatValuesWithIndex flat = {{0, FloatVector(30, 4.0f)}};
    SmoothRecursive(19, N, flat, out);
    EXPECT_EQ(out[0].values, flat[0].values);
}

TEST(Smoothing, TypedWindowSizesBecomeValid)
{
    const std::pair<int, int> cases[] = {{-3, 1}, {0, 1}, {1, 1}, {4, 5}, {18, 19}, {19, 19}, {40, 19}};
    for (auto [typed, expected] : cases)
        EXPECT_EQ(ValidSmoothingWindow(typed), expected) << typed;
}
