// Cell painting and title placement: layout numbers at printer scale and in design view,
// text spills, the page columns of a title and its height.
#include "platform/RecordingCanvas.h"
#include "printing/CellPaint.h"
#include "printing/DrawingPanel.h"
#include "printing/Q7CellsArray.h"
#include "printing/TitleDraw.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using platform::CanvasOpKind;
using platform::CanvasRect;
using platform::RecordingCanvas;

constexpr double kPrinter = 600 / 2.54;  // 236.22 pixels per centimetre

TQ7DrawGridCell TextCell(const std::string& text, int alignment = TQ7CellFormat::AlignLeft)
{
    TQ7DrawGridCell cell;
    cell.Content.Text = text;
    cell.Format.HorzAlign = alignment;
    return cell;
}

// At 600 dpi a 10-point text is 83 pixels high and 41 pixels per character wide; a border
// of 0.2 mm is 4 pixels and a margin of 0.5 mm 11.
TEST(TitlePaint, TextLayoutAtPrinterScale)
{
    RecordingCanvas canvas(600, 600);
    struct Case {
        int alignment, borderWidth, margin, textX, pen, margins;
    } cases[] = {
        {TQ7CellFormat::AlignLeft, 2, 5, 0 + 4 + 11, 4, 11},
        {TQ7CellFormat::AlignRight, 2, 5, 1000 - 4 - 104 - 11, 4, 11},  // 3 margins and the pen before the edge
        {TQ7CellFormat::AlignCenter, 2, 5, 500 - 104 / 2, 4, 11},       // one margin left of the middle
        {0x102, 2, 5, 500 - 104 / 2, 4, 11},                            // only the low byte counts
        {TQ7CellFormat::AlignLeft, 0, 0, 0 + 1 + 3, 1, 3},              // zero widths: 1-pixel pen, 3-pixel margin
    };
    for (const Case& c : cases) {
        TQ7DrawGridCell cell = TextCell("AB", c.alignment);
        cell.Format.BorderWidth = static_cast<std::uint8_t>(c.borderWidth);
        cell.Format.Margin = c.margin;
        const TCellLayout l = LayoutCell(cell, canvas, {0, 0, 1000, 200}, kPrinter, kPrinter, {}, {}, false);
        EXPECT_EQ(std::tuple(l.penX, l.penY, l.margin), std::tuple(c.pen, c.pen, c.margins)) << c.alignment;
        EXPECT_EQ(l.textX, c.textX) << c.alignment;
        EXPECT_EQ(l.textY, (c.pen + 200 - c.pen) / 2 - 83 / 2);
        // Alone in its row the text is clipped to its own cell.
        EXPECT_EQ(l.textRect, (CanvasRect{c.pen + c.margins, c.pen, 1000 - c.pen - c.margins, 200 - c.pen}));
        EXPECT_EQ(l.fillRect, (CanvasRect{1, 1, 1000, 200}));
    }
}

// Design view: 1-pixel pens, a 3-pixel margin, every edge drawn (grey where the cell has no side),
// and the left and top edges left to the neighbours.
TEST(TitlePaint, DesignViewDrawsEveryEdge)
{
    RecordingCanvas canvas;
    TQ7DrawGridCell cell;
    TQ7DrawGridCell neighbour;
    cell.Format.Borders = TQ7CellFormat::SideLeft | TQ7CellFormat::SideBottom;
    const TCellLayout alone = LayoutCell(cell, canvas, {10, 20, 74, 44}, 0, 0, {}, {}, true);
    EXPECT_EQ(std::tuple(alone.penX, alone.penY, alone.margin), std::tuple(1, 1, 3));
    EXPECT_EQ(alone.fillRect, (CanvasRect{10, 20, 74, 44}));
    std::vector<std::tuple<int, int, platform::CanvasColor>> lines;  // start and colour of each edge
    for (const TCellLine& line : alone.borders)
        lines.emplace_back(line.from.x, line.from.y, line.color);
    EXPECT_EQ(lines, (decltype(lines){{10, 20, 0}, {10, 20, 0x808080}, {74, 20, 0x808080}, {10, 44, 0}}));
    const TCellLayout inRow = LayoutCell(cell, canvas, {10, 20, 74, 44}, 0, 0, {&neighbour, &neighbour}, {}, true);
    ASSERT_EQ(inRow.borders.size(), 2u);
    EXPECT_EQ(inRow.borders[0].from, (platform::CanvasPoint{74, 20}));
}

TEST(TitlePaint, TextSpillsOverEmptyNeighboursOnly)
{
    RecordingCanvas canvas;  // 96 dpi: 6 pixels per character
    TQ7DrawGridCell longText = TextCell(std::string(20, 'X'));  // 120 + 6 pixels with margins
    TQ7DrawGridCell empty;
    TQ7DrawGridCell other = TextCell("Y");
    auto layout = [&](const TQ7DrawGridCell& cell, CanvasRect rect, TCellNeighbours n) {
        return LayoutCell(cell, canvas, rect, 0, 0, n, {}, true);
    };

    const TCellLayout spill = layout(longText, {0, 0, 100, 30}, {nullptr, nullptr, &empty});
    EXPECT_EQ(std::tuple(spill.overflowRight, spill.rect.right), std::tuple(30, 130));
    const TCellLayout stopped = layout(longText, {0, 0, 100, 30}, {nullptr, nullptr, &other});
    EXPECT_EQ(std::tuple(stopped.overflowRight, stopped.textRect.right), std::tuple(0, 100 - 1 - 3));

    longText.OverflowRight = 30;
    const TCellLayout covered = layout(empty, {100, 0, 120, 30}, {&longText});
    EXPECT_EQ(std::tuple(covered.kind, covered.overflowRight), std::tuple(TCellLayout::Kind::Covered, 10));
    const TCellLayout part = layout(empty, {100, 0, 200, 30}, {&longText});
    EXPECT_EQ(std::tuple(part.kind, part.fillRect.left), std::tuple(TCellLayout::Kind::Normal, 130));
}

TEST(TitlePaint, SelectionFixedCellsAndFocus)
{
    RecordingCanvas canvas;
    TQ7DrawGridCell cell = TextCell("A");
    cell.Format.Font.Color = 0x0000FF;
    cell.Format.FillColor = 0x00FF00;
    CanvasRect rect{0, 0, 50, 20};
    cell.Draw(canvas, rect, 0, 0, nullptr, nullptr, nullptr, nullptr, {true, false, false}, true);
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::FillRect).at(0).brush.color, 0x0000FFu);
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::Text).at(0).font.color, 0x00FF00u);
    EXPECT_EQ(cell.Format.Font.Color, 0x0000FFu);

    canvas.Clear();
    cell.Draw(canvas, rect, 0, 0, nullptr, nullptr, nullptr, nullptr, {false, true, true}, true);
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::FillRect).at(0).brush.color, 0xC0C0C0u);
    EXPECT_TRUE(canvas.OpsOf(CanvasOpKind::Text).empty());
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::Line).size(), 4u);

    canvas.Clear();
    cell.Draw(canvas, rect, 0, 0, nullptr, nullptr, nullptr, nullptr, {false, true, false}, true);
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::Polyline).at(0).pen.style, platform::PenStyle::Dot);
}

// A grid of a fixed column and row around the given widths and heights, screen pixels.
struct Title {
    TQ7GridShape grid;
    TQ7CellsArray cells;
    Title(std::vector<int> widths, std::vector<int> heights)
    {
        grid.SetColCount(static_cast<int>(widths.size()) + 1);
        grid.SetRowCount(static_cast<int>(heights.size()) + 1);
        for (std::size_t i = 0; i < widths.size(); ++i)
            grid.SetColWidth(static_cast<int>(i) + 1, widths[i]);
        for (std::size_t i = 0; i < heights.size(); ++i)
            grid.SetRowHeight(static_cast<int>(i) + 1, heights[i]);
        cells.Resize(grid.ColCount(), grid.RowCount());
    }
    TCellRange All() const { return {1, 1, grid.ColCount() - 1, grid.RowCount() - 1}; }
};

TEST(TitlePaint, TitleColumnsFollowAlignmentAndFit)
{
    // At 50 pixels per centimetre, 100, 300, 100 screen pixels become 132.29, 396.88, 132.29.
    const double scale = 50;
    Title t({100, 300, 100}, {20});
    struct Case {
        int alignment, width;
        std::vector<int> edges;
    } cases[] = {
        {0, 500, {0, 132, 528}},
        {0, 1000, {0, 132, 528, 660}},
        {1, 500, {-29, 367, 499}},
        {1, 1000, {338, 470, 866, 998}},
        {2, 1000, {169, 301, 697, 829}},
        {2, 500, {0, 132, 528}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LayoutTitle(t.grid, 0, 0, c.width, 0, c.alignment, false, scale, scale, t.All()).colEdges, c.edges)
            << c.alignment << " " << c.width;

    Title split({100, 300}, {21, 41});
    const TTitleLayout fit = LayoutTitle(split.grid, 100, 50, 4001, 10, 2, true, kPrinter, kPrinter, split.All());
    EXPECT_EQ(fit.colEdges, (std::vector{100, 1100, 4100}));
    EXPECT_EQ(fit.rowEdges, (std::vector{60, 191, 447}));

    RecordingCanvas canvas(600, 600);
    const TCellRange all = split.All();
    EXPECT_EQ(split.cells.DrawTitle(canvas, split.grid, 100, 50, 4001, 0, 10, 2, true, kPrinter, kPrinter, all), 387);
    EXPECT_EQ(split.cells.TitleHeight(kPrinter, split.All(), split.grid), 387);
    EXPECT_EQ(canvas.OpsOf(CanvasOpKind::FillRect).size(), 4u);
}

TEST(TitlePaint, UnusableSizesDrawNothing)
{
    const std::pair<Title, int> cases[] = {{Title({0, 0}, {20}), 1000}, {Title({100, -5}, {20}), 1000},
                                           {Title({100}, {-1}), 1000}, {Title({100}, {20}), -1}};
    for (auto [t, width] : cases) {
        RecordingCanvas canvas(600, 600);
        EXPECT_EQ(t.cells.DrawTitle(canvas, t.grid, 0, 0, width, 0, 0, 2, true, kPrinter, kPrinter, t.All()), 0);
        EXPECT_TRUE(canvas.Ops().empty());
    }
    Title t({100}, {-1});
    EXPECT_EQ(t.cells.TitleHeight(kPrinter, t.All(), t.grid), 0);
}

TEST(TitlePaint, SpillsAreWorkedOutForEachDevice)
{
    Title t({64, 64}, {25});
    TQ7DrawGridCell& text = t.cells.Cell(2, 1);
    text = TextCell(std::string(26, 'X'), TQ7CellFormat::AlignRight);  // 1066 pixels at 600 dpi
    t.cells.Cell(1, 1).OverflowRight = 500;  // left over from a screen painting
    text.OverflowLeft = 7;

    RecordingCanvas canvas(600, 600);
    t.cells.DrawTitle(canvas, t.grid, 0, 0, 2001, 0, 0, 2, true, kPrinter, kPrinter, t.All());
    // Columns 0..1000 and 1000..2000; the text starts at 2000 - 4 - 1088 - 11 = 897, even in
    // this first painting at this scale.
    const auto fills = canvas.OpsOf(CanvasOpKind::FillRect);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].rect, (CanvasRect{1, 1, 897, 156}));
    EXPECT_EQ(fills[1].rect, (CanvasRect{898, 1, 2000, 156}));
    EXPECT_EQ(t.cells.Cell(1, 1).OverflowRight, 500);
    EXPECT_EQ(text.OverflowLeft, 7);
}

TEST(TitlePaint, DrawingPanelKeepsItsVirtualSurface)
{
    TDrawingPanel panel;
    panel.show();
    panel.resize(200, 100);
    auto state = [&] { return std::tuple(panel.VirtWidth(), panel.VirtHeight(), panel.HorzOffset()); };
    panel.SetVirtWidth(500);
    panel.SetHorzOffset(40);
    for (int ignored : {0, 1}) {
        panel.SetVirtWidth(ignored);
        panel.SetVirtHeight(ignored);
        panel.SetHorzOffset(ignored - 1);
    }
    EXPECT_EQ(state(), std::tuple(500, 100, 40));
    EXPECT_EQ(panel.grab().toImage().pixelColor(150, 50), panel.Color());
    panel.resize(300, 120);
    EXPECT_EQ(state(), std::tuple(300, 120, 0));
    panel.EnableVirtSizes = true;
    panel.SetVirtWidth(900);
    panel.resize(250, 80);
    EXPECT_EQ(state(), std::tuple(900, 80, 0));
}

}  // namespace
