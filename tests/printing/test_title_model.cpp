// The title table model: shape, rows and columns with their sizes, borders, copying.
#include "platform/Canvas.h"
#include "printing/Q7CellsArray.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using F = TQ7CellFormat;

// A grid and an array of the same shape; each cell's text names its column and row.
struct Table {
    TQ7GridShape grid;
    TQ7CellsArray cells;
    Table(int cols, int rows)
    {
        grid.SetColCount(cols);
        grid.SetRowCount(rows);
        cells.Resize(cols, rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                cells.Cell(c, r).Content.Text = std::to_string(c) + "," + std::to_string(r);
    }
};

std::vector<int> Sizes(const TQ7GridShape& grid, bool columns)
{
    std::vector<int> sizes;
    for (int i = 0; i < (columns ? grid.ColCount() : grid.RowCount()); ++i)
        sizes.push_back(columns ? grid.ColWidth(i) : grid.RowHeight(i));
    return sizes;
}

TEST(TitleModel, BorderModesSetTheSidesOfARange)
{
    struct Case {
        int mode, width;
        std::uint16_t corner, middle, topMiddle, bottomRight;
        int expectedWidth;
    } cases[] = {
        {bmAll, 6, 15, 15, 15, 15, 6},
        {bmNone, 0, 0, 0, 0, 0, 2},
        {bmInner, -1, F::SideRight | F::SideBottom, 15, 15 & ~F::SideTop, F::SideLeft | F::SideTop, 2},
        {bmOuter, 4, F::SideLeft | F::SideTop, 0, F::SideTop, F::SideRight | F::SideBottom, 4},
    };
    for (const Case& c : cases) {
        Table t(5, 5);
        t.cells.SetBorders({1, 1, 3, 3}, c.mode, c.width);
        const std::vector<int> got{t.cells.Cell(1, 1).Format.Borders, t.cells.Cell(2, 2).Format.Borders,
                                   t.cells.Cell(2, 1).Format.Borders, t.cells.Cell(3, 3).Format.Borders,
                                   t.cells.Cell(3, 3).Format.BorderWidth, t.cells.Cell(4, 4).Format.Borders};
        EXPECT_EQ(got, (std::vector<int>{c.corner, c.middle, c.topMiddle, c.bottomRight, c.expectedWidth, 0}))
            << c.mode;
    }
}

TEST(TitleModel, GetBordersReadsBackTheMode)
{
    auto read = [](TQ7CellsArray& cells, TCellRange range) {
        int mode = 99, width = 99;
        cells.GetBorders(range, mode, width);
        return std::pair{mode, width};
    };
    Table t(5, 5);
    EXPECT_EQ(read(t.cells, {1, 1, 1, 1}), std::pair(int(bmNone), 2));
    EXPECT_EQ(read(t.cells, {2, 0, 1, 0}), std::pair(99, 99));  // invalid: outputs untouched
    t.cells.SetBorders({1, 1, 1, 1}, bmOuter, 5);  // a single cell keeps its sides
    t.cells.Cell(1, 1).Format.Borders = F::SideBottom;
    EXPECT_EQ(read(t.cells, {1, 1, 1, 1}), std::pair(int(bmAll), 5));

    for (int mode : {bmAll, bmNone, bmOuter}) {
        t.cells.SetBorders({1, 1, 3, 3}, mode, 7);
        EXPECT_EQ(read(t.cells, {1, 1, 3, 3}), std::pair(mode, 7));
    }
    t.cells.Cell(3, 3).Format.BorderWidth = 3;  // the bottom-right cell is not compared
    EXPECT_EQ(read(t.cells, {1, 1, 3, 3}), std::pair(int(bmOuter), 7));
    t.cells.Cell(1, 2).Format.BorderWidth = 3;
    EXPECT_EQ(read(t.cells, {1, 1, 3, 3}), std::pair(int(bmOuter), -1));

    t.cells.SetBorders({1, 1, 3, 3}, bmNone, 2);
    for (int r = 1; r <= 3; ++r)
        t.cells.Cell(1, r).Format.Borders = F::SideLeft;
    EXPECT_EQ(read(t.cells, {1, 1, 3, 3}), std::pair(int(bmMixed), -1));
}

TEST(TitleModel, InsertAndDeleteMoveTextsAndSizes)
{
    for (bool columns : {false, true}) {
        Table t(4, 4);
        // Text of the cell at position i along the axis, 1 across it.
        auto text = [&](int i) { return columns ? t.cells.Cell(i, 1).Content.Text : t.cells.Cell(1, i).Content.Text; };
        auto named = [&](int i) { return columns ? std::to_string(i) + ",1" : "1," + std::to_string(i); };
        auto insert = [&](int i, TQ7GridShape* g) { columns ? t.cells.InsertCol(i, g) : t.cells.InsertRow(i, g); };
        auto remove = [&](int i) { columns ? t.cells.DeleteCol(i, &t.grid) : t.cells.DeleteRow(i, &t.grid); };
        const int d = columns ? 64 : 24;
        for (int i = 1; i < 4; ++i)
            columns ? t.grid.SetColWidth(i, 10 * i) : t.grid.SetRowHeight(i, 10 * i);

        insert(2, &t.grid);
        for (int ignored : {0, 5})  // fixed; not before an existing one
            insert(ignored, &t.grid);
        insert(1, nullptr);
        EXPECT_EQ(Sizes(t.grid, columns), (std::vector{d, 10, d, 20, 30})) << columns;
        EXPECT_EQ(std::vector({text(2), text(3)}), std::vector<std::string>({"", named(2)})) << columns;

        remove(1);
        EXPECT_EQ(Sizes(t.grid, columns), (std::vector{d, d, 20, 30})) << columns;
        EXPECT_EQ(text(3), named(3)) << columns;
        for (int i = 0; i < 3; ++i)
            remove(1);  // the last non-fixed one stays
        EXPECT_EQ(Sizes(t.grid, columns).size(), 2u) << columns;
        EXPECT_TRUE(t.cells.MatchesShape(t.grid));
    }

    Table t(4, 2);
    t.grid.SetColCount(6);  // array and grid disagree: nothing happens to either
    t.cells.InsertCol(1, &t.grid);
    t.cells.DeleteRow(1, &t.grid);
    EXPECT_EQ(std::tuple(t.grid.ColCount(), t.cells.ColCount(), t.cells.RowCount()), std::tuple(6, 4, 2));
}

TEST(TitleModel, EmptyArrayIsShapedWithoutShortRows)
{
    TQ7CellsArray cells;
    cells.SetColCount(4);
    EXPECT_EQ(cells.ColCount(), 0);
    cells.SetRowCount(2);
    EXPECT_EQ(cells.ColCount(), 1);
    cells.Resize(3, 2);
    EXPECT_EQ(cells.Cell(2, 1).Format, cells.DefaultFormat());  // the last row is whole
}

TEST(TitleModel, CopyFromMakesAnIndependentCopyWithTheGridShape)
{
    Table source(3, 3);
    source.grid.SetDefaultRowHeight(20);
    source.grid.SetColWidth(2, 150);
    source.grid.SetRowHeight(1, 33);
    source.cells.Cell(2, 2).Format.FillColor = 0x123456;

    TQ7GridShape target;
    TQ7CellsArray copy;
    copy.CopyFrom(source.grid, source.cells, target);
    source.cells.Cell(2, 2).Content.Text = "changed";
    EXPECT_EQ(Sizes(target, true), (std::vector{64, 64, 150}));
    EXPECT_EQ(Sizes(target, false), (std::vector{20, 33, 20}));
    EXPECT_EQ(target.FixedCols(), 1);
    EXPECT_EQ(copy.Cell(2, 2).Content.Text, "2,2");
    EXPECT_EQ(copy.Cell(2, 2).Format.FillColor, 0x123456u);

    source.grid.SetRowCount(4);  // an array behind its grid still gives a drawable copy
    copy.CopyFrom(source.grid, source.cells, target);
    EXPECT_TRUE(copy.MatchesShape(target));
}

TEST(TitleModel, FontTransfer)
{
    TQ7DrawGridCell cell;
    platform::CanvasFont font;
    font.bold = true;
    TQ7CellFont::AssignToFont(font, cell.Format.Font);  // 0x40000000 is a plain font
    EXPECT_FALSE(font.bold || font.italic || font.underline || font.strikeOut);
    font.italic = font.strikeOut = true;
    TQ7CellFont::AssignFromFont(font, cell.Format.Font);
    EXPECT_EQ(cell.Format.Font.Style, TQ7CellFont::Italic | TQ7CellFont::StrikeOut);

    cell.Format.Font.SetFaceName("Очень длинное имя шрифта, длиннее поля");
    EXPECT_EQ(cell.Format.Font.FaceName, "Очень длинное имя шрифта, длинн");
}

}  // namespace
