// Saves over files of other users, over hard links and symbolic links, and beside the
// temporaries of saves that were killed. Those of other users run as root: the saves of a plain
// user run in a child process that gives up root.
#include "core/AtomicFile.h"
#include "core/SaveJournal.h"
#include "core/TempFiles.h"
#include "tests/common/FileBytes.h"
#include "tests/common/RunAsUser.h"
#include "tests/common/TestPaths.h"

#include <filesystem>
#include <memory>
#include <vector>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using strativ::test::ReadFileBytes;
using strativ::test::RunAsUser;
using strativ::test::WriteFileBytes;

constexpr uid_t kOwner = 41001;   // the file's owner
constexpr gid_t kGroup = 41002;   // its group, shared with the saver where said
constexpr uid_t kSaver = 41003;   // the user who saves

struct FileState {
    uid_t uid;
    gid_t gid;
    mode_t mode;
    nlink_t links;
    ino_t inode;
};

FileState StateOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return {info.st_uid, info.st_gid, info.st_mode & 07777, info.st_nlink, info.st_ino};
}

int TemporariesIn(const std::string& folder)
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().rfind(".strativ-", 0) == 0;
    return count;
}

class AtomicFileOwners : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root to give files to other users";
    }
    // A file of `uid`:`gid` with `mode`, holding "old".
    std::string OldFile(const std::string& name, uid_t uid, gid_t gid, mode_t mode)
    {
        const std::string path = dir.file(name);
        WriteFileBytes(path, "old");
        EXPECT_EQ(chown(path.c_str(), uid, gid), 0);
        EXPECT_EQ(chmod(path.c_str(), mode), 0);
        return path;
    }

    strativ::test::TempDirForOtherUsers dir;
};

TEST_F(AtomicFileOwners, SavesKeepOwnerGroupModeAndLinksOrAreRefused)
{
    const std::string linked = OldFile("linked.las", 0, 0, 0640);
    ASSERT_EQ(link(linked.c_str(), dir.file("second-name.las").c_str()), 0);
    const struct {
        const char* what;
        std::string path;
        uid_t saver;
        gid_t saverGroup;
        bool saved;
        bool sameFile;  // written in place
    } rows[] = {
        {"another user's 644 file, saved by root", OldFile("root.las", kOwner, kGroup, 0644), 0, 0, true, false},
        {"another user's 644 file, by a plain user", OldFile("other.las", kOwner, kGroup, 0644), kSaver, kSaver,
         false, true},
        {"group-writable file of another user", OldFile("group.las", kOwner, kGroup, 0664), kSaver, kGroup, true,
         true},
        {"own file with the setgid bit", OldFile("own.las", kSaver, kGroup, 02664), kSaver, kGroup, true, false},
        {"file with a second hard link", linked, 0, 0, true, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const FileState before = StateOf(row.path);
        const int error = RunAsUser(row.saver, row.saverGroup, [&] { return WriteFileAtomically(row.path, "new"); });
        EXPECT_EQ(error, row.saved ? 0 : EACCES);
        EXPECT_EQ(ReadFileBytes(row.path), row.saved ? "new" : "old");
        const FileState after = StateOf(row.path);
        EXPECT_EQ(after.uid, before.uid);
        EXPECT_EQ(after.gid, before.gid);
        EXPECT_EQ(after.mode, before.mode);
        EXPECT_EQ(after.links, before.links);
        if (row.sameFile) {
            EXPECT_EQ(after.inode, before.inode);
        }
        EXPECT_EQ(TemporariesIn(dir.path()), 0);
    }
    EXPECT_EQ(ReadFileBytes(dir.file("second-name.las")), "new");
}

TEST_F(AtomicFileOwners, AWritableFileInAReadOnlyFolderIsSavedInPlace)
{
    fs::create_directory(dir.file("locked"));
    const std::string path = dir.file("locked/well.las");
    WriteFileBytes(path, std::string(100000, 'o'));
    ASSERT_EQ(chown(path.c_str(), kSaver, kSaver), 0);
    ASSERT_EQ(chmod(dir.file("locked").c_str(), 0555), 0);
    const FileState before = StateOf(path);
    // The temporary goes to the saver's journal folder.
    const std::string journal = dir.file("journal");
    fs::create_directory(journal);
    ASSERT_EQ(chown(journal.c_str(), kSaver, kSaver), 0);
    const auto save = [&](const std::string& target, const char* bytes) {
        savejournal::SetFolder(journal);
        return WriteFileAtomically(target, bytes);
    };

    EXPECT_EQ(RunAsUser(kSaver, kSaver, [&] { return save(path, "short"); }), 0);
    EXPECT_EQ(ReadFileBytes(path), "short");
    EXPECT_EQ(StateOf(path).inode, before.inode);
    EXPECT_EQ(StateOf(path).uid, kSaver);
    // A new file cannot be made there.
    EXPECT_EQ(RunAsUser(kSaver, kSaver, [&] { return save(dir.file("locked/new.las"), "x"); }), EACCES);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("locked")), {}), 1);
    EXPECT_TRUE(fs::is_empty(journal));
}

// On a disk too full for the new content beside the old, a file written in place stays whole.
TEST_F(AtomicFileOwners, AFileWrittenInPlaceOnAFullDiskKeepsItsOldContent)
{
    const std::string disk = dir.file("disk");
    fs::create_directory(disk);
    if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "a small file system cannot be mounted here";
    const std::shared_ptr<void> unmount(nullptr, [&](void*) { umount2(disk.c_str(), MNT_DETACH); });
    const std::string path = disk + "/well.las";
    const std::string old(10000, 'o');
    WriteFileBytes(path, old);
    ASSERT_EQ(link(path.c_str(), (disk + "/second-name.las").c_str()), 0);

    AtomicFileWriter writer(path);
    writer.Write(std::string(40000, 'n'));
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(writer.SystemError(), ENOSPC);
    EXPECT_TRUE(ReadFileBytes(path) == old);
    EXPECT_EQ(StateOf(path).links, 2u);
    EXPECT_EQ(TemporariesIn(disk), 0);
    // With room for it, the same save goes through.
    ASSERT_TRUE(WriteFileAtomically(path, std::string(20000, 'n')));
    EXPECT_EQ(ReadFileBytes(disk + "/second-name.las"), std::string(20000, 'n'));
}

TEST_F(AtomicFileOwners, SymbolicLinksStayAndTheirTargetsAreWrittenDanglingOrNot)
{
    fs::create_directory(dir.file("data"));
    fs::create_symlink("data/missing.las", dir.file("dangling.las"));
    fs::create_symlink("dangling.las", dir.file("chain.las"));
    fs::create_symlink("loop-b", dir.file("loop-a"));
    fs::create_symlink("loop-a", dir.file("loop-b"));

    ASSERT_TRUE(WriteFileAtomically(dir.file("chain.las"), "through two links"));
    EXPECT_TRUE(fs::is_symlink(dir.file("chain.las")));
    EXPECT_TRUE(fs::is_symlink(dir.file("dangling.las")));
    EXPECT_EQ(ReadFileBytes(dir.file("data/missing.las")), "through two links");
    EXPECT_EQ(StateOf(dir.file("data/missing.las")).mode, 0644u);

    AtomicFileWriter loop(dir.file("loop-a"));
    EXPECT_FALSE(loop.Commit());
    EXPECT_EQ(loop.SystemError(), ELOOP);
    EXPECT_TRUE(fs::is_symlink(dir.file("loop-a")));
}

// A save removes the temporaries that killed saves recorded, whatever their age; the files of the
// user stay whatever their names, and so do those of saves still running.
TEST(AtomicFileJournal, OnlyTheTemporariesOfKilledSavesAreRemoved)
{
    strativ::test::TempDir dir;
    savejournal::SetFolder(dir.file("journal"));
    const std::shared_ptr<void> noJournal(nullptr, [](void*) { savejournal::SetFolder(""); });
    const std::vector<std::string> users = {dir.file(".strativ-backup"), dir.file(".strativ-Ab12cD")};
    const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    for (const std::string& path : users) {
        WriteFileBytes(path, "the user's");
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), hourAgo, 0), 0);
    }
    AtomicFileWriter running(dir.file("running.las"));
    running.Write("still running");
    const pid_t killed = fork();
    if (killed == 0) {
        AtomicFileWriter writer(dir.file("killed.las"));
        writer.Write("half");
        _exit(0);
    }
    ASSERT_EQ(waitpid(killed, nullptr, 0), killed);
    ASSERT_EQ(TemporariesIn(dir.path()), 4);

    ASSERT_TRUE(WriteFileAtomically(dir.file("well.las"), "saved"));
    EXPECT_EQ(TemporariesIn(dir.path()), 3);
    for (const std::string& path : users)
        EXPECT_EQ(ReadFileBytes(path), "the user's") << path;
    EXPECT_TRUE(running.Commit());
    EXPECT_EQ(ReadFileBytes(dir.file("running.las")), "still running");
}

// At start the journal's folder is cleared of what killed saves left there with no record (a record
// half replaced, a temporary whose record never reached the disk); what a running save holds stays,
// and so do a copy of old content the user kept and any file in the user's folders.
TEST(AtomicFileJournal, TheJournalFolderKeepsNoLeftoversOfKilledSaves)
{
    strativ::test::TempDir dir;
    const std::string journal = dir.file("journal/");
    savejournal::SetFolder(journal);
    const std::shared_ptr<void> noJournal(nullptr, [](void*) { savejournal::SetFolder(""); });
    std::string runningPath;
    std::string runningCopy;
    const int running = MakeLockedTemporary(journal, kTemporaryName, runningPath);
    const int copying = MakeLockedTemporary(dir.path() + "/", kCopyName, runningCopy);
    ASSERT_GE(running, 0);
    ASSERT_GE(copying, 0);
    const std::shared_ptr<void> release(nullptr, [&](void*) {
        close(running);
        close(copying);
    });
    const std::string copyRecord = savejournal::RecordTemporary(runningCopy, copying);
    ASSERT_FALSE(copyRecord.empty());
    const struct {
        std::string path;
        bool stays;
    } rows[] = {
        {journal + "1-0-1.rec.new", false},
        {copyRecord + ".new", true},
        {journal + std::string(kTemporaryName) + "Ab12cD", false},
        {runningPath, true},
        {journal + std::string(kCopyName) + "Ab12cD", true},
        {dir.file(std::string(kTemporaryName) + "Ab12cD"), true},
    };
    for (const auto& row : rows)
        if (!fs::exists(row.path))
            WriteFileBytes(row.path, "4:copy\n");

    savejournal::RemoveLeftTemporaries();
    for (const auto& row : rows)
        EXPECT_EQ(fs::exists(row.path), row.stays) << row.path;
}

} // namespace
