// Library page speed: rebuilding the library tree over 100,000 rows, listing a node of 1,000 files,
// and the worst wait of a window-side write while the idle scan indexes a folder of 30,000 files.
#include <benchmark/benchmark.h>

#include <QLineEdit>
#include <QSignalBlocker>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <unistd.h>

#include "bench/BenchApplication.h"
#include "library/CppSQLite3DB.h"
#include "library/LasBrowser.h"
#include "library/LibScanner.h"
#include "library/LogFileDBManager.h"
#include "tests/library/LibraryFixtures.h"

namespace fs = std::filesystem;

namespace {

struct BenchDir {
    fs::path path = fs::temp_directory_path() / ("strativ-bench-libpage-" + std::to_string(getpid()));
    BenchDir() { fs::create_directories(path); }
    ~BenchDir() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

const BenchDir& Dir()
{
    static const BenchDir dir;
    return dir;
}

// The application, in a settings folder of the benchmark's own.
void App()
{
    setenv("STRATIV_HOME", Dir().path.c_str(), 1);
    EnsureApplication();
}

// count hard links to one small LAS file in the folder; their paths.
std::vector<std::string> LinkedFiles(const std::string& folder, int count)
{
    fs::create_directories(folder);
    const std::string first = folder + "/f0.las";
    strativ::test::WriteLas(first, {{"FLD", "NODE"}, {"WELL", "W"}}, 20);
    std::vector<std::string> files{first};
    for (int i = 1; i < count; ++i) {
        files.push_back(folder + "/f" + std::to_string(i) + ".las");
        fs::create_hard_link(first, files.back());
    }
    return files;
}

// 100,000 rows over 100 fields of 1,000 wells, and one node of 1,000 real files.
const std::string& PageDatabase()
{
    static const std::string path = [] {
        const std::string db = Dir() / "page.db";
        { LogFileDBManager manager; manager.Open(db); }
        CppSQLite3DB conn;
        conn.Open(db);
        conn.ExecuteStatement("BEGIN;");
        for (int i = 0; i < 100000; ++i)
            conn.ExecuteStatement(("INSERT INTO logfiles(file, fld, well) VALUES('/x/" + std::to_string(i) +
                                   ".las', 'Field " + std::to_string(i % 100) + "', 'Well " + std::to_string(i) + "');")
                                      .c_str());
        for (const std::string& file : LinkedFiles(Dir() / "node", 1000))
            conn.ExecuteStatement(("INSERT INTO logfiles(file, fld, well) VALUES('" + file + "', 'NODE', 'W');").c_str());
        conn.ExecuteStatement("COMMIT;");
        return db;
    }();
    return path;
}

std::unique_ptr<TFormLasBrowser> PageBrowser(LogFileDBManager& manager)
{
    App();
    auto browser = std::make_unique<TFormLasBrowser>(LasBrowserServices{&manager, PageDatabase(), nullptr, nullptr});
    browser->PageMode = 2;
    return browser;
}

void BM_RefreshLibraryTree100000Rows(benchmark::State& state)
{
    LogFileDBManager manager;
    auto browser = PageBrowser(manager);
    {
        const QSignalBlocker quiet(browser->EditLibSearch);
        browser->EditLibSearch->setText(state.range(0) ? "A" : "");
    }
    for (auto _ : state)
        browser->RefreshLibraryTree();
}
BENCHMARK(BM_RefreshLibraryTree100000Rows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ListNodeOf1000Files(benchmark::State& state)
{
    LogFileDBManager manager;
    auto browser = PageBrowser(manager);
    int rows = 0;
    for (auto _ : state)
        rows = browser->FillLibraryFileList({}, {}, browser->GetNodeFiles("fld = 'NODE' AND well = 'W'"));
    if (rows != 1000)
        state.SkipWithError("not every file was listed");
}
BENCHMARK(BM_ListNodeOf1000Files)->Unit(benchmark::kMillisecond);

// A group added and removed in a loop on a second connection while the scanner runs (one write
// every 50 ms).
void BM_WindowWriteDuringIdleScanOf30000Files(benchmark::State& state)
{
    const std::string folder = Dir() / "scan";
    if (!fs::exists(folder))
        LinkedFiles(folder, 30000);
    for (auto _ : state) {
        const std::string db = Dir() / "scan.db";
        fs::remove(db);
        LogFileDBManager window;
        window.Open(db);
        window.AddLookupPath(folder);
        TLibScanner scanner(&window);
        const auto started = std::chrono::steady_clock::now();
        scanner.StartIdle();
        double worst = 0.0;
        while (state.range(0) && !scanner.isFinished()) {
            const auto before = std::chrono::steady_clock::now();
            window.AddFilesToGroup({"/x/a.las"}, "g");
            window.DeleteGroups({"g"});
            worst = std::max(worst, std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count());
            std::this_thread::sleep_for(std::chrono::milliseconds(50));  // a user's pace, not a tight loop
        }
        scanner.wait();
        state.counters["worst_write_s"] = worst;
        state.counters["scan_s"] = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        state.counters["scanned"] = scanner.ScannedCount();
    }
}
// Arg 0: the scan alone; 1: with the window's writes.
BENCHMARK(BM_WindowWriteDuringIdleScanOf30000Files)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
