// Page arithmetic, depth lookup, label texts, the off-scale fold and the INI keys of the
// curve print model.
#include "core/SettingsFile.h"
#include "printing/CurveForPrinting.h"
#include "printing/CurveTemplate.h"
#include "printing/GridParams.h"
#include "printing/LabelText.h"
#include "printing/PrintingDept.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

namespace {

TPrintingDept Strip(float firstPage, float pageHeight = 27.0f)
{
    TPrintingDept d(1000.0f, 1100.0f, 0.1f);
    d.SetScale(2.0);
    d.PageHeight = pageHeight;
    d.SetFirstPageHeight(firstPage);
    return d;
}

TEST(PrintingDept, StripIsCutIntoPagesAfterTheShortFirstPage)
{
    // first-page room, pages, their depth ranges, last page length
    const std::tuple<float, int, std::vector<std::pair<float, float>>, float> cases[] = {
        {20.0f, 3, {{1000, 1040}, {1040, 1094}, {1094, 1100}}, 3.0f},
        {60.0f, 1, {{1000, 1100}}, 50.0f},
        {50.0f, 1, {{1000, 1100}}, 50.0f},
        {-5.0f, 3, {{1000, 1000}, {1000, 1054}, {1054, 1100}}, 23.0f},  // negative room taken as 0
    };
    for (const auto& [first, pages, ranges, lastLength] : cases) {
        SCOPED_TRACE(first);
        const TPrintingDept d = Strip(first);
        ASSERT_EQ(d.GetPageCount(), pages);
        for (int i = 0; i < pages; ++i) {
            float top = 0, bottom = 0;
            d.GetPageRange(i, top, bottom);
            EXPECT_FLOAT_EQ(top, ranges[i].first) << i;
            EXPECT_FLOAT_EQ(bottom, ranges[i].second) << i;
        }
        EXPECT_NEAR(d.GetLastPageLength(), lastLength, 1e-4);
    }
}

TEST(PrintingDept, DegenerateStripsNeitherDivideByZeroNorOverflow)
{
    TPrintingDept d = Strip(20.0f, 0.0f);
    EXPECT_EQ(d.GetPageCount(), 1);
    d.PageHeight = -3.0f;
    EXPECT_EQ(d.GetPageCount(), 1);
    d.PageHeight = 1e-30f;
    EXPECT_EQ(d.GetPageCount(), INT_MAX);
    d.Scale = 0.0;
    EXPECT_EQ(d.GetPageCount(), 1);

    TPrintingDept zeroStep(1000.0f, 1100.0f, 0.0f);
    float top = 0, bottom = 0;
    EXPECT_EQ(zeroStep.GetPageRange(0, top, bottom), 0);
}

TEST(PrintingDept, MajorIntervalIsShorterForScalesOfThreeSixAndNine)
{
    const std::pair<double, int> cases[] = {{2.0, 4}, {3.0, 3},  {0.5, 4},  {2.005, 4}, {0.3, 3},
                                            {9.0, 3}, {30.0, 3}, {5.7, 4},  {0.03, 3},  {0.57, 4}};
    for (const auto& [scale, divisions] : cases)
        EXPECT_EQ(TPrintingDept::GetMinorDivisions(static_cast<float>(scale), 0.5f), divisions) << scale;
}

TEST(PrintingDept, DepthLabelsFallOnRoundMultiplesOfTheStep)
{
    // scale 1:N, print top, the first three labels of page 0 (each a multiple of the step)
    const std::tuple<int, float, std::vector<std::string>> cases[] = {
        {1, 6915.63f, {"6915.64", "6915.66", "6915.68"}},  // 0.02 m every 2 cm
        {2, 6915.63f, {"6915.65", "6915.70", "6915.75"}},
        {30, 198.45f, {"198.5", "199.0", "199.5"}},        // 0.45 m raised to 0.5 m
        {200, 1003.4f, {"1005", "1010", "1015"}},          // 4 m raised to 5 m
        {240, 6914.0f, {"6915", "6920", "6925"}},          // feet: 4.8 ft raised to 5 ft
        {300, 1003.4f, {"1005", "1010", "1015"}},          // 4.5 m raised to 5 m
        {10000, 6915.0f, {"7000", "7200", "7400"}},
    };
    for (const auto& [n, top, expected] : cases) {
        TPrintingDept d(top, top + n * 0.5f, 0.1f);
        d.SetScale(n * 0.01);
        d.PageHeight = 27.0f;
        d.SetFirstPageHeight(20.0f);
        const TPrintingDept::DepthLines lines = d.GetDepthLines(0);
        std::vector<std::string> labels;
        for (long long j = lines.firstMinor; j <= lines.lastMinor && labels.size() < 3; ++j)
            if (d.OwnsLabel(lines, j))
                labels.push_back(d.LabelText(lines, j));
        EXPECT_EQ(labels, expected) << n;
    }
}

TEST(PrintingDept, ALabelOnAPageBoundaryBelongsToTheLaterPage)
{
    TPrintingDept d(1000.0f, 1100.0f, 0.1f);
    d.PageHeight = 10.0f;
    d.SetFirstPageHeight(10.0f);  // pages of 20 m: 1020 lies on the boundary of pages 0 and 1
    int count1020 = 0;
    for (int page = 0; page < d.GetPageCount(); ++page) {
        const TPrintingDept::DepthLines lines = d.GetDepthLines(page);
        for (long long j = lines.firstMinor; j <= lines.lastMinor; ++j)
            if (d.OwnsLabel(lines, j) && d.LabelText(lines, j) == "1020") {
                ++count1020;
                EXPECT_EQ(page, 1);
            }
    }
    EXPECT_EQ(count1020, 1);
}

TEST(PrintingDept, DepthLookupFindsTheSampleBeforeOrAfter)
{
    const float depths[] = {100.0f, 100.1f, 100.2f};
    TPrintingDept d(100.0f, 100.2f, 0.1f);
    d.Depths = depths;
    d.DepthCount = 3;
    // depth, after, index, depth found
    const std::tuple<float, bool, int, float> cases[] = {
        {100.15f, true, 2, 100.2f}, {100.15f, false, 1, 100.1f}, {99.0f, true, 0, 100.0f},
        {101.0f, false, 2, 100.2f}, {100.1f, true, 1, 100.1f},   {100.2f, false, 2, 100.2f}};
    for (const auto& [depth, after, index, expected] : cases) {
        float found = -1;
        EXPECT_EQ(d.FindDepthIndex(depth, after, found), index) << depth << after;
        EXPECT_FLOAT_EQ(found, expected) << depth << after;
    }
    float untouched = -1;
    TPrintingDept empty(0, 1, 1);
    EXPECT_EQ(empty.FindDepthIndex(0.5f, true, untouched), 0);
    EXPECT_EQ(untouched, -1);
}

TEST(PrintingDept, InterpolationUsesOnlyPresentNeighbours)
{
    const float depths[] = {0.0f, 1.0f, 2.0f, 2.0f, 3.0f};
    const float values[] = {10.0f, -999.0f, 30.0f, 40.0f, 50.0f};
    TPrintingDept d(0.0f, 3.0f, 1.0f);
    d.Depths = depths;
    d.DepthCount = 5;
    EXPECT_FLOAT_EQ(d.InterpolateAt(2.5f, values), 45.0f);
    EXPECT_TRUE(std::isfinite(d.InterpolateAt(2.0f, values)));
    float v = 0;
    EXPECT_TRUE(d.TryInterpolateAt(2.5f, values, -999.0f, v));
    EXPECT_FLOAT_EQ(v, 45.0f);
    EXPECT_FALSE(d.TryInterpolateAt(0.5f, values, -999.0f, v));  // neighbour missing
    EXPECT_FALSE(d.TryInterpolateAt(1.5f, values, -999.0f, v));
    EXPECT_FALSE(d.TryInterpolateAt(3.5f, values, -999.0f, v));  // beyond the data
    EXPECT_TRUE(d.TryInterpolateAt(0.0f, values, -999.0f, v));
    EXPECT_FLOAT_EQ(v, 10.0f);
}

TEST(PrintLabels, ScaleNumbersShowTheirValueWithTheFewestDecimals)
{
    const std::pair<float, int> cases[] = {{1.95f, 2}, {-0.15f, 2}, {0.48f, 2}, {150.1f, 1}, {150.0f, 0},
                                           {0.2f, 1},  {2e-5f, -1},  {63.245553f, -1}, {-280.0f, 0}};
    for (const auto& [value, decimals] : cases) {
        EXPECT_EQ(ShortestDecimals(value), decimals) << value;
    }
    EXPECT_EQ(FormatLabelNumber(1.95f, 2), "1.95");
    EXPECT_EQ(FormatLabelNumber(-0.15f, 2), "-0.15");
    EXPECT_EQ(FormatLabelNumber(2.45f, 2), "2.45");

    SetLabelDecimalSeparator(',');
    EXPECT_EQ(FormatLabelNumber(1250.5, 1), "1250,5");
    SetLabelDecimalSeparator('.');
    EXPECT_EQ(FormatFixedPoint(0.125, 7, 2, '.'), "0.13");
    EXPECT_EQ(FormatFixedPoint(-0.004, 7, 2, '.'), "0.00");
    EXPECT_EQ(FormatFixedPoint(9.9999999, 7, 2, '.'), "10.00");
}

TEST(PrintLabels, TimeLabelsFollowTheScaleFormat)
{
    TPrintingDept d(0, 1, 1);
    const std::tuple<int, int, const char*> cases[] = {
        {1, 125, "2ч5м"}, {2, 125, "2м5с"}, {3, 3725, "1ч2м5с"}, {0, 125, ""}, {1, 60, "1ч0м"}};
    for (const auto& [format, value, text] : cases) {
        d.ScaleFormat = static_cast<std::int8_t>(format);
        EXPECT_EQ(d.FormatTimeLabel(value), text) << format << " " << value;
    }
}

TEST(OffsideFold, TraceBeyondTheEdgeFoldsBackWithItsLevel)
{
    // progressive, scale, column width, offset from the left edge, folded offset, level
    const std::tuple<bool, float, int, double, int, int> cases[] = {
        {false, 5.0f, 100, 250, 30, 1},   {false, 5.0f, 100, 700, 20, 2},   {true, 2.0f, 100, 700, 50, 2},
        {false, 5.0f, 100, -30, 94, -1},  {false, 5.0f, 100, 100, 0, 1},  {false, 5.0f, 100, -180, 64, -1},    {false, 5.0f, 100, 99, 99, 0},
        {false, 1.0f, 100, 1050, 50, 10}, {true, 1.0f, 100, 1050, 50, 10}, {false, 5.0f, 0, 50, 0, 0},
    };
    for (const auto& [progressive, scale, width, offset, position, level] : cases) {
        TOffsideMode m;
        m.BlikIsProgressive = progressive;
        m.BlikScale = scale;
        int count = -1;
        EXPECT_EQ(m.Wrap(10 + offset, 10, 10 + width, count), 10 + position) << offset;
        EXPECT_EQ(count, level) << offset;
    }
}

TEST(OffsideFold, HugeOvershootsEndQuicklyWithoutOverflow)
{
    TOffsideMode constant;
    constant.BlikScale = 1.0f;
    int count = 0;
    EXPECT_LT(constant.Wrap(1e300, 0, 100, count), 100);
    EXPECT_EQ(count, INT_MAX);

    TOffsideMode slow;
    slow.BlikIsProgressive = true;
    slow.BlikScale = 1.0000001f;
    EXPECT_LT(slow.Wrap(1e30, 0, 100, count), 100);
    EXPECT_GT(count, 1000);

    EXPECT_EQ(constant.Wrap(std::numeric_limits<double>::infinity(), 0, 100, count), 0);
    EXPECT_EQ(constant.Wrap(-std::numeric_limits<double>::infinity(), 0, 100, count), 100);
    EXPECT_LT(count, -1000);
    EXPECT_EQ(constant.Wrap(std::nan(""), 0, 100, count), 0);
}

TEST(CurveForPrinting, RangeComesFromThePresentSamples)
{
    const float null = -999.25f;
    const std::vector<float> allNull(4, null);
    const std::vector<float> constant = {null, 7.0f, 7.0f, null};
    const std::vector<float> mixed = {null, 3.0f, -2.0f, 8.0f, std::nanf("")};
    // samples, left and right value, value units per cm of the 5 cm column
    const std::tuple<const std::vector<float>*, float, float, float> cases[] = {
        {&allNull, 0.0f, 1.0f, 0.2f}, {&constant, 6.0f, 8.0f, 0.4f}, {&mixed, -2.0f, 8.0f, 2.0f}};
    for (const auto& [samples, left, right, scale] : cases) {
        const TCurveForPrinting curve(samples->data(), nullptr, null, static_cast<int>(samples->size()));
        EXPECT_EQ(std::make_tuple(curve.LeftValue, curve.RightValue, curve.ScaleValue), std::make_tuple(left, right, scale));
    }
    TCurveForPrinting empty(nullptr, nullptr, null, 5);
    EXPECT_EQ(empty.SampleCount, 0);
    EXPECT_FLOAT_EQ(empty.RightValue, 1.0f);
    ASSERT_NE(empty.OffsideMode, nullptr);
}

class PrintIni : public ::testing::Test {
protected:
    strativ::test::TempDir dir;
    std::string Path() const { return dir.path() + "/print.ini"; }
    void SetUp() override { GridLineValues() = TGridLineValues{}; }
    void TearDown() override { GridLineValues() = TGridLineValues{}; }
};

TEST_F(PrintIni, CurveKeysAreWrittenInOrderAndReadWithinTheirLimits)
{
    const float samples[] = {1.0f, 2.0f};
    TCurveForPrinting saved(samples, nullptr, -999.25f, 2);
    saved.SetLeftValue(0.1f);
    saved.Color = 0x00FF00;
    TRxIniFile ini(Path());
    saved.SaveToIni(ini, "Col0Curve0");
    const std::vector<std::string> order = {"LeftValue", "ScaleValue", "Color", "Width", "ShowTitle",
                                            "ShowUnits", "ShowComment", "BlikScale", "BlikIsProgressive",
                                            "BlikTitleType", "BlikTitle", "LogarithmicScale", "LogScaleModule",
                                            "LogLeftValue"};
    EXPECT_EQ(ini.ReadSection("Col0Curve0"), order);
    EXPECT_EQ(ini.ReadString("Col0Curve0", "LeftValue", ""), "0.1");

    const std::pair<const char*, const char*> refused[] = {{"Color", "16777216"}, {"BlikTitleType", "4"}, {"LogScaleModule", "11"},
                            {"LogLeftValue", "0"},  {"ScaleValue", "0"},   {"Width", "0.005"},
                            {"LeftValue", "nan"},   {"ScaleValue", "inf"}, {"BlikScale", "-1"}};
    const auto fields = [](const TCurveForPrinting& c) {
        return std::make_tuple(c.Color, c.BlikTitleType, c.LogScaleModule, c.LogLeftValue, c.ScaleValue, c.Width,
                               c.LeftValue, c.OffsideMode->BlikScale);
    };
    const TCurveForPrinting before(samples, nullptr, -999.25f, 2);
    for (const auto& [key, text] : refused) {
        TCurveForPrinting curve(samples, nullptr, -999.25f, 2);
        ini.WriteString("S", key, text);
        curve.LoadFromIni(ini, "S");
        EXPECT_EQ(fields(curve), fields(before)) << key;
        ini.EraseSection("S");
    }

    ini.WriteString("S", "BlikTitle", "7");
    ini.WriteString("S", "LeftValue", "2,5");
    ini.WriteString("S", "BlikScale", "0.5");
    TCurveForPrinting loaded(samples, nullptr, -999.25f, 2);
    loaded.LoadFromIni(ini, "S");
    EXPECT_TRUE(loaded.BlikTitle);
    EXPECT_FLOAT_EQ(loaded.LeftValue, 2.5f);
    EXPECT_FLOAT_EQ(loaded.OffsideMode->BlikScale, 5.0f);  // taken (> 0), then refused below 1.0
}

TEST_F(PrintIni, GridValuesFallBackToDefaultsAndReplacements)
{
    TRxIniFile ini(Path());
    const auto read = [&ini](const std::string& section) {
        float dashed, dash, space, solid, column;
        int dashColor, solidColor;
        ReadGridParams(ini, section, dashed, dash, dashColor, space, solid, solidColor, column);
        return std::make_tuple(dashed, dash, dashColor, space, solid, solidColor, column);
    };
    EXPECT_EQ(read("CurvePrnSec"), std::make_tuple(0.2f, 0.5f, 0xC0C0C0, 0.5f, 0.1f, 0, 0.1f));

    const std::pair<const char*, float> widths[] = {{"0.005", 0.1f}, {"2.0", 2.0f}, {"2.01", 0.1f},
                                                    {"0,3", 0.3f},   {"nan", 0.2f}, {"-inf", 0.2f}};
    for (const auto& [text, expected] : widths) {
        ini.WriteString("CurvePrnSec", "Dashed_LineWidth", text);
        EXPECT_FLOAT_EQ(std::get<0>(read("CurvePrnSec")), expected) << text;
    }

    WriteGridParams(ini, "Grid", 0.3f, 5.0f, 0x123456, 0.4f, 0.15f, 0xFF, 0.25f);
    EXPECT_EQ(ini.ReadSection("Grid"), (std::vector<std::string>{"Dashed_LineWidth", "Dash_Len", "Dash_Color",
                                                                  "Space_Len", "Solid_Width", "Solid_Color",
                                                                  "DefaultColumnSpace"}));
    // 5.0 mm is written but read back as the replacement.
    EXPECT_EQ(read("Grid"), std::make_tuple(0.3f, 0.5f, 0x123456, 0.4f, 0.15f, 0xFF, 0.25f));
}

TEST_F(PrintIni, TemplateGridValuesComeFromTheSettingsOrTheirFallbacks)
{
    TCurveTemplate t;
    GridLineValues().DashedLineWidth = 0.7f;
    t.ReadCurvePrnSettings();  // no settings object: the fallbacks, the dashed width kept
    EXPECT_FLOAT_EQ(GridLineValues().DashedLineWidth, 0.7f);
    EXPECT_FLOAT_EQ(t.Columns.at(static_cast<size_t>(t.AddColumn()))->ColumnSpace, 0.1f);

    TRxIniFile ini(Path());
    ini.WriteString("CurvePrnSec", "DefaultColumnSpace", "0.3");
    t.Settings = &ini;
    t.ReadCurvePrnSettings();
    EXPECT_FLOAT_EQ(GridLineValues().DashedLineWidth, 0.2f);
    EXPECT_FLOAT_EQ(t.Columns.at(static_cast<size_t>(t.AddColumn()))->ColumnSpace, 0.3f);
}

}  // namespace
