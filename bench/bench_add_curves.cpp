// Adding 10 curves of a 1,000,000-row source to a 1,000,000-row target with another step.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "core/Lasfile.h"
#include "datawin/AddCurves.h"

namespace {

constexpr int kRows = 1000000;

// A two-row file of `curves` curves stretched to a million rows of `step`.
std::unique_ptr<TLASFile> MakeDocument(const char* name, int curves, double top, double step)
{
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    {
        std::ofstream out(path, std::ios::binary);
        out << "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STRT.M " << top << " :\n STOP.M " << top + step << " :\n STEP.M "
            << step << " :\n NULL. -999.25 :\n~C\n DEPT.M :\n";
        for (int i = 1; i <= curves; ++i)
            out << " C" << i << ". :\n";
        out << "~A\n";
        for (int row = 0; row < 2; ++row) {
            out << top + row * step;
            for (int i = 1; i <= curves; ++i)
                out << ' ' << i + row;
            out << "\n";
        }
    }
    auto las = std::make_unique<TLASFile>(path, 2);
    std::filesystem::remove(path);
    std::vector<float> depths(kRows);
    for (int i = 0; i < kRows; ++i)
        depths[i] = static_cast<float>(top + step * i);
    las->SetDepthValues(kRows, depths.data());
    return las;
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
