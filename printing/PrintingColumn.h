// A print column: width, the space after it and the curves it owns; its drawing on a page.
#pragma once

#include "platform/Canvas.h"
#include "printing/CurveForPrinting.h"

#include <memory>
#include <vector>

class TPrintingDept;

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

    // Background, headers (page 0), vertical and horizontal grid and the traces. `rect`
    // holds the header band `headerHeight` (pixels) at its top on page 0.
    void Draw(platform::Canvas& canvas, const platform::CanvasRect& rect, float topDepth, float bottomDepth,
              float pxY, float pxX, int headerHeight, const TPrintingDept& dept, int page);

private:
    void DrawVerticalGrid(platform::Canvas& canvas, int top, int bottom, const platform::CanvasRect& rect,
                          float pxY, float pxX);
};
