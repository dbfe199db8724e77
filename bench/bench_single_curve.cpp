// Single-curve window over a 20-curve document of 1,000,000 samples: opening a window until its
// first paint, and a shift of the whole curve with its undo snapshot; a bare pass over the
// curve and a bare copy of the document are the baselines.
#include "BenchApplication.h"
#include "BenchDocument.h"
#include "core/Lasfile.h"
#include "core/MathExpression.h"
#include "core/data_dump_restore.h"
#include "datawin/SingleCurve.h"
#include "datawin/SynchSingleWindows.h"
#include "editing/IntervalManager.h"
#include "ui_SingleCurve.h"

#include <QAction>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kCurves = 20;
constexpr int kSamples = 1000000;

std::unique_ptr<TLASFile> MakeDocument()
{
    return MakeBenchDocument("strativ-bench-single.las", kCurves - 1, kSamples, 0.0, 0.1);
}

struct Fixture {
    Fixture() : document(MakeDocument()), list(&store, &intervals)
    {
        EnsureApplication();
        store.SetLasFile(document.get());
        intervals.SetTopBottom(document->GetTopDepth(), document->GetBottomDepth());
        list.SetLasFile(document.get());
    }
    ~Fixture()
    {
        list.SetLasFile(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        store.SetLasFile(nullptr);
    }

    std::unique_ptr<TLASFile> document;
    DumpRestoreCurveData store;
    IntervalManager intervals;
    TSynchSingleWindows list;
};

void BM_OpenSingleCurveWindow(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state) {
        f.list.OpenWindow(1, 0x0000FF, 200);
        TFormSingleCurve* window = f.list.Window(f.list.Count() - 1);
        window->repaint();  // the first paint, synchronously
        state.PauseTiming();
        f.list.CloseAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenSingleCurveWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: one pass over the curve's samples (what the window's statistics cost at least).
void BM_BareCurvePass(benchmark::State& state)
{
    const std::unique_ptr<TLASFile> document = MakeDocument();
    const float* values = document->GetCurveData(1);
    for (auto _ : state) {
        const auto [low, high] = std::minmax_element(values, values + kSamples);
        benchmark::DoNotOptimize(*low + *high);
    }
}
BENCHMARK(BM_BareCurvePass)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShiftWholeCurveWithSnapshot(benchmark::State& state)
{
    Fixture f;
    f.list.OpenWindow(1, 0x0000FF, 200);
    TFormSingleCurve& window = *f.list.Window(0);
    window.repaint();
    SetAskNumberHook([](const std::string&, const std::string&, int, double, double, double& value) {
        value = 0.5;
        return true;
    });
    for (auto _ : state) {
        window.Form().TBShiftAmplitude->trigger();  // no selection: the whole curve at once
        window.repaint();
    }
    SetAskNumberHook({});
    state.SetBytesProcessed(state.iterations() * int64_t(kCurves) * kSamples * int64_t(sizeof(float)));
}
BENCHMARK(BM_ShiftWholeCurveWithSnapshot)->Unit(benchmark::kMillisecond)->UseRealTime();

// Baseline: a bare copy of every curve (the snapshot's floor) and one pass adding to the curve.
void BM_BareCopyAndShift(benchmark::State& state)
{
    const std::unique_ptr<TLASFile> document = MakeDocument();
    std::vector<std::vector<float>> copies(kCurves, std::vector<float>(kSamples));
    for (auto _ : state) {
        for (int c = 0; c < kCurves; ++c)
            std::memcpy(copies[c].data(), document->GetCurveData(c), kSamples * sizeof(float));
        float* values = document->GetCurveData(1);
        for (int i = 0; i < kSamples; ++i)
            values[i] += 0.5f;
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(kCurves) * kSamples * int64_t(sizeof(float)));
}
BENCHMARK(BM_BareCopyAndShift)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
