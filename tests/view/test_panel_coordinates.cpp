// The panel's coordinate model: depth <-> row round trips under scale and scroll, index
// lookups at the edges, scrolling limits and scale changes.
#include "PanelFixture.h"

#include <cmath>

namespace {

using PanelCoordinatesTest = PanelFixture;

TEST_F(PanelCoordinatesTest, DepthsAndRowsRoundTripUnderScaleAndOffset)
{
    struct Case {
        int scale;
        int offset;
    };
    for (Case c : {Case{100, 0}, Case{100, 37}, Case{100, 3697}, Case{50, 1234}, Case{1000, 5}}) {
        panel.YAxisInfo.SetScaleFactorValue(c.scale);
        panel.YAxisInfo.SetOffset(c.offset);
        const double pixelsPerMetre = 40.0 * 100 / c.scale;
        ASSERT_EQ(panel.YAxisInfo.Offset(), c.offset);
        EXPECT_NEAR(panel.GetFirstVisibleDepth(), 1000.0 + c.offset / pixelsPerMetre, 1e-6);
        EXPECT_NEAR(panel.GetLastVisibleDepth(), 1000.0 + (c.offset + 300) / pixelsPerMetre, 1e-6);
        int seen = 0;
        for (int i = 0; i < kCount; ++i) {
            const int y = RowOf(i);
            if (y < 35 || y >= 335)
                continue;
            ++seen;
            EXPECT_NEAR(panel.GetDepthValue(y), depths[std::size_t(i)], 0.5 / pixelsPerMetre) << i;
            // Several samples share a row at small scales: the row gives one of them.
            const int found = panel.GetDepthArrayNumber(y);
            EXPECT_EQ(RowOf(found), y) << "scale " << c.scale << " sample " << i;
            if (pixelsPerMetre * 0.1 >= 1) {
                EXPECT_EQ(found, i);
            }
        }
        EXPECT_GT(seen, 0);
    }
}

TEST_F(PanelCoordinatesTest, IndexLookupIsNegativeOutsideTheAreaAndBeyondHalfAStep)
{
    // Top of the document: sample 0 sits on the first row.
    EXPECT_EQ(panel.GetDepthArrayNumber(35), 0);
    EXPECT_EQ(panel.GetDepthArrayNumber(34), -1);   // value strip
    EXPECT_EQ(panel.GetDepthArrayNumber(335), -1);  // below the widget's last row
    EXPECT_EQ(panel.GetDepthArrayNumber(37), 1);    // 2 px = half a step: the deeper sample wins

    // Scroll to the end: the last sample is on the last row, below it half a step still counts.
    panel.YAxisInfo.SetOffset(1 << 30);
    EXPECT_EQ(panel.YAxisInfo.Offset(), 3996 - 300 + 1);
    EXPECT_EQ(RowOf(kCount - 1), 334);
    EXPECT_EQ(panel.GetDepthArrayNumber(334), kCount - 1);

    // A short document: rows beyond the last sample by more than half a step give -1.
    panel.YAxisInfo.SetDepthArray(depths.data(), 10);
    EXPECT_EQ(panel.YAxisInfo.Offset(), 0);
    EXPECT_EQ(panel.GetDepthArrayNumber(RowOf(9)), 9);
    EXPECT_EQ(panel.GetDepthArrayNumber(RowOf(9) + 2), 9);
    EXPECT_EQ(panel.GetDepthArrayNumber(RowOf(9) + 3), -1);
    panel.YAxisInfo.ClearDepthArray();
    EXPECT_EQ(panel.GetDepthArrayNumber(100), -1);
}

TEST_F(PanelCoordinatesTest, ScrollingStaysInsideTheDocumentAndFiresOffsetChanges)
{
    std::vector<int> offsets;
    panel.OnYOffsetChange = [&](int offset) { offsets.push_back(offset); };
    panel.YAxisInfo.SetOffset(-20);  // already 0: no change
    panel.GotoDepth(1050.0);
    EXPECT_NEAR(panel.GetDepthValue(35 + 150), 1050.0, 0.05);
    panel.GotoDepth(900.0);  // before the top: clamped
    EXPECT_EQ(panel.YAxisInfo.Offset(), 0);
    EXPECT_EQ(offsets, (std::vector<int>{2000 - 150, 0}));

    // A scale change keeps the middle depth in the middle; scale 0 is refused.
    panel.GotoDepth(1040.0);
    panel.SetScaleY(200);
    EXPECT_EQ(panel.YAxisInfo.ScaleFactorValue(), 200);
    EXPECT_NEAR(panel.GetDepthValue(35 + 150), 1040.0, 0.1);
    panel.SetScaleY(0);
    EXPECT_EQ(panel.YAxisInfo.ScaleFactorValue(), 200);

    // The value axis scrolls freely either way.
    panel.XAxisInfo.SetOffset(-75);
    EXPECT_EQ(panel.XAxisInfo.Offset(), -75);
}

TEST_F(PanelCoordinatesTest, DepthLabelsUseTheSmallestNiceIntervalAtLeastOneAndAHalfCentimetresApart)
{
    struct Case {
        int scale;
        double interval;
    };
    // 1.5 cm at 1:N covers 0.015 x N metres.
    for (Case c : {Case{100, 2}, Case{200, 5}, Case{500, 10}, Case{1000, 20}, Case{10, 0.2}, Case{100000, 2000}}) {
        panel.YAxisInfo.SetScaleFactorValue(c.scale);
        EXPECT_DOUBLE_EQ(panel.YAxisInfo.LabelInterval(), c.interval) << c.scale;
    }
}

}  // namespace
