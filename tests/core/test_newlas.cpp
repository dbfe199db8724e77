#include "core/CodePages.h"
#include "core/Lasfile.h"
#include "core/NewLASInfo.h"
#include "tests/common/TestPaths.h"
#include "tests/core/test_settings_io.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

NewLASInfo ThreeRowsTwoCurves()
{
    NewLASInfo info;
    info.Depth = {1000.0f, 1000.25f, 1000.5f};
    info.Step = 0.25f;
    info.NullValue = -999.25f;
    LASCurveData gr("GR", "API", "Гамма-каротаж", 3);
    gr.Values = {12.345f, -999.25f, 7.0f};
    LASCurveData ps("PS", "мВ", "ПС", 0);
    ps.Values = {5.4f}; // shorter than the depth
    info.Curves = {gr, ps};
    info.WellInfo["WELL"].Value = "Скв. 7";
    info.WellInfo["FLD"].Value = "Северное";
    return info;
}

} // namespace

TEST(NewLASInfo, DefaultWellInfoResetsTheRecord)
{
    NewLASInfo info = ThreeRowsTwoCurves();
    info.WellInfo["XTRA"] = {"v", "c"};
    CreateDefaultWellInfo(info);
    EXPECT_EQ(info.Step, 0);
    EXPECT_EQ(info.NullValue, -32768.0f);
    EXPECT_TRUE(info.Depth.empty() && info.Curves.empty());
    ASSERT_EQ(info.WellInfo.size(), 10u);
    EXPECT_EQ(info.WellInfo.count("XTRA"), 0u);
    EXPECT_EQ(info.WellInfo["SRVC"].Comment, "SERVICE COMPANY");
    EXPECT_TRUE(info.WellInfo["WELL"].Value.empty());
}

TEST(NewLASInfo, WrittenFileReadsBackThroughTheLasCore)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("new.las");
    ASSERT_EQ(WriteNewLASFile(ThreeRowsTwoCurves(), path), NewLASWritten);

    // A column without a point takes the reader's default decimals: 0 here, as PS was written.
    TLASFile las(path, 0);
    ASSERT_TRUE(las.IsLoaded()) << las.GetLoadError();
    ASSERT_EQ(las.GetCurvesCount(), 3);
    ASSERT_EQ(las.GetPointCount(), 3);
    EXPECT_EQ(las.GetNullValue(), -999.25f);
    EXPECT_EQ(las.GetStep(), 0.25f);
    EXPECT_EQ(las.GetCurveName(0), "DEPT");
    EXPECT_EQ(las.GetCurveUnit(0), "M");
    EXPECT_EQ(las.GetCurveName(1), "GR");
    EXPECT_EQ(las.GetCurveDescription(1), "Гамма-каротаж");
    EXPECT_EQ(las.GetCurveUnit(2), "мВ");
    EXPECT_EQ(las.GetCurveDecimals(1), 3);
    EXPECT_EQ(las.GetCurveDecimals(2), 0);
    const float* depth = las.GetCurveData(0);
    const float* gr = las.GetCurveData(1);
    const float* ps = las.GetCurveData(2);
    EXPECT_EQ(std::vector<float>(depth, depth + 3), (std::vector<float>{1000.0f, 1000.25f, 1000.5f}));
    EXPECT_EQ(std::vector<float>(gr, gr + 3), (std::vector<float>{12.345f, -999.25f, 7.0f}));
    EXPECT_EQ(std::vector<float>(ps, ps + 3), (std::vector<float>{5.0f, -999.25f, -999.25f}));
}

TEST(NewLASInfo, FileLayoutIsCp866WithCrLfAndTheWellItemsInMapOrder)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("layout.las");
    ASSERT_EQ(WriteNewLASFile(ThreeRowsTwoCurves(), path), NewLASWritten);
    const std::string bytes = strativ::test::ReadFileBytes(path);
    EXPECT_FALSE(IsValidUtf8(bytes)); // Cyrillic is one CP866 byte per letter
    const std::string text = OemToAnsiString(bytes);

    std::vector<std::string> lines;
    for (size_t pos = 0; pos < text.size();) {
        const size_t end = text.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[0], "~Version Information");
    EXPECT_EQ(lines[1], "VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0");
    EXPECT_EQ(lines[2], "WRAP.   NO : ONE LINE PER DEPTH STEP");
    EXPECT_EQ(lines[3], "~Well Information");
    EXPECT_EQ(lines[4].substr(0, 30), "STRT    .M          1000.00 : ");
    EXPECT_NE(lines[5].find(" 1000.50 :"), std::string::npos);
    EXPECT_NE(lines[6].find(" 0.25 :"), std::string::npos);
    EXPECT_NE(lines[7].find(" -999.25 :"), std::string::npos);
    const char* wellOrder[] = {"API", "CNTY", "COMP", "CTRY", "DATE", "FLD", "LOC", "SRVC", "STAT", "WELL"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(lines[8 + i].substr(0, lines[8 + i].find(' ')), wellOrder[i]);
    EXPECT_NE(lines[17].find(" Скв. 7 : WELL"), std::string::npos);
    EXPECT_EQ(lines[18], "~Curve Information");
    EXPECT_EQ(lines[19], "DEPT    .M           : DEPTH CURVE");
    EXPECT_EQ(lines[21], "PS      .мВ          : ПС");
    EXPECT_EQ(lines[22], "~Parameter Information");
    EXPECT_EQ(lines[23], "~Other Information");
    EXPECT_EQ(lines[24], "~ASCII Log Data");
    EXPECT_EQ(lines[25], "     1000.00       12.345            5");
    EXPECT_EQ(lines[26], "     1000.25      -999.25      -999.25");
}

TEST(NewLASInfo, NullValueTextReadsBackAsTheSameFloat)
{
    strativ::test::TempDir dir;
    for (const float null : {-32768.0f, -999.25f, 1e-7f, -0.1f, 3.4e38f}) {
        NewLASInfo info;
        info.Depth = {1, 2, 3};
        info.Step = 1;
        info.NullValue = null;
        LASCurveData curve("V", "", "", 0); // 0 decimals must not round the NULL mark away
        curve.Values = {null, 5, std::nanf("")}; // LAS has no text for NaN: written as NULL
        info.Curves = {curve};
        const std::string path = dir.file("null.las");
        ASSERT_EQ(WriteNewLASFile(info, path), NewLASWritten);
        TLASFile las(path, 2);
        ASSERT_TRUE(las.IsLoaded()) << null;
        EXPECT_EQ(las.GetNullValue(), null);
        EXPECT_EQ(las.GetCurveData(1)[0], null);
        EXPECT_EQ(las.GetCurveData(1)[1], 5.0f);
        EXPECT_EQ(las.GetCurveData(1)[2], null);
    }
}

TEST(NewLASInfo, ResultCodesAndNothingWrittenOnRefusal)
{
    strativ::test::TempDir dir;
    NewLASInfo info;
    info.Step = 1;
    EXPECT_EQ(WriteNewLASFile(info, dir.file("a.las")), NewLASNoDepth);
    info.Depth = {1, 2};
    info.Step = 0;
    EXPECT_EQ(WriteNewLASFile(info, dir.file("a.las")), NewLASZeroStep);
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.las")));
    info.Step = 1;
    EXPECT_EQ(WriteNewLASFile(info, dir.file("no/such/folder/a.las")), NewLASWriteFailed);
}
