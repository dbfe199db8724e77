// Hit tests, line editing and the panel's own mouse handling, driven by real mouse events.
#include "PanelFixture.h"

#include <QMouseEvent>

#include <cmath>

namespace {

class PanelMouseTest : public PanelFixture {
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        // Curve A: 10 with a NULL run over samples 20..39, drawn at x = 200.
        a.assign(kCount, 10.0f);
        std::fill(a.begin() + 20, a.begin() + 40, kNull);
        // Curve B: 20 everywhere, drawn at x = 202.
        b.assign(kCount, 20.0f);
        panel.AddCurve(a.data(), kCount, 0x0000FF, kNull)->SetXOffset(140);
        panel.AddCurve(b.data(), kCount, 0xFF0000, kNull)->SetXOffset(142);
        panel.Repaint();
    }

    int CurrentAt(int x, int y)
    {
        QTest::mouseMove(&panel, QPoint(x, y));
        return panel.GetCurrentCurve();
    }

    std::vector<float> a;
    std::vector<float> b;
};

TEST_F(PanelMouseTest, CurrentCurveIsTheNearestVisibleDrawnCurveSkippingNullRuns)
{
    ASSERT_EQ(ColumnOf(0, 10), 200);
    ASSERT_EQ(ColumnOf(1, 20), 202);
    EXPECT_EQ(CurrentAt(200, RowOf(5)), 1);
    EXPECT_EQ(CurrentAt(201, RowOf(5)), 1);  // tie: the lower index
    EXPECT_EQ(CurrentAt(203, RowOf(5)), 2);
    EXPECT_EQ(CurrentAt(200, RowOf(30)), 2);  // A has NULLs there, B is 2 px away
    EXPECT_EQ(CurrentAt(207, RowOf(5)), 2);   // 5 px from B
    EXPECT_EQ(CurrentAt(208, RowOf(5)), 0);   // 6 px from B
    panel.GetCurve(1)->SetVisible(false);
    EXPECT_EQ(CurrentAt(200, RowOf(30)), 0);
    EXPECT_EQ(CurrentAt(205, RowOf(5)), 1);
    EXPECT_EQ(CurrentAt(206, RowOf(5)), 0);
    EXPECT_EQ(CurrentAt(30, RowOf(5)), 0);  // depth strip
}

TEST_F(PanelMouseTest, CurveBelongsSquareNeedsANonNullSampleInsideTheRectangle)
{
    struct Case {
        int curve;
        QPoint corner1;
        QPoint corner2;
        bool inside;
    };
    const Case cases[] = {
        {0, {190, RowOf(21)}, {210, RowOf(38)}, false},  // only the NULL run
        {0, {190, RowOf(15)}, {210, RowOf(22)}, true},
        {0, {210, RowOf(22)}, {190, RowOf(15)}, true},   // corners in any order
        {0, {201, RowOf(0)}, {260, RowOf(60)}, false},   // right of the curve
        {1, {201, RowOf(21)}, {210, RowOf(38)}, true},
        {0, {200, RowOf(10)}, {180, RowOf(10) - 3}, true},  // reversed: the sample on the corner counts
        {5, {0, 0}, {400, 300}, false},                  // no such curve
    };
    for (const Case& c : cases)
        EXPECT_EQ(panel.CurveBelongsSquare(c.curve, c.corner1, c.corner2), c.inside)
            << c.curve << " " << c.corner1.x() << "," << c.corner1.y();
    panel.GetCurve(1)->SetVisible(false);
    EXPECT_FALSE(panel.CurveBelongsSquare(1, {201, RowOf(21)}, {210, RowOf(38)}));
}

TEST_F(PanelMouseTest, SetLineWritesTheValuesUnderTheSegmentAndKeepsTheCurveInPlace)
{
    std::vector<float> c(kCount, 50.0f);
    c.front() = 0;
    c.back() = 100;
    TCurve* curve = panel.AddCurve(c.data(), kCount, 0x00FF00, kNull);
    curve->SetPixelsPerUnit(2);  // x = 60 + 2 v
    ASSERT_EQ(ColumnOf(2, 50), 160);

    panel.SetLine(2, 80, RowOf(10), 120, RowOf(20));
    EXPECT_FLOAT_EQ(c[10], 10);
    EXPECT_FLOAT_EQ(c[15], 20);
    EXPECT_FLOAT_EQ(c[20], 30);
    EXPECT_FLOAT_EQ(c[9], 50);
    EXPECT_FLOAT_EQ(c[21], 50);

    panel.SetLine(2, 100, RowOf(50), 100, RowOf(50));  // one point, one sample
    EXPECT_FLOAT_EQ(c[50], 20);
    EXPECT_FLOAT_EQ(c[49], 50);
    EXPECT_FLOAT_EQ(c[51], 50);

    panel.SetLine(2, 60, RowOf(0) - 8, 100, RowOf(2));  // begins above the first depth
    EXPECT_FLOAT_EQ(c[0], 10);
    EXPECT_FLOAT_EQ(c[1], 15);
    EXPECT_FLOAT_EQ(c[2], 20);
    EXPECT_FLOAT_EQ(c[3], 50);

    panel.SetLine(2, 100, 5000, 300, 9000);  // wholly below the document
    EXPECT_EQ(std::count(c.begin() + 21, c.end() - 1, 50.0f), kCount - 23);

    // A value below the minimum moves the minimum; what was drawn stays where it was.
    panel.SetLine(2, 40, RowOf(60), 40, RowOf(60));
    EXPECT_FLOAT_EQ(c[60], -10);
    EXPECT_FLOAT_EQ(curve->Minimum(), -10);
    EXPECT_EQ(ColumnOf(2, 50), 160);
}

TEST_F(PanelMouseTest, PressesOnCurvesFireCurveClickAndCtrlTogglesSelection)
{
    std::vector<int> clicks;
    panel.OnCurveClick = [&](TPanelWithCurves* sender, int index) {
        EXPECT_EQ(sender, &panel);
        clicks.push_back(index);
    };
    int downs = 0;
    int ups = 0;
    int plainClicks = 0;
    panel.OnMouseDown = [&](QMouseEvent&) { ++downs; };
    panel.OnMouseUp = [&](QMouseEvent&) { ++ups; };
    panel.OnClick = [&](QMouseEvent&) { ++plainClicks; };

    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(200, RowOf(5)));
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(203, RowOf(30)));
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(300, RowOf(30)));  // no curve
    QTest::mouseClick(&panel, Qt::RightButton, {}, QPoint(200, RowOf(5)));   // not a curve click
    QTest::mouseClick(&panel, Qt::LeftButton, Qt::ControlModifier, QPoint(200, RowOf(5)));
    EXPECT_EQ(clicks, (std::vector<int>{0, 1, 0}));
    EXPECT_TRUE(panel.GetCurve(0)->IsSelected());
    EXPECT_FALSE(panel.GetCurve(1)->IsSelected());
    EXPECT_EQ(downs, 5);
    EXPECT_EQ(ups, 5);
    EXPECT_EQ(plainClicks, 4);

    // A double click makes one click, and its owner sees the curve under the double click.
    int overCurve = -1;
    panel.OnDblClick = [&](QMouseEvent&) { overCurve = panel.GetCurrentCurve(); };
    QTest::mouseMove(&panel, QPoint(300, RowOf(30)));
    QTest::mouseDClick(&panel, Qt::LeftButton, {}, QPoint(203, RowOf(30)));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(203, RowOf(30)));
    EXPECT_EQ(overCurve, 2);
    EXPECT_EQ(plainClicks, 4);
}

TEST_F(PanelMouseTest, DraggingMovesCurvesAndAxesAndShiftDragSelectsTheInterval)
{
    std::vector<int> offsets;
    std::vector<std::pair<int, int>> intervals;
    panel.OnYOffsetChange = [&](int offset) { offsets.push_back(offset); };
    panel.OnIntervalChange = [&](int first, int last) { intervals.emplace_back(first, last); };

    // Depth strip: dragging up scrolls down.
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(30, 200));
    QTest::mouseMove(&panel, QPoint(30, 150));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(30, 150));
    EXPECT_EQ(offsets, std::vector<int>{50});

    // Curve drag only in PSDrag.
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(ColumnOf(0, 10), RowOf(60)));
    QTest::mouseMove(&panel, QPoint(ColumnOf(0, 10) + 30, RowOf(60)));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(ColumnOf(0, 10), RowOf(60)));
    EXPECT_EQ(panel.GetCurve(0)->XOffset(), 140);
    panel.PanelState = TPanelWithCurves::PSDrag;
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(200, RowOf(60)));
    QTest::mouseMove(&panel, QPoint(230, RowOf(60)));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(230, RowOf(60)));
    EXPECT_EQ(panel.GetCurve(0)->XOffset(), 170);

    // Shift + drag selects depth indexes and reports each change.
    QTest::mousePress(&panel, Qt::LeftButton, Qt::ShiftModifier, QPoint(300, RowOf(70)));
    QTest::mouseMove(&panel, QPoint(300, RowOf(80)));
    QTest::mouseMove(&panel, QPoint(300, RowOf(65)));
    QTest::mouseRelease(&panel, Qt::LeftButton, Qt::ShiftModifier, QPoint(300, RowOf(65)));
    EXPECT_EQ(intervals, (std::vector<std::pair<int, int>>{{70, 80}, {65, 70}}));
    EXPECT_EQ(panel.Interval.First(), 65);
    EXPECT_EQ(panel.Interval.Last(), 70);
    // A shorter depth array (an undo across a growing shift) cuts or unsets the range.
    panel.YAxisInfo.SetDepthArray(depths.data(), 68);
    EXPECT_EQ(panel.Interval.Last(), 67);
    panel.YAxisInfo.SetDepthArray(depths.data(), 60);
    EXPECT_FALSE(panel.Interval.IsSet());
    EXPECT_EQ(panel.Interval.First(), -1);
    panel.YAxisInfo.SetDepthArray(depths.data(), kCount);
    panel.Interval.SetRange(5000, -3);  // clamped and ordered
    EXPECT_EQ(intervals.back(), std::make_pair(0, kCount - 1));
    panel.Interval.Clear();
    EXPECT_FALSE(panel.Interval.IsSet());
    EXPECT_EQ(intervals.back(), std::make_pair(-1, -1));
}

TEST_F(PanelMouseTest, WithoutOwnMouseMoveOnlyTheOwnersMoveEventFires)
{
    QTest::mouseMove(&panel, QPoint(200, RowOf(5)));
    EXPECT_EQ(panel.cursor().shape(), Qt::PointingHandCursor);
    panel.OwnMouseMove = false;
    int moves = 0;
    panel.OnMouseMove = [&](QMouseEvent&) { ++moves; };
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(30, 200));
    QTest::mouseMove(&panel, QPoint(30, 150));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(30, 150));
    EXPECT_EQ(panel.YAxisInfo.Offset(), 0);
    EXPECT_GE(moves, 1);
    QTest::mouseMove(&panel, QPoint(201, RowOf(5)));
    EXPECT_EQ(panel.cursor().shape(), Qt::ArrowCursor);  // the hover is gone
    EXPECT_EQ(panel.GetCurrentCurve(), 1);               // the hit test still answers
}

TEST_F(PanelMouseTest, AnExceptionInAnOwnersHandlerIsReportedNotPropagated)
{
    platform::RecordingDialogRunner runner;
    panel.OnCurveClick = [](TPanelWithCurves*, int) { throw std::runtime_error("сбой"); };
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(200, RowOf(5)));
    ASSERT_EQ(runner.Requests().size(), 1u);
    EXPECT_EQ(runner.Last().text, "сбой");
}

}  // namespace

TEST_F(PanelMouseTest, TheDepthReadOutAtTheMouseNeverCutsThroughADepthLabel)
{
    panel.CrossMouse = true;
    const int h = panel.fontMetrics().height();
    const double interval = panel.YAxisInfo.LabelInterval();
    const int label = panel.Coordinates().RowOf(std::ceil(panel.Coordinates().TopDepth() / interval + 1) * interval);
    const int strip = panel.DrawingArea().left() - 12;  // the labels stand left of the ticks
    const auto inkIn = [&](const QImage& image, int top, int bottom) {
        int ink = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < strip; ++x)
                ink += image.pixel(x, y) != qRgb(255, 255, 255);
        return ink;
    };
    ASSERT_GT(inkIn(panel.grab().toImage(), label - h / 2, label + h / 2), 0);
    // The read-out half a line below the label: the label's upper half would stand cut off.
    for (const int offset : {h / 2, -h / 2, h - 1}) {
        QTest::mouseMove(&panel, QPoint(300, label + offset));
        const QImage shown = panel.grab().toImage();
        EXPECT_GT(inkIn(shown, label + offset - h / 2, label + offset + h / 2), 0) << offset;
        const int top = std::min(label, label + offset) - h / 2;
        const int bottom = std::max(label, label + offset) + h / 2;
        EXPECT_EQ(inkIn(shown, top, label + offset - h / 2) + inkIn(shown, label + offset + h / 2, bottom), 0)
            << offset;
    }
}
