// The curve panel's coordinate model: which pixel row shows which depth, and back.
#pragma once

#include <QRect>

// Largest scroll offset and curve shift, in pixels: with the track widths a curve may take, every
// pixel coordinate of the panel stays well inside int.
inline constexpr int kMaxPixelOffset = 100'000'000;

// A snapshot of what maps depths to rows, taken by the panel for one paint or hit test.
// Rows: y = area.top + round((depth - firstDepth) * pixelsPerDepth) - depthOffset.
struct PanelCoordinates {
    QRect area;                    // drawing area in widget pixels
    const float* depths = nullptr;  // increasing depth array, borrowed
    int count = 0;
    double firstDepth = 0;
    double pixelsPerDepth = 1;  // screen pixels per depth unit at the current scale
    int depthOffset = 0;        // pixels scrolled down the depth axis
    int valueOffset = 0;        // pixels scrolled along the value axis
    double step = 0;            // depth step, for the half-step margin of index lookups

    int RowOf(double depth) const;
    double DepthAt(int y) const;
    // Depth at the top edge and at the bottom edge (area.top + height) of the drawing area.
    double TopDepth() const { return DepthAt(area.top()); }
    double BottomDepth() const { return DepthAt(area.top() + area.height()); }
    // Nearest sample to a depth, clamped to the array; -1 without samples.
    int NearestIndex(double depth) const;
    // Nearest sample at a row; -1 outside the drawing area or more than half a step
    // beyond either end of the array.
    int IndexAt(int y) const;
    // Samples whose rows can touch [top, bottom], widened by one neighbour on each side so
    // lines leaving the area are drawn; false when none.
    bool IndexRange(int top, int bottom, int& first, int& last) const;
};
