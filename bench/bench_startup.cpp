// Start-up with a 50 MB LAS file: main window created, the file opened (curve choice answered)
// and its curves drawn; against a bare read of the same bytes.
#include "app/ChooseCurves.h"
#include "app/MainUnit.h"
#include "platform/RecordingDialogRunner.h"
#include "view/PanelWithCurves.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace {

constexpr int kCurves = 20;
constexpr int kRows = 227000;

QApplication& Application()
{
    static int argc = 1;
    static char name[] = "bench_startup";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);  // lives to the end of the program
    return *app;
}

// The program folder of the run and the generated file, made once.
const std::string& Folder()
{
    static const std::string folder = [] {
        const std::filesystem::path dir = std::filesystem::temp_directory_path() / "strativ-bench-startup";
        std::filesystem::create_directories(dir);
        // Settings and the profile stay in the run's folder, away from the user's own.
        setenv("STRATIV_HOME", dir.c_str(), 1);
        setenv("XDG_DATA_HOME", dir.c_str(), 1);
        return dir.string();
    }();
    return folder;
}

const std::string& LasFile()
{
    static const std::string path = [] {
        const std::string file = Folder() + "/big.las";
        std::ofstream out(file, std::ios::binary);
        out << "~VERSION INFORMATION\r\n VERS.  2.0 : CWLS LAS 2.0\r\n WRAP.  NO : One line per depth step\r\n"
            << "~WELL INFORMATION\r\n STRT.M 1000.0 : START\r\n STOP.M " << 1000.0 + 0.1 * (kRows - 1)
            << " : STOP\r\n STEP.M 0.1 : STEP\r\n NULL. -999.25 : NULL\r\n~CURVE INFORMATION\r\n DEPT.M : DEPTH\r\n";
        for (int c = 1; c <= kCurves; ++c)
            out << " CRV" << c << ".UNIT : curve " << c << "\r\n";
        out << "~A\r\n";
        std::mt19937 random(7);
        std::uniform_real_distribution<double> value(0.0, 300.0);
        char line[64];
        for (int r = 0; r < kRows; ++r) {
            std::snprintf(line, sizeof line, "%.1f", 1000.0 + 0.1 * r);
            out << line;
            for (int c = 0; c < kCurves; ++c) {
                if (random() % 100 == 0)
                    out << " -999.25";
                else {
                    std::snprintf(line, sizeof line, " %.6f", value(random));
                    out << line;
                }
            }
            out << "\r\n";
        }
        return file;
    }();
    return path;
}

void BM_StartupWithFile(benchmark::State& state)
{
    QApplication& app = Application();
    const QString path = QString::fromStdString(LasFile());
    state.counters["MB"] = double(std::filesystem::file_size(LasFile())) / 1e6;
    for (auto _ : state) {
        platform::RecordingDialogRunner runner;
        runner.PushDialog([](QDialog&) { return int(QDialog::Accepted); });
        TFormMain window;
        window.resize(1600, 1000);
        window.show();
        if (!window.OpenLasFile(path))
            state.SkipWithError("the file did not open");
        app.processEvents();  // the first paint of the window with its curves
        benchmark::DoNotOptimize(window.PanelCurves->Bitmap().constBits());
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupWithFile)->Unit(benchmark::kMillisecond)->Iterations(5);

// Baseline: the file's bytes read into memory.
void BM_ReadFileBytes(benchmark::State& state)
{
    for (auto _ : state) {
        std::ifstream in(LasFile(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
