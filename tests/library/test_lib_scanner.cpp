// The idle scanner: a rescan on a connection of its own while the window thread goes on
// using the library database.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include <memory>

#include "library/LibScanner.h"
#include "library/LogFileDBManager.h"
#include "platform/WorkProgress.h"
#include "tests/common/TestPaths.h"
#include "tests/library/LibraryFixtures.h"

using namespace strativ::test;

namespace {

TEST(IdleScanner, EndsAtOnceWithoutAnOpenDatabaseAndStopsWhenDestroyed)
{
    LogFileDBManager manager;  // closed: the scanner ends at once
    TLibScanner idle(&manager);
    QSignalSpy finished(&idle, &QThread::finished);
    idle.StartIdle();
    ASSERT_TRUE(idle.wait(10000));
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(idle.ScannedCount(), 0);

    TempDir dir;
    MakeLibrary(dir.file("lib"), 4, 100);
    manager.Open(dir.file("las_files.db"));
    manager.AddLookupPath(dir.file("lib"));
    auto scanner = std::make_unique<TLibScanner>(&manager);
    scanner->StartIdle();
    scanner.reset();  // stops between files and waits for the thread
    manager.AddLookupPath(dir.file("other"));  // no lock was left behind
    LibraryDbProbe probe(dir.file("las_files.db"));
    EXPECT_LT(probe.Count("logfiles"), 400);
    EXPECT_EQ(probe.Rows("PRAGMA integrity_check;"), Strings{"ok"});
}

TEST(IdleScanner, WindowThreadWorksOnTheLibraryWhileTheScanRuns)
{
    TempDir dir;
    const Strings files = MakeLibrary(dir.file("lib"), 30, 100);
    LogFileDBManager manager;
    manager.Open(dir.file("las_files.db"));
    manager.AddLookupPath(dir.file("lib"));

    TLibScanner scanner(&manager);
    scanner.StartIdle();
    int rounds = 0;
    do {
        const std::string group = "it's " + std::to_string(rounds);
        const size_t first = (rounds * 7) % (files.size() - 2);
        ASSERT_NO_THROW({
            manager.AddFilesToGroup({files[first], files[first + 1], files[first + 2]}, group);
            manager.SelectDistinctValues("fld", {"gr_name", "fld"}, "");
            manager.SelectDistinctValues("well", {"fld", "well"}, "fld LIKE '%1%'  OR well LIKE '%1%' ");
            if (rounds % 2)
                manager.DeleteGroups({group});
        }) << "round " << rounds;
        ++rounds;
    } while (!scanner.isFinished());
    ASSERT_TRUE(scanner.wait(60000));

    EXPECT_EQ(scanner.Failure(), "");
    EXPECT_EQ(scanner.ScannedCount(), static_cast<int>(files.size()));
    LibraryDbProbe probe(dir.file("las_files.db"));
    EXPECT_EQ(probe.Count("logfiles"), static_cast<int>(files.size()));
    EXPECT_EQ(probe.Count("groups"), 3 * ((rounds + 1) / 2));
    EXPECT_EQ(probe.Rows("PRAGMA integrity_check;"), Strings{"ok"});
}

// The end of the program stops the long work running: a progress loop at its next step, and a
// scan, idle or watched, before its first file, its folder left unfinished.
TEST(WorkStop, TheEndOfTheProgramStopsEveryScanAndProgressLoop)
{
    TempDir dir;
    MakeLibrary(dir.file("lib"), 2, 100);
    LogFileDBManager manager;
    manager.Open(dir.file("las_files.db"));
    manager.AddLookupPath(dir.file("lib"));
    const platform::WorkStop end;
    EXPECT_FALSE(platform::WorkProgressScope(QStringLiteral("Отчет")).Step(0.5));
    for (const bool watched : {false, true}) {
        TLibScanner scanner(&manager);
        watched ? scanner.RunWithProgress(QStringLiteral("Сканирование")) : scanner.StartIdle();
        ASSERT_TRUE(scanner.wait(5000));
        EXPECT_EQ(scanner.ScannedCount(), 0) << watched;
    }
    EXPECT_EQ(manager.GetUnfinishedScans(), Strings{dir.file("lib")});
}

}  // namespace
