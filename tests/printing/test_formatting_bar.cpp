// The centimetre ruler: ticks, labels, track hit ranges and drags.
#include "printing/FormattingBar.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(FormattingBar, TicksAndLabelsFollowScaleAndOffset)
{
    const auto digits = [](int k) { return 6 * static_cast<int>(QString::number(k).size()); };
    // 460 pixels at 20 per cm: 26 labels from -1 to 24, 48 half-cm ticks from k = -1, 10 apart.
    TRulerLayout layout = TFormattingBar::Layout(460, 20.0f, 0, digits);
    ASSERT_EQ(layout.labels.size(), 26u);
    EXPECT_EQ(layout.labels.front(), -1);
    EXPECT_EQ(layout.labels.back(), 24);
    ASSERT_EQ(layout.halfTicks.size(), 48u);
    EXPECT_EQ(layout.halfTicks.front(), -10);
    EXPECT_EQ(layout.halfTicks[1] - layout.halfTicks[0], 10);
    EXPECT_EQ(layout.cmTicks[1], 0);
    // The labels of the ends stay whole: "0" starts at the left edge, "23" ends at the right one.
    EXPECT_EQ(layout.labelX[1], 0);
    EXPECT_EQ(layout.labelX[24], 460 - 12);

    // Offset 30: label 2 is centred at x = 10.
    layout = TFormattingBar::Layout(460, 20.0f, 30, digits);
    const auto two = std::find(layout.labels.begin(), layout.labels.end(), 2) - layout.labels.begin();
    EXPECT_EQ(layout.cmTicks[static_cast<size_t>(two)], 10);
    EXPECT_EQ(layout.labelX[static_cast<size_t>(two)], 10 - 3);
    EXPECT_EQ(layout.labels.front(), 1);  // 1.5 cm hidden: the first tick just left of it

    TFormattingBar bar;
    bar.resize(460, 22);
    bar.PaintTempmap();
    EXPECT_FLOAT_EQ(bar.GetWidthInSm(), 23.0f);
}

TEST(FormattingBar, TracksCoverTheirMarkersAndReportOneEndOfDrag)
{
    TFormattingBar bar;
    bar.resize(460, 22);
    ASSERT_EQ(bar.GetTrackCount(), 1);  // the constructor's track at 0
    EXPECT_EQ(bar.GetTrackNumber(3), 0);
    bar.DeleteTrack(0);
    bar.AddTrack(5.0f);
    bar.AddTrack(7.5f);
    EXPECT_EQ(bar.GetTrackNumber(100), 0);
    EXPECT_EQ(bar.GetTrackNumber(106), 0);
    EXPECT_EQ(bar.GetTrackNumber(107), -1);
    EXPECT_EQ(bar.GetTrackNumber(150), 1);
    EXPECT_FLOAT_EQ(bar.GetBeforeTrackDistance(0), 5.0f);
    EXPECT_FLOAT_EQ(bar.GetBeforeTrackDistance(1), 2.5f);
    EXPECT_FLOAT_EQ(bar.GetBeforeTrackDistance(2), 0.0f);
    EXPECT_EQ(bar.GetTrack(2), nullptr);
    bar.SetPixelsPerSm(-1.0f);
    EXPECT_FLOAT_EQ(bar.GetPixelsPerSm(), 20.0f);

    bar.show();
    QSignalSpy moves(&bar, &TFormattingBar::TrackPosChange);
    QSignalSpy ends(&bar, &TFormattingBar::TrackPosEndChange);
    QTest::mouseMove(&bar, QPoint(102, 10));
    EXPECT_EQ(bar.cursor().shape(), Qt::UpArrowCursor);
    EXPECT_EQ(bar.GetActiveTrack(), 0);
    QTest::mouseMove(&bar, QPoint(120, 10));
    EXPECT_EQ(bar.cursor().shape(), Qt::ArrowCursor);
    QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(102, 10));
    QTest::mouseMove(&bar, QPoint(110, 10));
    QTest::mouseMove(&bar, QPoint(130, 10));
    QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(130, 10));
    EXPECT_EQ(moves.count(), 2);
    ASSERT_EQ(ends.count(), 1);
    EXPECT_EQ(ends[0][0].toInt(), 0);
    EXPECT_FLOAT_EQ(ends[0][1].toFloat(), 6.5f);
    EXPECT_EQ(bar.GetActiveTrack(), -1);
}

}  // namespace
