// The panel tools driven through a real panel and document with a recording host.
#include "ToolHostFixture.h"

#include "editing/CurveDrawTools.h"
#include "editing/CurveEditTools.h"
#include "editing/IntervalTool.h"
#include "editing/ViewTools.h"

#include <QPainter>

namespace {

constexpr float kNull = -999.25f;

TEST_F(ToolTest, CutToolsNullTheClickedCurveAboveOrBelowAndStayCurrent)
{
    TCutCurveTool top(host, true);
    TCutCurveTool bottom(host, false);
    host.document->GetCurveData(2)[3] = kNull;
    host.document->GetCurveData(2)[74] = kNull;
    std::vector<float> expected = Curve(2);

    Use(top);
    EXPECT_EQ(top.Prompt(), "Щелкните левой кнопкой мыши по кривой для обрезания на нужной глубине");
    ClickAt(PointOf(1, 10));
    std::fill(expected.begin(), expected.begin() + 11, kNull);
    EXPECT_EQ(Curve(2), expected);
    EXPECT_EQ(Curve(1)[5], 10 + 5);  // the other curves stay
    ClickAt(PointOf(1, 20));
    std::fill(expected.begin(), expected.begin() + 21, kNull);
    EXPECT_EQ(Curve(2), expected);
    EXPECT_EQ(host.done, 0);

    Use(bottom);
    ClickAt(PointOf(1, 70));
    std::fill(expected.begin() + 70, expected.end(), kNull);
    EXPECT_EQ(Curve(2), expected);
    EXPECT_EQ(host.panel.GetCurve(1)->Maximum(), 26.0f);  // the statistics follow
    EXPECT_EQ(host.snapshots, (std::vector<std::string>{"'Удаление верхней части кривой'",
                                                        "'Удаление верхней части кривой'",
                                                        "'Удаление нижней части кривой'"}));
    host.store.Undo();
    Reattach();
    EXPECT_EQ(host.document->GetCurveData(2)[72], 20 + 72 % 7);

    // The first sample and indexes outside the array cut nothing and take no step.
    for (int k : {0, -1, kRows})
        EXPECT_FALSE(CutCurve(host, 0, k, true)) << k;
    EXPECT_TRUE(CutCurve(host, 0, kRows - 1, false));
    EXPECT_FALSE(CutCurve(host, 3, 10, true));  // no such panel curve
    EXPECT_EQ(host.snapshots.size(), 4u);
}

TEST_F(ToolTest, JoinTakesTheUpperCurveDownToThePickAndTheLowerBelow)
{
    TJoinCurvesTool join(host);
    Use(join);
    host.document->GetCurveData(1)[2] = kNull;
    host.document->GetCurveData(3)[60] = kNull;
    const std::vector<float> upper = Curve(1);
    const std::vector<float> lower = Curve(3);

    ClickAt(PointOf(0, 30));
    EXPECT_EQ(host.prompts.back(), "Выберите нижнюю кривую для сшивки");
    ClickAt(PointOf(0, 40));  // the same curve again: told, the pick stays
    ASSERT_EQ(runner.Requests().size(), 1u);
    EXPECT_EQ(runner.Last().text, "необходимо выбрать другую кривую");
    runner.PushText("A.B C");
    runner.Push(platform::IDOK);  // the message about the removed characters
    runner.PushColor(0x00FF00);
    ClickAt(PointOf(2, 50));
    ASSERT_EQ(host.document->GetCurvesCount(), 5);
    EXPECT_EQ(host.document->GetCurveName(4), "ABC");
    std::vector<float> joined(upper.begin(), upper.begin() + 31);
    joined.insert(joined.end(), lower.begin() + 31, lower.end());
    EXPECT_EQ(Curve(4), joined);
    EXPECT_EQ(host.shownCurves, (std::vector<std::pair<int, std::uint32_t>>{{4, 0x00FF00}}));
    EXPECT_EQ(host.done, 1);
    EXPECT_TRUE(host.snapshots.empty());

    // A cancelled name, a name of removed characters only or a cancelled colour add nothing.
    join.Cancel();
    runner.PushCancel();
    EXPECT_FALSE(join.JoinCurves(0, 1, 10));
    runner.PushText(". :");
    runner.Push(platform::IDOK);
    EXPECT_FALSE(join.JoinCurves(0, 1, 10));
    runner.PushText("J");
    runner.PushCancel();
    EXPECT_FALSE(join.JoinCurves(0, 1, 10));
    // A pick beyond a document made shorter since is held at its last sample.
    runner.PushText("J");
    runner.PushColor(0);
    EXPECT_TRUE(join.JoinCurves(0, 1, kRows + 50));
    EXPECT_EQ(Curve(5), upper);
    EXPECT_EQ(host.document->GetCurvesCount(), 6);
}

TEST_F(ToolTest, ScaleMatchPutsEqualValuesAtEqualColumns)
{
    TScaleMatchTool match(host);
    Use(match);
    host.panel.GetCurve(0)->SetPixelsPerUnit(7.5);
    ClickAt(PointOf(0, 30));
    EXPECT_EQ(host.prompts.back(), "Отметьте кривую у которой требуется изменить горизонтальный масштаб");
    ClickAt(PointOf(0, 40));
    EXPECT_EQ(runner.Last().text, "Необходимо выбрать другую кривую");
    // Values 10..16 and 20..26: shift C2 so 15 of C1 and 15 of C2 would stand at one column.
    float* c2 = host.document->GetCurveData(2);
    for (int i = 0; i < kRows; ++i)
        c2[i] -= 8;  // 12..18
    host.panel.GetCurve(1)->Update();
    for (int target : {1, 2}) {
        ClickAt(PointOf(target, 60));
        const PanelCoordinates c = host.panel.Coordinates();
        EXPECT_EQ(host.panel.GetCurve(target)->PixelsPerUnit(), 7.5);
        EXPECT_NEAR(host.panel.GetCurve(target)->ColumnOf(15, c), host.panel.GetCurve(0)->ColumnOf(15, c), 1.0);
    }
    // A curve of one value keeps its scale.
    float* c3 = host.document->GetCurveData(3);
    std::fill(c3, c3 + kRows, 5.0f);
    host.panel.GetCurve(2)->Update();
    host.panel.GetCurve(2)->SetPixelsPerUnit(2);
    ClickAt(PointOf(2, 60));
    EXPECT_EQ(host.panel.GetCurve(2)->PixelsPerUnit(), 2);
}

TEST_F(ToolTest, RectangleZoomsStretchTheCurvesInsideOrSetTheDepthScale)
{
    TZoomRectTool across(host, false);
    TZoomRectTool down(host, true);
    const QRect area = host.panel.DrawingArea();
    const auto drag = [&](QPoint from, QPoint to) {
        QTest::mousePress(&host.panel, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&host.panel, to);
        QTest::mouseRelease(&host.panel, Qt::LeftButton, Qt::NoModifier, to);
    };

    Use(across);
    EXPECT_FALSE(host.panel.CrossMouse);
    const TCurve& c1 = *host.panel.GetCurve(0);
    const double ppu = c1.PixelsPerUnit();
    const double outside = host.panel.GetCurve(2)->PixelsPerUnit();
    const QPoint left = PointOf(0, 20) - QPoint(3, 10);
    const double leftValue = c1.ValueAt(left.x(), host.panel.Coordinates());
    drag(left, left + QPoint(40, 60));
    EXPECT_NEAR(c1.PixelsPerUnit(), ppu * area.width() / 40.0, 1e-9);
    EXPECT_NEAR(c1.ColumnOf(leftValue, host.panel.Coordinates()), area.left(), 1.0);
    EXPECT_EQ(host.panel.GetCurve(2)->PixelsPerUnit(), outside);
    drag(left, left + QPoint(4, 60));  // too narrow
    EXPECT_NEAR(c1.PixelsPerUnit(), ppu * area.width() / 40.0, 1e-9);
    across.Deactivate();
    EXPECT_TRUE(host.panel.CrossMouse);

    // 40 samples of 0.5 m over the area's height in cm (the strip above has only the tracks in view).
    Use(down);
    const PanelCoordinates c = host.panel.Coordinates();
    const int top = c.RowOf(c.depths[10]);
    drag(QPoint(200, top), QPoint(260, c.RowOf(c.depths[50])));
    const double heightCm = c.area.height() / double(host.panel.YAxisInfo.PixelsPerCm());
    EXPECT_EQ(host.scales.back(), int(2000.0 / heightCm));
    EXPECT_NEAR((host.panel.GetFirstVisibleDepth() + host.panel.GetLastVisibleDepth()) / 2, 115.0, 0.5);
    // Within one depth step: scale 1; lower than 4 pixels: nothing.
    const PanelCoordinates d = host.panel.Coordinates();
    const int row = d.RowOf(d.depths[d.NearestIndex(115.0)]);
    drag(QPoint(200, row - 2), QPoint(260, row + 2));
    EXPECT_EQ(host.scales.back(), 1);
    drag(QPoint(200, row), QPoint(260, row + 3));
    EXPECT_EQ(host.scales.size(), 2u);
}

TEST_F(ToolTest, RubberBandIsDrawnThroughEveryRepaintUntilCancelled)
{
    TZoomRectTool across(host, false);
    Use(across);
    const QImage before = host.panel.grab().toImage();
    const QPoint from(150, 100);
    const QPoint to(300, 250);
    QTest::mousePress(&host.panel, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&host.panel, to);
    host.panel.Repaint();  // a hover or scroll redraws the image
    const QImage during = host.panel.grab().toImage();
    int dots = 0;
    for (int x = from.x(); x <= to.x(); ++x)
        dots += during.pixelColor(x, from.y()) == Qt::black && before.pixelColor(x, from.y()) != Qt::black;
    EXPECT_GT(dots, 40);
    across.Cancel();
    EXPECT_EQ(host.panel.grab().toImage(), before);
}

TEST_F(ToolTest, IntervalToolProposesTheSameIntervalDraggedEitherWay)
{
    TIntervalTool tool(host);
    Use(tool);
    const PanelCoordinates c = host.panel.Coordinates();
    const int upper = c.RowOf(110.0);
    const int lower = c.RowOf(130.0);
    for (const auto& [from, to] : {std::pair(upper, lower), std::pair(lower, upper)}) {
        QTest::mousePress(&host.panel, Qt::LeftButton, Qt::NoModifier, QPoint(200, from));
        QTest::mouseRelease(&host.panel, Qt::LeftButton, Qt::NoModifier, QPoint(200, to));
    }
    ASSERT_EQ(host.addedIntervals.size(), 2u);
    const auto [top0, bottom0] = host.addedIntervals[0];
    const auto [top1, bottom1] = host.addedIntervals[1];
    EXPECT_EQ(std::min(top0, bottom0), std::min(top1, bottom1));
    EXPECT_EQ(std::max(top0, bottom0), std::max(top1, bottom1));
    EXPECT_NEAR(std::min(top0, bottom0), 110.0, 0.3);
    EXPECT_EQ(host.done, 2);
    // A release without its press proposes nothing.
    QTest::mouseRelease(&host.panel, Qt::LeftButton, Qt::NoModifier, QPoint(200, upper));
    EXPECT_EQ(host.addedIntervals.size(), 2u);
}

TEST_F(ToolTest, PencilPressThatDrawsNothingLeavesNoStep)
{
    TPencilTool pencil(host);
    Use(pencil);
    EXPECT_FALSE(host.panel.CrossMouse);
    const QPoint at = PointOf(0, 40);
    QTest::mouseMove(&host.panel, at);
    QTest::mouseClick(&host.panel, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(host.snapshots.size(), 1u);
    EXPECT_EQ(host.discarded, 1);
    EXPECT_FALSE(host.store.CanUndo());
    pencil.Deactivate();
    EXPECT_TRUE(host.panel.CrossMouse);
}

TEST_F(ToolTest, TrackZoomStopsWithTheRelease)
{
    TTrackZoomTool zoom(host, 2.0);
    Use(zoom);
    const double ppu = host.panel.GetCurve(1)->PixelsPerUnit();
    const QPoint at = PointOf(1, 40);
    QTest::mouseMove(&host.panel, at);
    QTest::mouseClick(&host.panel, Qt::LeftButton, Qt::NoModifier, at);
    QTest::qWait(250);
    EXPECT_EQ(host.panel.GetCurve(1)->PixelsPerUnit(), ppu * 2);
}

}  // namespace
