// New LAS files from a record: default ~W items, layout, read-back through the LAS core.
#include "core/CodePages.h"
#include "core/Lasfile.h"
#include "core/NewLASInfo.h"
#include "tests/common/TestPaths.h"
#include "tests/common/FileBytes.h"

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
    EXPECT_EQ(las.GetCurveName(0) + las.GetCurveUnit(0) + las.GetCurveName(1) + las.GetCurveDescription(1) +
                  las.GetCurveUnit(2),
              "DEPTMGRГамма-каротажмВ");
    EXPECT_EQ(las.GetCurveDecimals(1), 3);
    EXPECT_EQ(las.GetCurveDecimals(2), 0);
    const auto curve = [&](int i) { return FloatVector(las.GetCurveData(i), las.GetCurveData(i) + 3); };
    EXPECT_EQ(curve(0), (FloatVector{1000.0f, 1000.25f, 1000.5f}));
    EXPECT_EQ(curve(1), (FloatVector{12.345f, -999.25f, 7.0f}));
    EXPECT_EQ(curve(2), (FloatVector{5.0f, -999.25f, -999.25f}));
}

TEST(NewLASInfo, FileLayoutIsCp866WithCrLfAndTheWellItemsInMapOrder)
{
    strativ::test::TempDir dir;
    const std::string path = dir.file("layout.las");
    ASSERT_EQ(WriteNewLASFile(ThreeRowsTwoCurves(), path), NewLASWritten);
    const std::string bytes = strativ::test::ReadFileBytes(path);
    EXPECT_FALSE(IsValidUtf8(bytes)); // Cyrillic is one CP866 byte per letter
    std::string expected;
    for (const char* line : {
             "~Version Information",
             "VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0",
             "WRAP.   NO : ONE LINE PER DEPTH STEP",
             "~Well Information",
             "STRT    .M          1000.00 : START DEPTH",
             "STOP    .M          1000.50 : STOP DEPTH",
             "STEP    .M          0.25 : STEP",
             "NULL    .           -999.25 : NULL VALUE",
             "API     .            : API NUMBER",
             "CNTY    .            : COUNTY",
             "COMP    .            : COMPANY",
             "CTRY    .            : COUNTRY",
             "DATE    .            : LOG DATE",
             "FLD     .           Северное : FIELD",
             "LOC     .            : LOCATION",
             "SRVC    .            : SERVICE COMPANY",
             "STAT    .            : STATE",
             "WELL    .           Скв. 7 : WELL",
             "~Curve Information",
             "DEPT    .M           : DEPTH CURVE",
             "GR      .API         : Гамма-каротаж",
             "PS      .мВ          : ПС",
             "~Parameter Information",
             "~Other Information",
             "~ASCII Log Data",
             "     1000.00       12.345            5",
             "     1000.25      -999.25      -999.25",
             "     1000.50        7.000      -999.25",
         })
        expected += std::string(line) + "\r\n";
    EXPECT_EQ(OemToAnsiString(bytes), expected);
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

TEST(NewLASInfo, ResetRecordIsRefusedUntilItHasDepthAndStep)
{
    strativ::test::TempDir dir;
    NewLASInfo info = ThreeRowsTwoCurves();
    info.WellInfo["XTRA"] = {"v", "c"};
    CreateDefaultWellInfo(info);
    EXPECT_EQ(info.NullValue, -32768.0f);
    EXPECT_TRUE(info.Curves.empty());
    EXPECT_EQ(info.WellInfo.size(), 10u); // the extra item is gone
    EXPECT_EQ(WriteNewLASFile(info, dir.file("a.las")), NewLASNoDepth);
    info.Depth = {1, 2};
    EXPECT_EQ(WriteNewLASFile(info, dir.file("a.las")), NewLASZeroStep);
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.las")));
    info.Step = 1;
    EXPECT_EQ(WriteNewLASFile(info, dir.file("no/such/folder/a.las")), NewLASWriteFailed);
}
