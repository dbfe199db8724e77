// Depth <-> row mapping of the curve panel.
#include "view/PanelCoordinates.h"

#include <algorithm>
#include <cmath>

int PanelCoordinates::RowOf(double depth) const
{
    double row = std::round((depth - firstDepth) * pixelsPerDepth);
    // Rows far outside any screen are clamped so they stay valid ints for painting.
    row = std::clamp(row, -1.0e8, 1.0e8);
    return area.top() + int(row) - depthOffset;
}

double PanelCoordinates::DepthAt(int y) const
{
    return firstDepth + double(y - area.top() + depthOffset) / pixelsPerDepth;
}

int PanelCoordinates::NearestIndex(double depth) const
{
    if (count <= 0)
        return -1;
    const float* end = depths + count;
    const float* upper = std::lower_bound(depths, end, depth, [](float d, double v) { return double(d) < v; });
    if (upper == depths)
        return 0;
    if (upper == end)
        return count - 1;
    const float* lower = upper - 1;
    // The upper sample wins a tie, as a click halfway between two rows belongs below.
    return int((depth - *lower < *upper - depth ? lower : upper) - depths);
}

int PanelCoordinates::IndexAt(int y) const
{
    if (count <= 0 || y < area.top() || y >= area.top() + area.height())
        return -1;
    double depth = DepthAt(y);
    double margin = std::fabs(step) / 2;
    if (depth < double(depths[0]) - margin || depth > double(depths[count - 1]) + margin)
        return -1;
    return NearestIndex(depth);
}

bool PanelCoordinates::IndexRange(int top, int bottom, int& first, int& last) const
{
    if (count <= 0)
        return false;
    const float* end = depths + count;
    double topDepth = DepthAt(top);
    double bottomDepth = DepthAt(bottom);
    first = int(std::lower_bound(depths, end, topDepth, [](float d, double v) { return double(d) < v; }) - depths);
    last = int(std::upper_bound(depths, end, bottomDepth, [](double v, float d) { return v < double(d); }) - depths) - 1;
    first = std::max(first - 1, 0);
    last = std::min(last + 1, count - 1);
    return first <= last;
}
