// The library database: schema, folder scans, groups, distinct values, missing files.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

#include "core/CodePages.h"
#include "library/LogFileDBManager.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"
#include "tests/library/LibraryFixtures.h"

namespace fs = std::filesystem;
using namespace strativ::test;

namespace {

class LibraryDb : public ::testing::Test {
protected:
    void SetUp() override { manager.Open(dbPath); }
    std::string Las(const std::string& relative, const std::string& well = "W", const std::string& fld = "F")
    {
        WriteLas(dir.file(relative), {{"WELL", well}, {"FLD", fld}});
        return dir.file(relative);
    }
    Strings Files() { return probe.Rows("SELECT file FROM logfiles ORDER BY file;"); }

    TempDir dir;
    const std::string dbPath = dir.file("las_files.db");
    LogFileDBManager manager;
    LibraryDbProbe probe{dbPath};
};

TEST_F(LibraryDb, SchemaIsCreatedOnceAndChecked)
{
    const Strings tables = {
        "CREATE TABLE groups( gr_name TEXT COLLATE NOCASE NOT NULL, file TEXT NOT NULL , "
        "PRIMARY KEY (gr_name, file))",
        "CREATE TABLE logfiles( file TEXT, fld TEXT, well TEXT, comp TEXT, srvc TEXT, date TEXT, uwi TEXT, "
        "PRIMARY KEY (file))",
        "CREATE TABLE lookups( path TEXT, PRIMARY KEY (path))",
        "CREATE TABLE scans( path TEXT, pid INTEGER, scan INTEGER, PRIMARY KEY (path))",
        "CREATE TABLE selections( sel_order TEXT COLLATE NOCASE NOT NULL, last_used DATE NOT NULL , "
        "PRIMARY KEY (sel_order))"};
    const std::string listing = "SELECT sql FROM sqlite_master WHERE type='table' ORDER BY name;";
    EXPECT_EQ(probe.Rows(listing), tables);
    manager.AddLookupPath("/kept");
    EXPECT_TRUE(manager.Open(dbPath));  // again, on the open manager
    EXPECT_EQ(probe.Rows(listing), tables);
    EXPECT_EQ(manager.GetLookupPaths(), Strings{"/kept"});

    // An extra column passes, and the row still goes in; a missing one refuses the file.
    const std::string old = dir.file("old.db");
    WriteLas(dir.file("a.las"), {{"WELL", "7"}});
    LibraryDbProbe(old).Execute("CREATE TABLE logfiles(file TEXT PRIMARY KEY, fld, well, comp, srvc, date, uwi, x);"
                                "CREATE TABLE lookups(path); CREATE TABLE groups(gr_name, file);"
                                "CREATE TABLE selections(sel_order, last_used);");
    EXPECT_TRUE(manager.Open(old));
    EXPECT_TRUE(manager.AddFile(dir.file("a.las")));
    EXPECT_EQ(LibraryDbProbe(old).Rows("SELECT well, x FROM logfiles;"), Strings{"7|<null>"});
    LibraryDbProbe(old).Execute("ALTER TABLE logfiles DROP COLUMN uwi;");
    EXPECT_EQ(Failure([&] { manager.Open(old); }), "Ошибка при инициализации базы:\n" + old +
                                                       "\nВ файле другая база данных, без таблиц библиотеки; "
                                                       "файл не изменён");
    EXPECT_FALSE(manager.IsOpen());
    EXPECT_FALSE(manager.AddFile(dir.file("a.las")));
}

// Damaged pages are found before anything is written, and the file is left as it was; a library
// whose creation stopped after its first table is completed.
TEST(LibraryOpen, DamagedDatabaseIsRefusedUntouchedAndAnUnfinishedOneCompleted)
{
    TempDir dir;
    const std::string path = dir.file("las_files.db");
    const struct {
        const char* what;
        long offset;
    } damages[] = {{"the schema's page", 100}, {"a page of rows", 4096 * 6}};
    for (const auto& damage : damages) {
        SCOPED_TRACE(damage.what);
        fs::remove(path);
        {
            LogFileDBManager library;
            library.Open(path);
            LibraryDbProbe(path).Execute(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                "INSERT INTO logfiles(file, well) SELECT '/data/' || i || '.las', printf('%.100c', 'w') FROM n;");
        }
        std::string bytes = ReadFileBytes(path);
        ASSERT_GT(bytes.size(), 4096u * 10);
        bytes.replace(static_cast<size_t>(damage.offset), 3000, std::string(3000, '\x7f'));
        WriteFileBytes(path, bytes);

        LogFileDBManager manager;
        const std::string refused = Failure([&] { manager.Open(path); });
        EXPECT_EQ(refused.rfind("Ошибка при инициализации базы:\n" + path + "\nБаза данных повреждена", 0), 0u)
            << refused;
        EXPECT_NE(refused.find("файл не изменён"), std::string::npos) << refused;
        EXPECT_FALSE(manager.IsOpen());
        EXPECT_EQ(ReadFileBytes(path), bytes);
        EXPECT_FALSE(fs::exists(path + "-wal"));
        EXPECT_FALSE(fs::exists(path + "-shm"));
    }

    fs::remove(path);
    LibraryDbProbe(path).Execute("CREATE TABLE logfiles( file TEXT, fld TEXT, well TEXT, comp TEXT, srvc TEXT, "
                                 "date TEXT, uwi TEXT, PRIMARY KEY (file));");
    LogFileDBManager manager;
    EXPECT_TRUE(manager.Open(path));
    EXPECT_EQ(LibraryDbProbe(path).Rows("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name;"),
              (Strings{"groups", "logfiles", "lookups", "scans", "selections"}));
}

TEST_F(LibraryDb, RescanIndexesEachLasFileOnceDeepestFolderFirst)
{
    const std::string top = Las("root/top.las");
    Las("root/TOP.LAS");
    Las("root/odd.Las");
    WriteLas(dir.file("root/notes.txt"), {});
    const std::string mid = Las("root/a/mid.las");
    const std::string deep = Las("root/a/b/deep.las");
    fs::create_directory_symlink(dir.file("root"), dir.file("root/a/loop"));

    manager.AddLookupPath(dir.file("root"));  // no closing separator
    std::string failure = "unset";
    EXPECT_EQ(manager.RescanAllPaths(&failure), 3);
    EXPECT_EQ(failure, "");
    EXPECT_EQ(probe.Rows("SELECT file FROM logfiles ORDER BY rowid;"), (Strings{deep, mid, top}));

    WriteLas(top, {{"WELL", "renamed"}});
    EXPECT_EQ(manager.RescanAllPaths(), 3);
    EXPECT_EQ(probe.Rows("SELECT well, fld FROM logfiles ORDER BY rowid DESC LIMIT 1;"), Strings{"renamed|"});
    EXPECT_EQ(probe.Count("logfiles"), 3);
}

TEST_F(LibraryDb, RowHoldsTheWellValuesInUnicode)
{
    const std::string path = dir.file("it's/o'well.las");
    WriteLas(path, {{"WELL", AnsiToOemString("Скв 'Ю-1'")}, {"FLD", "Fld"}, {"COMP", "C"}, {"DATE", "1986"}, {"API", "1"}});
    EXPECT_TRUE(manager.AddFile(path));
    EXPECT_EQ(probe.Rows("SELECT * FROM logfiles;"), Strings{path + "|Fld|Скв 'Ю-1'|C||1986|"});

    fs::resize_file(Las("empty.las"), 0);
    for (const std::string& refused : {dir.file("empty.las"), dir.file("missing.las"), std::string()})
        EXPECT_FALSE(manager.AddFile(refused)) << refused;
    EXPECT_EQ(probe.Count("logfiles"), 1);
}

TEST_F(LibraryDb, LookupPathsAndGroupsTakeAnyText)
{
    EXPECT_TRUE(manager.AddLookupPath("/data/it's"));
    EXPECT_TRUE(manager.AddLookupPath("/data/b"));
    EXPECT_FALSE(manager.AddLookupPath("/data/it's"));  // listed already
    manager.DeleteLookupPaths({"/data/it's", "/data/b"});
    EXPECT_EQ(manager.GetLookupPaths(), Strings{});

    const std::string a = Las("it's/a.las", "A1", "North");
    const std::string b = Las("b.las", "B1", "South");
    manager.AddFilesToGroup({a, b}, "Group 'x'");
    manager.AddFilesToGroup({b}, "alpha");
    EXPECT_EQ(manager.SelectDistinctValues("gr_name", {}, ""), (Strings{"alpha", "Group 'x'"}));
    EXPECT_EQ(manager.GetGroupFiles(), (Strings{b, a}));
    EXPECT_EQ(Files(), (Strings{b, a}));  // grouping records the headers too
    EXPECT_EQ(manager.SelectDistinctValues("fld", {"gr_name", "fld"}, "gr_name = 'alpha'"), Strings{"South"});
    manager.DeleteGroups({"GROUP 'X'"});  // names compare without case
    EXPECT_EQ(manager.GetGroupNames(), Strings{"alpha"});
}

TEST_F(LibraryDb, DistinctValuesAnswerOnlyForLogfilesColumns)
{
    manager.AddFile(Las("1.las", "W1", "North"));
    manager.AddFile(Las("2.las", "W2", "North"));
    manager.AddFile(Las("3.las", "W3", "South"));
    const struct {
        const char* column;
        const char* condition;
        Strings values;
    } cases[] = {{"fld", "", {"North", "South"}},  {"FLD", "well LIKE '%2%' ", {"North"}},
                 {"well", "fld = 'South'", {"W3"}}, {"nope", "", {}},
                 {"fld FROM logfiles; DROP TABLE logfiles; --", "", {}}};
    for (const auto& c : cases) {
        Strings values = manager.SelectDistinctValues(c.column, {"fld", "well"}, c.condition);
        std::sort(values.begin(), values.end());
        EXPECT_EQ(values, c.values) << c.column;
    }
    EXPECT_EQ(manager.SelectDistinctField(), (Strings{"North", "South"}));
    EXPECT_EQ(Failure([&] { manager.SelectDistinctValues("fld", {}, "fld = 'it's'"); }),
              "Ошибка при запросе к базе:\nSQLITE_ERROR[1]: near \"s\": syntax error\nКод ошибки - SQLITE_ERROR");
    probe.Execute("DROP TABLE groups;");  // by another connection: found missing while running
    EXPECT_EQ(Failure([&] { manager.GetGroupFiles(); }),
              "Ошибка при запросе к базе:\nSQLITE_ERROR[1]: no such table: groups\nКод ошибки - SQLITE_ERROR\n"
              "SELECT DISTINCT file FROM groups ORDER BY file;");
}

TEST_F(LibraryDb, RemoveMissingFilesCountsRowsAndGroupEntries)
{
    EXPECT_EQ(manager.RemoveMissingFiles(), 0);
    const Strings files = {Las("1.las"), Las("2.las"), Las("3.las"), Las("4.las")};
    for (const std::string& file : files)
        manager.AddFile(file);
    manager.AddFilesToGroup({files[0], files[3]}, "g");
    fs::remove(files[1]);
    fs::remove(files[3]);
    EXPECT_EQ(manager.RemoveMissingFiles(), 3);  // two rows and one group entry
    EXPECT_EQ(Files(), (Strings{files[0], files[2]}));
    EXPECT_EQ(manager.GetGroupFiles(), Strings{files[0]});

    probe.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
                  "INSERT INTO logfiles(file) SELECT '/nowhere/it''s ' || i || '.las' FROM n;");
    EXPECT_EQ(manager.RemoveMissingFiles(), 5000);
    EXPECT_EQ(probe.Count("logfiles"), 2);
}

// Triggers refusing some rows make statements fail half-way through an operation.
TEST_F(LibraryDb, FailedOperationsRollBackAndReachTheCaller)
{
    probe.Execute("CREATE TRIGGER g BEFORE INSERT ON groups WHEN NEW.file LIKE '%-refused-%' "
                  "BEGIN SELECT RAISE(ABORT, 'refused'); END;"
                  "CREATE TRIGGER f BEFORE INSERT ON logfiles WHEN NEW.file LIKE '%-refused-%' "
                  "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    const std::string good = Las("good/1.las");
    const std::string bad = Las("dir-refused-/2.las");
    EXPECT_EQ(Failure([&] { manager.AddFilesToGroup({good, bad}, "g"); }), "SQLITE_CONSTRAINT[19]: refused");
    EXPECT_EQ(probe.Count("groups") + probe.Count("logfiles"), 0);

    // No transaction was left open: the manager commits again and another connection writes.
    manager.AddFilesToGroup({good}, "g");
    probe.Execute("INSERT INTO lookups VALUES('" + dir.file("good") + "');");
    manager.AddLookupPath(dir.file("dir-refused-"));
    std::string failure;
    EXPECT_EQ(manager.RescanAllPaths(&failure), 1);
    EXPECT_EQ(failure, "SQLITE_CONSTRAINT[19]: refused");
    EXPECT_EQ(Files(), Strings{good});

    probe.Execute("CREATE TRIGGER d BEFORE DELETE ON logfiles BEGIN SELECT RAISE(ABORT, 'kept'); END;");
    fs::remove(good);
    EXPECT_EQ(Failure([&] { manager.RemoveMissingFiles(); }),
              "Ошибка при запросе к базе:\nSQLITE_CONSTRAINT[19]: kept\nКод ошибки - SQLITE_CONSTRAINT");
    EXPECT_EQ(manager.GetGroupFiles(), Strings{good});

    const std::atomic<bool> stop{true};
    EXPECT_EQ(manager.RescanAllPaths(nullptr, &stop), 0);
}

TEST_F(LibraryDb, ScanWritesFoldersTogetherAndLosesOnlyTheFailingFolder)
{
    probe.Execute("CREATE TRIGGER f BEFORE INSERT ON logfiles WHEN NEW.file LIKE '%-refused-%' "
                  "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    Las("root/a/1.las");
    Las("root/a/2.las");
    Las("root/b-refused-/1.las");
    Las("root/b-refused-/2.las");
    Las("root/c/1.las");
    manager.AddLookupPath(dir.file("root"));
    std::string failure;
    EXPECT_EQ(manager.RescanAllPaths(&failure), 3);
    EXPECT_EQ(failure, "SQLITE_CONSTRAINT[19]: refused");
    EXPECT_EQ(Files(), (Strings{dir.file("root/a/1.las"), dir.file("root/a/2.las"), dir.file("root/c/1.las")}));

    // More files than one batch holds: every row is written.
    probe.Execute("DROP TRIGGER f;");
    for (int i = 0; i < 450; ++i)
        Las("root/many/" + std::to_string(i) + ".las", std::to_string(i));
    EXPECT_EQ(manager.RescanAllPaths(), 455);
    EXPECT_EQ(probe.Count("logfiles"), 455);
    EXPECT_EQ(probe.Rows("SELECT well FROM logfiles WHERE file LIKE '%/many/449.las';"), Strings{"449"});
}

}  // namespace

namespace {

// The scanning process kills itself at the row it writes in the middle of its second batch, one
// batch committed and the next one open.
constexpr int KilledAtRow = 300;

void KillAtRow(void*, int, const char*, const char*, sqlite3_int64)
{
    static int rows = 0;
    if (++rows == KilledAtRow)
        raise(SIGKILL);
}

int InstallKillAtRow(sqlite3* db, char**, const sqlite3_api_routines*)
{
    sqlite3_update_hook(db, KillAtRow, nullptr);
    return SQLITE_OK;
}

}  // namespace

// A scanning process killed half-way leaves a sound database; the next scan gives the rows of a
// scan never interrupted.
TEST(LibraryScan, KilledScanLeavesASoundDatabaseThatTheNextScanCompletes)
{
    TempDir dir;
    const Strings files = MakeLibrary(dir.file("lib"), 4, 100);
    const std::string database = dir.file("lib.db");
    const std::string whole = dir.file("whole.db");
    for (const std::string& path : {database, whole}) {
        LogFileDBManager setup;
        setup.Open(path);
        setup.AddLookupPath(dir.file("lib"));
    }
    // No connection is open across the fork.
    const pid_t scanner = ForkRescan(database, &InstallKillAtRow);
    ASSERT_GE(scanner, 0);
    int status = 0;
    waitpid(scanner, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    LibraryDbProbe probe(database);
    EXPECT_EQ(probe.Rows("PRAGMA integrity_check;"), Strings{"ok"});
    EXPECT_GT(probe.Count("logfiles"), 0);
    EXPECT_LT(probe.Count("logfiles"), KilledAtRow);
    const std::string rows = "SELECT * FROM logfiles ORDER BY file;";
    LogFileDBManager manager;
    manager.Open(database);
    EXPECT_EQ(manager.RescanAllPaths(), static_cast<int>(files.size()));
    LogFileDBManager uninterrupted;
    uninterrupted.Open(whole);
    uninterrupted.RescanAllPaths();
    EXPECT_EQ(probe.Rows(rows), LibraryDbProbe(whole).Rows(rows));
}
