// Editing in the main window over 20 curves x 1,000,000 samples: a top-cut click (undo
// snapshot, the cut and the repaint), and the undo and redo of that step (exchange of the
// arrays, the document-changed routine and the repaint), against a bare copy of the document.
#include "app/MainUnit.h"
#include "core/Lasfile.h"
#include "editing/PanelTool.h"
#include "platform/RecordingDialogRunner.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QApplication>
#include <QDialog>

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {

constexpr int kCurves = 20;
constexpr int kSamples = 1000000;

QApplication& Application()
{
    static int argc = 1;
    static char name[] = "bench_editing";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The main window over a document of kCurves x kSamples, made once: a two-row file opened and
// then stretched, so no large file is parsed.
TFormMain& Window()
{
    static TFormMain* window = [] {
        Application();
        const std::filesystem::path dir = std::filesystem::temp_directory_path() / "strativ-bench-editing";
        std::filesystem::create_directories(dir);
        setenv("STRATIV_HOME", dir.c_str(), 1);
        setenv("XDG_DATA_HOME", dir.c_str(), 1);
        const std::string path = (dir / "small.las").string();
        {
            std::ofstream out(path, std::ios::binary);
            out << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 1000 :\r\n STOP.M 1000.1 :\r\n"
                   " STEP.M 0.1 :\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n";
            for (int c = 1; c <= kCurves; ++c)
                out << " C" << c << ". :\r\n";
            out << "~A\r\n1000";
            for (int c = 1; c <= kCurves; ++c)
                out << ' ' << c;
            out << "\r\n1000.1";
            for (int c = 1; c <= kCurves; ++c)
                out << ' ' << c;
            out << "\r\n";
        }
        static platform::RecordingDialogRunner runner;
        runner.PushDialog([](QDialog&) { return int(QDialog::Accepted); });
        auto* w = new TFormMain;
        w->resize(1600, 1000);
        w->show();
        w->OpenLasFile(QString::fromStdString(path));
        TLASFile& document = *w->LasFile();
        std::vector<float> depths(kSamples);
        for (int i = 0; i < kSamples; ++i)
            depths[std::size_t(i)] = 1000.0f + 0.1f * float(i);
        document.SetDepthValues(kSamples, depths.data());
        for (int c = 1; c <= kCurves; ++c) {
            float* values = document.GetCurveData(c);
            for (int i = 0; i < kSamples; ++i)
                values[i] = float(50 + 30 * std::sin(i * 0.013 + c));
        }
        w->CheckDocumentGeneration();
        w->PanelCurves->GotoDepth(1000.0 + 0.1 * kSamples / 2);
        QApplication::processEvents();
        return w;
    }();
    return *window;
}

void Repaint(TFormMain& window)
{
    window.PanelCurves->repaint();
    QApplication::processEvents();
}

void CutClick(TFormMain& window)
{
    TPanelWithCurves& panel = *window.PanelCurves;
    const QPoint at = panel.DrawingArea().center();
    window.ToolOf(window.Form().TBCutCurveTop)->CurveClick(0, at);
    Repaint(window);
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
        Repaint(window);
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
    TFormMain& window = Window();
    const TLASFile& document = *window.LasFile();
    for (auto _ : state) {
        std::vector<std::vector<float>> copy;
        for (int c = 0; c <= kCurves; ++c)
            copy.emplace_back(document.GetCurveData(c), document.GetCurveData(c) + kSamples);
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyOfTheDocument)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
