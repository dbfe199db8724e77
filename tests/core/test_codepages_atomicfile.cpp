// Code-page conversions and the write-then-rename file writer.
#include "core/AtomicFile.h"
#include "core/CodePages.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <filesystem>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using strativ::test::ReadFileBytes;
using strativ::test::WriteFileBytes;

TEST(CodePages, CyrillicSurvivesBothSingleBytePages)
{
    const std::string text = "Скважина №1 Ёлка: ГЛУБИНА, м";
    const std::string oem = AnsiToOemString(text);
    EXPECT_EQ(oem.size(), 28u); // one byte per character
    EXPECT_EQ(static_cast<unsigned char>(oem[0]), 0x91); // С in CP866
    EXPECT_EQ(OemToAnsiString(oem), text);
    EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251(text)), text);
    EXPECT_EQ(static_cast<unsigned char>(Utf8ToCp1251("Я")[0]), 0xDF);
    EXPECT_EQ(OemToAnsi(std::string(300, 'a').c_str()).size(), 255u); // at most 255 source bytes
    EXPECT_EQ(OemToAnsi(nullptr), "");
}

TEST(CodePages, UnmappableAndMalformedTextBecomesQuestionMarks)
{
    EXPECT_EQ(AnsiToOemString("a€b"), "a?b");  // no euro sign in CP866
    EXPECT_EQ(AnsiToOemString("x\xC3"), "x?"); // truncated sequence
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(IsValidUtf8("\xCF\xF0\xE8"));  // CP1251 bytes
    EXPECT_TRUE(IsValidUtf8("Привет, мир"));
}

TEST(CodePages, EncodingIsFoundFromTheTextItself)
{
    const std::string text = "FLD . Восточная-3 : ПЛОЩАДЬ";
    EXPECT_EQ(DetectTextEncoding(AnsiToOemString(text)), TextEncoding::Cp866);
    EXPECT_EQ(DetectTextEncoding(Utf8ToCp1251(text)), TextEncoding::Cp1251);
    EXPECT_EQ(DetectTextEncoding(text), TextEncoding::Utf8);
    EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBFWELL. W1 : WELL"), TextEncoding::Utf8);
    // A byte order mark before bytes that are not UTF-8 does not make them UTF-8.
    EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF" + Utf8ToCp1251(text)), TextEncoding::Cp1251);
    EXPECT_EQ(DetectTextEncoding("WELL. W1 : WELL"), TextEncoding::Cp866);
    // CP866 box-drawing signs read as CP1251 capitals: a file of them is still CP866.
    EXPECT_EQ(DetectTextEncoding(AnsiToOemString("ёлка ┤")), TextEncoding::Cp866);
    for (TextEncoding encoding : {TextEncoding::Cp866, TextEncoding::Cp1251, TextEncoding::Utf8}) {
        std::string bytes;
        ASSERT_TRUE(EncodeText(text, encoding, bytes));
        EXPECT_EQ(DecodeText(bytes, encoding), text);
    }
}

TEST(CodePages, EncodingRefusesTheFirstCharacterItCannotHold)
{
    for (TextEncoding encoding : {TextEncoding::Cp866, TextEncoding::Cp1251}) {
        std::string out = "kept";
        std::string bad;
        EXPECT_FALSE(EncodeText("H₁O€", encoding, out, &bad));
        EXPECT_EQ(bad, "₁");
        EXPECT_EQ(out, "kept");
    }
    std::string out;
    EXPECT_TRUE(EncodeText("H₁O", TextEncoding::Utf8, out));
    EXPECT_EQ(out, "H₁O");
    std::string bad;
    EXPECT_FALSE(EncodeText("a\xC3", TextEncoding::Utf8, out, &bad));
    EXPECT_EQ(bad, "\xC3");
}

TEST(AtomicFile, TargetHoldsTheWholeNewContentOrStaysAsItWas)
{
    strativ::test::TempDir dir;
    const std::string target = dir.file("data.txt");
    const auto filesInFolder = [&] {
        return std::distance(std::filesystem::directory_iterator(dir.path()), {});
    };
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    {
        AtomicFileWriter abandoned(target);
        abandoned.Write("half");
    } // never committed
    EXPECT_EQ(ReadFileBytes(target), "old");
    {
        AtomicFileWriter writer(target);
        writer.Write("new ");
        writer.Write("content");
        EXPECT_EQ(ReadFileBytes(target), "old"); // untouched until the commit
        ASSERT_TRUE(writer.Commit());
    }
    EXPECT_EQ(ReadFileBytes(target), "new content");
    EXPECT_EQ(filesInFolder(), 1); // no temporary left

    AtomicFileWriter missingFolder(dir.file("no/such/folder/data.txt"));
    EXPECT_FALSE(missingFolder.IsOpen());
    missingFolder.Write("x");
    EXPECT_FALSE(missingFolder.Commit());
    EXPECT_EQ(missingFolder.SystemError(), ENOENT);
    // A folder cannot be replaced by a file: the commit reports it.
    std::filesystem::create_directory(dir.file("sub"));
    EXPECT_FALSE(WriteFileAtomically(dir.file("sub"), "x"));
    // Nor a named pipe (or a device): it stays what it was.
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0644), 0);
    EXPECT_FALSE(WriteFileAtomically(dir.file("pipe"), "x"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("pipe")));
    std::filesystem::remove(dir.file("pipe"));
    EXPECT_EQ(filesInFolder(), 2);

    // Writing through a symbolic link replaces the file it points at and keeps the link.
    std::filesystem::create_symlink(target, dir.file("sub/link.txt"));
    ASSERT_TRUE(WriteFileAtomically(dir.file("sub/link.txt"), "through the link"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("sub/link.txt")));
    EXPECT_EQ(ReadFileBytes(target), "through the link");
}

// A file that must not replace another (a numbered backup) leaves a name taken meanwhile to the
// file that took it.
TEST(AtomicFile, AWriterThatMustNotReplaceLeavesANameTakenMeanwhile)
{
    strativ::test::TempDir dir;
    const struct {
        const char* name;
        bool takenMeanwhile;
    } rows[] = {{"free.bak", false}, {"taken.bak", true}};
    for (const auto& row : rows) {
        const std::string path = dir.file(row.name);
        AtomicFileWriter writer(path);
        writer.Write("ours");
        if (row.takenMeanwhile)
            WriteFileBytes(path, "another program's");
        EXPECT_EQ(writer.Commit(false), !row.takenMeanwhile) << row.name;
        EXPECT_EQ(ReadFileBytes(path), row.takenMeanwhile ? "another program's" : "ours");
        EXPECT_EQ(writer.SystemError(), row.takenMeanwhile ? EEXIST : 0);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // no temporary left
}
