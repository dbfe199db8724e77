// What the panel draws: curves where the coordinate model puts them, gaps at NULL runs,
// min-max rows for dense data, the owner's XOR layer, and a screenshot for a person to see.
#include "PanelFixture.h"

#include "platform/Colors.h"
#include "tests/common/TestPaths.h"
#include "view/PaintHelpers.h"

#include <QDir>
#include <QPainter>

#include <algorithm>
#include <tuple>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

class PanelRenderTest : public PanelFixture {
protected:
    QRgb Pixel(int x, int y) const { return panel.Bitmap().pixel(x, y) | 0xFF000000; }
    QRgb Rgb(std::uint32_t color) const { return platform::ToQColor(color).rgb(); }
};

TEST_F(PanelRenderTest, CurvesAreDrawnWhereTheModelPutsThemWithGapsAtNullRuns)
{
    std::vector<float> flat(kCount, 10.0f);
    std::fill(flat.begin() + 20, flat.begin() + 40, kNull);
    std::fill(flat.begin() + 45, flat.begin() + 55, std::nanf(""));  // a failed calculation
    std::vector<float> ramp(kCount);
    for (int i = 0; i < kCount; ++i)
        ramp[std::size_t(i)] = float(i);
    panel.AddCurve(flat.data(), kCount, 0x0000FF, kNull)->SetXOffset(140);  // x = 200
    TCurve* sloped = panel.AddCurve(ramp.data(), kCount, 0x008000, kNull);
    sloped->SetPixelsPerUnit(2);
    panel.Redraw();

    for (int y : {RowOf(5), RowOf(5) + 2, RowOf(19), RowOf(40), RowOf(60)})
        EXPECT_EQ(Pixel(200, y), Rgb(0x0000FF)) << y;
    for (int y : {RowOf(21), RowOf(30), RowOf(38), RowOf(50)})
        EXPECT_EQ(Pixel(200, y), kWhite) << y;
    for (int y = RowOf(44); y <= RowOf(55); ++y)  // nothing drawn towards a NaN
        for (int x = 61; x < 190; ++x)
            ASSERT_NE(Pixel(x, y), Rgb(0x0000FF)) << x << "," << y;
    for (int i : {3, 30, 70})
        EXPECT_EQ(Pixel(ColumnOf(1, float(i)), RowOf(i)), Rgb(0x008000)) << i;

    // A hidden curve leaves its place blank; a scroll moves the picture with the rows.
    panel.GetCurve(0)->SetVisible(false);
    panel.YAxisInfo.SetOffset(40);
    panel.Redraw();
    EXPECT_EQ(Pixel(200, RowOf(61)), kWhite);
    EXPECT_EQ(Pixel(ColumnOf(1, 61.0f), RowOf(61)), Rgb(0x008000));
}

TEST_F(PanelRenderTest, DenseSamplesBecomeOneMinMaxSegmentPerRow)
{
    // 250 samples per pixel row at 1:100000, alternating 0 and 10.
    const int count = 200000;
    std::vector<float> dense(std::size_t(count), 0.0f);
    std::vector<float> deep(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        deep[std::size_t(i)] = 0.1f * float(i);
        dense[std::size_t(i)] = i % 2 ? 10.0f : 0.0f;
    }
    for (int i = 30000; i < 50000; ++i)
        dense[std::size_t(i)] = kNull;
    panel.YAxisInfo.SetDepthArray(deep.data(), count);
    panel.YAxisInfo.SetScaleFactorValue(100000);
    panel.AddCurve(dense.data(), count, 0xFF0000, kNull)->SetPixelsPerUnit(10);  // 0 -> 60, 10 -> 160
    panel.Redraw();
    const int row = 35 + 20;
    EXPECT_EQ(Pixel(60, row), Rgb(0xFF0000));
    EXPECT_EQ(Pixel(110, row), Rgb(0xFF0000));
    EXPECT_EQ(Pixel(160, row), Rgb(0xFF0000));
    EXPECT_EQ(Pixel(165, row), kWhite);
    const int nullRow = panel.Coordinates().RowOf(3500.0);
    ASSERT_LT(nullRow, 335);
    EXPECT_EQ(Pixel(110, nullRow), kWhite);
}

TEST_F(PanelRenderTest, OwnerLayerMergedByExclusiveOrTwiceLeavesTheImageUnchanged)
{
    std::vector<float> flat(kCount, 10.0f);
    panel.AddCurve(flat.data(), kCount, 0x0000FF, kNull)->SetXOffset(140);
    panel.Redraw();
    const QImage before = panel.Bitmap().copy();

    const QRect band(100, 100, 200, 20);
    double shownTop = 0;
    double shownBottom = 0;
    panel.OnDrawingAreaPaint = [&](QPainter& canvas, const QRect& area, double top, double bottom, TRasterOp&) {
        EXPECT_EQ(area, panel.DrawingArea());
        shownTop = top;
        shownBottom = bottom;
        canvas.fillRect(band, QColor(0xFF, 0xFF, 0x00));
    };
    panel.Redraw();
    EXPECT_DOUBLE_EQ(shownTop, panel.GetFirstVisibleDepth());
    EXPECT_DOUBLE_EQ(shownBottom, panel.GetLastVisibleDepth());
    EXPECT_EQ(Pixel(150, 110), qRgb(0x00, 0x00, 0xFF));  // white inverted by yellow
    EXPECT_EQ(Pixel(200, 110), qRgb(0x00, 0xFF, 0x00));  // the red curve: red xor yellow
    EXPECT_EQ(Pixel(150, 130), kWhite);                  // black leaves the rest alone

    QImage layer(panel.DrawingArea().size(), QImage::Format_RGB32);
    layer.fill(Qt::black);
    QPainter(&layer).fillRect(band.translated(-panel.DrawingArea().topLeft()), QColor(0x12, 0x34, 0x56));
    const QImage withBands = panel.Bitmap().copy();
    panel.MergeLayer(layer, SRCINVERT);
    EXPECT_NE(panel.Bitmap(), withBands);
    panel.MergeLayer(layer, SRCINVERT);
    EXPECT_EQ(panel.Bitmap(), withBands);

    // A plain copy replaces the drawing area with the layer.
    panel.OnDrawingAreaPaint = [](QPainter&, const QRect&, double, double, TRasterOp& op) { op = SRCCOPY; };
    panel.Redraw();
    EXPECT_EQ(Pixel(150, 130), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(30, 130), before.pixel(30, 130) | 0xFF000000);  // the depth strip is not touched
}

// A curve kept apart from the panel's list, as the preview copies of the editing tools are.
class OwnedCurve : public TCurve {
public:
    OwnedCurve(TPanelWithCurves* panel, std::vector<float> values)
        : TCurve(panel, nullptr, 0, 0x00FFFF, -999.25f), own_(std::move(values))
    {
        SetData(own_.data(), int(own_.size()));
    }

private:
    std::vector<float> own_;
};

TEST_F(PanelRenderTest, DerivedCurveDrawsThroughItsLayerOntoTheImage)
{
    OwnedCurve copy(&panel, std::vector<float>(kCount, 5.0f));
    copy.SetXOffset(240);  // x = 300
    panel.Redraw();
    copy.DrawToLayer();
    EXPECT_EQ(copy.Layer().size(), panel.DrawingArea().size());
    EXPECT_EQ(qAlpha(copy.Layer().pixel(0, 0)), 0);  // transparent where nothing is drawn
    copy.Draw();
    EXPECT_EQ(Pixel(300, RowOf(10)), Rgb(0x00FFFF));
    EXPECT_EQ(Pixel(290, RowOf(10)), kWhite);
}

TEST_F(PanelRenderTest, ScreenshotOfThreeCurvesIsWrittenForAPersonToSee)
{
    std::vector<float> gamma(kCount);
    std::vector<float> resistivity(kCount);
    std::vector<float> porosity(kCount);
    for (int i = 0; i < kCount; ++i) {
        const float d = float(i);
        gamma[std::size_t(i)] = 60 + 40 * std::sin(d / 15);
        resistivity[std::size_t(i)] = (i / 25) % 3 == 1 ? kNull : 10 + 8 * std::cos(d / 9);
        porosity[std::size_t(i)] = 0.25f + 0.1f * std::sin(d / 40);
    }
    const char* names[] = {"GR", "RES", "PORO"};
    TCurve* curves[] = {panel.AddCurve(gamma.data(), kCount, 0x0000C0, kNull),
                        panel.AddCurve(resistivity.data(), kCount, 0xC00000, kNull),
                        panel.AddCurve(porosity.data(), kCount, 0x008000, kNull)};
    for (int i = 0; i < 3; ++i) {
        curves[i]->SetCaption(names[i]);
        curves[i]->SetXOffset(20 + 120 * i);
    }
    curves[1]->SetLineWidth(2);
    panel.SetAxisSizes(60, 3 * 16);
    panel.Interval.SetRange(40, 55);
    panel.Repaint();

    const QString dir = QString::fromStdString(strativ::test::OutputDir());
    QDir().mkpath(dir);
    ASSERT_TRUE(panel.Bitmap().save(dir + "/panel_three_curves.png"));

    EXPECT_EQ(Pixel(ColumnOf(0, gamma[10]), RowOf(10)), Rgb(0x0000C0));
    EXPECT_EQ(Pixel(ColumnOf(2, porosity[30]), RowOf(30)), Rgb(0x008000));
    const int gapRow = RowOf(37);  // samples 25..49 of RES are NULL
    const int gapColumn = ColumnOf(1, 10);
    EXPECT_NE(Pixel(gapColumn, gapRow), Rgb(0xC00000));
    EXPECT_EQ(Pixel(gapColumn + 2, RowOf(47)), Rgb(0xE0FFE0));  // interval fill, no curve
}

// Columns from the first to the last one with ink in rows [top, bottom) of an image, within [from, to).
std::pair<int, int> InkSpan(const QImage& image, int top, int bottom, int from, int to)
{
    int first = -1;
    int last = -1;
    for (int x = from; x < to; ++x)
        for (int y = top; y < bottom; ++y)
            if ((image.pixel(x, y) | 0xFF000000) != kWhite) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
    return {first, last};
}

TEST_F(PanelRenderTest, ValueLabelsAtTheEdgesOfTheAreaAreShownWhole)
{
    // Marks at the left and the right edge of the 400-pixel area: 0.00 at x 60 and 19.00 at x 459.
    panel.XAxisInfo.TickInterval = 21;
    panel.XAxisInfo.MarksStep = 19;
    panel.XAxisInfo.TickStepValue = 1;
    panel.XAxisInfo.SetOffset(0);
    panel.Redraw();
    const QRect area = panel.DrawingArea();
    const int textHeight = QFontMetrics(panel.font()).height();
    const int labelsBottom = area.top() - 1 - 8;  // above the long ticks
    const int labelsTop = labelsBottom - textHeight;
    ASSERT_GE(labelsTop, 0);
    for (const auto& [text, from, to] : {std::tuple{"0.00", area.left(), 260}, std::tuple{"19.00", 260, area.right() + 1}}) {
        QImage alone(200, textHeight, QImage::Format_RGB32);
        alone.fill(Qt::white);
        {
            QPainter painter(&alone);
            painter.setFont(panel.font());
            painter.drawText(alone.rect(), Qt::AlignCenter, QString::fromLatin1(text));
        }
        const auto [aloneFirst, aloneLast] = InkSpan(alone, 0, textHeight, 0, alone.width());
        const auto [first, last] = InkSpan(panel.Bitmap(), labelsTop, labelsBottom, from, to);
        ASSERT_GE(first, area.left()) << text;
        EXPECT_NEAR(last - first, aloneLast - aloneFirst, 1) << text;
    }
}

TEST_F(PanelRenderTest, ValueStripOfManyCurvesShowsTheCurvesInView)
{
    // 35 tracks 100 pixels apart, the last one leftmost, as a loaded file lays them out: only
    // the last four are in the 400-pixel area.
    constexpr int kCurves = 35;
    std::vector<std::vector<float>> values(kCurves, std::vector<float>(kCount));
    for (int j = 0; j < kCurves; ++j) {
        for (int i = 0; i < kCount; ++i)
            values[std::size_t(j)][std::size_t(i)] = float(j + i % 10);
        TCurve* curve = panel.AddCurve(values[std::size_t(j)].data(), kCount, 0x0000C0, kNull);
        curve->SetPixelsPerUnit(9);  // a 81-pixel track
        curve->SetXOffset(-j * 100);
        curve->SetCaption(QStringLiteral("C%1").arg(j, 2, 10, QLatin1Char('0')));
    }
    panel.XAxisInfo.SetOffset(-(kCurves - 1) * 100);
    panel.Redraw();

    const QRect area = panel.DrawingArea();
    std::vector<int> inView;
    for (int j = 0; j < kCurves; ++j) {
        const TCurve& curve = *panel.GetCurve(j);
        const PanelCoordinates c = panel.Coordinates();
        if (curve.ColumnOf(curve.Maximum(), c) >= area.left() && curve.ColumnOf(curve.Minimum(), c) <= area.right())
            inView.push_back(j);
    }
    ASSERT_EQ(inView.size(), 4u);
    std::vector<int> shown;
    for (const auto& e : panel.ValueStripLayout().entries) {
        shown.push_back(e.curve);
        ASSERT_LT(e.lineY, area.top()) << e.curve;
        const int x = std::clamp((e.left + e.right) / 2, area.left(), area.right());
        EXPECT_EQ(Pixel(x, e.lineY), Rgb(0x0000C0)) << e.curve;
        for (const QRect& box : {e.caption, e.minimum, e.maximum})
            EXPECT_GE(InkSpan(panel.Bitmap(), box.top(), box.bottom() + 1, box.left(), box.right() + 1).first, 0)
                << e.curve;
    }
    EXPECT_EQ(shown, inView);
}

TEST(PaintHelpers, LightenColorAddsWhereTheChannelStaysBelowFullAndGradientsRunBetweenTheColors)
{
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {0x000000, 0x555555}, {0xA9A9A9, 0xFEFEFE}, {0xAAAAAA, 0xAAAAAA}, {0x00FF10, 0x55FF65}, {0xFFFFFF, 0xFFFFFF},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(LightenColor(in), out) << std::hex << in;

    QImage image(100, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        FillGradientRect(painter, 0xFFE0E0, 0x808080, 100, 40, 1);
    }
    EXPECT_NEAR(qBlue(image.pixel(10, 0)), 0xFF, 4);
    EXPECT_NEAR(qBlue(image.pixel(10, 39)), 0x80, 4);
    EXPECT_EQ(image.pixel(0, 20), image.pixel(99, 20));   // top to bottom: rows are uniform
    EXPECT_EQ(image.pixel(10, 45), QColor(Qt::white).rgb());  // nothing beyond the height
    {
        QPainter painter(&image);
        FillGradientRect(painter, 0x000000, 0xFFFFFF, 100, 50, 0);
    }
    EXPECT_LT(qRed(image.pixel(0, 10)), 8);
    EXPECT_GT(qRed(image.pixel(99, 10)), 247);
    EXPECT_EQ(image.pixel(50, 0), image.pixel(50, 49));
}

}  // namespace
