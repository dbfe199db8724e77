// A print column: width, the space after it and the curves it owns; its drawing on a page.
#pragma once

#include "platform/Canvas.h"
#include "printing/CurveForPrinting.h"

#include <memory>
#include <vector>

class TPrintingDept;

// The curves [first, last) of a column whose header blocks a page carries.
struct HeaderRange {
    int first = 0;
    int last = 0;
};

class TPrintingColumn {
public:
    // A new column is 5 cm wide, followed by the program-wide default column space.
    TPrintingColumn();

    float Width = 5.0f;  // cm
    std::vector<std::unique_ptr<TCurveForPrinting>> Curves;
    float ColumnSpace = 0.5f;  // cm

    float GetWidth() const { return Width; }
    void SetWidth(float w);

    // Header band in cm that the column's curves need.
    float GetHeaderHeight(platform::Canvas& canvas, float px);

    // Background, the header blocks of `headers`, vertical and horizontal grid and the traces
    // of page `page` of the depth track. `rect` holds the header band `headerHeight` (pixels)
    // at its top.
    void Draw(platform::Canvas& canvas, const platform::CanvasRect& rect, float topDepth, float bottomDepth,
              float pxY, float pxX, int headerHeight, const TPrintingDept& dept, int page, HeaderRange headers = {});
    // The header blocks of `headers` stacked from 0.1 cm below the rectangle's top, 0.3 cm apart.
    void DrawHeaders(platform::Canvas& canvas, const platform::CanvasRect& rect, float pxY, float pxX,
                     HeaderRange headers);

private:
    void DrawVerticalGrid(platform::Canvas& canvas, int top, int bottom, const platform::CanvasRect& rect,
                          float pxY, float pxX);
};
