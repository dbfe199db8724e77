// Drawing a title table on a page and measuring its height.
#include "printing/TitleDraw.h"

#include "platform/Canvas.h"
#include "printing/CellPaint.h"
#include "printing/Q7CellsArray.h"

#include <algorithm>
#include <utility>

namespace {

constexpr double kCmPerInch = 0.39370078740157477;  // 1 / 2.54

// Truncation toward zero, kept inside int for absurd sizes from damaged files.
int TruncPixels(double v)
{
    return static_cast<int>(std::clamp(v, -1e9, 1e9));
}

double ScreenPixelsPerCm(const TQ7GridShape& grid)
{
    return grid.ScreenPixelsPerInch() * kCmPerInch;
}

// Drawn columns [first, last] of widths (centimetres) in the width `avail` (centimetres),
// and the start x of the first one.
struct ColumnSpan {
    int first = 0;
    int last = 0;
    int x = 0;
};

ColumnSpan ChooseColumns(const std::vector<double>& w, double avail, double total, int alignment, bool fit,
                         int leftX, double hScale)
{
    const int n = static_cast<int>(w.size());
    ColumnSpan s{0, n - 1, leftX};
    if (fit)
        return s;
    // The last column is the one at which the running sum from the left reaches the edge.
    auto lastReaching = [&](bool orEqual) {
        double sum = 0;
        for (int i = 0; i < n; ++i) {
            sum += w[i];
            if (sum > avail || (orEqual && sum == avail))
                return i;
        }
        return n - 1;
    };
    if (alignment == 1) {
        double sum = 0;
        for (int i = n - 1; i >= 0; --i) {
            sum += w[i];
            s.first = i;
            if (sum > avail)
                break;
        }
        s.x = TruncPixels((avail - sum) * hScale + leftX);
    } else if (alignment == 2) {
        if (total <= avail)
            s.x = TruncPixels(leftX + (avail - total) * hScale * 0.5);
        else
            s.last = lastReaching(true);
    } else {
        s.last = lastReaching(false);
    }
    return s;
}

}  // namespace

TTitleLayout LayoutTitle(const TQ7GridShape& grid, int leftX, int topY, int width, int offset, int alignment,
                         bool fitToWidth, double hScale, double vScale, const TCellRange& range)
{
    TTitleLayout layout;
    if (!range.Inside(grid.ColCount(), grid.RowCount()) || hScale <= 0 || vScale <= 0 || width < 0)
        return layout;
    const double s = ScreenPixelsPerCm(grid);
    const double avail = width / hScale;

    std::vector<double> widths;
    double total = 0;
    for (int c = range.left; c <= range.right; ++c) {
        if (grid.ColWidth(c) < 0)
            return layout;
        widths.push_back(grid.ColWidth(c) / s);
        total += widths.back();
    }
    if (total <= 0)
        return layout;
    std::vector<double> heights;
    for (int r = range.top; r <= range.bottom; ++r) {
        if (grid.RowHeight(r) < 0)
            return layout;
        heights.push_back(grid.RowHeight(r) / s);
    }
    if (fitToWidth)
        for (double& w : widths)
            w *= avail / total;

    const ColumnSpan span = ChooseColumns(widths, avail, total, alignment, fitToWidth, leftX, hScale);
    layout.firstCol = span.first;
    int x = span.x;
    layout.colEdges.push_back(x);
    for (int c = span.first; c <= span.last; ++c) {
        x = TruncPixels(widths[c] * hScale + x);
        layout.colEdges.push_back(x);
    }
    int y = topY + offset;
    layout.rowEdges.push_back(y);
    for (double h : heights) {
        y = TruncPixels(h * vScale + y);
        layout.rowEdges.push_back(y);
    }
    return layout;
}

int TQ7CellsArray::DrawTitle(platform::Canvas& canvas, const TQ7GridShape& grid, int leftX, int topY, int width,
                             [[maybe_unused]] int bottom, int offset, int alignment, bool fitToWidth, double hScale,
                             double vScale, const TCellRange& range)
{
    if (!MatchesShape(grid))
        return 0;
    const TTitleLayout layout =
        LayoutTitle(grid, leftX, topY, width, offset, alignment, fitToWidth, hScale, vScale, range);
    if (layout.IsEmpty())
        return 0;

    const int firstCol = range.left + layout.firstCol;
    const int cols = layout.DrawnCols();
    const auto hs = static_cast<float>(hScale);
    const auto vs = static_cast<float>(vScale);
    auto neighbours = [&](int k, int row) {
        const int col = firstCol + k;
        TCellNeighbours n;
        n.left = k > 0 ? &Cell(col - 1, row) : nullptr;
        n.right = k + 1 < cols ? &Cell(col + 1, row) : nullptr;
        n.upper = row - 1 >= grid.FixedRows() ? &Cell(col, row - 1) : nullptr;
        return n;
    };
    auto rectOf = [&](int k, int r) {
        return platform::CanvasRect{layout.colEdges[k], layout.rowEdges[r], layout.colEdges[k + 1],
                                    layout.rowEdges[r + 1]};
    };

    // The spills are worked out for this device before painting, and the cells keep the
    // overflows of their last screen painting afterwards.
    std::vector<std::pair<int, int>> kept;
    for (int r = range.top; r <= range.bottom; ++r)
        for (int c = firstCol; c < firstCol + cols; ++c)
            kept.emplace_back(Cell(c, r).OverflowLeft, Cell(c, r).OverflowRight);

    canvas.Save();
    for (int r = 0; r <= range.bottom - range.top; ++r) {
        const int row = range.top + r;
        auto settle = [&](int k) {
            TQ7DrawGridCell& cell = Cell(firstCol + k, row);
            const TCellLayout l = LayoutCell(cell, canvas, rectOf(k, r), hs, vs, neighbours(k, row), {}, false);
            cell.OverflowLeft = l.overflowLeft;
            cell.OverflowRight = l.overflowRight;
        };
        // Spills to the right pass on from the left, spills to the left from the right.
        for (int k = 0; k < cols; ++k)
            settle(k);
        for (int k = cols - 1; k >= 0; --k)
            settle(k);
        for (int k = 0; k < cols; ++k) {
            const TCellLayout l = LayoutCell(Cell(firstCol + k, row), canvas, rectOf(k, r), hs, vs,
                                             neighbours(k, row), {}, false);
            PaintCell(canvas, l);
        }
    }
    canvas.Restore();

    auto next = kept.begin();
    for (int r = range.top; r <= range.bottom; ++r)
        for (int c = firstCol; c < firstCol + cols; ++c, ++next) {
            Cell(c, r).OverflowLeft = next->first;
            Cell(c, r).OverflowRight = next->second;
        }
    return layout.rowEdges.back() - topY - offset;
}

int TQ7CellsArray::TitleHeight(double scale, const TCellRange& range, const TQ7GridShape& grid) const
{
    if (!range.Inside(grid.ColCount(), grid.RowCount()))
        return 0;
    const double s = ScreenPixelsPerCm(grid);
    int total = 0;
    for (int r = range.top; r <= range.bottom; ++r) {
        if (grid.RowHeight(r) < 0)
            return 0;
        total = TruncPixels(grid.RowHeight(r) / s * scale + total);
    }
    return total;
}
