// Curves of one LAS document placed into another by depth.
#include "core/Lasfile.h"
#include "datawin/AddCurves.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

// Depths top + i * step (written with enough digits), one curve "<name>" holding value(i).
std::string WriteLas(const std::string& path, const std::string& name, double top, double step, int rows,
                     float (*value)(int), const char* nullText = "-999.25", const char* stepText = nullptr)
{
    std::ostringstream out;
    out.precision(10);
    out << "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STRT.M " << top << " :\n STOP.M " << top + step * (rows - 1)
        << " :\n STEP.M " << (stepText ? stepText : std::to_string(step)) << " :\n NULL. " << nullText
        << " :\n~C\n DEPT.M :\n " << name << ". :\n~A\n";
    for (int i = 0; i < rows; ++i)
        out << top + step * i << ' ' << value(i) << '\n';
    std::ofstream(path, std::ios::binary) << out.str();
    return path;
}

float Hundreds(int i) { return float(100 + i); }
float Ones(int i) { return float(i); }

class AddCurvesTest : public ::testing::Test {
protected:
    strativ::test::TempDir dir;
    std::string error;

    TLASFile Target(double top = 100, double step = 0.5, int rows = 21)
    {
        return TLASFile(WriteLas(dir.file("t.las"), "GR", top, step, rows, Hundreds), 2);
    }
    TLASFile Source(double top, double step, int rows, const char* nullText = "-999.25")
    {
        return TLASFile(WriteLas(dir.file("s.las"), "NK", top, step, rows, Ones, nullText), 2);
    }
};

TEST_F(AddCurvesTest, TheTargetsOwnRangeKeepsItsRowsAndTakesTheOverlap)
{
    TLASFile target = Target();         // 100 .. 110 by 0.5
    TLASFile source = Source(105, 0.5, 31);  // 105 .. 120
    ASSERT_TRUE(AddCheckedCurves(target, source, {1}, {true, 100, 110}, error)) << error;
    ASSERT_EQ(target.GetPointCount(), 21);
    ASSERT_EQ(target.GetCurvesCount(), 3);
    EXPECT_EQ(target.GetCurveName(2), "NK");
    const float* added = target.GetCurveData(2);
    EXPECT_EQ(added[9], target.GetNullValue());
    EXPECT_EQ(added[10], 0.0f);   // 105 m
    EXPECT_EQ(added[20], 10.0f);  // the target's last row, 110 m
    EXPECT_EQ(target.GetCurveData(1)[20], 120.0f);
}

// An added curve is written with the decimals of the file it came from, not rounded to the default.
TEST_F(AddCurvesTest, AddedCurvesAreSavedWithTheirOwnDecimals)
{
    TLASFile target = Target();
    const std::string path = dir.file("d.las");
    std::ofstream(path, std::ios::binary) << "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STRT.M 100 :\n STOP.M 101 :\n"
                                             " STEP.M 0.5 :\n NULL. -999.25 :\n~C\n DEPT.M :\n DT. :\n~A\n"
                                             "100 2692.7075\n100.5 7273.4951\n101 3443.9407\n";
    TLASFile source(path, 2);
    ASSERT_TRUE(AddCheckedCurves(target, source, {1}, {}, error)) << error;
    ASSERT_TRUE(target.WriteLas(dir.file("saved.las")));
    std::stringstream saved;
    saved << std::ifstream(dir.file("saved.las"), std::ios::binary).rdbuf();
    for (const char* value : {"2692.7075", "7273.4951", "3443.9407"})
        EXPECT_NE(saved.str().find(value), std::string::npos) << value;
}

TEST_F(AddCurvesTest, WithoutALimitTheTargetGrowsBelowAndAbove)
{
    TLASFile below = Target();
    ASSERT_TRUE(AddCheckedCurves(below, Source(105, 0.5, 31), {1}, {}, error)) << error;
    ASSERT_EQ(below.GetPointCount(), 41);  // to 120 m
    EXPECT_FLOAT_EQ(below.GetBottomDepth(), 120.0f);
    EXPECT_EQ(below.GetCurveData(1)[21], below.GetNullValue());
    EXPECT_EQ(below.GetCurveData(2)[40], 30.0f);

    TLASFile above = Target();
    ASSERT_TRUE(AddCheckedCurves(above, Source(90, 0.5, 25), {1}, {}, error)) << error;  // 90 .. 102
    ASSERT_EQ(above.GetPointCount(), 41);
    EXPECT_FLOAT_EQ(above.GetTopDepth(), 90.0f);
    EXPECT_EQ(above.GetCurveData(1)[19], above.GetNullValue());
    EXPECT_EQ(above.GetCurveData(1)[20], 100.0f);  // the old first row, moved down
    EXPECT_EQ(above.GetCurveData(2)[0], 0.0f);
    EXPECT_EQ(above.GetCurveData(2)[24], 24.0f);
    EXPECT_EQ(above.GetCurveData(2)[25], above.GetNullValue());
}

TEST_F(AddCurvesTest, CoarserAndFinerSourceStepsAndForeignNulls)
{
    TLASFile target = Target(100, 0.5, 21);
    TLASFile coarse(WriteLas(dir.file("c.las"), "C", 100, 1.0, 11, Ones, "-1"), 2);
    ASSERT_TRUE(AddCheckedCurves(target, coarse, {1}, {}, error));
    const float* c = target.GetCurveData(2);
    EXPECT_EQ(std::vector<float>(c, c + 5), (std::vector<float>{0, 0, 1, 1, 2}));
    TLASFile fine(WriteLas(dir.file("f.las"), "F", 100, 0.25, 41, Ones, "4"), 2);  // its sample 4 is NULL
    ASSERT_TRUE(AddCheckedCurves(target, fine, {1}, {}, error));
    const float* f = target.GetCurveData(3);
    EXPECT_EQ(f[1], 2.0f);
    EXPECT_EQ(f[2], target.GetNullValue());  // the source's NULL arrives as the target's
    EXPECT_EQ(f[3], 6.0f);
}

TEST_F(AddCurvesTest, QuotientsOfFloatDepthsLandOnTheirRows)
{
    // (100.1 - 100.0) / 0.1 is 0.99998 in floats: the source starts at row 1, not 0.
    TLASFile target = Target(100.0, 0.1, 50);
    ASSERT_TRUE(AddCheckedCurves(target, Source(100.1, 0.1, 20), {1}, {}, error));
    EXPECT_EQ(target.GetCurveData(2)[0], target.GetNullValue());
    EXPECT_EQ(target.GetCurveData(2)[1], 0.0f);
    EXPECT_EQ(target.GetCurveData(2)[20], 19.0f);

    // Three target steps of 0.1 are one source step of 0.3.
    TLASFile thirds = Target(100.0, 0.1, 31);
    ASSERT_TRUE(AddCheckedCurves(thirds, Source(100.0, 0.3, 11), {1}, {}, error));
    EXPECT_EQ(thirds.GetCurveData(2)[2], 0.0f);
    EXPECT_EQ(thirds.GetCurveData(2)[3], 1.0f);
    EXPECT_EQ(thirds.GetCurveData(2)[30], 10.0f);

    // A limit a fraction of a step above the target's top adds no row, and the samples keep
    // their own depths.
    TLASFile limited = Target(100.0, 0.1, 50);
    ASSERT_TRUE(AddCheckedCurves(limited, Source(99.0, 0.1, 40), {1}, {true, 99.93, 104.0}, error));
    EXPECT_EQ(limited.GetPointCount(), 50);
    EXPECT_EQ(limited.GetCurveData(2)[0], 10.0f);  // the source's 100.0 m
}

TEST_F(AddCurvesTest, RefusalsLeaveTheTargetAsItWas)
{
    TLASFile target = Target();
    const auto unchanged = [&] {
        EXPECT_EQ(target.GetPointCount(), 21);
        EXPECT_EQ(target.GetCurvesCount(), 2);
    };
    TLASFile single(WriteLas(dir.file("one.las"), "X", 105, 0, 1, Ones, "-999.25", "0"), 2);
    EXPECT_FALSE(AddCheckedCurves(target, single, {1}, {}, error));
    EXPECT_EQ(error, "Шаг по глубине добавляемого файла равен 0: кривые нельзя разместить по глубине");
    unchanged();
    EXPECT_FALSE(AddCheckedCurves(target, Source(105, 0.5, 5), {1}, {true, -1e9, 1e9}, error));
    EXPECT_EQ(error, "Слишком большой интервал глубин: получится более 20000000 строк");
    unchanged();

    // From deeper than To: the two are swapped, and the source samples arrive.
    ASSERT_TRUE(AddCheckedCurves(target, Source(100, 0.5, 21), {1}, {true, 110, 100}, error));
    EXPECT_EQ(target.GetCurveData(2)[5], 5.0f);
}

TEST_F(AddCurvesTest, DepthLimitsTakeTheSamplesTheyLieOnAndReachOutwardBetweenThem)
{
    const TLASFile document = Target(100.0, 0.1, 101);  // 100 .. 110 by 0.1, float depths
    int first = 0;
    int last = 0;
    double from = 100.3;
    double to = 100.7;
    ASSERT_TRUE(DepthLimitToIndexes(document, from, to, first, last));
    EXPECT_EQ(std::pair(first, last), std::pair(3, 7));  // not 2 .. 8
    from = 100.75;
    to = 100.25;  // reversed: swapped
    ASSERT_TRUE(DepthLimitToIndexes(document, from, to, first, last));
    EXPECT_EQ(std::pair(from, to), std::pair(100.25, 100.75));
    EXPECT_EQ(std::pair(first, last), std::pair(2, 8));
    from = 90;
    to = 200;
    ASSERT_TRUE(DepthLimitToIndexes(document, from, to, first, last));
    EXPECT_EQ(std::pair(first, last), std::pair(0, 100));
    from = 200;
    to = 300;
    EXPECT_FALSE(DepthLimitToIndexes(document, from, to, first, last));
}

}  // namespace
