// Depth re-stamping and new curves from typed points.
#include <gtest/gtest.h>

#include "core/CurveByValues.h"
#include "core/DepthRecalc.h"

namespace {
constexpr float N = -999.25f;
}

TEST(DepthRecalc, EachModeBuildsItsSeries)
{
    DepthSeries s = RecalculateDepths(DepthRecalcMode::FirstAndStep, 100.0f, 0.2f, 0.0f, 5);
    EXPECT_EQ(s.depths, (FloatVector{100.0f, 100.2f, 100.4f, 100.6f, 100.8f}));
    EXPECT_EQ(s.last, 100.8f);
    s = RecalculateDepths(DepthRecalcMode::FirstAndLast, 10.0f, 0.0f, 11.0f, 4);
    EXPECT_EQ(s.depths.front(), 10.0f);
    EXPECT_EQ(s.depths.back(), 11.0f);
    EXPECT_FLOAT_EQ(s.step, 1.0f / 3);
    EXPECT_FLOAT_EQ(s.depths[1], 10.0f + 1.0f / 3);
    s = RecalculateDepths(DepthRecalcMode::StepAndLast, 0.0f, 0.5f, 20.0f, 3);
    EXPECT_EQ(s.depths, (FloatVector{19.0f, 19.5f, 20.0f}));
    EXPECT_EQ(s.first, 19.0f);
    // One sample: the first value, or the last one when the series is built backwards.
    EXPECT_EQ(RecalculateDepths(DepthRecalcMode::FirstAndLast, 5, 1, 9, 1).depths, FloatVector{5});
    EXPECT_EQ(RecalculateDepths(DepthRecalcMode::FirstAndStep, 5, 1, 9, 1).depths, FloatVector{5});
    EXPECT_EQ(RecalculateDepths(DepthRecalcMode::StepAndLast, 5, 1, 9, 1).depths, FloatVector{9});
    EXPECT_TRUE(RecalculateDepths(DepthRecalcMode::FirstAndStep, 5, 1, 9, 0).depths.empty());
}

TEST(CurveByValues, PointsLandOnTheFirstSampleAtOrBelowThem)
{
    const FloatVector depths = {10, 10.5f, 11, 11.5f};
    EXPECT_EQ(SampleIndexForDepth(depths, 9), 0);
    EXPECT_EQ(SampleIndexForDepth(depths, 10.5f), 1);
    EXPECT_EQ(SampleIndexForDepth(depths, 10.6f), 2);
    EXPECT_EQ(SampleIndexForDepth(depths, 50), 3);
    EXPECT_EQ(SampleIndexForDepth({}, 1), -1);
}

TEST(CurveByValues, FillModes)
{
    FloatVector depths;
    for (int i = 0; i < 10; ++i)
        depths.push_back(100.0f + i);
    FloatVector v(10, N);
    v[2] = 5;
    FloatVector steps = v;
    FillBetweenPoints(ConnectType::Steps, depths, steps, N);
    EXPECT_EQ(steps, (FloatVector{N, N, 5, 5, 5, 5, 5, 5, 5, 5}));
    FloatVector single = v;
    FillBetweenPoints(ConnectType::Lines, depths, single, N);
    EXPECT_EQ(single, v);  // one point: nothing else
    v[6] = 13;
    FloatVector lines = v;
    FillBetweenPoints(ConnectType::Lines, depths, lines, N);
    EXPECT_EQ(lines, (FloatVector{N, N, 5, 7, 9, 11, 13, 13, 13, 13}));
    FloatVector spline = v;
    FillBetweenPoints(ConnectType::Spline, depths, spline, N);
    EXPECT_EQ(spline, v);  // two points: only the points
    v[8] = 5;
    spline = v;
    FillBetweenPoints(ConnectType::Spline, depths, spline, N);
    EXPECT_EQ(spline[0], N);
    EXPECT_EQ(spline[2], 5.0f);
    EXPECT_EQ(spline[6], 13.0f);
    EXPECT_EQ(spline[8], 5.0f);
    EXPECT_EQ(spline[9], N);
    EXPECT_GT(spline[4], 9.0f);  // the natural spline bulges above the chord
}

TEST(CurveByValues, PastedTextIsReadLineByLine)
{
    PointTexts points;
    ASSERT_TRUE(ParsePointsText("1000.5\t12,5\r\n1001  13", points));
    EXPECT_EQ(points, (PointTexts{{"1000.5", "12,5"}, {"1001", "13"}}));
    ASSERT_TRUE(ParsePointsText("10 1x2\n\n  \n", points));  // a letter inside a value is skipped
    EXPECT_EQ(points, (PointTexts{{"10", "12"}}));
    EXPECT_FALSE(ParsePointsText("1a0 12\n", points));  // a letter inside a depth
    EXPECT_FALSE(ParsePointsText(" 10 12", points));    // a depth must start the text
    EXPECT_FALSE(ParsePointsText("10\n12", points));
    EXPECT_FALSE(ParsePointsText("1 2 x", points));
    EXPECT_FALSE(ParsePointsText("12", points));  // too short
    EXPECT_FALSE(ParsePointsText(std::string(128, '1') + " 2", points));
    ASSERT_TRUE(ParsePointsText("10 ", points));  // no value: nothing added
    EXPECT_TRUE(points.empty());
}
