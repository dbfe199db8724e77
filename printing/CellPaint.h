// Painting of one title cell, in two steps: the layout computes every pixel position,
// pen, colour and overflow from the cell and its neighbours; the paint step only draws it.
#pragma once

#include "platform/Canvas.h"
#include "printing/Q7Cell.h"

#include <string>
#include <vector>

struct TCellNeighbours {
    const TQ7DrawGridCell* left = nullptr;
    const TQ7DrawGridCell* upper = nullptr;
    const TQ7DrawGridCell* right = nullptr;
};

struct TCellLine {
    platform::CanvasPoint from;
    platform::CanvasPoint to;
    int width = 1;
    platform::CanvasColor color = 0;
};

struct TCellLayout {
    enum class Kind {
        Fixed,    // a raised button without text
        Covered,  // an empty cell that a neighbour's text passes across: nothing is painted
        Normal,
    };
    Kind kind = Kind::Normal;
    platform::CanvasRect rect;  // the cell rectangle with moved or widened edges
    platform::CanvasColor brushColor = 0;
    platform::CanvasColor textColor = 0;
    int penX = 1;  // border line widths in pixels
    int penY = 1;
    int margin = 3;  // text margin in pixels
    std::string text;  // empty: no text is drawn
    platform::CanvasFont font;  // the cell font in the text colour
    int textX = 0;
    int textY = 0;
    platform::CanvasRect textRect;  // the text is clipped to it
    int overflowLeft = 0;
    int overflowRight = 0;
    platform::CanvasRect fillRect;
    std::vector<TCellLine> borders;
    bool focusFrame = false;
};

// `canvas` only measures the text (its font is set to the cell's).
TCellLayout LayoutCell(const TQ7DrawGridCell& cell, platform::Canvas& canvas, const platform::CanvasRect& rect,
                       float hScale, float vScale, const TCellNeighbours& neighbours, TCellDrawState state,
                       bool design);
void PaintCell(platform::Canvas& canvas, const TCellLayout& layout);
