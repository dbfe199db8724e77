// What the journal and the folder syncs cost a save of 50 MB: a save in place (a second hard link)
// with the journal against the same save with none, and a save by rename against the same save
// with one more sync of its folder (what the sync after the rename adds). Wall times count here.
#include "bench/PairedRatio.h"

#include "core/AtomicFile.h"
#include "core/SaveJournal.h"
#include "core/TempFiles.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kSize = 50u << 20;

struct BenchDir {
    fs::path path = fs::temp_directory_path() / ("strativ-bench-journal-" + std::to_string(getpid()));
    BenchDir() { fs::create_directories(path); }
    ~BenchDir() { fs::remove_all(path); }
};

const BenchDir& Dir()
{
    static const BenchDir dir;
    return dir;
}

const std::string& Content()
{
    static const std::string content(kSize, 'n');
    return content;
}

void Save(const std::string& path, const std::string& journal)
{
    savejournal::SetFolder(journal);
    if (!WriteFileAtomically(path, Content()))
        std::abort();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// As bench::RunPaired, adding the medians of both programs' wall times: a save waits for the disk.
template <typename Measured, typename Floor>
void RunPairedWall(benchmark::State& state, Measured measured, Floor floor)
{
    std::vector<double> measuredWalls;
    std::vector<double> floorWalls;
    bench::RunPairedTimed(
        state,
        [&] {
            const bench::Times times = bench::TimesOf(measured);
            measuredWalls.push_back(times.wall);
            return times;
        },
        [&] {
            const bench::Times times = bench::TimesOf(floor);
            floorWalls.push_back(times.wall);
            return times;
        });
    state.counters["measured_wall_ms"] = Median(measuredWalls) * 1e3;
    state.counters["floor_wall_ms"] = Median(floorWalls) * 1e3;
}

void BM_InPlaceSaveJournalAgainstNone(benchmark::State& state)
{
    const std::string target = (Dir().path / "linked.las").string();
    const std::string journal = (Dir().path / "journal").string();
    Save(target, "");
    fs::create_hard_link(target, Dir().path / "second-name.las");
    RunPairedWall(
        state, [&] { Save(target, journal); }, [&] { Save(target, ""); });
    savejournal::SetFolder("");
}
BENCHMARK(BM_InPlaceSaveJournalAgainstNone)->UseManualTime()->Iterations(31)->Unit(benchmark::kMillisecond);

void BM_RenameSaveAgainstOneFolderSyncLess(benchmark::State& state)
{
    const std::string target = (Dir().path / "renamed.las").string();
    const std::string journal = (Dir().path / "journal").string();
    Save(target, journal);
    RunPairedWall(
        state,
        [&] {
            Save(target, journal);
            SyncFolderOf(target);
        },
        [&] { Save(target, journal); });
    savejournal::SetFolder("");
}
BENCHMARK(BM_RenameSaveAgainstOneFolderSyncLess)->UseManualTime()->Iterations(31)->Unit(benchmark::kMillisecond);

}  // namespace
