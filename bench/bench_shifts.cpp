// Depth shifts in the main window over 20 curves x 1,000,000 samples: the keeping shift of one
// curve (undo snapshot, growth of every array, re-attach and repaint), and one step of the
// preview of the shift by hand with 5 selected curves (the copies moved and the panel
// repainted), each against a bare copy of the same bytes.
#include "bench/BenchDocument.h"
#include "bench/BenchMainWindow.h"
#include "editing/ManualShiftTool.h"
#include "ui_MainUnit.h"

#include <QMouseEvent>

#include <benchmark/benchmark.h>

namespace {

constexpr int kCurves = 20;
constexpr int kSamples = 1000000;
constexpr int kSelected = 5;

TFormMain& Window()
{
    static TFormMain* window = MakeBenchWindow("strativ-bench-shifts", kCurves, kSamples);
    return *window;
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// Shifts of 1.3 m up and down in turn, so the document grows by 13 samples each time; the
// undo store is emptied between iterations, untimed, so that it never holds more than a step.
void BM_KeepingShiftOfOneCurve(benchmark::State& state)
{
    TFormMain& window = Window();
    bool down = true;
    for (auto _ : state) {
        BenchRunner().PushText(down ? "1.3" : "-1.3");
        down = !down;
        window.ShiftCurveKeep(0);
        RepaintAndDropUndo(state, window);
    }
    state.counters["samples"] = window.LasFile()->GetPointCount();
}
BENCHMARK(BM_KeepingShiftOfOneCurve)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// The reference set by a click in the middle of the panel; each step is a move of the mouse to
// another row, as the preview follows it.
void BM_ManualShiftPreviewStep(benchmark::State& state)
{
    TFormMain& window = Window();
    TPanelWithCurves& panel = *window.PanelCurves;
    for (int i = 0; i < kSelected; ++i)
        panel.GetCurve(i)->SetSelected(true);
    window.Form().TBDeptShiftGroup->trigger();
    const QPoint center = panel.DrawingArea().center();
    SendMouse(panel, QEvent::MouseButtonPress, center, Qt::LeftButton);
    SendMouse(panel, QEvent::MouseButtonRelease, center, Qt::NoButton);
    int step = 0;
    for (auto _ : state) {
        step = (step + 7) % 200;
        SendMouse(panel, QEvent::MouseMove, center + QPoint(0, step - 100), Qt::NoButton);
        RepaintBenchWindow(window);
    }
    // Samples of the last step's shift: not 0 when the preview followed the mouse.
    state.counters["shift"] = static_cast<TManualShiftTool*>(window.ToolOf(window.Form().TBDeptShiftGroup))->Shift();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &escape);
}
BENCHMARK(BM_ManualShiftPreviewStep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);

// Baseline: one copy of the 5 selected curves, the least a preview step can move.
void BM_CopyOfFiveCurves(benchmark::State& state)
{
    const TLASFile& document = *Window().LasFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(CopyOfCurves(document, 1, kSelected).data());
}
BENCHMARK(BM_CopyOfFiveCurves)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
