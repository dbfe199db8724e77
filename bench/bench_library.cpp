// Library database speed: indexing generated LAS files into a new database, and the
// distinct-value queries of the library tree over 100,000 rows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "library/LogFileDBManager.h"
#include "tests/library/LibraryFixtures.h"

namespace fs = std::filesystem;

namespace {

constexpr int FolderCount = 100;
constexpr int FilesPerFolder = 100;
constexpr int DataRows = 500;  // the ~A section behind each header, about 10 KB

// A temporary folder kept for the whole run.
class BenchDir {
public:
    BenchDir() : path_(fs::temp_directory_path() / ("strativ-bench-" + std::to_string(getpid()))) { fs::create_directories(path_); }
    ~BenchDir() { fs::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

BenchDir& Dir()
{
    static BenchDir dir;
    return dir;
}

const std::vector<std::string>& LasFiles()
{
    static const std::vector<std::string> files =
        strativ::test::MakeLibrary(Dir() / "lib", FolderCount, FilesPerFolder, DataRows);
    return files;
}

void BM_IndexLasFiles(benchmark::State& state)
{
    const size_t fileCount = LasFiles().size();
    const std::string database = Dir() / "index.db";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(database);
        state.ResumeTiming();
        LogFileDBManager manager;
        manager.Open(database);
        manager.AddLookupPath(Dir() / "lib");
        if (manager.RescanAllPaths() != static_cast<int>(fileCount))
            state.SkipWithError("not every file was indexed");
    }
    state.SetItemsProcessed(state.iterations() * fileCount);
}
BENCHMARK(BM_IndexLasFiles)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Baseline: opening each file and reading its first block, as any header read must.
void BM_ReadFirstBlockBaseline(benchmark::State& state)
{
    std::vector<char> block(4096);
    for (auto _ : state) {
        size_t bytes = 0;
        for (const std::string& path : LasFiles()) {
            std::FILE* file = std::fopen(path.c_str(), "rb");
            bytes += std::fread(block.data(), 1, block.size(), file);
            std::fclose(file);
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * LasFiles().size());
}
BENCHMARK(BM_ReadFirstBlockBaseline)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// 100,000 rows over 300 fields and 2,000 wells, a third of the files in 20 groups.
LogFileDBManager& TreeDatabase()
{
    static const std::unique_ptr<LogFileDBManager> manager = [] {
        const std::string database = Dir() / "tree.db";
        auto made = std::make_unique<LogFileDBManager>();
        made->Open(database);
        strativ::test::LibraryDbProbe probe(database);
        probe.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                      "INSERT INTO logfiles SELECT '/data/f' || i || '.las', 'Field ' || (i % 300), "
                      "'Well ' || (i % 2000), 'Comp', 'Srvc', '13-DEC-86', i FROM n;"
                      "INSERT INTO groups SELECT 'Group ' || (rowid % 20), file FROM logfiles WHERE rowid % 3 = 0;");
        return made;
    }();
    return *manager;
}

void BM_SelectDistinctValues(benchmark::State& state)
{
    static const struct {
        const char* column;
        std::vector<std::string> levels;
        const char* condition;
    } queries[] = {
        {"fld", {"fld", "well"}, "fld LIKE '%%'  OR well LIKE '%%' "},
        {"well", {"fld", "well"}, "fld = 'Field 7' AND (fld LIKE '%1%'  OR well LIKE '%1%' )"},
        {"fld", {"gr_name", "fld", "well"}, "gr_name = 'Group 3'"},
        {"file", {"fld", "well"}, "fld = 'Field 7' AND well = 'Well 7'"},
    };
    const auto& query = queries[state.range(0)];
    LogFileDBManager& manager = TreeDatabase();
    size_t values = 0;
    for (auto _ : state)
        values = manager.SelectDistinctValues(query.column, query.levels, query.condition).size();
    state.SetLabel(std::string(query.column) + " where " + query.condition + ": " + std::to_string(values) + " values");
}
BENCHMARK(BM_SelectDistinctValues)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Baseline: one pass over the column the first query reads.
void BM_ScanColumnBaseline(benchmark::State& state)
{
    TreeDatabase();
    strativ::test::LibraryDbProbe probe(Dir() / "tree.db");
    for (auto _ : state)
        benchmark::DoNotOptimize(probe.Rows("SELECT max(fld) FROM logfiles;"));
}
BENCHMARK(BM_ScanColumnBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
