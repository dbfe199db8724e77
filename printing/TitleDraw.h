// Placement of a title table on a page: which columns are drawn and where every column and
// row edge falls in device pixels.
#pragma once

#include "printing/Q7Cell.h"
#include "printing/Q7CellGridShape.h"

#include <vector>

struct TTitleLayout {
    int firstCol = 0;           // first drawn column, counted from the range's left column
    std::vector<int> colEdges;  // left edge of each drawn column, then the right edge of the last
    std::vector<int> rowEdges;  // top edge of each row of the range, then the bottom of the last
    int DrawnCols() const { return colEdges.empty() ? 0 : static_cast<int>(colEdges.size()) - 1; }
    bool IsEmpty() const { return DrawnCols() == 0 || rowEdges.size() < 2; }
};

// Empty for a range outside the grid, non-positive scales, negative sizes or columns
// whose widths sum to 0. Scales are device pixels per centimetre.
TTitleLayout LayoutTitle(const TQ7GridShape& grid, int leftX, int topY, int width, int offset, int alignment,
                         bool fitToWidth, double hScale, double vScale, const TCellRange& range);
