// The LAS header model: how lines split into fields and codes, how sections are kept, how a
// changed line is rebuilt, and the header-only reader (which must be usable from two threads).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/LasParser2.h"
#include "core/Lasfile.h"
#include "tests/common/TestPaths.h"
#include "tests/core/test_las_util.h"

namespace {

using las_test::WriteText;
using Line = TLasParsParsedString;
using Strings = std::vector<std::string>;

Strings Fields(const Line& line)
{
    return {line.Mnemonic(), line.Unit(), line.Value(), line.Description()};
}

TEST(LasHeaderLine, SplitsAtFirstDotFirstBlankAfterItAndLastColon)
{
    const std::string longValue(300, 'x');
    const std::pair<std::string, Strings> cases[] = {
        {" DEPT.M                      :  1  DEPTH", {"DEPT", "M", "", "1  DEPTH"}},
        {"STRT    .M        1670.0000     :START DEPTH", {"STRT", "M", "1670.0000", "START DEPTH"}},
        {"COMP .   ANY OIL COMPANY INC.   :COMPANY", {"COMP", "", "ANY OIL COMPANY INC.", "COMPANY"}},
        {"Cond..MS/M                     : Cond.", {"Cond", ".MS/M", "", "Cond."}},
        {"GR.gAPI: mean gamma ray value", {"GR", "gAPI", "", "mean gamma ray value"}},
        {"  STRT.   01-JAN-2020 00:00:00 : START", {"STRT", "", "01-JAN-2020 00:00:00", "START"}},
        {"TEST               .cps", {"TEST", "cps", "", ""}},
        {"MD  .m   12.5", {"MD", "m", "12.5", ""}},
        {"TIME\t    .HHMMSS\t       :", {"TIME", "HHMMSS", "", ""}},
        {" .OHMM                   :  5  RXO", {"", "OHMM", "", "5  RXO"}},
        {"WELL. " + longValue + " : w", {"WELL", "", longValue.substr(0, 255), "w"}},
    };
    for (const auto& [raw, fields] : cases)
        EXPECT_EQ(Fields(Line::FromParameterLine(raw, kLineParameter)), fields) << raw;
}

// A changed line is rebuilt in its old layout, and reading the rebuilt text gives the new fields.
TEST(LasHeaderLine, ChangedLineIsRebuiltSoThatItReadsBackTheSame)
{
    const struct {
        std::string raw;
        int field;
        std::string text;
        std::string rebuilt;
    } cases[] = {
        {"STRT    .M              1670.0000                :START DEPTH", Line::kValue, "1669.75",
         "STRT    .M              1669.75                  : START DEPTH"},
        {" DT  .US/M    60 520 32 00 :  2  SONIC", Line::kMnemonic, "DTCOMPRESSIONAL",
         " DTCOMPRESSIONAL.US/M 60 520 32 00 : 2  SONIC"},
        {" DT  .US/M    60 520 32 00 :  2  SONIC", Line::kUnit, "MICROSECONDS/M",
         " DT  .MICROSECONDS/M 60 520 32 00 : 2  SONIC"},
        {"STRT.M        1670.000000:", Line::kValue, "1669.750000", "STRT.M        1669.750000:"},
        {"TEST               .cps", Line::kDescription, "test curve",
         "TEST               .cps  : test curve"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw);
        Line line = Line::FromParameterLine(c.raw, kLineParameter);
        EXPECT_EQ(line.Compose(), c.raw);
        line.SetField(c.field, c.text);
        EXPECT_EQ(line.Compose(), c.rebuilt);
        EXPECT_EQ(Fields(Line::FromParameterLine(line.Compose(), kLineParameter)), Fields(line));
    }
    const Line added = Line::MakeNew("NEWC", "", "", "Добавлена", kLineCurve);
    EXPECT_EQ(added.Compose(), "NEWC    .            : Добавлена");
}

TEST(LasHeader, LinesGetTheirCodesAndSectionsTheirKindsInFileOrder)
{
    strativ::test::TempDir dir;
    WriteText(dir.file("h.las"), "~Version\n VERS. 2.0 : v\n wrap. NO : w\n"
                                 "~Well\n# a comment\n STRT.M 10.0 : s\n fld . EDAM : f\n"
                                 " XYZ . 1 : x\n\n  HOLE NUMBER :hole\n DATE. 25-DEC-1988 : d\n"
                                 "~Curves\n DEPT.M : depth\n#  DEPT GR\n  DEPT GR\n GR.GAPI : g\n"
                                 "~Parameter\n BHT .DEGC 35.5 : t\n DATE. 1988 : again\n"
                                 "~Other\nfree text. with: punctuation\n\n"
                                 "~SPECIAL INFORMATION\n KEY. value : kept as text\n~A\n10.0 1\n");
    TLasParser2Header header;
    ASSERT_TRUE(header.ParseFile(dir.file("h.las"))) << header.GetError();
    std::vector<int> kinds;
    for (int i = 0; i < header.GetSectionCount(); ++i)
        kinds.push_back(header.GetSection(i)->GetKind());
    EXPECT_EQ(kinds, (std::vector<int>{1, 2, 3, 4, 5, 7, 6}));
    EXPECT_STREQ(header.GetSection(5)->GetName(), "~SPECIAL INFORMATION");

    auto codes = [](const TLasParsSection& section) {
        std::vector<int> result;
        for (int i = 0; i < section.GetCount(); ++i)
            result.push_back(section.GetLine(i)->GetKind());
        return result;
    };
    EXPECT_EQ(codes(header.GetVersionSection()), (std::vector<int>{6, 7}));
    EXPECT_EQ(codes(header.GetWellSection()), (std::vector<int>{3, 8, 14, 0, 2, 21}));
    EXPECT_EQ(codes(header.GetCurveSection()), (std::vector<int>{4, 3, 2, 4}));
    EXPECT_EQ(codes(header.GetParameterSection()), (std::vector<int>{5, 21}));
    EXPECT_EQ(codes(header.GetOtherSection()), (std::vector<int>{2, 2}));  // blank line kept
    EXPECT_EQ(codes(*header.GetSection(5)), (std::vector<int>{2}));

    // Codes ignore the mnemonic's case; the mnemonic lookup does not.
    const TLasParsSection& well = header.GetWellSection();
    EXPECT_STREQ(well.GetFldLine()->Value(), "EDAM");
    EXPECT_EQ(well.FindLineByMnemonic("FLD"), nullptr);
    EXPECT_EQ(well.FindLineByMnemonic("fld"), well.GetFldLine());
    EXPECT_STREQ(FindDateLine(well)->Value(), "25-DEC-1988");
}

TEST(LasHeader, Las12InformationLinesGiveTheirInformationAsValueAndWriteBackAsRead)
{
    TLasParser2Header header;
    ASSERT_TRUE(header.ParseFile(strativ::test::CorpusDir() + "/1.2/sample.las"));
    Line comp = *header.GetWellSection().FindLineByCode(kLineComp);
    EXPECT_EQ(Fields(comp), (Strings{"COMP", "", "# ANY OIL COMPANY LTD.", "COMPANY"}));
    EXPECT_EQ(comp.Compose(), " COMP.             COMPANY:   # ANY OIL COMPANY LTD.");
    EXPECT_STREQ(header.GetWellSection().FindLineByCode(kLineStrt)->Value(), "1670.000000");
    comp.SetField(Line::kValue, "NEW OIL");
    EXPECT_EQ(comp.Compose(), " COMP.             COMPANY: NEW OIL");

    ASSERT_TRUE(header.ParseFile(strativ::test::CorpusDir() + "/2.0/sample_2.0.las"));
    EXPECT_STREQ(header.GetWellSection().FindLineByCode(kLineComp)->Value(), "ANY OIL COMPANY INC.");
}

TEST(LasHeader, HeaderReaderStopsAtTheDataSectionAndKeepsTheWholePath)
{
    strativ::test::TempDir dir;
    // A path longer than the 255-byte name field.
    std::string folder = dir.path();
    while (folder.size() < 300)
        folder += "/folder_with_a_long_name";
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/junk.las";
    const char junk[] = "~V\n VERS. 2.0 :\n~C\n DEPT.M :\n~A\n1.0\n\0\0\x01";
    WriteText(path, std::string(junk, sizeof junk - 1));
    TLasParser2Header header;
    EXPECT_TRUE(header.ParseFile(path)) << header.GetError();
    EXPECT_EQ(header.GetSection(header.GetSectionCount() - 1)->GetKind(), kSectionData);
    EXPECT_EQ(header.GetFilePath(), path);
    EXPECT_EQ(std::string(header.FileName.c_str()), path.substr(0, 255));

    TLASFile document(path, 2);  // the full reader reaches the junk
    EXPECT_EQ(document.GetLoadError(), "Некорректное значение в строке 7 файла: '?\?\?'");
    EXPECT_FALSE(header.ParseFile(dir.file("missing.las")));
    EXPECT_NE(header.GetError().find("Не удалось открыть файл"), std::string::npos);
}

// The header is read in blocks of 64 KiB: a file ending in a CR just at a block's end.
TEST(LasHeader, LastLineEndingInCrAtABlockEdgeKeepsNoCr)
{
    strativ::test::TempDir dir;
    std::string text = "~V\r VERS. 2.0 :\r~O\r";
    while (text.size() < 65536 - 100)
        text += "note\r";
    WriteText(dir.file("o.las"), text + std::string(65536 - 1 - text.size(), 'x') + "\r");
    TLasParser2Header header;
    ASSERT_TRUE(header.ParseFile(dir.file("o.las")));
    const TLasParsSection& other = header.GetOtherSection();
    EXPECT_EQ(other.GetLine(other.GetCount() - 1)->GetRawText().find('\r'), std::string::npos);
    EXPECT_EQ(other.GetLine(other.GetCount() - 1)->GetLineNumber(), other.GetCount() + 3);
}

Strings HeaderSummary(const std::string& path)
{
    TLasParser2Header header;
    Strings summary{header.ParseFile(path) ? "read" : "failed"};
    for (int s = 0; s < header.GetSectionCount(); ++s)
        for (int i = 0; i < header.GetSection(s)->GetCount(); ++i) {
            const Strings fields = Fields(*header.GetSection(s)->GetLine(i));
            summary.insert(summary.end(), fields.begin(), fields.end());
        }
    return summary;
}

TEST(LasHeader, TwoThreadsParsingDifferentFilesGetTheSameAsOneAtATime)
{
    const std::string files[] = {strativ::test::CorpusDir() + "/1.2/sample_wrapped.las",
                                 strativ::test::CorpusDir() + "/multi_channel.las"};
    const Strings expected[] = {HeaderSummary(files[0]), HeaderSummary(files[1])};
    int mismatches[2] = {0, 0};
    auto parseMany = [&](int f) {
        for (int round = 0; round < 200; ++round)
            mismatches[f] += HeaderSummary(files[f]) != expected[f];
    };
    std::thread first(parseMany, 0);
    std::thread second(parseMany, 1);
    first.join();
    second.join();
    EXPECT_EQ(mismatches[0] + mismatches[1], 0);
}

} // namespace
