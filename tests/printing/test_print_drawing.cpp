// Curve diagram drawing on the recording canvas: headers, grids, traces with missing values
// and off-scale folds, page edges, frames and the template's column model.
#include "platform/RecordingCanvas.h"
#include "printing/CurveTemplate.h"
#include "printing/GridParams.h"
#include "printing/PageDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

using platform::CanvasOp;
using platform::CanvasOpKind;
using platform::CanvasPoint;
using platform::CanvasRect;
using platform::PenStyle;
using platform::RecordingCanvas;

constexpr float Null = -999.25f;

bool IsLine(const CanvasOp& op, CanvasPoint a, CanvasPoint b)
{
    return op.kind == CanvasOpKind::Line && op.points[0] == a && op.points[1] == b;
}

int CountLines(const RecordingCanvas& c, CanvasPoint a, CanvasPoint b)
{
    return static_cast<int>(std::count_if(c.Ops().begin(), c.Ops().end(), [&](const CanvasOp& op) { return IsLine(op, a, b); }));
}

std::vector<std::string> Texts(const RecordingCanvas& c)
{
    std::vector<std::string> texts;
    for (const CanvasOp& op : c.OpsOf(CanvasOpKind::Text))
        texts.push_back(op.text);
    return texts;
}

class PrintDrawing : public ::testing::Test {
protected:
    void SetUp() override { GridLineValues() = TGridLineValues{}; }
    void TearDown() override { GridLineValues() = TGridLineValues{}; }
    RecordingCanvas canvas;  // 96 dpi: 9 pt text is 12 px high, 6 px a character
};

TEST_F(PrintDrawing, HeaderScaleHasTicksEveryHalfCentimetreAndNumbersEveryTwo)
{
    const float samples[] = {0.0f, 10.0f};
    TCurveForPrinting linear(samples, nullptr, Null, 2);
    linear.Mnemonic = "GR";
    linear.SetLeftValue(0.0f);
    linear.SetScaleValue(1.0f);
    // Title 16 px, digits 12 px, 0.3 cm: the base line lies 40 px down.
    EXPECT_EQ(linear.DrawHeader(canvas, 0, 40.0f, 200, 0, 40.0f), 40);
    EXPECT_EQ(CountLines(canvas, {0, 40}, {200, 40}), 1);
    int minor = 0;
    for (int i = 0; i <= 10; ++i)
        minor += CountLines(canvas, {i * 20, 40}, {i * 20, 36});
    EXPECT_EQ(minor, 11);
    for (int x : {0, 80, 160})
        EXPECT_EQ(CountLines(canvas, {x, 40}, {x, 32}), 1) << x;
    // Both ends carry their numbers, the inner ones every 2 cm.
    EXPECT_EQ(Texts(canvas), (std::vector<std::string>{"GR", "0", "2", "4", "5"}));
    const auto texts = canvas.OpsOf(CanvasOpKind::Text);
    EXPECT_EQ(texts[1].at, (CanvasPoint{2, 20}));   // held a gap inside the left edge
    EXPECT_EQ(texts[2].at, (CanvasPoint{77, 20}));  // centred on its tick

    canvas.Clear();
    TCurveForPrinting log(samples, nullptr, Null, 2);
    log.LogarithmicScale = true;
    log.ShowTitle = false;
    EXPECT_EQ(log.DrawHeader(canvas, 0, 40.0f, 160, 0, 40.0f), 24);
    int logMinor = 0;
    for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Line))
        logMinor += op.points[0].y == 24 && op.points[1].y == 20;
    EXPECT_EQ(logMinor, 19);
    EXPECT_EQ(Texts(canvas), (std::vector<std::string>{"1", "10", "100"}));
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::Text)[2].at.x, 160 - 2 - 18);  // ends a gap inside the right edge
}

TEST_F(PrintDrawing, ColumnGridIsLinearOrLogarithmic)
{
    TPrintingDept dept(0.0f, 10.0f, 1.0f);
    // logarithmic, column width, solid lines, dashed lines
    const std::tuple<bool, int, std::vector<int>, int> cases[] = {{false, 200, {0, 80, 160}, 8},
                                                                  {true, 160, {0, 80, 160}, 16}};
    for (const auto& [logarithmic, width, expectedSolid, expectedDashed] : cases) {
        canvas.Clear();
        TPrintingColumn column;
        if (logarithmic) {
            const float samples[] = {1.0f};
            column.Curves.push_back(std::make_unique<TCurveForPrinting>(samples, &column, Null, 1));
            column.Curves.back()->LogarithmicScale = true;
        }
        column.Draw(canvas, {0, 0, width, 400}, 0.0f, 10.0f, 40.0f, 40.0f, 0, dept, 1);
        std::vector<int> solid;
        int dashed = 0;
        for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Line)) {
            if (op.points[0].x != op.points[1].x || op.points[0].y != 0 || op.points[1].y != 400)
                continue;
            if (op.pen.style == PenStyle::Custom)
                ++dashed;
            else
                solid.push_back(op.points[0].x);
        }
        EXPECT_EQ(solid, expectedSolid) << logarithmic;
        EXPECT_EQ(dashed, expectedDashed) << logarithmic;
    }
}

// Depths 0..9 at 1 m per cm and 10 px per cm: sample k lies at y = 10 k.
class TraceDrawing : public PrintDrawing {
protected:
    std::vector<float> depths{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    TPrintingDept dept{0.0f, 9.0f, 1.0f};
    CanvasRect data{0, 0, 100, 90};

    void SetUp() override
    {
        PrintDrawing::SetUp();
        dept.Scale = 1.0;
        dept.Depths = depths.data();
        dept.DepthCount = 10;
    }
    std::vector<float> samples;
    // x = value × 10 px with the left edge at `left`.
    TCurveForPrinting Curve(std::vector<float> values, float left = 0.0f)
    {
        samples = std::move(values);
        TCurveForPrinting c(samples.data(), nullptr, Null, static_cast<int>(samples.size()));
        c.SetLeftValue(left);
        c.SetScaleValue(1.0f);
        c.Color = 0xFF;
        return c;
    }
    void Draw(TCurveForPrinting& c, float top = 0.0f, float bottom = 9.0f)
    {
        c.DrawTrace(canvas, dept, 10.0f, bottom, top, 10.0f, {data.left, data.top, data.right,
                                                                static_cast<int>((bottom - top) * 10)});
    }
};

TEST_F(TraceDrawing, MissingValuesBreakTheTraceAndTheEdgeFoldsIt)
{
    const std::vector<float> values = {1, 2, Null, Null, 3, 4, 12, 5, 6, 7};
    // label place, label shows the number, its text and corner (none for place 0)
    const std::tuple<int, bool, std::string, CanvasPoint> cases[] = {
        {0, true, "", {}},
        {1, true, "1", {94, 60}},    // count before the crossing + 1, ending at the right edge
        {2, true, "2", {0, 48}},     // count after + 1, at the left edge above the line
        {3, true, "1", {10, 0}},     // the start of the trace
        {1, false, "12", {88, 60}},  // the sample's value
    };
    for (const auto& [type, number, text, at] : cases) {
        canvas.Clear();
        TCurveForPrinting c = Curve(values);
        c.BlikTitleType = static_cast<std::int8_t>(type);
        c.BlikTitle = number;
        Draw(c);
        const auto texts = canvas.OpsOf(CanvasOpKind::Text);
        ASSERT_EQ(texts.size(), type == 0 ? 0u : 1u) << type;
        if (type != 0) {
            EXPECT_EQ(texts[0].text, text);
            EXPECT_EQ(texts[0].at, at);
        }

        EXPECT_EQ(CountLines(canvas, {10, 0}, {20, 10}), 1);
        for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Line))
            EXPECT_FALSE(op.points[0].y < 40 && op.points[1].y > 10) << "a line spans the missing values";
        EXPECT_EQ(CountLines(canvas, {40, 50}, {100, 60}), 1);  // up to the edge at the new level
        EXPECT_EQ(CountLines(canvas, {0, 60}, {4, 60}), 1);     // (120 - 100) / 5 from the left edge
        EXPECT_EQ(CountLines(canvas, {4, 60}, {0, 70}), 1);     // back down a level
        EXPECT_EQ(CountLines(canvas, {100, 70}, {50, 70}), 1);
    }
}

TEST_F(TraceDrawing, LoneSamplesShowAsTicks)
{
    // Present samples with NULL on both sides, the first and the last among them.
    TCurveForPrinting c = Curve({3, Null, Null, 5, Null, 6, 7, Null, Null, 2});
    Draw(c);
    // half a tick: 0.05 cm at 10 px per cm, at least 1 pixel
    EXPECT_EQ(CountLines(canvas, {29, 0}, {32, 0}), 1);
    EXPECT_EQ(CountLines(canvas, {49, 30}, {52, 30}), 1);
    EXPECT_EQ(CountLines(canvas, {19, 90}, {22, 90}), 1);
    EXPECT_EQ(CountLines(canvas, {60, 50}, {70, 60}), 1);  // a pair is a line, no tick
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::Line).size(), 4u);
}

TEST_F(TraceDrawing, ValuesLeftOfTheScaleFoldLikeThoseRightOfIt)
{
    // Left edge at 0; -3 lies 30 px left of it: one fold from the right edge, (130 - 100) / 5.
    TCurveForPrinting c = Curve({2, -3, 2, 2, 2, 2, 2, 2, 2, 2});
    c.BlikTitleType = 1;
    c.BlikTitle = true;
    Draw(c);
    EXPECT_EQ(CountLines(canvas, {20, 0}, {0, 10}), 1);     // out over the left edge
    EXPECT_EQ(CountLines(canvas, {100, 10}, {94, 10}), 1);  // on from the right edge at level -1
    EXPECT_EQ(CountLines(canvas, {94, 10}, {100, 20}), 1);  // back up a level
    EXPECT_EQ(CountLines(canvas, {0, 20}, {20, 20}), 1);
    for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Line))
        for (const CanvasPoint& p : op.points)
            EXPECT_TRUE(p.x != 0 || p.y == 10 || p.y == 20) << "nothing runs along the left frame";
}

TEST_F(TraceDrawing, SpikesAreDrawnAtTheEdgeNotAsRunsOfFolds)
{
    TCurveForPrinting c = Curve({2, 1e30f, 2, 3e38f, 2, -1e30f, 2, 2, 2, 2});
    c.BlikTitleType = 2;
    Draw(c);
    int fullWidth = 0;
    for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Line))
        fullWidth += op.points[0].y == op.points[1].y && std::abs(op.points[0].x - op.points[1].x) >= 100;
    EXPECT_EQ(fullWidth, 0);
    EXPECT_EQ(CountLines(canvas, {20, 0}, {100, 10}), 1);  // to the right edge and back
    EXPECT_EQ(CountLines(canvas, {100, 10}, {20, 20}), 1);
    EXPECT_EQ(CountLines(canvas, {20, 40}, {0, 50}), 1);   // and to the left edge
    EXPECT_TRUE(canvas.OpsOf(CanvasOpKind::Text).empty()) << "an edge value is no fold";
}

TEST_F(TraceDrawing, DenseSamplesDrawOneRunPerPixelRow)
{
    // 100,000 samples over 9 m: about 11,000 to a pixel row.
    std::vector<float> dense(100000);
    std::vector<float> denseDepths(dense.size());
    for (size_t i = 0; i < dense.size(); ++i) {
        denseDepths[i] = 9.0f * static_cast<float>(i) / static_cast<float>(dense.size() - 1);
        dense[i] = static_cast<float>(i % 7);
    }
    dept.Depths = denseDepths.data();
    dept.DepthCount = static_cast<int>(dense.size());
    TCurveForPrinting c(dense.data(), nullptr, Null, static_cast<int>(dense.size()));
    c.SetLeftValue(0.0f);
    c.SetScaleValue(1.0f);
    Draw(c);
    const auto lines = canvas.OpsOf(CanvasOpKind::Line);
    EXPECT_LE(lines.size(), 4u * 91u);
    for (int y = 0; y < 90; ++y) {
        int left = 100;
        int right = 0;
        for (const CanvasOp& op : lines)
            if (op.points[0].y == y && op.points[1].y == y) {
                left = std::min({left, op.points[0].x, op.points[1].x});
                right = std::max({right, op.points[0].x, op.points[1].x});
            }
        EXPECT_EQ(left, 0) << y;  // the row still spans the values 0..6
        EXPECT_EQ(right, 60) << y;
    }
}

TEST_F(TraceDrawing, LogarithmicTraceSkipsValuesAtOrBelowZero)
{
    TCurveForPrinting c = Curve({10, 0, -5, 100, 100, 10, 10, 10, 10, 10});
    c.LogarithmicScale = true;
    c.LogScaleModule = 1;  // 10 px per decade
    Draw(c);
    for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Line))
        EXPECT_TRUE(op.points[0].y == 0 || op.points[0].y >= 30) << "nothing is drawn for 0 and -5";
    EXPECT_EQ(CountLines(canvas, {9, 0}, {12, 0}), 1);  // 10 stands alone
    EXPECT_EQ(CountLines(canvas, {20, 30}, {20, 40}), 1);
    EXPECT_EQ(CountLines(canvas, {20, 40}, {10, 50}), 1);
}

TEST_F(TraceDrawing, TraceMeetsThePageEdgesOnlyFromPresentSamples)
{
    // Page 2.5 .. 6.5 m: y = (depth - 2.5) × 10; the edges lie between samples.
    // samples, value at the left edge, start of the first line, end of the last line
    const std::tuple<std::vector<float>, float, CanvasPoint, CanvasPoint> cases[] = {
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 0.0f, {25, 0}, {65, 40}},
        {{0, 1, Null, 3, 4, 5, 6, 7, 8, 9}, 0.0f, {30, 5}, {65, 40}},   // no value at the top
        {{0, 1, 2, 3, 4, 5, 6, Null, 8, 9}, 0.0f, {25, 0}, {60, 35}},   // none at the bottom
        {{0, 1, 2, 3, 4, 5, 1, -1, 8, 9}, -5.0f, {75, 0}, {50, 40}},    // a bottom value of 0 still counts
    };
    for (const auto& [values, left, first, last] : cases) {
        canvas.Clear();
        TCurveForPrinting c = Curve(values, left);
        Draw(c, 2.5f, 6.5f);
        const auto lines = canvas.OpsOf(CanvasOpKind::Line);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front().points[0], first);
        EXPECT_EQ(lines.back().points[1], last);
    }

    canvas.Clear();
    TCurveForPrinting none = Curve({Null, Null, Null, Null, Null, Null, Null, Null, Null, Null});
    Draw(none, 2.5f, 6.5f);
    EXPECT_TRUE(canvas.Ops().empty());
    TCurveForPrinting full = Curve({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    Draw(full, 10.0f, 12.0f);  // pages beyond the data
    Draw(full, -4.0f, -1.0f);
    EXPECT_TRUE(canvas.Ops().empty());
}

TEST_F(PrintDrawing, DashedLinesCarryTheirPatternInPixels)
{
    canvas.pen.width = 3;
    DrawDashedLine(canvas, false, 0.0f, 1.0f, 1.0f, 1.0f, 0.5f, 0.5f, 100.0f, 100.0f, 0.2f, 100.0f);
    DrawDashedLine(canvas, true, 2.0f, 3.0f, 2.0f, 3.0f, 0.5f, 0.5f, 100.0f, 100.0f, 0.2f, 100.0f);
    DrawDashedLine(canvas, true, 2.0f, 4.0f, 2.0f, 3.0f, 0.0f, 0.0f, 100.0f, 50.0f, 0.2f, 100.0f);
    const auto lines = canvas.OpsOf(CanvasOpKind::Line);
    ASSERT_EQ(lines.size(), 2u);  // coinciding ends draw nothing
    EXPECT_TRUE(IsLine(lines[0], {0, 100}, {100, 100}));
    EXPECT_EQ(lines[0].pen.style, PenStyle::Custom);
    EXPECT_DOUBLE_EQ(lines[0].pen.dash, 5.0);  // ten dashes of 0.5 mm in 1 cm
    EXPECT_DOUBLE_EQ(lines[0].pen.gap, 5.0);
    EXPECT_EQ(lines[0].pen.width, 2);
    EXPECT_TRUE(IsLine(lines[1], {200, 150}, {200, 200}));  // from the smaller end; no pattern: solid
    EXPECT_EQ(lines[1].pen.style, PenStyle::Solid);
    EXPECT_EQ(canvas.pen.width, 3);
    EXPECT_EQ(canvas.pen.style, PenStyle::Solid);
}

TEST_F(PrintDrawing, ColumnGridFallsOnRoundDepthsOnEveryPage)
{
    TPrintingDept dept(1000.0f, 1100.0f, 0.1f);
    dept.PageHeight = 27.0f;
    dept.SetFirstPageHeight(20.0f);
    GridLineValues().SolidColor = 0xFF0000;
    for (int page : {0, 1}) {
        canvas.Clear();
        DrawColumnGrid(dept, canvas, page, 40.0f, {0, 0, 100, 1080}, 40.0f);
        std::vector<int> minor, major;
        for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Line))
            (op.pen.style == PenStyle::Custom ? minor : major).push_back(op.points[0].y);
        // At 1:200 the labels come every 5 m (2.5 cm), the minor lines every metre (0.5 cm).
        std::sort(major.begin(), major.end());
        const int majorCount = page == 0 ? 9 : 11;  // 20 cm from 1000 m, then 27 cm from 1040 m
        ASSERT_EQ(static_cast<int>(major.size()), majorCount) << page;
        for (int k = 0; k < majorCount; ++k)
            EXPECT_EQ(major[k], k * 100) << page;
        std::vector<int> all = minor;
        all.insert(all.end(), major.begin(), major.end());
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        const int lineCount = page == 0 ? 41 : 55;
        ASSERT_EQ(static_cast<int>(all.size()), lineCount) << page;
        for (int k = 0; k < lineCount; ++k)
            EXPECT_EQ(all[k], k * 20) << page;
    }
}

TEST_F(PrintDrawing, DegenerateLayoutsDrawOnlyWhatFallsOnThePage)
{
    // No page height: one page of 5 · 10^8 cm; a second column far beyond the page's edge.
    const std::vector<float> depth = {0.0f, 1e9f}, values = {1.0f, 2.0f};
    TCurveTemplate t;
    t.SetSource({values.data()}, {"A", "", ""}, depth.data(), Null, 1.0f, 1e9f, 0.0f, 2);
    t.SetPageHeightCm(0.0f);
    int column = -1;
    t.AddCurveToColumn(0, column)->Color = 0x00FF00;
    t.Columns[0]->ColumnSpace = 1e30f;
    t.AddColumn();
    t.DrawCurvesPage(canvas, 0, {0, 0, 300, 400}, 40.0f, 40.0f);
    EXPECT_LT(canvas.Ops().size(), 300u);
    for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Line))
        for (const CanvasPoint& p : op.points)
            EXPECT_TRUE(op.pen.color == 0x00FF00 || (p.x <= 300 && p.y <= 400)) << p.x << "," << p.y;
}

// 1000..1100 m every 0.1 m, one curve in one 5 cm column at 10 px per cm.
class PageComposition : public PrintDrawing {
protected:
    std::vector<float> depths, values;
    TCurveTemplate t;

    void SetUp() override
    {
        PrintDrawing::SetUp();
        GridLineValues().SolidColor = 0xFF0000;
        for (int i = 0; i <= 1000; ++i) {
            depths.push_back(1000.0f + i * 0.1f);
            values.push_back(i % 100 < 10 ? Null : static_cast<float>(i % 50));
        }
        t.SetSource({values.data()}, {"GR", "API", ""}, depths.data(), Null, 0.1f, 1100.0f, 1000.0f, 1001);
        t.SetPageHeightCm(27.0f);
        int column = -1;
        t.AddCurveToColumn(0, column)->Color = 0x00FF00;
    }
    // Black lines are the frames: grid, trace and depth track have other colours.
    std::vector<std::pair<CanvasPoint, CanvasPoint>> Frames() const
    {
        std::vector<std::pair<CanvasPoint, CanvasPoint>> frames;
        for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Line))
            if (op.pen.color == 0 && op.pen.style == PenStyle::Solid && (op.points[0].x == 20 || op.points[0].x == 70) &&
                (op.points[1].x == 20 || op.points[1].x == 70))
                frames.emplace_back(op.points[0], op.points[1]);
        return frames;
    }
};

TEST_F(PageComposition, FramesCloseOnlyAtTheDiagramsEnds)
{
    using Edges = std::vector<std::pair<CanvasPoint, CanvasPoint>>;
    // Header band: 0.6 cm + 16 px + 12 px at 10 px per cm = 3.4 cm; 234 px leave 20 cm.
    t.DrawCurvesPage(canvas, 0, {0, 0, 100, 234}, 10.0f, 10.0f);
    EXPECT_NEAR(t.Dept->FirstPageHeight, 20.0f, 1e-4);
    ASSERT_EQ(t.GetPageCount(), 3);
    EXPECT_EQ(Frames(), (Edges{{{20, 0}, {20, 234}}, {{70, 0}, {70, 234}}, {{20, 0}, {70, 0}}}));
    canvas.Clear();
    t.DrawCurvesPage(canvas, 1, {0, 0, 100, 270}, 10.0f, 10.0f);
    EXPECT_EQ(Frames(), (Edges{{{20, 0}, {20, 270}}, {{70, 0}, {70, 270}}}));
    canvas.Clear();
    t.DrawCurvesPage(canvas, 2, {0, 0, 100, 270}, 10.0f, 10.0f);
    EXPECT_EQ(Frames(), (Edges{{{20, 0}, {20, 30}}, {{70, 0}, {70, 30}}, {{20, 30}, {70, 30}}}));

    float width = 0, length = 0;
    EXPECT_EQ(t.GetPrintSize(width, length), 3);
    EXPECT_NEAR(width, 6.98f, 1e-5);
    EXPECT_NEAR(length, 20.0f + 3.0f + 27.0f, 1e-4);

    // One page: the frame closes below the header band and the 5 cm of data.
    t.Dept->SetPrintBottom(1010.0f);
    canvas.Clear();
    t.DrawCurvesPage(canvas, 0, {0, 0, 100, 270}, 10.0f, 10.0f);
    ASSERT_EQ(t.GetPageCount(), 1);
    EXPECT_EQ(Frames(), (Edges{{{20, 0}, {20, 84}}, {{70, 0}, {70, 84}}, {{20, 0}, {70, 0}}, {{20, 84}, {70, 84}}}));
}

TEST_F(PageComposition, HorizontalLengthsUseOnlyTheHorizontalFactor)
{
    t.AddColumn();
    t.DrawCurvesPage(canvas, 0, {0, 0, 200, 540}, 20.0f, 10.0f);
    std::vector<int> xs;
    for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::FillRect))
        xs.push_back(op.rect.left);
    // The page, then the columns at 2 cm and 2 + 5 + 0.5 cm, 10 px per cm.
    EXPECT_EQ(xs, (std::vector<int>{0, 20, 75}));
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::FillRect)[1].rect.Width(), 50);
    // Dashes of 0.5 mm: 0.5 px across, 1 px down.
    for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Line)) {
        if (op.pen.style == PenStyle::Custom) {
            EXPECT_DOUBLE_EQ(op.pen.dash, op.points[0].y == op.points[1].y ? 0.5 : 1.0);
        }
    }
}

TEST_F(PageComposition, TemplateWithoutColumnsDrawsTheDepthTrackOnly)
{
    t.ClearColumns();
    t.Dept->SetPrintTop(1003.5f);
    canvas.font.size = 9.0;
    t.DrawCurvesPage(canvas, 0, {0, 0, 100, 400}, 40.0f, 40.0f);
    EXPECT_FLOAT_EQ(t.Dept->FirstPageHeight, 10.0f);  // no header band
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::FillRect).size(), 1u);
    // A label every 5 m on its line, in the track's own 10-point font (13 px high whatever
    // the canvas held): 1005 lies 0.75 cm down, at 30 px.
    EXPECT_EQ(Texts(canvas), (std::vector<std::string>{"1005", "1010", "1015", "1020"}));
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::Text)[0].at, (CanvasPoint{4, 30 - 13}));
    EXPECT_EQ(CountLines(canvas, {0, 30}, {80, 30}), 1);
    EXPECT_EQ(CountLines(canvas, {0, 130}, {80, 130}), 1);
    float width = 0, length = 0;
    t.GetPrintSize(width, length);
    EXPECT_FLOAT_EQ(width, 2.0f);
}

TEST(CurveTemplateModel, ColumnsAndCurvesAreAddedOnlyWhereTheyExist)
{
    GridLineValues() = TGridLineValues{};
    TCurveTemplate t;
    float width = -1, length = -1;
    EXPECT_EQ(t.GetPrintSize(width, length), 0);  // no depth track: nothing to print
    EXPECT_EQ(width, -1);
    EXPECT_EQ(t.GetPageCount(), 0);

    const std::vector<float> a = {1, 2}, b = {3, 4}, depth = {0, 1};
    t.SetSource({a.data(), b.data()}, {"A", "B", "ua", "ub", "ca", "cb"}, depth.data(), Null, 1.0f, 1.0f, 0.0f, 2);
    for (int i = 0; i < 3; ++i)
        t.AddColumn();
    int column = 3;
    EXPECT_EQ(t.AddCurveToColumn(2, column), nullptr);
    EXPECT_EQ(t.AddCurveToColumn(0, column), nullptr);
    column = -1;
    const TCurveForPrinting* curve = t.AddCurveToColumn(1, column);
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(column, 3);
    EXPECT_EQ(std::tie(curve->Mnemonic, curve->Unit, curve->Comment), std::make_tuple("B", "ub", "cb"));

    t.ClearColumns();
    t.AddColumn();
    t.AddColumn();
    t.Columns[0]->ColumnSpace = t.Columns[1]->ColumnSpace = 0.1f;
    t.Columns[1]->SetWidth(3.0f);
    EXPECT_NEAR(t.ColumnRightEdge(0), 6.98f, 1e-5);
    EXPECT_NEAR(t.ColumnRightEdge(1), 10.06f, 1e-5);
    EXPECT_EQ(t.ColumnRightEdge(2), 0.0f);
}

}  // namespace
