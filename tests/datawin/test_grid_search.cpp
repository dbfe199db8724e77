// Find, replace and the copy buffer over plain cell texts, without widgets.
#include "datawin/CopyBuffer.h"
#include "datawin/GridSearch.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A grid of texts with its cursor; row 0 and column 0 are the fixed ones.
class TextGrid : public GridCells, public GridCursor {
public:
    TextGrid(std::vector<std::vector<QString>> rows) : rows_(std::move(rows)) {}
    int ColCount() const override { return int(rows_[0].size()); }
    int RowCount() const override { return int(rows_.size()); }
    QString Text(int col, int row) const override { return rows_[std::size_t(row)][std::size_t(col)]; }
    void SetText(int col, int row, const QString& text) override { rows_[std::size_t(row)][std::size_t(col)] = text; }
    int CurrentCol() const override { return col_; }
    int CurrentRow() const override { return row_; }
    void SetCurrent(int col, int row) override
    {
        col_ = col;
        row_ = row;
        selection_ = {col, row, col, row};
    }
    GridRect Selection() const override { return selection_; }
    void Select(GridRect rect) { selection_ = rect; }

private:
    std::vector<std::vector<QString>> rows_;
    int col_ = 1;
    int row_ = 1;
    GridRect selection_{1, 1, 1, 1};
};

// 3 data columns x 3 data rows.
TextGrid SampleGrid()
{
    return TextGrid({{"", "DEPT", "GR", "SP"},
                     {"1", "100.00", "-1.25", "Null"},
                     {"2", "100.50", "12.50", "-999.25"},
                     {"3", "101.00", "Null", "15.00"}});
}

TEST(GridSearchTest, MatchRuleTreatsQuestionMarkAsAnyCharacterAndKeepsLetterCase)
{
    EXPECT_TRUE(CellMatches("-1.25", "1?2"));
    EXPECT_TRUE(CellMatches("-1.25", "1?25"));
    EXPECT_FALSE(CellMatches("-1.25", "1?5"));  // '?' stands for exactly one character
    EXPECT_TRUE(CellMatches("-1.25", "?.?5"));
    EXPECT_FALSE(CellMatches("Null", "null"));
    EXPECT_TRUE(CellMatches("Null", "Nu"));
    EXPECT_FALSE(CellMatches("12", "123"));
    EXPECT_FALSE(CellMatches("", "?"));
}

TEST(GridSearchTest, ScanRunsBothWaysToItsEndCell)
{
    TextGrid grid = SampleGrid();
    GridSearch search(grid, grid);

    // Forward from the first cell: the current cell is examined first, then row by row.
    grid.SetCurrent(2, 1);
    ASSERT_TRUE(search.SetAreaAndFind("5"));
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(2, 1));
    ASSERT_TRUE(search.FindAfterCurrent("5"));
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(1, 2));  // next row from Left
    ASSERT_TRUE(search.FindAfterCurrent("5"));
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(2, 2));
    ASSERT_TRUE(search.FindAfterCurrent("5"));
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(3, 2));
    ASSERT_TRUE(search.FindAfterCurrent("5"));
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(3, 3));  // the end cell is examined
    EXPECT_FALSE(search.FindAfterCurrent("5"));                                    // nothing after the end
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(3, 3));

    // Backward: right to left, rows upwards, ending at (Left, Top).
    search.direction = GridSearch::Backward;
    ASSERT_TRUE(search.FindAfterCurrent("100"));
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(1, 2));
    ASSERT_TRUE(search.FindAfterCurrent("100"));
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(1, 1));
    EXPECT_FALSE(search.FindAfterCurrent("100"));
    EXPECT_FALSE(search.SetAreaAndFind("abc"));
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(1, 1));
}

TEST(GridSearchTest, PlacesLimitTheArea)
{
    TextGrid grid = SampleGrid();
    GridSearch search(grid, grid);

    // Current column: row after row inside it only.
    search.place = GridSearch::InCurrentColumn;
    grid.SetCurrent(3, 1);
    ASSERT_TRUE(search.SetAreaAndFind("0"));
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(3, 3));
    EXPECT_FALSE(search.FindAfterCurrent("0"));

    // Selection: the first hit collapses it, so a new search only sees that cell while the stored
    // area goes on for the next ones.
    search.place = GridSearch::InSelection;
    grid.SetCurrent(1, 1);
    grid.Select({1, 1, 2, 3});
    ASSERT_TRUE(search.SetAreaAndFind(".5"));
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(1, 2));
    EXPECT_EQ(search.Area().Right, 2);
    ASSERT_TRUE(search.FindAfterCurrent(".5"));
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(2, 2));
    EXPECT_FALSE(search.FindAfterCurrent("15"));  // 15.00 lies in column 3, outside
    EXPECT_FALSE(search.SetAreaAndFind("100.50"));
}

TEST(GridSearchTest, ReplaceAllVisitsEachCellOnceAndEndsOnTheLastReplaced)
{
    TextGrid grid = SampleGrid();
    GridSearch search(grid, grid);
    EXPECT_EQ(search.ReplaceAllMatches("Null", "Null Null"), 2);
    EXPECT_EQ(grid.Text(3, 1), "Null Null");
    EXPECT_EQ(grid.Text(2, 3), "Null Null");
    EXPECT_EQ(std::pair(grid.CurrentCol(), grid.CurrentRow()), std::pair(2, 3));
    // Whole cell texts are replaced, not the matching part.
    EXPECT_EQ(search.ReplaceAllMatches("999", "Null"), 1);
    EXPECT_EQ(grid.Text(3, 2), "Null");
    EXPECT_EQ(search.ReplaceAllMatches("xyz", "1"), 0);
}

TEST(CopyBufferTest, PasteIsClippedAtTheGridEdges)
{
    TextGrid grid = SampleGrid();
    TCopyBuffer buffer(grid);
    EXPECT_TRUE(buffer.IsEmpty());
    EXPECT_EQ(buffer.FirstItem(), "");
    buffer.Copy({1, 1, 3, 3});
    EXPECT_EQ(buffer.FirstItem(), "100.00");

    // A 3 x 3 block at the last column keeps its first column, each row the matching one.
    buffer.Paste(3, 1);
    EXPECT_EQ(grid.Text(3, 1), "100.00");
    EXPECT_EQ(grid.Text(3, 2), "100.50");
    EXPECT_EQ(grid.Text(3, 3), "101.00");
    EXPECT_EQ(grid.Text(2, 1), "-1.25");
    // At the last row only the block's first row fits.
    buffer.Paste(1, 3);
    EXPECT_EQ(grid.Text(1, 3), "100.00");
    EXPECT_EQ(grid.Text(2, 3), "-1.25");
    EXPECT_EQ(grid.Text(3, 3), "Null");

    buffer.Clear();
    buffer.Paste(1, 1);
    EXPECT_EQ(grid.Text(1, 1), "100.00");
    EXPECT_TRUE(buffer.IsEmpty());
}

}  // namespace
