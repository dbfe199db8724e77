// Library browser speed: listing a folder of 10,000 LAS files (headers of about 40 lines before a
// 20,000-row ~A) against reading the same headers without the window.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "bench/BenchApplication.h"
#include "core/LasParser2.h"
#include "library/LasBrowser.h"
#include "library/LogFileDBManager.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 10000;

// The folder of the run: one generated file and hard links to it under other names.
struct BenchFolder {
    fs::path root = fs::temp_directory_path() / ("strativ-bench-browser-" + std::to_string(getpid()));
    fs::path folder = root / "las";
    BenchFolder()
    {
        fs::create_directories(folder);
        const fs::path first = folder / "w00000.las";
        std::ofstream out(first, std::ios::binary);
        out << "~VERSION INFORMATION\r\n VERS.   2.0 : CWLS LOG ASCII STANDARD -VERSION 2.0\r\n"
               " WRAP.   NO  : ONE LINE PER DEPTH STEP\r\n~WELL INFORMATION\r\n"
               " STRT.M  1000.0 : START DEPTH\r\n STOP.M  2999.9 : STOP DEPTH\r\n STEP.M  0.1 : STEP\r\n"
               " NULL.   -999.25 : NULL VALUE\r\n COMP.   COMPANY : COMPANY\r\n WELL.   WELL 1 : WELL\r\n"
               " FLD .   FIELD : FIELD\r\n LOC .   LOCATION : LOCATION\r\n SRVC.   SERVICE : SERVICE\r\n"
               " DATE.   12.05.2004 : DATE\r\n UWI .   100 : UWI\r\n~CURVE INFORMATION\r\n DEPT.M : DEPTH\r\n";
        for (int c = 0; c < 20; ++c)
            out << " C" << c << ".UNIT : CURVE " << c << "\r\n";
        out << "~A\r\n";
        for (int r = 0; r < 20000; ++r) {
            out << 1000.0 + r * 0.1;
            for (int c = 0; c < 20; ++c)
                out << "  " << 10.5 + c;
            out << "\r\n";
        }
        out.close();
        for (int i = 1; i < kFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "w%05d.las", i);
            fs::create_hard_link(first, folder / name);
        }
    }
    ~BenchFolder() { fs::remove_all(root); }
};

const BenchFolder& Folder()
{
    static const BenchFolder folder;
    return folder;
}

// The application, in a settings folder of the benchmark's own.
void App()
{
    setenv("STRATIV_HOME", Folder().root.c_str(), 1);
    EnsureApplication();
}

void BM_ReadHeadersOf10000Files(benchmark::State& state)
{
    const std::string folder = Folder().folder.string() + "/";
    for (auto _ : state)
        for (const auto& entry : fs::directory_iterator(folder)) {
            TLasParser2Header header;
            benchmark::DoNotOptimize(header.ParseFile(entry.path().string()));
        }
}
BENCHMARK(BM_ReadHeadersOf10000Files)->Unit(benchmark::kMillisecond);

void BM_ListFolderOf10000Files(benchmark::State& state)
{
    App();
    LogFileDBManager manager;
    TFormLasBrowser browser(LasBrowserServices{&manager, "", nullptr, nullptr});
    browser.SortDirection = 1;
    int rows = 0;
    for (auto _ : state)
        rows = browser.FillFileList(Folder().folder.string());
    if (rows != kFiles + 1)
        state.SkipWithError("not every file was listed");
}
BENCHMARK(BM_ListFolderOf10000Files)->Unit(benchmark::kMillisecond);

} // namespace
