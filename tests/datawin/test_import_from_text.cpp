// Import of column text files and the saved import sets, without the window.
#include "core/Lasfile.h"
#include "core/NewLASInfo.h"
#include "datawin/ExportTable.h"
#include "datawin/ImportFromText.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace strativ::test {
namespace {

ImportResult Import(const std::string& text, const ImportFromTextParams& params, NewLASInfo& info)
{
    std::istringstream in(text);
    return ImportFromText(params, in, info);
}

TEST(ImportFromTextTest, SplittingRulesTreatRunsOfDelimitersAsOne)
{
    std::vector<std::string> words;
    SplitByDelimiters(";;1000;;1.5;", words, ";");
    EXPECT_EQ(words, (std::vector<std::string>{"1000", "1.5"}));
    words.clear();
    SplitByDelimiters("a | b||c", words, " |");
    EXPECT_EQ(words, (std::vector<std::string>{"a", "b", "c"}));
    words.clear();
    std::istringstream line(" 1000\t 1.5   2.5 ");
    EXPECT_EQ(SplitByWhitespace(words, line), 3);
    EXPECT_EQ(words, (std::vector<std::string>{"1000", "1.5", "2.5"}));
}

TEST(ImportFromTextTest, WordsAreConvertedWhole)
{
    ImportNumber number;
    EXPECT_TRUE(ConvertImportWord("1,5", number));
    EXPECT_EQ(number.value, 1.5);
    EXPECT_EQ(number.text, "1.5");
    EXPECT_TRUE(ConvertImportWord("-2.5e3", number));
    EXPECT_EQ(number.single, -2500.0f);
    for (const char* bad : {"12abc", "abc", "1.5.5", "", "1,5,5", "inf", "1e40"})
        EXPECT_FALSE(ConvertImportWord(bad, number)) << bad;
    // Below the float range, as the reader takes it.
    for (const char* tiny : {"1.2e-50", "-1e-400"}) {
        ASSERT_TRUE(ConvertImportWord(tiny, number)) << tiny;
        EXPECT_EQ(number.single, 0.0f) << tiny;
    }
}

TEST(ImportFromTextTest, ColumnsBecomeCurvesWithTheDepthFromTheFile)
{
    ImportFromTextParams params;
    params.Delimiters = " ";
    NewLASInfo info;
    ASSERT_EQ(Import("1000 1.5 2.5\n1001 1.6 2.6\r\n1002 1.7\n", params, info), ImportResult::Done);
    EXPECT_EQ(info.Depth, (std::vector<double>{1000, 1001, 1002}));
    EXPECT_EQ(info.Step, 1.0f);
    ASSERT_EQ(info.Curves.size(), 2u);
    EXPECT_EQ(info.Curves[0].Mnemonic, "c_0");
    EXPECT_EQ(info.Curves[1].Description, "imported");
    EXPECT_EQ(info.Curves[0].Values, (FloatVector{1.5f, 1.6f, 1.7f}));
    EXPECT_EQ(info.Curves[1].Values, (FloatVector{2.5f, 2.6f}));  // short row: NULL when written

    // The delimiter ";" only: each line is one word, its number read whole fails: no rows at all.
    params.Delimiters = ";";
    EXPECT_EQ(Import("1000 1.5 2.5\n1001 1.6 2.6\n", params, info), ImportResult::NoCurves);
    EXPECT_EQ(Import("1000;;1.5;\n1001;1.6\n", params, info), ImportResult::Done);
    EXPECT_EQ(info.Curves[0].Values, (FloatVector{1.5f, 1.6f}));
}

TEST(ImportFromTextTest, StartLineAndSkippedCharactersOrWords)
{
    ImportFromTextParams params;
    NewLASInfo info;
    params.StartLine = 3;
    params.SkipCount = 5;
    ASSERT_EQ(Import("header\n9 9\nABCDE1000 1.5\nABCDE1001 1.6\nABC\n", params, info), ImportResult::Done);
    EXPECT_EQ(info.Depth, (std::vector<double>{1000, 1001}));
    params.StartLine = 1;
    params.SkipCount = 1;
    params.SkipWords = true;
    ASSERT_EQ(Import("X 1000 1.5\nX\nY 1001,5 1.6\n", params, info), ImportResult::Done);
    EXPECT_EQ(info.Depth, (std::vector<double>{1000, 1001.5f}));
    EXPECT_EQ(info.Curves[0].Values, (FloatVector{1.5f, 1.6f}));
    params.InColumns = false;  // data in rows imports nothing
    EXPECT_EQ(Import("1000 1.5\n1001 1.6\n", params, info), ImportResult::NoCurves);
}

TEST(ImportFromTextTest, ErrorsAreIgnoredOrStopTheImport)
{
    ImportFromTextParams params;
    NewLASInfo info;
    ASSERT_EQ(Import("1000 abc 2.5\nabc 1.5 2.5\n1001 12abc 2.6\n", params, info), ImportResult::Done);
    EXPECT_EQ(info.Depth, (std::vector<double>{1000, 1001}));  // the line with no depth dropped
    EXPECT_EQ(info.Curves[0].Values, (FloatVector{-32768.0f, -32768.0f}));
    params.IgnoreErrors = false;
    try {
        Import("1000 1.5\n1001 abc\n", params, info);
        FAIL() << "no stop";
    } catch (const ImportStopped& error) {
        EXPECT_STREQ(error.what(), "Invalid data type conversion");
    }
    EXPECT_EQ(info.Depth, (std::vector<double>{1000}));  // what was read before stays

    // A number beyond the float range is refused with its line, errors ignored or not.
    for (const bool ignore : {true, false}) {
        params.IgnoreErrors = ignore;
        for (const char* number : {"-5e38", "4e38", "1e39"}) {
            try {
                Import("1000 1.5\n1001 " + std::string(number) + "\n", params, info);
                ADD_FAILURE() << number << " taken";
            } catch (const ImportStopped&) {
                ADD_FAILURE() << number << " stopped as not a number";
            } catch (const std::runtime_error& error) {
                EXPECT_EQ(error.what(), "Число " + std::string(number) +
                                            " в строке 2 файла вне диапазона чисел файла LAS: файл не создается.");
            }
        }
    }
}

TEST(ImportFromTextTest, DepthByHandAndRefusedDepths)
{
    ImportFromTextParams params;
    params.DepthByHand = true;
    params.StartDepth = 100;
    params.StepOrEnd = 0.5f;
    NewLASInfo info;
    ASSERT_EQ(Import("1.5 2\n1.6 3\n1.7 4\n", params, info), ImportResult::Done);
    EXPECT_EQ(info.Depth, (std::vector<double>{100, 100.5f, 101}));
    EXPECT_EQ(info.Curves.size(), 2u);
    params.StepGiven = false;
    params.StepOrEnd = 110;
    ASSERT_EQ(Import("1.5\n1.6\n1.7\n", params, info), ImportResult::Done);
    EXPECT_EQ(info.Depth, (std::vector<double>{100, 105, 110}));
    EXPECT_EQ(info.Step, 5.0f);
    EXPECT_EQ(Import("1.5\n", params, info), ImportResult::TooFewRows);

    params.DepthByHand = false;
    EXPECT_EQ(Import("1000 1\n", params, info), ImportResult::TooFewDepths);
    EXPECT_EQ(Import("1000 1\n1001 2\n1001 3\n", params, info), ImportResult::DepthNotMonotonic);
    EXPECT_EQ(Import("1000 1\n999 2\n998 3\n", params, info), ImportResult::Done);  // falling is fine
}

TEST(ImportFromTextTest, SavedSetsHaveExactBytesAndReadBack)
{
    TempDir dir;
    const std::string folder = dir.path() + "/";
    ImportFromTextParams params;
    params.SkipCount = 3;
    EXPECT_EQ(SaveImportSet(folder, "Первый", params), "ip_0.sav");
    EXPECT_EQ(ReadFileBytes(folder + "ip_0.sav"),
              "Первый\r\n \t|:&!/;$#@(){}[]\r\n1\r\n0\r\n1\r\n3\r\n0\r\n1");
    params.DepthByHand = true;
    params.StartDepth = 12345.67f;
    params.StepGiven = false;
    params.StepOrEnd = 0.1524f;
    params.IgnoreErrors = false;
    EXPECT_EQ(SaveImportSet(folder, "Второй", params), "ip_1.sav");
    EXPECT_EQ(ReadFileBytes(folder + "ip_1.sav"),
              "Второй\r\n \t|:&!/;$#@(){}[]\r\n1\r\n1\r\n1\r\n3\r\n0\r\n0\r\n12345.67\r\n0\r\n0.1524");

    ImportFromTextParams read;
    EXPECT_EQ(ReadImportSet(folder + "ip_1.sav", &read), "Второй");
    EXPECT_EQ(read.Delimiters, params.Delimiters);
    EXPECT_EQ(read.StartDepth, 12345.67f);
    EXPECT_EQ(read.StepOrEnd, 0.1524f);
    EXPECT_FALSE(read.StepGiven);
    EXPECT_FALSE(read.IgnoreErrors);

    // Broken files and a CP1251 name among the sets; the smallest free number is taken again.
    WriteFileBytes(folder + "ip_2.sav", "only a name");
    WriteFileBytes(folder + "ip_3.sav", "\xCD\xE0\xE1\xEE\xF0\n;\n1\n0\n1\n0\n0\n1");
    std::filesystem::remove(folder + "ip_0.sav");
    EXPECT_EQ(SaveImportSet(folder, "Третий", ImportFromTextParams{}), "ip_0.sav");
    std::vector<std::string> names;
    for (const SavedImport& set : ListSavedImports(folder))
        names.push_back(set.FileName + "=" + set.Name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"ip_0.sav=Третий", "ip_1.sav=Второй", "ip_3.sav=Набор"}));
}

// A table exported from a long grid of eight-digit depths, imported through the new-file record,
// gives back its numbers, rising or falling, with STRT, STOP and STEP that agree with its rows.
TEST(ImportFromTextTest, ExportedTableImportsAsTheSameNumbers)
{
    TempDir dir;
    std::string las = "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n NULL. -999.25 :\n~Curve\n DEPT.M :\n GR.API :\n~A\n";
    for (long long i = 0; i < 14000; ++i) {
        char line[64];  // 2153.8600 + i * 0.1524
        std::snprintf(line, sizeof line, "%lld.%04lld %.4f\n", (21538600 + i * 1524) / 10000,
                      (21538600 + i * 1524) % 10000, 2692.7075 + i * 0.0173);
        las += line;
    }
    WriteFileBytes(dir.file("grid.las"), las);
    int error = 0;
    ASSERT_TRUE(WriteExportTable(TLASFile(dir.file("grid.las"), 2), {1}, 0, 0, 1, 13999, dir.file("table.txt"), error));
    // The words of each line after the last line holding `mark`.
    const auto rows = [](const std::string& text, const std::string& mark) {
        std::vector<std::vector<std::string>> words;
        std::istringstream lines(text.substr(text.find('\n', text.rfind(mark)) + 1));
        for (std::string line; std::getline(lines, line);) {
            std::istringstream in(line);
            words.emplace_back(std::istream_iterator<std::string>(in), std::istream_iterator<std::string>());
        }
        return words;
    };
    const std::string table = ReadFileBytes(dir.file("table.txt"));
    for (const bool falling : {false, true}) {
        SCOPED_TRACE(falling);
        // Rising: the whole table, its header lines dropped as words that are no numbers.
        auto given = rows(table, "-----");
        std::string text = table;
        if (falling) {
            std::reverse(given.begin(), given.end());
            text.clear();
            for (const auto& row : given)
                text += row[0] + " " + row[1] + "\n";
        }
        NewLASInfo info;
        std::istringstream in(text);
        ASSERT_EQ(ImportFromText(ImportFromTextParams{}, in, info), ImportResult::Done);
        ASSERT_EQ(WriteNewLASFile(info, dir.file("imported.las")), NewLASWritten);
        ASSERT_EQ(rows(ReadFileBytes(dir.file("imported.las")), "~ASCII"), given);
        const TLASFile read(dir.file("imported.las"), 2);
        const TLasParsSection& well = read.GetParser().GetWellSection();
        EXPECT_EQ(well.FindLineByCode(kLineStrt)->Value(), given.front()[0]);
        EXPECT_EQ(well.FindLineByCode(kLineStop)->Value(), given.back()[0]);
        EXPECT_STREQ(well.FindLineByCode(kLineStep)->Value(), falling ? "-0.1524" : "0.1524");
    }
}

// A value below the float range, which the reader takes, is exported as the file's text and
// imported as the reader's value.
TEST(ImportFromTextTest, ExportedUnderflowImportsAsTheReaderReadsIt)
{
    TempDir dir;
    WriteFileBytes(dir.file("tiny.las"), "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n NULL. -999.25 :\n~Curve\n"
                                         " DEPT.M :\n A.U :\n~A\n1000.0 1.5\n1000.5 1.2e-50\n1001.0 -1e-400\n");
    const TLASFile document(dir.file("tiny.las"), 2);
    ASSERT_TRUE(document.IsLoaded()) << document.GetLoadError();
    int error = 0;
    ASSERT_TRUE(WriteExportTable(document, {1}, 0, 0, 1, 2, dir.file("table.txt"), error));
    ASSERT_NE(ReadFileBytes(dir.file("table.txt")).find("1.2e-50"), std::string::npos);
    std::ifstream in(dir.file("table.txt"), std::ios::binary);
    NewLASInfo info;
    ASSERT_EQ(ImportFromText(ImportFromTextParams{}, in, info), ImportResult::Done);
    ASSERT_EQ(info.Curves.size(), 1u);
    const float* read = document.GetCurveData(1);
    EXPECT_EQ(info.Curves[0].Values, std::vector<float>(read, read + 3));
    EXPECT_TRUE(std::signbit(info.Curves[0].Values[2]));
}

// The export writes the file's own numbers, rising or written bottom up: unchanged values with
// their texts, a changed one and a typed one as a save writes them, NULL as the file writes it.
TEST(ImportFromTextTest, ExportWritesTheFilesOwnNumbers)
{
    TempDir dir;
    const std::string head = "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n NULL. -999.25 :\n~Curve\n DEPT.M :\n"
                             " A.U :\n B.U :\n~A\n";
    const std::vector<std::string> rows = {"1000.0 50.2455 77.621963501", "1000.5 113.631073 -999.25",
                                           "1001.0 1.2e-05 0.000000001"};
    for (const bool upward : {false, true}) {
        SCOPED_TRACE(upward);
        std::string las = head;
        for (size_t i = 0; i < rows.size(); ++i)
            las += rows[upward ? rows.size() - 1 - i : i] + "\n";
        WriteFileBytes(dir.file("nine.las"), las);
        TLASFile document(dir.file("nine.las"), 2);
        ASSERT_TRUE(document.IsLoaded()) << document.GetLoadError();
        document.GetCurveData(2)[2] = 0.25f;
        document.GetCurveData(1)[1] = 2700.1234f;
        document.SetTypedText(1, 1, "2700.1234");
        int error = 0;
        ASSERT_TRUE(WriteExportTable(document, {1, 2}, 0, 0, 1, 2, dir.file("table.txt"), error));
        const std::string table = ReadFileBytes(dir.file("table.txt"));
        EXPECT_NE(table.find("    1000.0   50.2455 77.621963501\r\n"
                             "    1000.5 2700.1234   -999.25\r\n"
                             "    1001.0   1.2e-05 0.250000000\r\n"),
                  std::string::npos)
            << table;
    }
}

TEST(ImportFromTextTest, NewFilesKeepTheDepthsTheyWereGiven)
{
    TempDir dir;
    for (const auto& [step, stepText, lastText] : {std::tuple{0.125f, "0.125", "1000.500"},
                                                   std::tuple{0.1524f, "0.1524", "1000.6096"},
                                                   std::tuple{0.0625f, "0.0625", "1000.2500"},
                                                   std::tuple{0.5f, "0.50", "1002.00"}}) {
        NewLASInfo info;
        info.Step = step;
        for (int i = 0; i < 5; ++i)
            info.Depth.push_back(float(1000.0 + i * double(step)));
        info.Curves.emplace_back("GR", "API", "", 2);
        info.Curves[0].Values.assign(5, 1.0f);
        const std::string path = dir.file("new.las");
        ASSERT_EQ(WriteNewLASFile(info, path), NewLASWritten);
        const std::string text = ReadFileBytes(path);
        EXPECT_NE(text.find(std::string(" ") + stepText + " : STEP"), std::string::npos) << text;
        EXPECT_NE(text.find(std::string(" ") + lastText + " : STOP DEPTH"), std::string::npos) << text;
        TLASFile read(path, 2);
        ASSERT_TRUE(read.IsLoaded()) << read.GetLoadError();
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(read.GetCurveData(0)[i], float(1000.0 + i * double(step))) << stepText;
        EXPECT_EQ(read.GetStep(), step);
        // A save of the opened file keeps them.
        ASSERT_TRUE(read.WriteLas(dir.file("again.las")));
        TLASFile again(dir.file("again.las"), 2);
        EXPECT_EQ(again.GetCurveData(0)[4], read.GetCurveData(0)[4]);
        EXPECT_NE(ReadFileBytes(dir.file("again.las")).find(lastText), std::string::npos) << stepText;
    }
}

}  // namespace
}  // namespace strativ::test
