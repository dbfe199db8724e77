// Cost of one undo snapshot of a large document: 20 curves x 1,000,000 samples.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/Lasfile.h"
#include "core/data_dump_restore.h"

namespace {

constexpr int kCurves = 20;
constexpr int kSamples = 1000000;

// A two-row file with 20 curves, then stretched to a million samples.
std::unique_ptr<TLASFile> MakeDocument()
{
    const std::string path = (std::filesystem::temp_directory_path() / "strativ-bench-undo.las").string();
    {
        std::ofstream out(path, std::ios::binary);
        out << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 0 :\r\n STOP.M 0.1 :\r\n STEP.M 0.1 :\r\n"
               " NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n";
        for (int i = 1; i < kCurves; ++i)
            out << " C" << i << ". :\r\n";
        out << "~A\r\n";
        for (int row = 0; row < 2; ++row) {
            out << row * 0.1;
            for (int i = 1; i < kCurves; ++i)
                out << ' ' << i;
            out << "\r\n";
        }
    }
    auto las = std::make_unique<TLASFile>(path, 2);
    std::filesystem::remove(path);
    std::vector<float> depths(kSamples);
    for (int i = 0; i < kSamples; ++i)
        depths[i] = 0.1f * static_cast<float>(i);
    las->SetDepthValues(kSamples, depths.data());
    return las;
}

void BM_DumpRestoreCurveDataDump(benchmark::State& state)
{
    const std::unique_ptr<TLASFile> las = MakeDocument();
    if (las->GetCurvesCount() != kCurves || las->GetPointCount() != kSamples) {
        state.SkipWithError("the document was not built");
        return;
    }
    DumpRestoreCurveData store;
    store.SetLasFile(las.get());
    for (auto _ : state)
        store.Dump("'Карандаш'");  // steady state: full store, the oldest step dropped each time
    state.SetBytesProcessed(state.iterations() * int64_t(kCurves) * kSamples * int64_t(sizeof(float)));
}
BENCHMARK(BM_DumpRestoreCurveDataDump)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
