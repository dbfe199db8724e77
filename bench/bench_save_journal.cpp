// What the journal and the folder syncs cost a save of 50 MB: a save in place (a second hard link)
// with the journal against the same save with none, and a save by rename against the same save
// with one more sync of its folder (what the sync after the rename adds). Wall times count here.
#include "bench/PairedRatio.h"

#include "core/AtomicFile.h"
#include "core/SaveJournal.h"
#include "core/TempFiles.h"

#include <filesystem>
#include <string>
#include <unistd.h>

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

void BM_InPlaceSaveJournalAgainstNone(benchmark::State& state)
{
    const std::string target = (Dir().path / "linked.las").string();
    const std::string journal = (Dir().path / "journal").string();
    Save(target, "");
    fs::create_hard_link(target, Dir().path / "second-name.las");
    bench::RunPaired(
        state, [&] { Save(target, journal); }, [&] { Save(target, ""); });
    savejournal::SetFolder("");
}
BENCHMARK(BM_InPlaceSaveJournalAgainstNone)->UseManualTime()->Iterations(31)->Unit(benchmark::kMillisecond);

void BM_RenameSaveAgainstOneFolderSyncLess(benchmark::State& state)
{
    const std::string target = (Dir().path / "renamed.las").string();
    const std::string journal = (Dir().path / "journal").string();
    Save(target, journal);
    bench::RunPaired(
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
