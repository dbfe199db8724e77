// The main window over a large generated document, for the benchmarks that drive it.
#pragma once

#include "bench/BenchApplication.h"
#include "app/MainUnit.h"
#include "core/Lasfile.h"
#include "platform/RecordingDialogRunner.h"
#include "view/PanelWithCurves.h"

#include <QApplication>
#include <QDialog>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// The dialog runner the benchmark windows answer through.
inline platform::RecordingDialogRunner& BenchRunner()
{
    static platform::RecordingDialogRunner runner;
    return runner;
}

// A shown main window, its settings and profile in a temporary folder of this name, over a
// document of `curves` x `samples` (depths from 1000 m by 0.1 m, smooth values): a two-row file
// opened and then stretched, so that no large file is parsed.
inline TFormMain* MakeBenchWindow(const std::string& folder, int curves, int samples)
{
    EnsureApplication();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / folder;
    std::filesystem::create_directories(dir);
    setenv("STRATIV_HOME", dir.c_str(), 1);
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    const std::string path = (dir / "small.las").string();
    {
        std::ofstream out(path, std::ios::binary);
        out << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 1000 :\r\n STOP.M 1000.1 :\r\n"
               " STEP.M 0.1 :\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n";
        for (int c = 1; c <= curves; ++c)
            out << " C" << c << ". :\r\n";
        out << "~A\r\n1000";
        for (int c = 1; c <= curves; ++c)
            out << ' ' << c;
        out << "\r\n1000.1";
        for (int c = 1; c <= curves; ++c)
            out << ' ' << c;
        out << "\r\n";
    }
    BenchRunner().PushDialog([](QDialog&) { return int(QDialog::Accepted); });
    auto* window = new TFormMain;
    window->resize(1600, 1000);
    window->show();
    window->OpenLasFile(QString::fromStdString(path));
    TLASFile& document = *window->LasFile();
    std::vector<float> depths(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i)
        depths[std::size_t(i)] = 1000.0f + 0.1f * float(i);
    document.SetDepthValues(samples, depths.data());
    for (int c = 1; c <= curves; ++c) {
        float* values = document.GetCurveData(c);
        for (int i = 0; i < samples; ++i)
            values[i] = float(50 + 30 * std::sin(i * 0.013 + c));
    }
    window->CheckDocumentGeneration();
    window->PanelCurves->GotoDepth(1000.0 + 0.1 * samples / 2);
    QApplication::processEvents();
    return window;
}

// The panel painted now, as the screen shows it.
inline void RepaintBenchWindow(TFormMain& window)
{
    window.PanelCurves->repaint();
    QApplication::processEvents();
}

// A timed round's change shown, then its undo steps dropped untimed, so every round starts alike.
inline void RepaintAndDropUndo(benchmark::State& state, TFormMain& window)
{
    RepaintBenchWindow(window);
    state.PauseTiming();
    window.UndoStore.Clear();
    state.ResumeTiming();
}
