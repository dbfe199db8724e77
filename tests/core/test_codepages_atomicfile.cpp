#include "core/AtomicFile.h"
#include "core/CodePages.h"
#include "tests/common/TestPaths.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

} // namespace

TEST(CodePages, CyrillicSurvivesBothSingleBytePages)
{
    const std::string text = "Скважина №1 Ёлка: ГЛУБИНА, м";
    const std::string oem = AnsiToOemString(text);
    EXPECT_EQ(oem.size(), 28u); // one byte per character
    EXPECT_EQ(static_cast<unsigned char>(oem[0]), 0x91);  // С in CP866
    EXPECT_EQ(OemToAnsiString(oem), text);
    EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251(text)), text);
    EXPECT_EQ(static_cast<unsigned char>(Utf8ToCp1251("Я")[0]), 0xDF);
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

TEST(CodePages, OemToAnsiConvertsAtMost255Bytes)
{
    const std::string longText(300, 'a');
    EXPECT_EQ(OemToAnsi(longText.c_str()).size(), 255u);
    EXPECT_EQ(OemToAnsi(nullptr), "");
}

TEST(AtomicFile, CommitReplacesTargetAndLeavesNoTemporary)
{
    strativ::test::TempDir dir;
    const std::string target = dir.file("data.txt");
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    {
        AtomicFileWriter writer(target);
        writer.Write("new ");
        writer.Write("content");
        EXPECT_EQ(ReadAll(target), "old"); // untouched until commit
        ASSERT_TRUE(writer.Commit());
    }
    EXPECT_EQ(ReadAll(target), "new content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()), 1);
}

TEST(AtomicFile, AbandonedOrFailedWriteKeepsOldFile)
{
    strativ::test::TempDir dir;
    const std::string target = dir.file("data.txt");
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    {
        AtomicFileWriter writer(target);
        writer.Write("half");
    } // never committed
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()), 1);

    AtomicFileWriter missingFolder(dir.file("no/such/folder/data.txt"));
    EXPECT_FALSE(missingFolder.IsOpen());
    missingFolder.Write("x");
    EXPECT_FALSE(missingFolder.Commit());
    EXPECT_FALSE(missingFolder.Error().empty());

    // A target that is a folder cannot be replaced: the commit reports it.
    std::filesystem::create_directory(dir.file("sub"));
    EXPECT_FALSE(WriteFileAtomically(dir.file("sub"), "x"));
}
