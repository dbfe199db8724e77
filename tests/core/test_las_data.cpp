// Reading the ~A section: row shapes, wrapping, depth direction, decimals found in the file, and
// line ends that fall on the edges of the blocks the file is read in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Lasfile.h"
#include "tests/common/TestPaths.h"
#include "tests/core/test_las_util.h"

namespace {

constexpr float kNull = -999.25f;

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

struct LoadedFile {
    explicit LoadedFile(const std::string& text, int decimals = 2)
    {
        las_test::WriteText(dir.file("data.las"), text);
        document = std::make_unique<TLASFile>(dir.file("data.las"), decimals);
    }
    std::vector<float> Curve(int index) const { return las_test::Curve(*document, index); }
    strativ::test::TempDir dir;
    std::unique_ptr<TLASFile> document;
};

TEST(LasData, ShortRowsGetNullSurplusValuesAreIgnoredAndASectionTitleEndsTheData)
{
    const LoadedFile file(LasText(3, "1.0 10 20\n2.0 11\n# comment\n\n3.0 +12 22 99 x\n~X\n4 4\n"));
    ASSERT_TRUE(file.document->IsLoaded()) << file.document->GetLoadError();
    EXPECT_EQ(file.Curve(0), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(file.Curve(1), (std::vector<float>{10, 11, 12}));
    EXPECT_EQ(file.Curve(2), (std::vector<float>{20, kNull, 22}));
}

TEST(LasData, WrappedRowsAreOneStreamAndTheLastRowIsCompletedWithNull)
{
    const LoadedFile file(LasText(3, "1.0\n  10 20\n2.0\n  11\n  21\n3.0\n  12\n", "YES"));
    ASSERT_TRUE(file.document->IsLoaded()) << file.document->GetLoadError();
    EXPECT_EQ(file.Curve(0), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(file.Curve(1), (std::vector<float>{10, 11, 12}));
    EXPECT_EQ(file.Curve(2), (std::vector<float>{20, 21, kNull}));
}

TEST(LasData, ReversedFileLoadsWithIncreasingDepth)
{
    const LoadedFile file(LasText(2, "3.0 30\n2.5 25\n2.0 20\n", "NO", "-0.5"));
    ASSERT_TRUE(file.document->IsLoaded());
    EXPECT_EQ(file.Curve(0), (std::vector<float>{2.0f, 2.5f, 3.0f}));
    EXPECT_EQ(file.Curve(1), (std::vector<float>{20, 25, 30}));
    EXPECT_FLOAT_EQ(file.document->GetStep(), 0.5f);
}

TEST(LasData, BadDataFailsNamingTheLineAndTheReason)
{
    const struct {
        std::string data;
        std::string error;
    } cases[] = {
        {"1.0 10\n2.0 11\n1.5 12\n", "Значения глубины не упорядочены (строка 13 файла)"},
        {"1.0 10\r2.0 1O\r", "Некорректное значение в строке 12 файла: '1O'"},
        {"1.0 10\r\n\r\n2.0 +-1\r\n", "Некорректное значение в строке 13 файла: '+-1'"},
        {"1.0 nan\n", "Некорректное значение в строке 11 файла: 'nan'"},
        {"1.0 1e99\n", "Некорректное значение в строке 11 файла: '1e99'"},
        {"# only a comment\n", "Файл не содержит данных"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        const LoadedFile file(LasText(2, c.data));
        EXPECT_FALSE(file.document->IsLoaded());
        EXPECT_EQ(file.document->GetLoadError(), c.error);
    }
}

// Decimals come from the numbers as written (NULL samples aside), so a save keeps them.
TEST(LasData, DecimalsAreTheMostEachColumnHad)
{
    const LoadedFile file(
        LasText(5, "1.1234567 1.5 -999.25 7 1.5E-03\n2.25 2.125 -999.25 8 2e-1\n", "NO", "0.125"),
        3);
    ASSERT_TRUE(file.document->IsLoaded()) << file.document->GetLoadError();
    EXPECT_EQ(file.document->GetCurveDecimals(1), 3);
    EXPECT_EQ(file.document->GetCurveDecimals(2), 3);  // only NULL: the default
    EXPECT_EQ(file.document->GetCurveDecimals(3), 3);  // no point: the default
    EXPECT_EQ(file.document->GetCurveDecimals(4), 4);
    EXPECT_EQ(file.document->GetDepthDecimals(), 6);  // 7 in the depth column, at most 6
    EXPECT_FLOAT_EQ(file.Curve(4)[0], 0.0015f);
}

// Pads a line with leading blanks so that its CR falls at the given offset of the text.
void AppendLineWithCrAt(std::string& text, size_t crOffset, const std::string& content)
{
    ASSERT_GE(crOffset, text.size() + content.size());
    text += std::string(crOffset - text.size() - content.size(), ' ') + content + "\r\n";
}

TEST(LasData, LineEndsSplitAcrossReadBlocksCountOnce)
{
    // The header is read in 64 KiB blocks and the data in 1 MiB blocks after them: put a CR LF
    // across each edge.
    std::string text = LasText(2, "");
    text.resize(text.size() - 3);  // reopen before "~A\n"
    text += "~Other\r\n";
    while (text.size() < 60000)
        text += "free text of the other section\r\n";
    AppendLineWithCrAt(text, 65535, "last free text");
    text += "~A\r\n";
    int rows = 0;
    const size_t edges[] = {131071, 131072 + 1048576 - 1};
    for (size_t edge : edges) {
        while (text.size() < edge - 100) {
            ++rows;
            text += std::to_string(rows) + ".0 " + std::to_string(rows % 7) + "\r\n";
        }
        AppendLineWithCrAt(text, edge, std::to_string(++rows) + ".0 1");
    }
    text += std::to_string(++rows) + ".0 2\r\n";
    int lines = 0;
    for (char c : text)
        lines += c == '\n';

    const LoadedFile good(text);
    ASSERT_TRUE(good.document->IsLoaded()) << good.document->GetLoadError();
    EXPECT_EQ(good.document->GetPointCount(), rows);
    EXPECT_FLOAT_EQ(good.document->GetBottomDepth(), static_cast<float>(rows));

    const LoadedFile bad(text + "x\r\n");
    EXPECT_EQ(bad.document->GetLoadError(),
              "Некорректное значение в строке " + std::to_string(lines + 1) + " файла: 'x'");
}

} // namespace
