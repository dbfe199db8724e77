// Settings files: text rules, order, caps, encodings, locale-independent floats, safe writing.
#include "core/CodePages.h"
#include "core/SettingsFile.h"
#include "tests/common/FileBytes.h"
#include "tests/common/FileSizeLimit.h"
#include "tests/common/TestPaths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <locale>
#include <sys/stat.h>
#include <unistd.h>

using strativ::test::ReadFileBytes;
using strativ::test::WriteFileBytes;

TEST(SettingsFile, RoundTripKeepsOrderOfSectionsAndKeys)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("order.ini");
    {
        TSettingsFile file(path);
        file.WriteString("Zeta", "b", "1");
        file.WriteString("Alpha", "z", "2");
        file.WriteString("Zeta", "a", "3");
        file.WriteString("zeta", "B", "4"); // same section and key, other case
        file.WriteBool("Alpha", "on", true);
        file.WriteInt("Alpha", "n", -17);
        file.WriteString("Alpha", "multi", "one\r\ntwo=2"); // a line end would start a new key
    } // the destructor creates the missing file
    EXPECT_EQ(ReadFileBytes(path),
              "[Zeta]\r\nb=4\r\na=3\r\n\r\n[Alpha]\r\nz=2\r\non=true\r\nn=-17\r\nmulti=one  two=2\r\n\r\n");

    TSettingsFile again(path);
    ASSERT_EQ(again.GetSectionCount(), 2);
    EXPECT_EQ(again.GetKeyName(0, 1), "a");
    EXPECT_EQ(again.GetKeyCount(1), 4);
    std::string value;
    EXPECT_TRUE(again.ReadString("ZETA", "A", value));
    EXPECT_EQ(value, "3");
    bool flag = false;
    EXPECT_TRUE(again.ReadBool("alpha", "ON", flag));
    EXPECT_TRUE(flag);
    again.DeleteSection("zeta");
    EXPECT_EQ(again.GetSectionName(0), "Alpha");
}

TEST(SettingsFile, ReadingRulesOfTheTextFormat)
{
    TSimpleSettingFile file;
    file.LoadFromText("orphan=dropped\n"
                      "; comment\r\n"
                      "  [ Opts ]  \r"
                      "  Key  = keeps blanks  \n"
                      "no equals sign\n"
                      "Delim= \n"
                      "\n"
                      "[opts]\n"
                      "Key=second section\n"
                      "[Other]\n"
                      "a=b=c\n"
                      "flag=TRUE\n");
    ASSERT_EQ(file.GetSectionCount(), 3);
    EXPECT_EQ(file.GetSectionName(0), "Opts");
    EXPECT_EQ(file.GetKeyCount(0), 2);
    std::string value;
    EXPECT_TRUE(file.ReadString("OPTS", "key", value));
    EXPECT_EQ(value, " keeps blanks  "); // value verbatim; the first duplicate section wins
    EXPECT_TRUE(file.ReadString("Opts", "Delim", value));
    EXPECT_EQ(value, " ");
    EXPECT_TRUE(file.ReadString("Other", "a", value));
    EXPECT_EQ(value, "b=c");

    value = "untouched";
    EXPECT_FALSE(file.ReadString("Opts", "missing", value));
    EXPECT_FALSE(file.ReadString("Missing", "Key", value));
    EXPECT_EQ(value, "untouched");
    EXPECT_EQ(file.FindSection("OPT"), -1); // length must match too
    bool flag = true;
    EXPECT_TRUE(file.ReadBool("Other", "flag", flag));
    EXPECT_FALSE(flag); // exactly "true"
}

TEST(SettingsFile, NamesAndValuesAreCutToTheirFieldsAtCharacterBoundaries)
{
    TSimpleSettingFile file;
    const std::string longName(70, 'n');
    std::string cyrillic;
    for (int i = 0; i < 300; ++i)
        cyrillic += "Ж";
    file.WriteString(longName, longName, std::string(300, 'v'));
    file.WriteString("S", "k", cyrillic);
    EXPECT_EQ(file.GetSectionName(0).size(), 63u);
    EXPECT_EQ(file.GetKeyName(0, 0).size(), 63u);
    EXPECT_EQ(file.GetKeyValue(0, 0).size(), 255u);
    EXPECT_EQ(file.GetKeyValue(1, 0), cyrillic.substr(0, 255 * 2)); // 255 two-byte characters
    std::string value;
    EXPECT_TRUE(file.ReadString(longName, longName, value)); // the full name finds the cut one

    file.LoadFromText("[s]\nk=" + std::string(400, 'x') + "\n");
    ASSERT_TRUE(file.ReadString("s", "k", value));
    EXPECT_EQ(value.size(), 255u);
}

// What the program writes (control bytes typed into a value included) and whatever a person
// writes (comments, blank lines, bare names, unknown sections, a CP1251 line, LF or CR LF, a byte
// order mark, an end-of-file mark) is sound and read; only a control byte is damage.
TEST(SettingsFile, DamageIsOnlyWhatTheReaderCannotRead)
{
    IniStore written;
    written.SetValue("S", "Key", "a\x01" "b\tc\r\nd\x1A");
    const struct {
        std::string text;
        bool damaged;
        const char* key;  // what the reader finds as S/Key
    } cases[] = {
        {written.Format(), false, "a b\tc  d "},
        {"\xEF\xBB\xBF; note\r\n[Future]\r\nUnknown = 1\r\n\r\n[S]\r\nKey=\xCF\xF0\xE8\r\n\x1A", false, "При"},
        {"# note\n\nKey=0\n[S]\n  just words \nKey=1", false, "1"},
        {std::string("[S]\r\nKey=1\0\r\n", 12), true, "1 "},
        {"[S]\r\nKey=\x1A" "1\r\n", true, " 1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsDamagedIniText(c.text), c.damaged) << c.text;
        IniStore read;
        read.Parse(c.text);
        const std::string* value = read.FindValue("S", "Key");
        EXPECT_EQ(value ? *value : "(none)", c.key) << c.text;
    }
}

TEST(SettingsFile, ReadIntRangeOutcomes)
{
    TSimpleSettingFile file;
    file.LoadFromText("[s]\nin=5\nlow=-1\nhigh=11\nblank= 7 \nplus=+3\nword=abc\nfrac=2.5\nempty=\n"
                      "huge=99999999999\n");
    const struct { const char* key; int result; int stored; } cases[] = {
        {"in", 1, 5},      {"low", -1, 42},  {"high", -1, 42},  {"blank", 1, 7},   {"plus", 1, 3},
        {"word", -1, 42},  {"frac", -1, 42}, {"empty", -1, 42}, {"huge", -1, 42}, {"missing", 0, 42},
    };
    for (const auto& c : cases) {
        int out = 42;
        EXPECT_EQ(file.ReadIntRange("s", c.key, out, 0, 10), c.result) << c.key;
        EXPECT_EQ(out, c.stored) << c.key;
    }
}

TEST(SettingsFile, WrittenAsUtf8AndWindowsFilesReadAsCp1251)
{
    strativ::test::TempDir dir;
    const std::string windows = dir.file("windows.ini");
    WriteFileBytes(windows, Utf8ToCp1251("[Закладки]\r\nИмя=Скважина 12\r\n"));
    {
        TSettingsFile file(windows);
        std::string value;
        ASSERT_TRUE(file.ReadString("Закладки", "Имя", value));
        EXPECT_EQ(value, "Скважина 12");
        file.WriteString("Закладки", "Номер", "2");
    }
    EXPECT_EQ(ReadFileBytes(windows), "[Закладки]\r\nИмя=Скважина 12\r\nНомер=2\r\n\r\n");
}

// One stray byte does not re-encode the file: each line is UTF-8 when it is valid UTF-8.
TEST(SettingsFile, EachLineIsDecodedOnItsOwn)
{
    strativ::test::TempDir dir;
    const std::string mixed = dir.file("mixed.ini");
    WriteFileBytes(mixed, "[Закладки]\r\nПласт=Юрский\r\n" + Utf8ToCp1251("Скв=12") + "\r\n");
    {
        TSettingsFile file(mixed);
        std::string value;
        ASSERT_TRUE(file.ReadString("Закладки", "Пласт", value));
        EXPECT_EQ(value, "Юрский");
        ASSERT_TRUE(file.ReadString("Закладки", "Скв", value));
        EXPECT_EQ(value, "12");
        file.WriteString("Закладки", "Номер", "2");
    }
    EXPECT_EQ(ReadFileBytes(mixed), "[Закладки]\r\nПласт=Юрский\r\nСкв=12\r\nНомер=2\r\n\r\n");
}

// Names that would read back as something else are refused and nothing is written.
TEST(SettingsFile, NamesTheFormatCannotHoldAreRefused)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("names.ini");
    {
        TSettingsFile file(path);
        ASSERT_TRUE(file.WriteString("S", "first", "1"));
        for (const char* key : {"[br]", "k=x", ";comment", "a\nb", "a\rb", "  ", ""})
            EXPECT_FALSE(file.WriteString("S", key, "v")) << key;
        for (const char* section : {"S]x", "a=b", "a\nb", " ", ""})
            EXPECT_FALSE(file.WriteString(section, "k", "v")) << section;
        EXPECT_FALSE(file.WriteInt("S", "[x", 1));
        EXPECT_FALSE(file.WriteBool("S]", "x", true));
        ASSERT_TRUE(file.WriteString("S", "last", "2"));
        EXPECT_TRUE(IsValidIniName("a;b[c]", false));
        EXPECT_TRUE(IsValidIniName("[a;b", true));
    }
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\nfirst=1\r\nlast=2\r\n\r\n");
    TRxIniFile rx(path);
    EXPECT_FALSE(rx.WriteString("S", "k=x", "v"));
}

TEST(SettingsFile, FailedWriteKeepsTheOldFile)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("keep.ini");
    WriteFileBytes(path, "[old]\r\nk=v\r\n");
    // A file size limit makes the write fail half-way, even for root.
    const bool saved = strativ::test::WithFileSizeLimit(4096, [&] {
        TSettingsFile file(path);
        for (int i = 0; i < 200; ++i)
            file.WriteString("new", "key" + std::to_string(i), std::string(100, 'v'));
        return file.Save();
    }); // the destructor fails too, silently
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFileBytes(path), "[old]\r\nk=v\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // no temporary left
}

TEST(SettingsFile, OnlyChangedAndReadableFilesAreRewritten)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("s.ini");
    const std::string original = "; comment kept\n[Main]\nKey=value\n";
    WriteFileBytes(path, original);
    {
        TSettingsFile settings(path);
        TRxIniFile ini(path);
        ini.WriteString("Main", "Key", "value"); // same content
    }
    EXPECT_EQ(ReadFileBytes(path), original);
    {
        TRxIniFile ini(path);
        ini.WriteInteger("Main", "Count", 2);
    }
    EXPECT_NE(ReadFileBytes(path).find("Count=2"), std::string::npos);

    if (geteuid() == 0)
        return; // root reads any file
    chmod(path.c_str(), 0200);
    {
        TSettingsFile file(path);
        EXPECT_EQ(file.GetSectionCount(), 0);
        file.WriteString("new", "k", "v");
    } // a file that could not be read is not overwritten
    chmod(path.c_str(), 0600);
    EXPECT_NE(ReadFileBytes(path).find("Count=2"), std::string::npos);
}

namespace {

struct CommaDecimal : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
};

} // namespace

TEST(SettingsFile, NumbersDoNotDependOnTheLocaleAndBadOnesGiveTheDefault)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("strativ.ini");
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    {
        TRxIniFile ini(path);
        ini.WriteInteger("Main", "Count", 12);
        ini.WriteBool("Main", "On", true);
        ini.WriteBool("Main", "Off", false);
        ini.WriteString("Main", "Long", std::string(400, 'x')); // no field caps here
        ini.WriteFloat("Print", "Width", 0.1);
        ini.WriteString("Print", "Comma", "3,25"); // written by a program of another locale
        ini.WriteString("Print", "Bad", "1.2.3");
    }
    std::locale::global(previous);
    EXPECT_NE(ReadFileBytes(path).find("Width=0.1\r\n"), std::string::npos);

    TRxIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("main", "count", 0), 12);
    EXPECT_EQ(ini.ReadInteger("Main", "Missing", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Print", "Width", 5), 5); // not a whole number
    EXPECT_TRUE(ini.ReadBool("Main", "On", false));
    EXPECT_FALSE(ini.ReadBool("Main", "Off", true));
    EXPECT_TRUE(ini.ReadBool("Main", "Missing", true));
    EXPECT_EQ(ini.ReadString("Main", "Long", "").size(), 400u);
    EXPECT_EQ(ini.ReadString("Main", "Missing", "def"), "def");
    EXPECT_EQ(ini.ReadFloat("Print", "Width", 0), 0.1);
    EXPECT_EQ(ini.ReadFloat("Print", "Comma", 0), 3.25);
    EXPECT_EQ(ini.ReadFloat("Print", "Bad", -1), -1);
    EXPECT_EQ(ini.ReadSection("MAIN"), (std::vector<std::string>{"Count", "On", "Off", "Long"}));

    TQ7SettingsFile q7(path); // the capped file reads the same texts
    double value = 7;
    EXPECT_TRUE(q7.ReadFloat("Print", "Comma", value));
    EXPECT_EQ(value, 3.25);
    value = 7;
    EXPECT_FALSE(q7.ReadFloat("Print", "Bad", value));
    EXPECT_EQ(value, 7);
}
