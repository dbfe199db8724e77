// A save in place killed in the middle, and the next start that offers the old content back.
#include "app/InterruptedSaves.h"
#include "core/AtomicFile.h"
#include "core/SaveJournal.h"
#include "platform/FileNames.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using strativ::test::ReadFileBytes;

constexpr long long kBlock = 1 << 20;
int readyPipe = -1;
long long killAt = 0;

// The child tells that the target is partly overwritten, then waits for its kill.
void StopThere(long long written)
{
    if (written < killAt)
        return;
    const char ready = 1;
    if (write(readyPipe, &ready, 1) == 1)
        pause();
}

// Overwrites `target` with `size` bytes "n" in a child process killed half-way.
void KillSaveHalfWay(const std::string& target, long long size, const std::string& journal)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const pid_t child = fork();
    if (child == 0) {
        readyPipe = ends[1];
        killAt = size / 2;
        savejournal::SetFolder(journal);
        SetInPlaceWriteHook(StopThere);
        AtomicFileWriter writer(target);
        const std::string block(kBlock, 'n');
        for (long long written = 0; written < size; written += kBlock)
            writer.Write(block);
        writer.Commit();
        _exit(0);
    }
    char ready = 0;
    const bool stopped = read(ends[0], &ready, 1) == 1;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ends[0]);
    close(ends[1]);
    ASSERT_TRUE(stopped) << "the save ended before it was half-way";
}

std::vector<std::string> Leftovers(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind(".strativ-", 0) == 0)
            found.push_back(entry.path().string());
    return found;
}

TEST(InterruptedSaves, TheOldContentOfAKilledSaveInPlaceSurvivesAndIsOfferedBack)
{
    const struct {
        long long size;
        int answer;
    } rows[] = {{100 * kBlock, platform::IDYES}, {2 * kBlock, platform::IDNO}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.answer == platform::IDYES ? "restored" : "left");
        strativ::test::TempDir dir;
        const std::string profile = dir.file("profile/");
        const std::string target = dir.file("well.las");
        strativ::test::WriteFileBytes(target, "old head");
        fs::resize_file(target, row.size);  // the rest a hole of zeros
        const std::string old = ReadFileBytes(target);
        ASSERT_EQ(link(target.c_str(), dir.file("second-name.las").c_str()), 0);

        KillSaveHalfWay(target, row.size, profile + "journal/");
        const std::string half = ReadFileBytes(target);
        ASSERT_TRUE(half.compare(0, 8, "nnnnnnnn") == 0 && half.back() == '\0');
        // A later save, with every leftover an hour old, keeps the copy of the old content.
        const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
        for (const std::string& path : Leftovers(dir.path()))
            ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), hourAgo, 0), 0);
        savejournal::SetFolder(profile + "journal/");
        ASSERT_TRUE(WriteFileAtomically(dir.file("later.las"), "later"));
        const std::vector<std::string> copies = Leftovers(dir.path());
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_TRUE(ReadFileBytes(copies[0]) == old);

        platform::RecordingDialogRunner runner;
        runner.Push(row.answer);
        StartSaveJournal(profile);
        ASSERT_EQ(runner.Requests().size(), 2u - (row.answer == platform::IDYES));
        const auto shown = [](const std::string& path) {
            return platform::ShownFileName(path);
        };
        EXPECT_EQ(runner.Requests()[0].text,
                  QStringLiteral("Сохранение файла %1 было прервано. Старое содержимое сохранено в %2. "
                                 "Восстановить его?")
                      .arg(shown(target), shown(copies[0])));
        if (row.answer == platform::IDYES) {
            EXPECT_TRUE(ReadFileBytes(dir.file("second-name.las")) == old);
            EXPECT_TRUE(Leftovers(dir.path()).empty());
        } else {
            EXPECT_TRUE(runner.Last().text.contains(shown(copies[0])));
            EXPECT_TRUE(ReadFileBytes(target) == half);
            // Asked once; the copy stays through the saves that follow.
            ASSERT_TRUE(WriteFileAtomically(dir.file("later.las"), "again"));
            StartSaveJournal(profile);
            EXPECT_EQ(runner.Requests().size(), 2u);
            EXPECT_TRUE(ReadFileBytes(copies[0]) == old);
        }
        savejournal::SetFolder("");
    }
}

}  // namespace
