// The shape of the draw grid that shows a title table: counts, fixed counts and sizes.
// Qt-free, so that the table model and its file can be used and tested without a window;
// the editor's grid widget mirrors it.
#pragma once

#include <vector>

class TQ7GridShape {
public:
    TQ7GridShape();

    int ColCount() const { return static_cast<int>(colWidths_.size()); }
    int RowCount() const { return static_cast<int>(rowHeights_.size()); }
    // Counts below 1 become 1; fixed counts shrink to stay below the new count,
    // new columns and rows take the default size.
    void SetColCount(int n);
    void SetRowCount(int n);

    // A row (column) of the default size inserted before `at`, or the one at `at` removed;
    // the sizes of the others move with them. Indexes outside the counts are ignored.
    void InsertRow(int at);
    void InsertCol(int at);
    void DeleteRow(int at);
    void DeleteCol(int at);

    int FixedCols() const { return fixedCols_; }
    int FixedRows() const { return fixedRows_; }
    // Accepted only from 0 to the count - 1.
    void SetFixedCols(int n);
    void SetFixedRows(int n);

    int DefaultColWidth() const { return defaultColWidth_; }
    int DefaultRowHeight() const { return defaultRowHeight_; }
    // Setting a default size gives it to every column (row).
    void SetDefaultColWidth(int w);
    void SetDefaultRowHeight(int h);

    // Screen pixels; outside the counts the default is read and nothing is written.
    int ColWidth(int col) const;
    int RowHeight(int row) const;
    void SetColWidth(int col, int w);
    void SetRowHeight(int row, int h);

    // Resolution of the screen the grid's sizes are measured on.
    int ScreenPixelsPerInch() const { return screenDpi_; }
    void SetScreenPixelsPerInch(int dpi);

    bool operator==(const TQ7GridShape&) const = default;

private:
    int defaultColWidth_ = 64;  // declared before the sizes, which start from them
    int defaultRowHeight_ = 24;
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int screenDpi_ = 96;
};
