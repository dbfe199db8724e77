// The automatic binding's correlation search with its default limits (shifts of up to half the
// document either way) over two curves of 100,000 samples, against the scan over a few shifts
// (the scan's cost grows with the number of shifts; the whole range would take minutes).
#include "core/CorrelationSearch.h"
#include "core/Q7mathutils.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int kSamples = 100000;
constexpr float kNull = -999.25f;

struct Curves {
    std::vector<float> base, bound;
};

// A smoothed random walk and its copy 37 samples deeper with noise and NULL stretches.
const Curves& Data()
{
    static const Curves curves = [] {
        std::mt19937 random(7);
        std::normal_distribution<float> normal(0.0f, 1.0f);
        std::vector<float> walk(kSamples + 100);
        float level = 0.0f;
        for (float& v : walk)
            v = level = 0.95f * level + normal(random);
        Curves c;
        c.base.assign(walk.begin() + 50, walk.begin() + 50 + kSamples);
        c.bound.assign(walk.begin() + 13, walk.begin() + 13 + kSamples);
        for (float& v : c.bound)
            v += 0.2f * normal(random);
        for (int i = 0; i < kSamples; i += 5000)
            std::fill(c.bound.begin() + i, c.bound.begin() + i + 100, kNull);
        return c;
    }();
    return curves;
}

// Default limits: From = -half, To = half of the depth range, in steps.
void BM_AutoBindingSearchDefaultLimits(benchmark::State& state)
{
    const Curves& c = Data();
    const int half = (kSamples - 1) / 2;
    for (auto _ : state) {
        float r = 0.0f;
        const int s = FindBestCorrelationShift(kSamples, kNull, -half, half, c.base.data(), c.bound.data(), r);
        if (s != -37)
            state.SkipWithError("wrong shift");
        benchmark::DoNotOptimize(r);
    }
    state.counters["shifts"] = 2 * half + 1;
}
BENCHMARK(BM_AutoBindingSearchDefaultLimits)->Unit(benchmark::kMillisecond);

// The same search against a bound curve constant over its upper 90 % (a log not yet recorded
// there): the many shifts with a constant side must be ruled out by the transforms, not scanned.
void BM_AutoBindingSearchConstantStretch(benchmark::State& state)
{
    const Curves& c = Data();
    std::vector<float> bound = c.bound;
    std::fill(bound.begin(), bound.begin() + kSamples / 10 * 9, 0.0f);
    const int half = (kSamples - 1) / 2;
    for (auto _ : state) {
        float r = 0.0f;
        benchmark::DoNotOptimize(FindBestCorrelationShift(kSamples, kNull, -half, half, c.base.data(), bound.data(), r));
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_AutoBindingSearchConstantStretch)->Unit(benchmark::kMillisecond);

// The scan over range(0) shifts either way: its time per shift, times the default range's
// 100,000 shifts, is what the search would cost without the transforms.
void BM_ScanShifts(benchmark::State& state)
{
    const Curves& c = Data();
    const int half = static_cast<int>(state.range(0));
    for (auto _ : state) {
        float r = 0.0f;
        benchmark::DoNotOptimize(ScanCorrelationShifts(kSamples, kNull, -half, half, c.base.data(), c.bound.data(), r));
    }
    state.counters["shifts"] = 2 * half + 1;
}
BENCHMARK(BM_ScanShifts)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
