// Reading LAS files: how header lines split into fields and codes, how a changed line is rebuilt,
// the header-only reader (stops at ~A, usable from two threads), and the ~A data: row shapes,
// wrapping, depth direction, decimals, bad values, and line ends on the edges of read blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "core/LasNumbers.h"
#include "core/LasParser2.h"
#include "core/Lasfile.h"
#include "tests/common/TestPaths.h"
#include "tests/core/test_las_util.h"

namespace {

constexpr float N = -999.25f;
using Line = TLasParsParsedString;
using Strings = std::vector<std::string>;
using Values = std::vector<float>;
using las_test::Curve;

std::string Repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

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
        {"COMP .   ANY OIL COMPANY INC.  :COMPANY", {"COMP", "", "ANY OIL COMPANY INC.", "COMPANY"}},
        {"Cond..MS/M                     : Cond.", {"Cond", ".MS/M", "", "Cond."}},
        {"GR.gAPI: mean gamma ray value", {"GR", "gAPI", "", "mean gamma ray value"}},
        {"  STRT.   01-JAN-2020 00:00:00 : START", {"STRT", "", "01-JAN-2020 00:00:00", "START"}},
        {"MD  .m   12.5", {"MD", "m", "12.5", ""}},
        {"TIME\t    .HHMMSS\t       :", {"TIME", "HHMMSS", "", ""}},
        {"WELL. " + longValue + " : w", {"WELL", "", longValue, "w"}},
    };
    for (const auto& [raw, fields] : cases)
        EXPECT_EQ(Fields(Line::FromParameterLine(raw, kLineParameter)), fields) << raw;
}

// A changed line is rebuilt in its old layout, the text after its colon as read unless that was
// set, and reading the rebuilt text gives the new fields.
TEST(LasHeaderLine, ChangedLineIsRebuiltSoThatItReadsBackTheSame)
{
    const struct {
        std::string raw;
        int field;
        std::string text, rebuilt;
    } cases[] = {
        {"STRT    .M              1670.0000                :START DEPTH", Line::kValue, "1669.75",
         "STRT    .M              1669.75                  :START DEPTH"},
        {" DT  .US/M    60 520 32 00 :  2  SONIC", Line::kMnemonic, "DTCOMPRESSIONAL",
         " DTCOMPRESSIONAL.US/M 60 520 32 00 :  2  SONIC"},
        // The unit grows up to the value's column: a blank still parts them.
        {"DEPT.M   100 : d", Line::kUnit, "MMMM", "DEPT.MMMM 100: d"},
        {"STRT.M        1670.000000:", Line::kValue, "1669.750000", "STRT.M        1669.750000:"},
        {"TEST         .cps", Line::kDescription, "curve", "TEST         .cps  : curve"},
        // A long description stays whole, none of its characters cut in two.
        {"STRT.M 1670 :" + Repeat("Ж", 200), Line::kValue, "1669.75", "STRT.M 1669.75 :" + Repeat("Ж", 200)},
    };
    for (const auto& c : cases) {
        Line line = Line::FromParameterLine(c.raw, kLineParameter);
        EXPECT_EQ(line.Compose(), c.raw);
        line.SetField(c.field, c.text);
        EXPECT_EQ(line.Compose(), c.rebuilt);
        EXPECT_EQ(Fields(Line::FromParameterLine(line.Compose(), kLineParameter)), Fields(line));
    }
    EXPECT_EQ(Line::MakeNew("NEWC", "", "", "Добавлена", kLineCurve).Compose(),
              "NEWC    .            : Добавлена");
}

TEST(LasHeader, LinesGetTheirCodesAndSectionsTheirKindsInFileOrder)
{
    las_test::LasFiles files;
    TLasParser2Header header;
    ASSERT_TRUE(header.ParseFile(files.Write(
        "~Version\n VERS. 2.0 : v\n wrap. NO : w\n"
        "~Well\n# a comment\n STRT.M 10.0 : s\n fld . EDAM : f\n XYZ . 1 : x\n\n"
        "  HOLE NUMBER :hole\n DATE. 25-DEC-1988 : d\n"
        "~Curves\n DEPT.M : depth\n#  DEPT GR\n  DEPT GR\n GR.GAPI : g\n"
        "~Parameter\n BHT .DEGC 35.5 : t\n DATE. 1988 : again\n~Other\nfree text. with: it\n\n"
        "~SPECIAL INFORMATION\n KEY. value : kept as text\n~A\n10.0 1\n")));
    const std::vector<int> kinds{1, 2, 3, 4, 5, 7, 6};
    const std::vector<std::vector<int>> codes{
        {6, 7}, {3, 8, 14, 0, 2, 2, 21}, {4, 3, 2, 4}, {5, 21}, {2, 2}, {2}, {}};
    ASSERT_EQ(header.GetSectionCount(), 7);
    for (int s = 0; s < header.GetSectionCount(); ++s) {
        const TLasParsSection& section = *header.GetSection(s);
        EXPECT_EQ(section.GetKind(), kinds[s]);
        std::vector<int> found;
        for (int i = 0; i < section.GetCount(); ++i)
            found.push_back(section.GetLine(i)->GetKind());
        EXPECT_EQ(found, codes[s]) << "section " << s;
    }
    EXPECT_STREQ(header.GetSection(5)->GetName(), "~SPECIAL INFORMATION");

    // Codes ignore the mnemonic's case; the mnemonic lookup does not.
    const TLasParsSection& well = header.GetWellSection();
    EXPECT_STREQ(well.GetFldLine()->Value(), "EDAM");
    EXPECT_EQ(well.FindLineByMnemonic("FLD"), nullptr);
    EXPECT_EQ(well.FindLineByMnemonic("fld"), well.GetFldLine());
    EXPECT_STREQ(FindDateLine(well)->Value(), "25-DEC-1988");
}

TEST(LasHeader, Las12InformationLinesGiveTheirInformationAsValueAndWriteBackAsRead)
{
    STRATIV_REQUIRE_CORPUS();
    TLasParser2Header header;
    ASSERT_TRUE(header.ParseFile(strativ::test::CorpusDir() + "/1.2/sample.las"));
    Line comp = *header.GetWellSection().FindLineByCode(kLineComp);
    EXPECT_EQ(Fields(comp), (Strings{"COMP", "", "# ANY OIL COMPANY LTD.", "COMPANY"}));
    EXPECT_EQ(comp.Compose(), " COMP.             COMPANY:   # ANY OIL COMPANY LTD.");
    EXPECT_STREQ(header.GetWellSection().FindLineByCode(kLineStrt)->Value(), "1670.000000");
    comp.SetField(Line::kValue, "NEW OIL");
    EXPECT_EQ(comp.Compose(), " COMP.             COMPANY: NEW OIL");
}

TEST(LasHeader, HeaderReaderStopsAtTheDataSection)
{
    las_test::LasFiles files;
    const char junk[] = "~V\n VERS. 2.0 :\n~C\n DEPT.M :\n~A\n1.0\n\0\0\x01";
    const std::string path = files.Write(std::string(junk, sizeof junk - 1));
    TLasParser2Header header;
    EXPECT_TRUE(header.ParseFile(path)) << header.GetError();
    EXPECT_EQ(header.GetSection(header.GetSectionCount() - 1)->GetKind(), kSectionData);
    EXPECT_STREQ(header.FileName.c_str(), path.c_str());
    EXPECT_EQ(TLASFile(path, 2).GetLoadError(), "Некорректное значение в строке 7 файла: '\\x00\\x00\\x01'");

    EXPECT_FALSE(header.ParseFile(files.Path("missing.las")));
    EXPECT_NE(header.GetError().find("Не удалось открыть файл"), std::string::npos);
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
    STRATIV_REQUIRE_CORPUS();
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

// A LAS 2.0 text with curves DEPT, C1, C2, ... and the given ~A lines.
std::string LasText(int curves, const std::string& data, const std::string& wrap = "NO",
                    const std::string& step = "0.5")
{
    std::string text = "~VERSION INFORMATION\n VERS. 2.0 : v\n WRAP. " + wrap +
                       " : w\n~WELL INFORMATION\n STEP.M " + step +
                       " : step\n NULL. -999.25 : null\n~CURVE INFORMATION\n DEPT.M : depth\n";
    for (int c = 1; c < curves; ++c)
        text += " C" + std::to_string(c) + ".U : curve\n";
    return text + "~A\n" + data;
}

TEST(LasData, RowsAreReadUnwrappedWrappedAndReversedIntoIncreasingDepth)
{
    const struct {
        std::string wrap, step, data;
        Values depth, c1, c2;
        std::string omitted;
    } cases[] = {
        // Short rows get NULL, surplus values and a section title end the data, and the document
        // says so.
        {"NO", "0.5", "1.0 10 20\n2.0 11\n# comment\n\n3.0 +12 22 99 x\n4 1 2 3\n~X\n4 4\n",
         {1, 2, 3, 4}, {10, 11, 12, 1}, {20, N, 22, 2},
         "В строке 16 файла значений больше, чем кривых в секции ~C (3), лишние значения не "
         "загружены (всего таких строк: 2)\nВ строке 13 файла значений меньше, чем кривых в секции "
         "~C (3), вместо недостающих загружен NULL\nСтрока 18 файла начинается с '~' внутри секции ~A: "
         "она и все строки после нее не загружены\n"},
        // One stream of values; the last row is completed with NULL, and the document says so.
        {"YES", "0.5", "1.0\n  10 20\n2.0\n  11\n  21\n3.0\n  12\n", {1, 2, 3}, {10, 11, 12},
         {20, 21, N},
         "Последняя строка данных неполная (строка 17 файла, глубина 3.0): не хватает 1 значения "
         "из 3, вместо недостающих загружен NULL\n"},
        {"NO", "-0.5", "3.0 30 1\n2.5 25 2\n2.0 20 3\n", {2, 2.5f, 3}, {20, 25, 30}, {3, 2, 1}, ""},
    };
    las_test::LasFiles files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        const auto document = files.Load(LasText(3, c.data, c.wrap, c.step));
        ASSERT_TRUE(document->IsLoaded()) << document->GetLoadError();
        EXPECT_EQ(Curve(*document, 0), c.depth);
        EXPECT_EQ(Curve(*document, 1), c.c1);
        EXPECT_EQ(Curve(*document, 2), c.c2);
        EXPECT_FLOAT_EQ(document->GetStep(), 0.5f);
        EXPECT_EQ(document->GetOmittedData(), c.omitted);
    }
}

// Plain decimals, read without the general parser, give the floats it gives: signs, a bare point,
// midpoints of two floats, more digits than a double holds.
TEST(LasData, PlainDecimalsReadAsTheGeneralParserReadsThem)
{
    const Strings texts = {"-.5",      "5.",        "+1.5",       "-0.0",
                           "16777217", "33554435",  "0.30000001", "999999999999999",
                           "8.200001", "3615.8912", "1.00000005960464477539",
                           "0.000000000000001"};
    std::string rows;
    for (size_t i = 0; i < texts.size(); ++i)
        rows += std::to_string(i + 1) + " " + texts[i] + "\n";
    las_test::LasFiles files;
    const auto document = files.Load(LasText(2, rows));
    ASSERT_EQ(document->GetPointCount(), static_cast<int>(texts.size()));
    for (size_t i = 0; i < texts.size(); ++i) {
        float expected = 0.0f;
        ParseLasFloat(texts[i].data(), texts[i].data() + texts[i].size(), expected);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(document->GetCurveData(1)[i]),
                  std::bit_cast<std::uint32_t>(expected))
            << texts[i];
    }
}

TEST(LasData, BadDataFailsNamingTheLineAndTheReason)
{
    const std::pair<std::string, std::string> cases[] = {
        {"1.0 10\n2.0 11\n1.5 12\n", "Значения глубины не упорядочены (строка 13 файла)"},
        {"1.0 10\r2.0 1O\r", "Некорректное значение в строке 12 файла: '1O'"},
        {"1.0 10\r\n\r\n2.0 +-1\r\n", "Некорректное значение в строке 13 файла: '+-1'"},
        {"1.0 nan\n", "Некорректное значение в строке 11 файла: 'nan'"},
        {"1.0 1e99\n", "Некорректное значение в строке 11 файла: '1e99'"},
        {"# only a comment\n", "Файл не содержит данных"},
        {"\x1A" "1.0 10\n", "В строке 11 файла стоит символ конца файла DOS (0x1A): текст после него не "
                          "загружен, данных до него нет"},
    };
    las_test::LasFiles files;
    for (const auto& [data, error] : cases) {
        const auto document = files.Load(LasText(2, data));
        EXPECT_EQ(document->GetLoadError(), error);
        EXPECT_EQ(document->GetCurvesCount(), 0);
    }
    // Rows without curves: the refusal names the missing curves, not missing data.
    EXPECT_EQ(files.Load("~V\n VERS. 2.0 :\n~C\n# none\n~A\n1 2\n2 3\n")->GetLoadError(),
              "Секция ~C (строка 3 файла) не описывает ни одной кривой, данные со строки 6 прочитать "
              "нельзя");
    EXPECT_EQ(files.Load("~V\n VERS. 2.0 :\n~A\n1 2\n")->GetLoadError(),
              "В файле нет секции ~C с описанием кривых, данные со строки 4 прочитать нельзя");
    // A DOS end-of-file byte in the header inside a line (at the start of one: the round-trip test).
    EXPECT_EQ(files.Load("~V\n VERS. 2.0 :\n~C\n DEPT.M :\x1A\n A.U :\n~A\n1 2\n")->GetLoadError(),
              "В строке 4 файла стоит символ конца файла DOS (0x1A): текст после него не загружен, секции ~A до "
              "него нет");
}

// Decimals come from the numbers as written (NULL samples aside), so a save keeps them.
TEST(LasData, DecimalsAreTheMostEachColumnHad)
{
    las_test::LasFiles files;
    const auto document = files.Load(
        LasText(5, "1.1234567 1.5 -999.25 7 1.5E-03\n2.25 2.125 -999.25 8 2e-1\n", "NO", "0.125"),
        3);
    ASSERT_TRUE(document->IsLoaded()) << document->GetLoadError();
    // Only NULL or no number with a point: the default.
    EXPECT_EQ((std::vector<int>{document->GetCurveDecimals(1), document->GetCurveDecimals(2),
                                document->GetCurveDecimals(3), document->GetCurveDecimals(4)}),
              (std::vector<int>{3, 3, 3, 4}));
    EXPECT_EQ(document->GetDepthDecimals(), 7);
}

// Pads a line with leading blanks so that its CR falls at the given offset of the text.
void AppendLineWithCrAt(std::string& text, size_t crOffset, const std::string& content)
{
    ASSERT_GE(crOffset, text.size() + content.size());
    text += std::string(crOffset - text.size() - content.size(), ' ') + content + "\r\n";
}

// The header is read in 64 KiB blocks and the data in 256 KiB blocks after them; a line longer
// than a block is read whole.
TEST(LasData, LineEndsSplitAcrossReadBlocksCountOnce)
{
    std::string text = LasText(2, "");
    text.resize(text.size() - 3);  // reopen before "~A\n"
    text += "~Other\r\n";
    while (text.size() < 60000)
        text += "free text of the other section\r\n";
    AppendLineWithCrAt(text, 65535, "last free text");
    text += "~A\r\n";
    int rows = 0;
    for (size_t edge : {size_t{131071}, size_t{131072 + 262144 - 1}}) {
        while (text.size() < edge - 100) {
            ++rows;
            text += std::to_string(rows) + ".0 " + std::to_string(rows % 7) + "\r\n";
        }
        AppendLineWithCrAt(text, edge, std::to_string(++rows) + ".0 1");
    }
    text += std::to_string(++rows) + ".0" + std::string(600000, ' ') + "2\r\n";
    text += std::to_string(++rows) + ".0 2\r\n";
    const auto lines = std::count(text.begin(), text.end(), '\n');

    las_test::LasFiles files;
    const auto good = files.Load(text);
    ASSERT_TRUE(good->IsLoaded()) << good->GetLoadError();
    EXPECT_EQ(good->GetPointCount(), rows);
    EXPECT_FLOAT_EQ(good->GetBottomDepth(), static_cast<float>(rows));
    EXPECT_EQ(good->GetCurveData(1)[rows - 2], 2.0f);
    EXPECT_EQ(files.Load(text + "x\r\n")->GetLoadError(),
              "Некорректное значение в строке " + std::to_string(lines + 1) + " файла: 'x'");

    // A file ending in a lone CR just at the end of the first block.
    std::string other = "~V\r VERS. 2.0 :\r~O\r";
    while (other.size() < 65536 - 100)
        other += "note\r";
    TLasParser2Header header;
    other += std::string(65535 - other.size(), 'x') + "\r";
    ASSERT_TRUE(header.ParseFile(files.Write(other)));
    const TLasParsSection& section = header.GetOtherSection();
    const TLasParsParsedString* last = section.GetLine(section.GetCount() - 1);
    EXPECT_EQ(last->GetRawText(), std::string(last->GetRawText().size(), 'x'));
    EXPECT_EQ(last->GetLineNumber(), section.GetCount() + 3);
}

} // namespace
