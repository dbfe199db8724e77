// Grid shape with the rules of a window-library draw grid.
#include "printing/Q7CellGridShape.h"

#include <algorithm>

TQ7GridShape::TQ7GridShape()
    : colWidths_(5, defaultColWidth_), rowHeights_(5, defaultRowHeight_)
{
}

void TQ7GridShape::SetColCount(int n)
{
    n = std::max(n, 1);
    if (n <= fixedCols_)
        fixedCols_ = n - 1;
    colWidths_.resize(n, defaultColWidth_);
}

void TQ7GridShape::SetRowCount(int n)
{
    n = std::max(n, 1);
    if (n <= fixedRows_)
        fixedRows_ = n - 1;
    rowHeights_.resize(n, defaultRowHeight_);
}

namespace {

void InsertSize(std::vector<int>& sizes, int at, int size)
{
    if (at >= 0 && at < static_cast<int>(sizes.size()))
        sizes.insert(sizes.begin() + at, size);
}

void DeleteSize(std::vector<int>& sizes, int at)
{
    if (at >= 0 && at < static_cast<int>(sizes.size()) && sizes.size() > 1)
        sizes.erase(sizes.begin() + at);
}

}  // namespace

void TQ7GridShape::InsertRow(int at)
{
    InsertSize(rowHeights_, at, defaultRowHeight_);
}

void TQ7GridShape::InsertCol(int at)
{
    InsertSize(colWidths_, at, defaultColWidth_);
}

void TQ7GridShape::DeleteRow(int at)
{
    DeleteSize(rowHeights_, at);
    fixedRows_ = std::min(fixedRows_, RowCount() - 1);
}

void TQ7GridShape::DeleteCol(int at)
{
    DeleteSize(colWidths_, at);
    fixedCols_ = std::min(fixedCols_, ColCount() - 1);
}

void TQ7GridShape::SetFixedCols(int n)
{
    if (n >= 0 && n < ColCount())
        fixedCols_ = n;
}

void TQ7GridShape::SetFixedRows(int n)
{
    if (n >= 0 && n < RowCount())
        fixedRows_ = n;
}

void TQ7GridShape::SetDefaultColWidth(int w)
{
    defaultColWidth_ = w;
    std::fill(colWidths_.begin(), colWidths_.end(), w);
}

void TQ7GridShape::SetDefaultRowHeight(int h)
{
    defaultRowHeight_ = h;
    std::fill(rowHeights_.begin(), rowHeights_.end(), h);
}

int TQ7GridShape::ColWidth(int col) const
{
    return col >= 0 && col < ColCount() ? colWidths_[col] : defaultColWidth_;
}

int TQ7GridShape::RowHeight(int row) const
{
    return row >= 0 && row < RowCount() ? rowHeights_[row] : defaultRowHeight_;
}

void TQ7GridShape::SetColWidth(int col, int w)
{
    if (col >= 0 && col < ColCount())
        colWidths_[col] = w;
}

void TQ7GridShape::SetRowHeight(int row, int h)
{
    if (row >= 0 && row < RowCount())
        rowHeights_[row] = h;
}

void TQ7GridShape::SetScreenPixelsPerInch(int dpi)
{
    if (dpi > 0)
        screenDpi_ = dpi;
}
