// The FFT correlation search gives the scan's shift and r, whatever the values' range.
#include "core/CorrelationSearch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr float N = -999.25f;

struct Pair {
    std::string name;
    std::vector<float> base, bound;
};

std::vector<float> Noise(int n, unsigned seed, float scale = 10.0f, float offset = 1000.0f)
{
    std::mt19937 random(seed);
    std::normal_distribution<float> normal(0.0f, scale);
    std::vector<float> values(static_cast<std::size_t>(n));
    for (float& v : values)
        v = offset + normal(random);
    return values;
}

std::vector<Pair> Pairs()
{
    std::vector<Pair> pairs;
    {
        // A smoothed random walk and its copy 23 samples deeper with noise and NULL runs.
        std::vector<float> walk = Noise(700, 1, 1.0f, 0.0f);
        for (std::size_t i = 1; i < walk.size(); ++i)
            walk[i] = 0.9f * walk[i - 1] + walk[i];
        Pair p{"shifted copy", std::vector<float>(walk.begin() + 50, walk.begin() + 650), {}};
        p.bound.assign(walk.begin() + 27, walk.begin() + 627);
        const std::vector<float> noise = Noise(600, 2, 0.3f, 0.0f);
        for (std::size_t i = 0; i < p.bound.size(); ++i)
            p.bound[i] += noise[i];
        std::fill(p.bound.begin() + 100, p.bound.begin() + 140, N);
        std::fill(p.base.begin() + 400, p.base.begin() + 410, N);
        pairs.push_back(std::move(p));
    }
    {
        // A walk of small swing and its copy 23 samples deeper, with one value outside the best
        // overlap that is huge (its squares swamp the transforms' rounding) or infinite.
        std::vector<float> walk = Noise(700, 13, 1.0f, 0.0f);
        for (std::size_t i = 1; i < walk.size(); ++i)
            walk[i] = 0.9f * walk[i - 1] + walk[i];
        Pair p{"huge value", {}, {}};
        for (std::size_t i = 0; i < 600; ++i) {
            p.base.push_back(100.0f + 0.01f * walk[i + 50]);
            p.bound.push_back(100.0f + 0.01f * walk[i + 27]);
        }
        Pair infinite = p;
        infinite.name = "infinite value";
        p.bound[5] = 1.0e8f;
        infinite.bound[5] = std::numeric_limits<float>::infinity();
        pairs.push_back(std::move(p));
        pairs.push_back(std::move(infinite));
    }
    pairs.push_back({"uncorrelated noise", Noise(400, 3), Noise(400, 4)});
    {
        // Constant stretches: shifts where one side is constant over the overlap do not qualify.
        Pair p{"constant stretches", Noise(300, 5), Noise(300, 6)};
        std::fill(p.bound.begin(), p.bound.begin() + 200, 7.5f);
        std::fill(p.base.begin() + 250, p.base.end(), -3.0f);
        pairs.push_back(std::move(p));
    }
    {
        // Constant over most of the curve at about its mean, with a NULL among the equal values.
        Pair p{"long constant stretch", Noise(500, 14, 1.0f, 0.0f), Noise(500, 15, 1.0f, 0.0f)};
        std::fill(p.bound.begin(), p.bound.begin() + 450, 0.0f);
        p.bound[200] = N;
        pairs.push_back(std::move(p));
    }
    {
        // A period of ten samples: equal r at many shifts, the smallest shift wins.
        Pair p{"periodic", {}, {}};
        for (int i = 0; i < 200; ++i) {
            p.base.push_back(static_cast<float>(i % 10));
            p.bound.push_back(static_cast<float>((i + 3) % 10));
        }
        pairs.push_back(std::move(p));
    }
    pairs.push_back({"too short", Noise(14, 7), Noise(14, 8)});
    pairs.push_back({"fifteen samples", Noise(15, 9), Noise(15, 10)});
    pairs.push_back({"all NULL", std::vector<float>(100, N), Noise(100, 11)});
    pairs.push_back({"constant", std::vector<float>(100, 2.0f), Noise(100, 12)});
    return pairs;
}
}  // namespace

TEST(CorrelationSearch, FftGivesTheScansShiftAndR)
{
    for (const Pair& p : Pairs()) {
        const int n = static_cast<int>(p.base.size());
        for (const auto& [lo, hi] : {std::pair{-n, n}, std::pair{-30, 5}, std::pair{10, 10}, std::pair{4, -4}}) {
            SCOPED_TRACE(p.name + " " + std::to_string(lo) + ".." + std::to_string(hi));
            float scanR = 9.0f;
            float fftR = 9.0f;
            const int scan = ScanCorrelationShifts(n, N, lo, hi, p.base.data(), p.bound.data(), scanR);
            EXPECT_EQ(FftCorrelationShifts(n, N, lo, hi, p.base.data(), p.bound.data(), fftR), scan);
            EXPECT_NEAR(fftR, scanR, 1e-6f);
        }
    }
    // The shifted copy is found, the periodic pair at its smallest best shift.
    float r = 0.0f;
    const std::vector<Pair> pairs = Pairs();
    EXPECT_EQ(FftCorrelationShifts(600, N, -600, 600, pairs[0].base.data(), pairs[0].bound.data(), r), -23);  // bound[i] = base[i - 23]
    EXPECT_GT(r, 0.9f);
    EXPECT_EQ(FftCorrelationShifts(200, N, -200, 200, pairs[6].base.data(), pairs[6].bound.data(), r), -177);
    EXPECT_FLOAT_EQ(r, 1.0f);
    for (std::size_t i : {1u, 2u}) {
        EXPECT_EQ(FftCorrelationShifts(600, N, -600, 600, pairs[i].base.data(), pairs[i].bound.data(), r), -23)
            << pairs[i].name;
        EXPECT_FLOAT_EQ(r, 1.0f);
    }
}

TEST(CorrelationSearch, FftOnlyWhereItPays)
{
    EXPECT_FALSE(FftCorrelationPays(100000, -10, 10));
    EXPECT_FALSE(FftCorrelationPays(200, -100, 100));
    EXPECT_TRUE(FftCorrelationPays(100000, -50000, 50000));
    EXPECT_TRUE(FftCorrelationPays(5000, -1000000, 1000000));  // clamped, still wide
}
