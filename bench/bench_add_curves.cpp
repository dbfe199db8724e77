// Adding 10 curves of a 1,000,000-row source to a 1,000,000-row target with another step.
#include <benchmark/benchmark.h>

#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "BenchDocument.h"
#include "datawin/AddCurves.h"

namespace {

constexpr int kRows = 1000000;

std::unique_ptr<TLASFile> MakeDocument(const char* name, int curves, double top, double step)
{
    return MakeBenchDocument(name, curves, kRows, top, step);
}

void BM_AddTenCurvesOfAMillionRows(benchmark::State& state)
{
    const auto source = MakeDocument("strativ-bench-add-source.las", 10, 1000.0, 0.2);
    std::vector<int> curves(10);
    std::iota(curves.begin(), curves.end(), 1);
    for (auto _ : state) {
        state.PauseTiming();
        auto target = MakeDocument("strativ-bench-add-target.las", 2, 1000.0, 0.1);
        state.ResumeTiming();
        std::string error;
        if (!AddCheckedCurves(*target, *source, curves, {}, error))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(target->GetCurveData(12));
    }
}
BENCHMARK(BM_AddTenCurvesOfAMillionRows)->Unit(benchmark::kMillisecond);

}  // namespace
