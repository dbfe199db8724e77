// Library database behaviour users meet on the library page: SQLite's own reasons in every
// error, paths told apart by letter case, missing files told from unreachable ones, and a scan
// that commits in batches.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/FileUtils.h"
#include "library/LogFileDBManager.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"
#include "tests/library/LibraryFixtures.h"

namespace fs = std::filesystem;
using strativ::test::Failure;
using strativ::test::LibraryDbProbe;
using strativ::test::Strings;
using strativ::test::TempDir;

TEST(LibraryMends, ErrorsCarrySqlitesReason)
{
    TempDir dir;
    strativ::test::WriteFileBytes(dir.file("foreign.db"), std::string(4096, 'x'));
    LogFileDBManager manager;
    const std::string refused = Failure([&] { manager.Open(dir.file("foreign.db")); });
    EXPECT_NE(refused.find("file is not a database"), std::string::npos) << refused;
    EXPECT_NE(refused.find("SQLITE_NOTADB"), std::string::npos) << refused;
    EXPECT_EQ(refused.find("UNKNOWN_ERROR"), std::string::npos);
    EXPECT_FALSE(manager.IsOpen());

    manager.Open(dir.file("lib.db"));
    const std::string unknown = Failure([&] { manager.SelectDistinctValues("fld", {}, "nosuch = '1'"); });
    EXPECT_NE(unknown.find("no such column: nosuch"), std::string::npos) << unknown;
}

TEST(LibraryMends, PathsDifferingInLetterCaseAreTwoFiles)
{
    TempDir dir;
    const std::string lower = dir.file("d/Well.las");
    const std::string upper = dir.file("d/WELL.las");
    strativ::test::WriteLas(lower, {{"WELL", "1"}});
    strativ::test::WriteLas(upper, {{"WELL", "2"}});
    LogFileDBManager manager;
    manager.Open(dir.file("lib.db"));
    manager.AddFilesToGroup({lower, upper}, "pair");
    LibraryDbProbe probe(dir.file("lib.db"));
    EXPECT_EQ(probe.Count("groups"), 2);
    Strings files = manager.SelectDistinctValues("file", {"gr_name"}, "gr_name = 'pair'");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Strings{upper, lower}));

    fs::remove(upper);
    EXPECT_EQ(manager.RemoveMissingFiles(), 2);  // its library row and its group entry
    EXPECT_EQ(probe.Rows("SELECT file FROM groups;"), Strings{lower});
    EXPECT_EQ(probe.Rows("SELECT file FROM logfiles;"), Strings{lower});
}

TEST(LibraryMends, OldGroupsTableIsConvertedWithItsRows)
{
    TempDir dir;
    {
        LibraryDbProbe old(dir.file("lib.db"));
        old.Execute("CREATE TABLE logfiles(file, fld, well, comp, srvc, date, uwi); CREATE TABLE lookups(path);"
                    "CREATE TABLE selections(sel_order, last_used);"
                    "CREATE TABLE groups( gr_name TEXT COLLATE NOCASE NOT NULL, file TEXT COLLATE NOCASE NOT NULL"
                    " , PRIMARY KEY (gr_name, file));"
                    "INSERT INTO groups VALUES('g', '/data/a.las'), ('G2', '/data/b.las');");
    }
    LogFileDBManager manager;
    manager.Open(dir.file("lib.db"));
    LibraryDbProbe probe(dir.file("lib.db"));
    EXPECT_EQ(probe.Rows("SELECT gr_name, file FROM groups ORDER BY file;"),
              (Strings{"g|/data/a.las", "G2|/data/b.las"}));
    manager.AddFilesToGroup({"/data/A.LAS"}, "G");
    EXPECT_EQ(probe.Count("groups"), 3);
    EXPECT_EQ(probe.Rows("SELECT name FROM sqlite_master WHERE name='groups_old';"), Strings{});
}

TEST(LibraryMends, OnlyFilesThatAreGoneLoseTheirRows)
{
    TempDir dir;
    const std::string kept = dir.file("d/kept.las");
    const std::string gone = dir.file("d/gone.las");
    strativ::test::WriteLas(kept, {{"WELL", "1"}});
    strativ::test::WriteLas(gone, {{"WELL", "2"}});
    fs::create_directory_symlink("loop", dir.file("loop"));  // a link to itself: ELOOP
    const std::string unreachable = dir.file("loop/x.las");
    LogFileDBManager manager;
    manager.Open(dir.file("lib.db"));
    manager.AddFile(kept);
    manager.AddFile(gone);
    LibraryDbProbe probe(dir.file("lib.db"));
    probe.Execute("INSERT INTO logfiles(file, well) VALUES('" + unreachable + "', '3');");
    fs::remove(gone);
    EXPECT_TRUE(IsPathAbsent(gone));
    EXPECT_TRUE(IsPathAbsent(dir.file("d/kept.las/inside")));  // a component that is no folder
    EXPECT_FALSE(IsPathAbsent(unreachable));
    EXPECT_FALSE(IsPathAbsent(kept));
    EXPECT_EQ(manager.RemoveMissingFiles(), 1);
    Strings rows = probe.Rows("SELECT file FROM logfiles;");
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (Strings{kept, unreachable}));
}

TEST(LibraryMends, ScanFailureKeepsTheBatchesCommittedBeforeIt)
{
    TempDir dir;
    strativ::test::MakeLibrary(dir.file("lib"), 1, 300);
    LogFileDBManager manager;
    manager.Open(dir.file("lib.db"));
    manager.AddLookupPath(dir.file("lib"));
    LibraryDbProbe probe(dir.file("lib.db"));
    // The 250th row is refused, whichever file it is.
    probe.Execute("CREATE TRIGGER refuse BEFORE INSERT ON logfiles WHEN (SELECT count(*) FROM logfiles) >= 249 "
                  "BEGIN SELECT RAISE(ABORT, 'refused row'); END;");
    std::string error;
    const int written = manager.RescanAllPaths(&error);
    EXPECT_NE(error.find("refused row"), std::string::npos) << error;
    const int rows = probe.Count("logfiles");
    EXPECT_EQ(rows, written);
    EXPECT_GE(rows, 200);
    EXPECT_LT(rows, 249);
    EXPECT_EQ(probe.Rows("PRAGMA integrity_check;"), Strings{"ok"});
}
