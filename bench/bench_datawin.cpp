// LAS editor window over a 200,000-row x 20-curve file (about 40 MB): opening it in the table
// page until the grid is painted, "Искать" of an absent text over all 4,000,000 cells, and loading
// it into the text page; a bare read of the same file and a bare core load are the baselines.
#include "bench/BenchApplication.h"
#include "core/Lasfile.h"
#include "datawin/FindInGrid.h"
#include "datawin/LasEditor.h"
#include "datawin/LasGridView.h"
#include "datawin/LasTableModel.h"
#include "datawin/SaveToLas.h"
#include "platform/DialogRunner.h"
#include "ui_FindInGrid.h"
#include "ui_LasEditor.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

constexpr int kRows = 200000;
constexpr int kCurves = 20;

// Answers every message box with OK, so the find's "not found" does not block.
class SilentRunner : public platform::DialogRunner {
public:
    int Message(QWidget*, const QString&, const QString&, int) override { return platform::IDOK; }
    bool InputText(QWidget*, const QString&, const QString&, QString&) override { return false; }
    bool Color(QWidget*, std::uint32_t&) override { return false; }
    QStringList Files(QWidget*, platform::FileDialogKind, const platform::FileDialogOptions&) override { return {}; }
    int Exec(QDialog&) override { return 0; }
};

const std::string& BigFile()
{
    static const std::string path = [] {
        const std::string folder = (std::filesystem::temp_directory_path() / "strativ-bench-datawin").string();
        std::filesystem::create_directories(folder);
        const std::string file = folder + "/big.las";
        std::ofstream out(file, std::ios::binary);
        out << "~Version\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~Well\r\n STRT.M 1000.0 :\r\n STOP.M "
            << 1000.0 + 0.1 * (kRows - 1) << " :\r\n STEP.M 0.1 :\r\n NULL. -999.25 :\r\n~Curve\r\n DEPT.M :\r\n";
        for (int c = 1; c < kCurves; ++c)
            out << " C" << c << ".U :\r\n";
        out << "~A\r\n";
        char line[64];
        for (int r = 0; r < kRows; ++r) {
            std::snprintf(line, sizeof line, "%.1f", 1000.0 + 0.1 * r);
            out << line;
            for (int c = 1; c < kCurves; ++c) {
                std::snprintf(line, sizeof line, " %10.4f", 50 + 30 * std::sin(r * 0.013 + c));
                out << line;
            }
            out << "\r\n";
        }
        return file;
    }();
    return path;
}

struct Window {
    SilentRunner runner;
    platform::DialogRunner* previous = platform::SetRunner(&runner);
    TFormSaveToLas save;
    TFormEditor editor{save};
    Window()
    {
        editor.resize(1200, 800);
        editor.show();
        editor.SetFolder(QString::fromStdString(std::filesystem::path(BigFile()).parent_path().string()));
    }
    ~Window() { platform::SetRunner(previous); }
    // Picks the file after another pick, so that each pass loads it again.
    void Pick(QListWidget& list)
    {
        list.setCurrentRow(-1);
        list.setCurrentRow(0);
    }
};

void BM_BareRead(benchmark::State& state)
{
    std::string bytes(std::filesystem::file_size(BigFile()), '\0');
    for (auto _ : state) {
        std::FILE* file = std::fopen(BigFile().c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);
    }
}

void BM_CoreLoad(benchmark::State& state)
{
    for (auto _ : state) {
        TLASFile document(BigFile(), 2);
        benchmark::DoNotOptimize(document.GetPointCount());
    }
}

void BM_OpenInTablePage(benchmark::State& state)
{
    EnsureApplication();
    Window window;
    QListWidget& list = *window.editor.Form().FileListBox;
    for (auto _ : state) {
        window.Pick(list);
        window.editor.Form().StringGrid->viewport()->repaint();
    }
    state.counters["rows"] = window.editor.GridModel().rowCount();
}

void BM_FindAbsentText(benchmark::State& state)
{
    EnsureApplication();
    Window window;
    window.Pick(*window.editor.Form().FileListBox);
    window.editor.Form().StringGrid->SetCurrent(1, 1);
    window.editor.OpenFindWindow();
    TFormFindInGrid& find = window.editor.FindWindow();
    find.Form().EditSearchString->setText(QString::fromUtf8(state.range(0) ? "12345.6789" : "abc"));
    find.Form().RadioEverywhere->setChecked(true);
    for (auto _ : state)
        find.ButtonSearchClick();
    state.counters["cells"] = double(kRows) * kCurves;
}

void BM_LoadTextPage(benchmark::State& state)
{
    EnsureApplication();
    Window window;
    window.editor.Form().PageControl->setCurrentIndex(1);
    for (auto _ : state) {
        window.editor.LoadText(QString::fromStdString(BigFile()));
        QApplication::processEvents();
    }
}

BENCHMARK(BM_BareRead)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CoreLoad)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenInTablePage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FindAbsentText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_LoadTextPage)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
