// The reason a failed write gives, as a plain user sees it (the checks run in a child process
// that gives up root).
#include "core/AtomicFile.h"
#include "core/SaveJournal.h"
#include "platform/FileErrors.h"
#include "tests/common/FileBytes.h"
#include "tests/common/RunAsUser.h"
#include "tests/common/TestPaths.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kOwner = 41001;
constexpr uid_t kSaver = 41003;

TEST(FileErrors, ReasonsNameTheFileTheUserMayNotWriteAndSpareAWritableFilesFolder)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give files to other users";
    strativ::test::TempDirForOtherUsers dir;
    std::filesystem::create_directory(dir.file("locked"));
    const struct {
        std::string path;
        uid_t owner;
        int error;
        const char* reason;
    } rows[] = {
        {dir.file("other.las"), kOwner, EACCES, "У вас нет прав на запись в этот файл"},
        {dir.file("locked/own.las"), kSaver, ENOSPC, "Нет места на диске"},
        {dir.file("locked/new.las"), 0, EACCES, "Нет доступа к файлу или папке"},
        {dir.file("missing/new.las"), 0, ENOENT, "Папка не существует"},
        {dir.file("folder.las"), 0, EISDIR, "На месте файла находится папка"},
        {dir.file("pipe.las"), 0, EINVAL, "На месте файла находится не обычный файл (канал или устройство)"},
    };
    std::filesystem::create_directory(dir.file("folder.las"));
    ASSERT_EQ(mkfifo(dir.file("pipe.las").c_str(), 0666), 0);
    for (const auto& row : rows) {
        if (row.owner != 0) {
            strativ::test::WriteFileBytes(row.path, "old");
            ASSERT_EQ(chown(row.path.c_str(), row.owner, row.owner), 0);
        }
    }
    ASSERT_EQ(chmod(dir.file("locked").c_str(), 0555), 0);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        const auto expected = [&] {
            return platform::WriteFailureReason(QString::fromStdString(row.path), row.error) ==
                   QString::fromUtf8(row.reason);
        };
        EXPECT_EQ(strativ::test::RunAsUser(kSaver, kSaver, expected), 0);
    }
}

// A save in place refused because the journal finds the profile's disk full names that disk.
TEST(FileErrors, ASaveRefusedForAFullProfileDiskSaysSo)
{
    strativ::test::TempDir dir;
    const std::string journal = dir.file("journal/");
    std::filesystem::create_directory(journal);
    if (mount("tmpfs", journal.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "a small file system cannot be mounted here";
    const std::shared_ptr<void> unmount(nullptr, [&](void*) {
        savejournal::SetFolder("");
        umount2(journal.c_str(), MNT_DETACH);
    });
    strativ::test::WriteFileBytes(journal + "filler", std::string(64 * 1024, 'x'));
    const std::string target = dir.file("well.las");
    strativ::test::WriteFileBytes(target, "old");
    ASSERT_EQ(link(target.c_str(), dir.file("second-name.las").c_str()), 0);
    savejournal::SetFolder(journal);

    AtomicFileWriter writer(target);
    writer.Write("new");
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(platform::WriteFailureText(QString::fromStdString(target), writer.SystemError()),
              QString::fromStdString("Не удалось записать файл\n" + target +
                                     "\nНет места на диске профиля программы (" + journal + ")"));
    EXPECT_EQ(strativ::test::ReadFileBytes(target), "old");
}

} // namespace
