// Cost of one undo snapshot of a large document: 20 curves x 1,000,000 samples.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "BenchDocument.h"
#include "core/Lasfile.h"
#include "core/data_dump_restore.h"

namespace {

constexpr int kCurves = 20;
constexpr int kSamples = 1000000;

void BM_DumpRestoreCurveDataDump(benchmark::State& state)
{
    const std::unique_ptr<TLASFile> las = MakeBenchDocument("strativ-bench-undo.las", kCurves - 1, kSamples, 0.0, 0.1);
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
