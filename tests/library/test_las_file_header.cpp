// The LAS header model on temporary files: reading, rewriting ~W lines in place, failures that
// keep the file, encodings; and the file-list column set with its settings sections.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/CodePages.h"
#include "core/LasParser2.h"
#include "core/SettingsFile.h"
#include "library/LASDBAdaptor.h"
#include "library/LASFileHeader.h"
#include "library/LasListColSet.h"
#include "tests/common/FileBytes.h"
#include "tests/common/FileSizeLimit.h"
#include "tests/common/TestPaths.h"
#include "tests/library/LibraryFixtures.h"

using strativ::test::ReadFileBytes;
using strativ::test::Strings;
using strativ::test::TempDir;
using strativ::test::WriteFileBytes;

namespace {

const std::string kHeadLines = "~VERSION INFORMATION\r\n VERS.   2.0 : CWLS LAS 2.0\r\n"
                               " WRAP.   NO  : ONE LINE\r\n~WELL INFORMATION\r\n";
const std::string kTailLines = "~CURVE INFORMATION\r\nDEPT.M   : DEPTH\r\n~A\r\n1.0\r\n2.0\r\n";

std::string WellFile(const std::string& wellLines)
{
    return kHeadLines + wellLines + kTailLines;
}

Strings Lines(const std::string& text)
{
    Strings lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

size_t FilesIn(const std::string& folder)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

std::string ErrorOf(const std::function<void()>& action)
{
    return strativ::test::Failure(action);
}

} // namespace

TEST(LasFileHeader, ValueThatFitsKeepsTheColonInItsColumnAndEveryLineItsEnd)
{
    TempDir dir;
    const std::string path = dir.file("w.las");
    const struct {
        std::string value;
        std::string line;
    } cases[] = {{"AB", "WELL.      AB :  WELL NAME"}, {"ABCDEFGHIJ", "WELL. ABCDEFGHIJ :  WELL NAME"}};
    for (const char* end : {"\r\n", "\n"}) {
        const auto file = [&](const std::string& wellLine) {
            std::string text = WellFile(wellLine + "\r\n# WELL. comment : kept\r\n FLD .        F1 : FIELD\r\n");
            for (size_t p = 0; end == std::string("\n") && (p = text.find("\r\n", p)) != std::string::npos;)
                text.erase(p, 1);
            return text;
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.value + (end[0] == '\r' ? " CR LF" : " LF"));
            WriteFileBytes(path, file("WELL.   OLD   : WELL NAME"));
            LASFileHeader header;
            ASSERT_EQ(header.Read(path), 0);
            EXPECT_EQ(header.GetString("well"), "OLD");
            EXPECT_EQ(header.GetString("FLD"), "F1");
            header.SetValue("Well", c.value);
            EXPECT_TRUE(header.IsFieldChanged("well"));
            EXPECT_FALSE(header.IsFieldChanged("fld"));
            ASSERT_EQ(header.Write(path), 0);
            EXPECT_EQ(ReadFileBytes(path), file(c.line));
            EXPECT_EQ(FilesIn(dir.path()), 1u);
            LASFileHeader reread;
            ASSERT_EQ(reread.Read(path), 0);
            EXPECT_EQ(reread.GetString("well"), c.value);
        }
    }
    // The same text changes nothing, and nothing is written.
    LASFileHeader header;
    ASSERT_EQ(header.Read(path), 0);
    header.SetValue("well", "ABCDEFGHIJ");
    EXPECT_FALSE(header.IsFieldChanged("well"));
    const std::string before = ReadFileBytes(path);
    EXPECT_EQ(header.Write(path), -1);
    EXPECT_EQ(ReadFileBytes(path), before);
}

TEST(LasFileHeader, FailedWriteLeavesTheFileByteForByte)
{
    TempDir dir;
    const std::string path = dir.file("big.las");
    std::string data;
    for (int i = 0; i < 20000; ++i)
        data += std::to_string(1000 + i) + ".0  12.5  13.5\r\n";
    const std::string original = WellFile("WELL.  W1 : WELL\r\n") + data;
    WriteFileBytes(path, original);
    LASFileHeader header;
    ASSERT_EQ(header.Read(path), 0);
    header.SetValue("well", "W2");

    // A disk that fills up half-way through the copy.
    const int result = strativ::test::WithFileSizeLimit(original.size() / 2, [&] { return header.Write(path); });
    EXPECT_EQ(result, LASFileHeader::WriteFailed);
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(FilesIn(dir.path()), 1u);

    // A file that is gone cannot be opened; a temporary file already in the folder is not touched.
    WriteFileBytes(dir.file("big.las0.~tmp"), "other");
    EXPECT_EQ(header.Write(dir.file("gone.las")), LASFileHeader::OpenFailed);
    EXPECT_EQ(ReadFileBytes(dir.file("big.las0.~tmp")), "other");
    EXPECT_EQ(FilesIn(dir.path()), 2u);
}

TEST(LasFileHeader, Las12InformationIsWrittenAfterTheColon)
{
    STRATIV_REQUIRE_CORPUS();
    TempDir dir;
    const std::string path = dir.file("sample.las");
    std::filesystem::copy_file(strativ::test::CorpusDir() + "/1.2/sample.las", path);
    const Strings before = Lines(ReadFileBytes(path));
    LASFileHeader header;
    ASSERT_EQ(header.Read(path), 0);
    EXPECT_EQ(header.GetString("well"), "ANY ET AL OIL WELL #12");
    header.SetValue("well", "NEW WELL 7");
    header.SetValue("date", "12.05.2004 10:30");
    ASSERT_EQ(header.Write(path), 0);

    TLasParser2Header reread;
    ASSERT_TRUE(reread.ParseFile(path));
    EXPECT_STREQ(reread.GetWellSection().FindLineByCode(kLineWell)->Value(), "NEW WELL 7");
    EXPECT_STREQ(reread.GetWellSection().FindLineByCode(kLineDate)->Value(), "12.05.2004 10:30");
    header.SetValue("date", "13.05.2004 11:45");  // a value holding a colon, rewritten again
    ASSERT_EQ(header.Write(path), 0);
    ASSERT_EQ(header.Read(path), 0);
    EXPECT_EQ(header.GetString("date"), "13.05.2004 11:45");
    const Strings after = Lines(ReadFileBytes(path));
    ASSERT_EQ(after.size(), before.size());
    int changed = 0;
    for (size_t i = 0; i < after.size(); ++i)
        changed += after[i] != before[i];
    EXPECT_EQ(changed, 2);
    EXPECT_NE(std::find(after.begin(), after.end(), " WELL.                WELL: NEW WELL 7"), after.end());
}

TEST(LasFileHeader, FieldNamesAndTheirErrors)
{
    LASFileHeader header;
    EXPECT_EQ(header.GetFieldNames(), (Strings{"fld", "well", "comp", "srvc", "date", "loc"}));
    EXPECT_TRUE(header.HasField("LOC"));
    EXPECT_TRUE(header.HasField("Loc"));
    EXPECT_FALSE(header.HasField("uwi"));
    EXPECT_EQ(header.GetFieldCaption("DATE"), "Дата");
    EXPECT_EQ(ErrorOf([&] { header.GetString("uwi"); }), "Поле отсутствует: uwi");
    EXPECT_EQ(ErrorOf([&] { header.SetValue("uwi", "1"); }), "Отсутствует поле uwi");
    header.SetValue("loc", "12abc");
    EXPECT_EQ(header.GetInt("loc"), 12);
    EXPECT_FLOAT_EQ(static_cast<float>(header.GetFloat("loc")), 12.0f);
    EXPECT_EQ(ErrorOf([&] { header.GetBool("loc"); }), "Invalid data type conversion");
    header.SetValue("loc", "1");
    EXPECT_TRUE(header.GetBool("loc"));
}

TEST(LasFileHeader, TextsAreReadAndWrittenInTheFilesOwnEncoding)
{
    TempDir dir;
    const std::string wellLines = " WELL.   W1 : WELL\r\n FLD .  Восточная-3 : FIELD\r\n COMP.  ООО Тест : COMPANY\r\n";
    const struct {
        const char* name;
        TextEncoding encoding;
    } files[] = {{"oem.las", TextEncoding::Cp866}, {"win.las", TextEncoding::Cp1251}, {"utf.las", TextEncoding::Utf8}};
    for (const auto& f : files) {
        const std::string path = dir.file(f.name);
        std::string bytes;
        ASSERT_TRUE(EncodeText(WellFile(wellLines), f.encoding, bytes));
        WriteFileBytes(path, bytes);

        LASFileHeader header;
        ASSERT_EQ(header.Read(path), 0);
        EXPECT_EQ(header.GetEncoding(), f.encoding) << f.name;
        EXPECT_EQ(header.GetString("fld"), "Восточная-3") << f.name;
        TLasParser2Header parsed;
        ASSERT_TRUE(parsed.ParseFile(path));
        TLasListColSet columns;
        std::string shown;
        ASSERT_TRUE(columns.FindValue(0, parsed, shown));  // Площадь
        EXPECT_EQ(shown, "Восточная-3");

        header.SetValue("fld", "Западная-4");
        ASSERT_EQ(header.Write(path), 0);
        LASFileHeader reread;
        ASSERT_EQ(reread.Read(path), 0);
        EXPECT_EQ(reread.GetString("fld"), "Западная-4");
        std::string expectedText;
        ASSERT_TRUE(EncodeText(WellFile(" WELL.   W1 : WELL\r\n FLD .   Западная-4 :  FIELD\r\n"
                                        " COMP.  ООО Тест : COMPANY\r\n"),
                               f.encoding, expectedText));
        EXPECT_EQ(ReadFileBytes(path), expectedText) << f.name;
    }
    // A header with no byte above 0x7F is taken as CP866.
    WriteFileBytes(dir.file("ascii.las"), WellFile(" FLD . EAST : FIELD\r\n"));
    LASFileHeader header;
    ASSERT_EQ(header.Read(dir.file("ascii.las")), 0);
    EXPECT_EQ(header.GetEncoding(), TextEncoding::Cp866);
    header.SetValue("fld", "Юг");
    ASSERT_EQ(header.Write(dir.file("ascii.las")), 0);
    EXPECT_NE(ReadFileBytes(dir.file("ascii.las")).find(AnsiToOemString("Юг :")), std::string::npos);
}

TEST(LasFileHeader, ValuesTheFileCannotHoldAreRefused)
{
    TempDir dir;
    const std::string oem = dir.file("oem.las");
    WriteFileBytes(oem, AnsiToOemString(WellFile(" FLD . Поле : FIELD\r\n")));
    LASFileHeader header;
    ASSERT_EQ(header.Read(oem), 0);
    const std::string expected =
        "Значение поля 'Площадь' содержит символы, которые нельзя записать в LAS файл: '₁'";
    EXPECT_EQ(ErrorOf([&] { header.SetValue("fld", "H₁O"); }), expected);
    EXPECT_EQ(ErrorOf([&] { header.SetValue("fld", "a\nb"); }),
              "Значение поля 'Площадь' содержит символы, которые нельзя записать в LAS файл: 'перевод строки'");
    EXPECT_FALSE(header.IsFieldChanged("fld"));
    EXPECT_EQ(header.Write(oem), -1);

    const std::string utf = dir.file("utf.las");
    WriteFileBytes(utf, WellFile(" FLD . Поле : FIELD\r\n"));
    ASSERT_EQ(header.Read(utf), 0);
    header.SetValue("fld", "H₁O");
    ASSERT_EQ(header.Write(utf), 0);
    ASSERT_EQ(header.Read(utf), 0);
    EXPECT_EQ(header.GetString("fld"), "H₁O");
}

TEST(LasListColSet, DefaultsAndTheSettingsFileRoundTrip)
{
    TempDir dir;
    const std::string ini = dir.file("lasbrowse.ini");
    TLasListColSet set;
    ASSERT_TRUE(set.Load(ini));  // no file: the defaults
    ASSERT_EQ(set.Items.Count(), 5);
    const int codes[] = {14, 13, 21, 20, 12};
    const char* captions[] = {"Площадь", "Скважина", "Дата", "Исполнитель", "Компания"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(set.Items[i].Mnem, codes[i]);
        EXPECT_EQ(set.Items[i].Caption, captions[i]);
        EXPECT_EQ(set.Items[i].Width, 100);
        EXPECT_EQ(set.Items[i].LASSection, 2);
    }

    set.Items.Clear();
    set.AddPredefined(6).Width = 70;
    TLasColSetItem& custom = set.Items[set.Items.AddNew()];
    custom.SetName("PDAT");
    custom.SetCaption("Дата бурения");
    custom.LASSection = 4;
    custom.Width = 120;
    ASSERT_TRUE(set.Save(ini));
    TLasListColSet loaded;
    ASSERT_TRUE(loaded.Load(ini));
    ASSERT_EQ(loaded.Items.Count(), 2);
    EXPECT_EQ(loaded.Items[0].Caption, "Версия");
    EXPECT_EQ(loaded.Items[0].LASSection, 1);
    EXPECT_EQ(loaded.Items[0].Width, 70);
    EXPECT_EQ(loaded.Items[1].Name, "PDAT");
    EXPECT_EQ(loaded.Items[1].SearchType, 1);
    EXPECT_EQ(loaded.Items[1].Caption, "Дата бурения");
    EXPECT_EQ(loaded.Items[1].LASSection, 4);
    EXPECT_EQ(loaded.Items[1].Width, 120);

    // One column saved over two: the section of the second goes.
    loaded.Items.Delete(1);
    ASSERT_TRUE(loaded.Save(ini));
    {
        TSettingsFile file(ini);
        EXPECT_EQ(file.FindSection("1"), -1);
        EXPECT_GE(file.FindSection("0"), 0);
    }
}

TEST(LasListColSet, OutOfRangeEntriesTakeDefaultsOrAreDropped)
{
    TempDir dir;
    const std::string ini = dir.file("lasbrowse.ini");
    const std::string longName(70, 'N');
    std::string longCaption;
    for (int i = 0; i < 70; ++i)
        longCaption += "Ж";
    WriteFileBytes(ini, "[LLCSettings]\n0=a\n1=b\n2=c\n[0]\nMnem=13\nWidth=600\nLASSection=9\n"
                        "[1]\nMnem=24\n[2]\nMnem=0\nSearchType=1\nName=" + longName + "\nCaption=" + longCaption + "\n");
    TLasListColSet set;
    ASSERT_TRUE(set.Load(ini));
    ASSERT_EQ(set.Items.Count(), 2);
    EXPECT_EQ(set.Items[0].Width, 50);
    EXPECT_EQ(set.Items[0].LASSection, 7);
    EXPECT_EQ(set.Items[0].Caption, "Не определено");
    EXPECT_EQ(set.Items[1].Name, std::string(63, 'N'));
    EXPECT_EQ(set.Items[1].Caption.size(), 64u * 2);  // 64 two-byte letters, none cut in half

    WriteFileBytes(ini, "[Options]\nMode=0\n[Sort]\nType=1\n");
    EXPECT_FALSE(set.Load(ini));
    EXPECT_EQ(set.Items.Count(), 0);
}
