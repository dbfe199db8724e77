// Shape, format and border operations of the title table.
#include "printing/Q7CellsArray.h"

#include <algorithm>
#include <cassert>

namespace {

// One side state of GetBorders: open until the first test, then present, absent or mixed.
class BorderState {
public:
    void Test(bool present)
    {
        const State v = present ? Present : Absent;
        if (state_ == Open || state_ == v)
            state_ = v;
        else
            state_ = Mixed;
    }
    bool IsMixed() const { return state_ == Mixed; }
    bool IsPresent() const { return state_ == Present; }

private:
    enum State { Open, Present, Absent, Mixed };
    State state_ = Open;
};

bool HasAll(const TQ7DrawGridCell& cell, std::uint16_t sides)
{
    return (cell.Format.Borders & sides) == sides;
}

std::uint8_t ToBorderWidth(int width)
{
    return static_cast<std::uint8_t>(std::min(width, 255));
}

}  // namespace

TQ7CellsArray::TQ7CellsArray()
{
    defaultFormat_.SetDefault();
}

TQ7DrawGridCell& TQ7CellsArray::Cell(int col, int row)
{
    assert(row >= 0 && row < RowCount() && col >= 0 && col < static_cast<int>(rows_[row].size()));
    return rows_[row][col];
}

const TQ7DrawGridCell& TQ7CellsArray::Cell(int col, int row) const
{
    assert(row >= 0 && row < RowCount() && col >= 0 && col < static_cast<int>(rows_[row].size()));
    return rows_[row][col];
}

void TQ7CellsArray::SetRowCount(int n)
{
    if (n < 1 || n > kMaxCount)
        return;
    if (n >= RowCount())
        rows_.resize(n, TQ7CellsArray1D(std::max(1, ColCount())));
    else
        rows_.erase(rows_.begin() + n, rows_.end());
}

void TQ7CellsArray::SetColCount(int n)
{
    if (n < 1 || n > kMaxCount || n == ColCount())
        return;
    const TQ7DrawGridCell fresh = DefaultCell();
    for (TQ7CellsArray1D& row : rows_)
        row.resize(n, fresh);
}

// Rows first: then every row holds the same number of cells for the column step.
void TQ7CellsArray::Resize(int cols, int rows)
{
    SetRowCount(std::max(rows, 1));
    SetColCount(std::max(cols, 1));
}

TQ7DrawGridCell TQ7CellsArray::DefaultCell() const
{
    TQ7DrawGridCell cell;
    cell.Format = defaultFormat_;
    return cell;
}

bool TQ7CellsArray::MatchesShape(const TQ7GridShape& grid) const
{
    return RowCount() == grid.RowCount() && ColCount() == grid.ColCount();
}

bool TQ7CellsArray::SameCells(const TQ7CellsArray& other) const
{
    return std::equal(rows_.begin(), rows_.end(), other.rows_.begin(), other.rows_.end(),
                      [](const TQ7CellsArray1D& a, const TQ7CellsArray1D& b) {
                          return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                                            [](const TQ7DrawGridCell& x, const TQ7DrawGridCell& y) {
                                                return x.Format == y.Format && x.Content == y.Content;
                                            });
                      });
}

void TQ7CellsArray::InsertRow(int row, TQ7GridShape* grid)
{
    if (!grid || !MatchesShape(*grid) || row < grid->FixedRows() || row >= grid->RowCount() ||
        grid->RowCount() >= kMaxCount)
        return;
    rows_.insert(rows_.begin() + row, TQ7CellsArray1D(ColCount(), DefaultCell()));
    grid->InsertRow(row);
}

void TQ7CellsArray::InsertCol(int col, TQ7GridShape* grid)
{
    if (!grid || !MatchesShape(*grid) || col < grid->FixedCols() || col >= grid->ColCount() ||
        grid->ColCount() >= kMaxCount)
        return;
    const TQ7DrawGridCell fresh = DefaultCell();
    for (TQ7CellsArray1D& row : rows_)
        row.insert(row.begin() + col, fresh);
    grid->InsertCol(col);
}

// One non-fixed row (column) always stays.
void TQ7CellsArray::DeleteRow(int row, TQ7GridShape* grid)
{
    if (!grid || !MatchesShape(*grid) || row < grid->FixedRows() || row >= grid->RowCount() ||
        grid->RowCount() - grid->FixedRows() < 2)
        return;
    rows_.erase(rows_.begin() + row);
    grid->DeleteRow(row);
}

void TQ7CellsArray::DeleteCol(int col, TQ7GridShape* grid)
{
    if (!grid || !MatchesShape(*grid) || col < grid->FixedCols() || col >= grid->ColCount() ||
        grid->ColCount() - grid->FixedCols() < 2)
        return;
    for (TQ7CellsArray1D& row : rows_)
        row.erase(row.begin() + col);
    grid->DeleteCol(col);
}

void TQ7CellsArray::CopyFrom(const TQ7GridShape& sourceGrid, const TQ7CellsArray& source, TQ7GridShape& targetGrid)
{
    if (&source != this)
        rows_ = source.rows_;
    // A copy that lags its grid would never be drawn; it takes the grid's shape.
    Resize(sourceGrid.ColCount(), sourceGrid.RowCount());
    if (&sourceGrid == &targetGrid)
        return;
    targetGrid.SetColCount(sourceGrid.ColCount());
    targetGrid.SetRowCount(sourceGrid.RowCount());
    targetGrid.SetFixedCols(sourceGrid.FixedCols());
    targetGrid.SetFixedRows(sourceGrid.FixedRows());
    targetGrid.SetDefaultRowHeight(sourceGrid.DefaultRowHeight());
    targetGrid.SetDefaultColWidth(sourceGrid.DefaultColWidth());
    for (int c = 0; c < sourceGrid.ColCount(); ++c)
        targetGrid.SetColWidth(c, sourceGrid.ColWidth(c));
    for (int r = 0; r < sourceGrid.RowCount(); ++r)
        targetGrid.SetRowHeight(r, sourceGrid.RowHeight(r));
}

bool TQ7CellsArray::IsValidRange(const TCellRange& range) const
{
    return range.Inside(ColCount(), RowCount());
}

void TQ7CellsArray::SetFormat(const TCellRange& range, const TQ7CellFormat* format)
{
    if (!IsValidRange(range))
        return;
    const TQ7CellFormat& f = format ? *format : defaultFormat_;
    for (int r = range.top; r <= range.bottom; ++r)
        for (int c = range.left; c <= range.right; ++c)
            rows_[r][c].Format = f;
}

void TQ7CellsArray::SetBorders(const TCellRange& range, int mode, int width)
{
    if (!IsValidRange(range))
        return;
    if (range.left == range.right && range.top == range.bottom) {
        TQ7CellFormat& f = rows_[range.top][range.left].Format;
        if (mode == bmAll)
            f.Borders = TQ7CellFormat::AllSides;
        else if (mode == bmNone)
            f.Borders = 0;
        if (width >= 1)
            f.BorderWidth = ToBorderWidth(width);
        return;
    }
    for (int r = range.top; r <= range.bottom; ++r) {
        for (int c = range.left; c <= range.right; ++c) {
            TQ7CellFormat& f = rows_[r][c].Format;
            std::uint16_t edges = 0;
            if (c == range.left)
                edges |= TQ7CellFormat::SideLeft;
            if (c == range.right)
                edges |= TQ7CellFormat::SideRight;
            if (r == range.top)
                edges |= TQ7CellFormat::SideTop;
            if (r == range.bottom)
                edges |= TQ7CellFormat::SideBottom;
            switch (mode) {
            case bmAll: f.Borders = TQ7CellFormat::AllSides; break;
            case bmNone: f.Borders = 0; break;
            case bmInner: f.Borders = TQ7CellFormat::AllSides & ~edges; break;
            case bmOuter: f.Borders = edges; break;
            default: break;
            }
            if (width > 0)
                f.BorderWidth = ToBorderWidth(width);
        }
    }
}

void TQ7CellsArray::GetBorders(const TCellRange& range, int& mode, int& width) const
{
    if (!IsValidRange(range))
        return;
    mode = bmMixed;
    width = -1;
    if (range.left == range.right && range.top == range.bottom) {
        const TQ7CellFormat& f = rows_[range.top][range.left].Format;
        mode = (f.Borders & TQ7CellFormat::AllSides) ? bmAll : bmNone;
        width = f.BorderWidth;
        return;
    }

    using F = TQ7CellFormat;
    BorderState outer;
    BorderState inner;
    auto mixed = [&] { return outer.IsMixed() || inner.IsMixed(); };
    for (int c = range.left; c <= range.right && !mixed(); ++c) {
        const TQ7DrawGridCell& top = rows_[range.top][c];
        outer.Test(top.Format.Borders & F::SideTop);
        inner.Test(HasAll(top, F::SideBottom | F::SideLeft | F::SideRight));
        const TQ7DrawGridCell& bottom = rows_[range.bottom][c];
        outer.Test(bottom.Format.Borders & F::SideBottom);
        inner.Test(HasAll(bottom, F::SideTop | F::SideLeft | F::SideRight));
    }
    for (int r = range.top; r <= range.bottom && !mixed(); ++r) {
        const TQ7DrawGridCell& left = rows_[r][range.left];
        outer.Test(left.Format.Borders & F::SideLeft);
        inner.Test(HasAll(left, F::SideBottom | F::SideTop | F::SideRight));
        const TQ7DrawGridCell& right = rows_[r][range.right];
        outer.Test(right.Format.Borders & F::SideRight);
        inner.Test(HasAll(right, F::SideBottom | F::SideTop | F::SideLeft));
    }
    // The interior scan and the width comparison stop one column and one row short,
    // as the editor has always reported them.
    for (int c = range.left + 1; c <= range.right - 2 && !mixed(); ++c)
        for (int r = range.top + 1; r <= range.bottom - 2 && !mixed(); ++r)
            inner.Test(rows_[r][c].Format.Borders & F::AllSides);
    if (mixed())
        return;

    int w = rows_[range.top][range.left].Format.BorderWidth;
    for (int r = range.top; r < range.bottom && w != 0; ++r)
        for (int c = range.left; c < range.right; ++c)
            if (rows_[r][c].Format.BorderWidth != w) {
                w = 0;
                break;
            }

    if (outer.IsPresent())
        mode = inner.IsPresent() ? bmAll : bmOuter;
    else
        mode = inner.IsPresent() ? bmInner : bmNone;
    width = w > 0 ? w : -1;
}
