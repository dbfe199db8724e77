// Editing in the main window over 20 curves x 1,000,000 samples: a top-cut click (undo
// snapshot, the cut and the repaint), and the undo and redo of that step (exchange of the
// arrays, the document-changed routine and the repaint), against a bare copy of the document.
#include "bench/BenchDocument.h"
#include "bench/BenchMainWindow.h"
#include "editing/PanelTool.h"
#include "ui_MainUnit.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kCurves = 20;
constexpr int kSamples = 1000000;

TFormMain& Window()
{
    static TFormMain* window = MakeBenchWindow("strativ-bench-editing", kCurves, kSamples);
    return *window;
}

void CutClick(TFormMain& window)
{
    TPanelWithCurves& panel = *window.PanelCurves;
    const QPoint at = panel.DrawingArea().center();
    window.ToolOf(window.Form().TBCutCurveTop)->CurveClick(0, at);
    RepaintBenchWindow(window);
}

void BM_TopCutClick(benchmark::State& state)
{
    TFormMain& window = Window();
    window.Form().TBCutCurveTop->trigger();
    for (auto _ : state)
        CutClick(window);
    window.UndoStore.Clear();
}
BENCHMARK(BM_TopCutClick)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// One undo (or redo) of a cut, timed with the repaint; the step back is not timed.
void UndoRedoOfACut(benchmark::State& state, bool redo)
{
    TFormMain& window = Window();
    window.Form().TBCutCurveTop->trigger();
    CutClick(window);
    for (auto _ : state) {
        state.PauseTiming();
        if (redo)
            window.TBUndoClick();
        state.ResumeTiming();
        redo ? window.TBRedoClick() : window.TBUndoClick();
        RepaintBenchWindow(window);
        state.PauseTiming();
        if (!redo)
            window.TBRedoClick();
        state.ResumeTiming();
    }
    window.UndoStore.Clear();
}

void BM_UndoOfACut(benchmark::State& state)
{
    UndoRedoOfACut(state, false);
}
BENCHMARK(BM_UndoOfACut)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void BM_RedoOfACut(benchmark::State& state)
{
    UndoRedoOfACut(state, true);
}
BENCHMARK(BM_RedoOfACut)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// Baseline: one copy of every array of the document, as a snapshot makes.
void BM_CopyOfTheDocument(benchmark::State& state)
{
    const TLASFile& document = *Window().LasFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(CopyOfCurves(document, 0, kCurves).data());
}
BENCHMARK(BM_CopyOfTheDocument)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
