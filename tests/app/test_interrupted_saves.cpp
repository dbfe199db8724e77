// A save in place killed in the middle, and the next start that offers the old content back.
#include "app/InterruptedSaves.h"
#include "core/AtomicFile.h"
#include "core/SaveJournal.h"
#include "core/TempFiles.h"
#include "platform/FileNames.h"
#include "platform/RecordingDialogRunner.h"
#include "platform/RussianTexts.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <QFileInfo>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
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

// Runs `work` in a child process killed once `at` bytes are written in place.
void KillHalfWay(const std::function<void()>& work, long long at)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const pid_t child = fork();
    if (child == 0) {
        readyPipe = ends[1];
        killAt = at;
        SetInPlaceWriteHook(StopThere);
        work();
        _exit(0);
    }
    char ready = 0;
    const bool stopped = read(ends[0], &ready, 1) == 1;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ends[0]);
    close(ends[1]);
    ASSERT_TRUE(stopped) << "the write ended before it was half-way";
}

// Overwrites `target` with `size` bytes "n" in a child process killed half-way.
void KillSaveHalfWay(const std::string& target, long long size, const std::string& journal)
{
    KillHalfWay(
        [&] {
            savejournal::SetFolder(journal);
            AtomicFileWriter writer(target);
            const std::string block(kBlock, 'n');
            for (long long written = 0; written < size; written += kBlock)
                writer.Write(block);
            writer.Commit();
        },
        size / 2);
}

// A start in a child process that answers "Да" and is killed half-way through the restore.
void KillRestoreHalfWay(const std::string& profile, long long oldSize)
{
    KillHalfWay(
        [&] {
            platform::RecordingDialogRunner runner;
            runner.Push(platform::IDYES);
            StartSaveJournal(profile);
        },
        oldSize / 2);
}

QString Shown(const std::string& path)
{
    return platform::ShownFileName(path);
}

std::vector<std::string> Leftovers(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind(".strativ-", 0) == 0)
            found.push_back(entry.path().string());
    return found;
}

// The copy of old content among the leftovers of a killed save.
std::string TheCopy(const std::string& folder)
{
    for (const std::string& path : Leftovers(folder))
        if (!fs::path(path).filename().string().starts_with(kTemporaryName))
            return path;
    return {};
}

// A file of `size` bytes whose every block differs, with a second name so that it is saved in place.
std::string WriteLinkedFile(const strativ::test::TempDir& dir, long long size)
{
    std::string bytes;
    for (long long at = 0; at < size; at += kBlock)
        bytes += std::string(kBlock, static_cast<char>('a' + at / kBlock));
    strativ::test::WriteFileBytes(dir.file("well.las"), bytes);
    EXPECT_EQ(link(dir.file("well.las").c_str(), dir.file("second-name.las").c_str()), 0);
    return bytes;
}

// A well file of `size` bytes (WriteLinkedFile) whose save in place of `saved` bytes was killed
// half-way, with the journal in the profile folder.
struct KilledSave {
    KilledSave(long long size, long long saved) : old(WriteLinkedFile(dir, size))
    {
        KillSaveHalfWay(target, saved, profile + "journal/");
    }
    ~KilledSave() { savejournal::SetFolder(""); }

    strativ::test::TempDir dir;
    const std::string profile = dir.file("profile/");
    const std::string target = dir.file("well.las");
    const std::string old;
};

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
        EXPECT_EQ(runner.Requests()[0].text,
                  QStringLiteral("Сохранение файла %1 было прервано. Старое содержимое сохранено в %2. "
                                 "Восстановить его?")
                      .arg(Shown(target), Shown(copies[0])));
        if (row.answer == platform::IDYES) {
            EXPECT_TRUE(ReadFileBytes(dir.file("second-name.las")) == old);
            EXPECT_TRUE(Leftovers(dir.path()).empty());
        } else {
            EXPECT_TRUE(runner.Last().text.contains(Shown(copies[0])));
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

// However often the restore is cut short, the next start offers the one copy made before the save
// was, "Да" as the default, and "Да" gives the old content back byte for byte.
TEST(InterruptedSaves, ARestoreCutShortIsOfferedAgainWithTheSameCopy)
{
    const KilledSave save(3 * kBlock, 5 * kBlock);
    const auto& [dir, profile, target, old] = save;
    const std::string copy = TheCopy(dir.path());

    for (int restore = 0; restore < 2; ++restore) {
        KillRestoreHalfWay(profile, 3 * kBlock);
        ASSERT_EQ(Leftovers(dir.path()), std::vector<std::string>{copy});
        ASSERT_TRUE(ReadFileBytes(copy) == old);
        ASSERT_FALSE(ReadFileBytes(target) == old);
    }
    platform::RecordingDialogRunner runner;
    runner.Push(platform::IDYES);
    StartSaveJournal(profile);
    ASSERT_EQ(runner.Requests().size(), 1u);
    EXPECT_EQ(runner.Requests()[0].text,
              QStringLiteral("Сохранение файла %1 было прервано. Старое содержимое сохранено в %2. Восстановить его?")
                  .arg(Shown(target), Shown(copy)));
    EXPECT_EQ(runner.Requests()[0].flags & platform::MB_DEFBUTTON2, 0);
    EXPECT_TRUE(ReadFileBytes(dir.file("second-name.las")) == old);
    EXPECT_TRUE(Leftovers(dir.path()).empty());
    EXPECT_TRUE(fs::is_empty(profile + "journal"));
}

// A file saved again or replaced after the killed save: the question says so, with the dates and
// sizes of the copy and of the file now, and "Нет" is the default; answered so, both stay.
TEST(InterruptedSaves, ARestoreOverAChangedFileAsksFirst)
{
    const auto dateAndSize = [](const std::string& path) {
        const QFileInfo info(QString::fromStdString(path));
        return platform::DateTimeText(info.lastModified()) + ", " + platform::FileSizeText(info.size());
    };
    const struct {
        const char* change;
        bool changed;
        std::function<void(const std::string&)> make;
    } rows[] = {
        {"none", false, [](const std::string&) {}},
        {"saved again", true, [](const std::string& path) { strativ::test::WriteFileBytes(path, "saved again"); }},
        {"written later", true, [](const std::string& path) {
             const timespec later[2] = {{0, UTIME_OMIT}, {time(nullptr) + 3600, 0}};
             ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
         }},
        {"removed", true, [](const std::string& path) { fs::remove(path); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.change);
        const KilledSave save(2 * kBlock, 2 * kBlock);
        const auto& [dir, profile, target, old] = save;
        const std::string copy = TheCopy(dir.path());
        row.make(target);
        const QString now = fs::exists(target) ? "файл сейчас — " + dateAndSize(target) : "файла сейчас нет";
        const std::string before = fs::exists(target) ? ReadFileBytes(target) : "";

        platform::RecordingDialogRunner runner;
        StartSaveJournal(profile);  // no answer: "Нет"
        ASSERT_EQ(runner.Requests().size(), 2u);
        const QString changeText =
            row.changed
                ? QStringLiteral("После этого файл изменился: сохранённая копия — %1; %2. ").arg(dateAndSize(copy), now)
                : QString();
        EXPECT_EQ(runner.Requests()[0].text, QStringLiteral("Сохранение файла %1 было прервано. %2Старое содержимое "
                                                            "сохранено в %3. Восстановить его?")
                                                 .arg(Shown(target), changeText, Shown(copy)));
        EXPECT_EQ((runner.Requests()[0].flags & platform::MB_DEFBUTTON2) != 0, row.changed);
        EXPECT_TRUE(ReadFileBytes(copy) == old);
        EXPECT_TRUE(!fs::exists(target) || ReadFileBytes(target) == before);
    }
}

// Two saves of one file cut short one after the other: the copy offered is the one from before the
// first, and the second save's copy (of a torn file) is not offered with it.
TEST(InterruptedSaves, TwoSavesCutShortOfferTheContentFromBeforeTheFirst)
{
    const KilledSave save(2 * kBlock, 2 * kBlock);
    const auto& [dir, profile, target, old] = save;
    const std::string first = TheCopy(dir.path());
    KillSaveHalfWay(target, 2 * kBlock, profile + "journal/");

    platform::RecordingDialogRunner runner;
    runner.Push(platform::IDYES);
    StartSaveJournal(profile);
    ASSERT_EQ(runner.Requests().size(), 1u);
    EXPECT_TRUE(runner.Requests()[0].text.contains(Shown(first)));
    EXPECT_TRUE(ReadFileBytes(target) == old);
}

}  // namespace
