// The window thread while a folder of 10,000 LAS files is added to the library: its longest
// stall (the longest gap between the ticks of a 1 ms timer) with the scan on a thread of its own
// behind the progress, against the same scan run on the window thread, where the stall is the
// whole scan. The two alternate in each iteration; the files are in the page cache (warm) or
// dropped from it before each scan (cold). A window is shown first, as the browser's is.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "bench/BenchApplication.h"
#include "library/LibScanner.h"
#include "library/LogFileDBManager.h"
#include "tests/library/LibraryFixtures.h"

namespace fs = std::filesystem;

namespace {

// A temporary folder kept for the whole run.
const fs::path& Folder()
{
    static const struct Kept {
        fs::path path = fs::temp_directory_path() / ("strativ-bench-stall-" + std::to_string(getpid()));
        ~Kept() { fs::remove_all(path); }
    } folder;
    return folder.path;
}

// The longest time the window thread answered no timer.
class StallMeter {
public:
    StallMeter()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        clock_.start();
        timer_.start();
    }
    double LongestMs()
    {
        Tick();
        return static_cast<double>(longest_) * 1e-6;
    }

private:
    void Tick()
    {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

void DropFromCache(const std::vector<std::string>& files)
{
    for (const std::string& path : files) {
        const int fd = open(path.c_str(), O_RDONLY);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        close(fd);
    }
}

// Adds the folder to a new library, on a scan thread or on the window thread; the stall in ms.
double AddFolder(const std::string& lib, bool onScanThread, int& scanned)
{
    const std::string db = (Folder() / "lib.db").string();
    fs::remove(db);
    LogFileDBManager manager;
    manager.Open(db);
    StallMeter meter;
    if (onScanThread) {
        TLibScanner scanner(&manager, lib);
        scanner.RunWithProgress(QStringLiteral("Сканирование каталогов"));
        scanned = scanner.ScannedCount();
    } else {
        manager.AddLookupPath(lib);
        scanned = manager.RescanAllPaths();
    }
    return meter.LongestMs();
}

void BM_WindowStallWhileAddingAFolderOf10000Files(benchmark::State& state)
{
    EnsureApplication();
    const bool cold = state.range(0) != 0;
    const std::string lib = (Folder() / "lib").string();
    static std::vector<std::string> files;
    if (files.empty()) {
        files = strativ::test::MakeLibrary(lib, 100, 100, 100);
        for (const std::string& path : files) {
            const int fd = open(path.c_str(), O_RDONLY);
            fdatasync(fd);
            close(fd);
        }
        // A folder is added from the browser, whose window is up: fonts and style are loaded.
        QPushButton window(QStringLiteral("Обзор файлов Las"));
        window.show();
        QApplication::processEvents();
    }
    double threadWorst = 0.0, windowWorst = 0.0, threadSum = 0.0, windowSum = 0.0;
    int scanned = 0;
    bool threadFirst = true;
    for (auto _ : state) {
        for (const bool onScanThread : {threadFirst, !threadFirst}) {
            if (cold)
                DropFromCache(files);
            const double stall = AddFolder(lib, onScanThread, scanned);
            (onScanThread ? threadWorst : windowWorst) = std::max(onScanThread ? threadWorst : windowWorst, stall);
            (onScanThread ? threadSum : windowSum) += stall;
            if (scanned != 10000)
                state.SkipWithError("not every file was scanned");
        }
        threadFirst = !threadFirst;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["scan_thread_longest_stall_ms"] = threadWorst;
    state.counters["scan_thread_mean_stall_ms"] = threadSum / runs;
    state.counters["window_thread_longest_stall_ms"] = windowWorst;
    state.counters["window_thread_mean_stall_ms"] = windowSum / runs;
}
BENCHMARK(BM_WindowStallWhileAddingAFolderOf10000Files)->Arg(0)->Arg(1)->Iterations(6)->Unit(benchmark::kSecond);

}  // namespace
