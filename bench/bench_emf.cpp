// Writing an EMF picture: 10 traces of 1,000,000 line segments in all and 10,000 texts,
// against a bare loop that stores the same points.
#include "bench/BenchApplication.h"
#include "platform/EmfCanvas.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int Traces = 10;
constexpr int SegmentsPerTrace = 100000;
constexpr int Texts = 10000;


int X(int trace, int i) { return 100 * trace + static_cast<int>(40.0 * std::sin(i * 0.01 * (trace + 1))); }

void BM_EmfPicture(benchmark::State& state)
{
    EnsureApplication();
    const std::string path = (std::filesystem::temp_directory_path() / "bench_emf.emf").string();
    std::uintmax_t size = 0;
    for (auto _ : state) {
        platform::EmfCanvas canvas(path, platform::EmfReference{}, {0, 0, 30000, 2700000});
        for (int t = 0; t < Traces; ++t) {
            canvas.pen.color = static_cast<platform::CanvasColor>(0x100 * t);
            canvas.MoveTo(X(t, 0), 0);
            for (int i = 1; i <= SegmentsPerTrace; ++i)
                canvas.LineTo(X(t, i), i);
        }
        for (int i = 0; i < Texts; ++i)
            canvas.TextOut(5, i * 10, std::to_string(1000 + i));
        if (!canvas.Finish())
            state.SkipWithError(canvas.Error().c_str());
        size = std::filesystem::file_size(path);
    }
    state.counters["file_MB"] = static_cast<double>(size) / 1e6;
    std::filesystem::remove(path);
}
BENCHMARK(BM_EmfPicture)->Unit(benchmark::kMillisecond);

void BM_BarePoints(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<int> points;
        for (int t = 0; t < Traces; ++t)
            for (int i = 0; i <= SegmentsPerTrace; ++i) {
                points.push_back(X(t, i));
                points.push_back(i);
            }
        benchmark::DoNotOptimize(points.data());
    }
}
BENCHMARK(BM_BarePoints)->Unit(benchmark::kMillisecond);

}  // namespace
