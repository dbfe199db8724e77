// Library database speed: indexing generated LAS files into a new database and again into an
// indexed one against the floor program, and the distinct-value queries of the library tree
// over 100,000 rows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include "bench/PairedRatio.h"

#include "library/LogFileDBManager.h"
#include "tests/library/LibraryFixtures.h"

namespace fs = std::filesystem;

namespace {

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

constexpr int FolderCount = 100;
constexpr int DataRows = 100;  // the ~A section behind each header: small files of about 2.5 KB

// A tree of 100 folders of fileCount / 100 files, written once and flushed to disk, so that its
// pages can be dropped from the cache.
const std::vector<std::string>& LasFiles(int fileCount)
{
    static std::map<int, std::vector<std::string>> trees;
    std::vector<std::string>& files = trees[fileCount];
    if (files.empty()) {
        files = strativ::test::MakeLibrary(Dir() / ("lib" + std::to_string(fileCount)), FolderCount,
                                           fileCount / FolderCount, DataRows);
        for (const std::string& path : files) {
            const int fd = open(path.c_str(), O_RDONLY);
            fdatasync(fd);
            close(fd);
        }
    }
    return files;
}

void DropFromCache(const std::vector<std::string>& files)
{
    for (const std::string& path : files) {
        const int fd = open(path.c_str(), O_RDONLY);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        close(fd);
    }
}

// The floor of indexing: walk the folders, read each *.las file's first block, take the six ~W
// values of the row from its lines, insert them with one prepared statement in one transaction.
class FloorIndexer {
public:
    // A new database with the logfiles table.
    explicit FloorIndexer(const std::string& database)
    {
        sqlite3_open(database.c_str(), &db_);
        sqlite3_exec(db_,
                     "CREATE TABLE logfiles( file TEXT, fld TEXT, well TEXT, comp TEXT, srvc TEXT, date TEXT, "
                     "uwi TEXT, PRIMARY KEY (file));",
                     nullptr, nullptr, nullptr);
    }
    ~FloorIndexer() { sqlite3_close(db_); }

    int Index(std::string root)
    {
        sqlite3_exec(db_, "begin transaction;", nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(db_,
                           "INSERT OR REPLACE INTO logfiles(file, fld, well, comp, srvc, date, uwi) "
                           "VALUES(?, ?, ?, ?, ?, ?, ?);",
                           -1, &insert_, nullptr);
        const int count = Folder(root);
        sqlite3_finalize(insert_);
        sqlite3_exec(db_, "commit transaction;", nullptr, nullptr, nullptr);
        return count;
    }

private:
    int Folder(std::string& path)
    {
        DIR* folder = opendir(path.c_str());
        if (!folder)
            return 0;
        int count = 0;
        const size_t length = path.size();
        while (const dirent* entry = readdir(folder)) {
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            path.append("/").append(name);
            if (entry->d_type == DT_DIR)
                count += Folder(path);
            else if (name.size() > 4 && name.substr(name.size() - 4) == ".las")
                count += File(path);
            path.resize(length);
        }
        closedir(folder);
        return count;
    }

    static std::string_view Trim(std::string_view text)
    {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
        return text;
    }

    int File(const std::string& path)
    {
        const int fd = open(path.c_str(), O_RDONLY);
        const ssize_t size = read(fd, block_, sizeof block_);
        close(fd);
        if (size <= 0)
            return 0;
        static constexpr std::string_view names[] = {"FLD", "WELL", "COMP", "SRVC", "DATE", "UWI"};
        std::string_view values[7] = {path};
        std::string_view text(block_, static_cast<size_t>(size));
        char section = 0;
        while (!text.empty() && section != 'A') {
            const size_t end = std::min(text.find('\n'), text.size());
            std::string_view line = text.substr(0, end);
            text.remove_prefix(std::min(end + 1, text.size()));
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            line = Trim(line);
            if (!line.empty() && line[0] == '~') {
                section = static_cast<char>(std::toupper(static_cast<unsigned char>(line.size() > 1 ? line[1] : 0)));
                continue;
            }
            const size_t dot = line.find('.');
            if (section != 'W' || dot == line.npos)
                continue;
            const std::string_view mnemonic = Trim(line.substr(0, dot));
            for (size_t i = 0; i < 6; ++i)
                if (values[i + 1].empty() && mnemonic == names[i]) {
                    const size_t colon = line.rfind(':');
                    const size_t unitEnd = std::min({line.find_first_of(" \t", dot), colon, line.size()});
                    values[i + 1] = Trim(line.substr(unitEnd, colon - unitEnd));
                }
        }
        for (int i = 0; i < 7; ++i)
            sqlite3_bind_text(insert_, i + 1, values[i].data(), static_cast<int>(values[i].size()), SQLITE_STATIC);
        const bool done = sqlite3_step(insert_) == SQLITE_DONE;
        sqlite3_reset(insert_);
        return done ? 1 : 0;
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    char block_[1 << 16];
};

// Indexing a tree against the floor, into a new, empty library database or again into one
// holding the tree's rows already (the idle scan's case: every row replaced), with the files in
// the page cache (warm) or dropped from it before each run (cold; folders and inodes stay cached).
void BM_IndexVsFloor(benchmark::State& state)
{
    const int fileCount = static_cast<int>(state.range(0));
    const bool cold = state.range(1) != 0;
    const bool again = state.range(2) != 0;
    const std::vector<std::string>& files = LasFiles(fileCount);
    const std::string root = Dir() / ("lib" + std::to_string(fileCount));
    const std::string database = Dir() / "index.db";
    const std::string floorDatabase = Dir() / "floor.db";
    std::unique_ptr<LogFileDBManager> manager;
    std::unique_ptr<FloorIndexer> floor;
    int measuredCount = 0;
    int floorCount = 0;
    bench::RunPaired(
        state, [&] { measuredCount = manager->RescanAllPaths(); }, [&] { floorCount = floor->Index(root); },
        [&] {
            if (!again || !manager) {
                manager.reset();
                floor.reset();
                for (const std::string& path : {database, floorDatabase})
                    for (const char* suffix : {"", "-wal", "-shm"})
                        fs::remove(path + suffix);
                manager = std::make_unique<LogFileDBManager>();
                manager->Open(database);
                manager->AddLookupPath(root);
                floor = std::make_unique<FloorIndexer>(floorDatabase);
                if (again) {
                    manager->RescanAllPaths();
                    floor->Index(root);
                }
            }
            if (cold)
                DropFromCache(files);
        });
    if (measuredCount != fileCount || floorCount != fileCount)
        state.SkipWithError("not every file was indexed");
    state.SetLabel(std::string(cold ? "cold cache" : "warm cache") + (again ? ", indexed again" : ""));
    state.SetItemsProcessed(state.iterations() * fileCount);
}
BENCHMARK(BM_IndexVsFloor)
    ->Args({10000, 0, 0})
    ->Args({10000, 1, 0})
    ->Args({10000, 0, 1})
    ->Args({10000, 1, 1})
    ->Args({100000, 0, 0})
    ->Args({100000, 1, 0})
    ->Iterations(7)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

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
