// Grid drawing of the curve diagram.
#include "printing/PageDrawing.h"

#include "printing/GridParams.h"
#include "printing/PixelMath.h"
#include "printing/PrintingDept.h"

#include <algorithm>
#include <cmath>

using platform::Canvas;
using platform::CanvasRect;

void DrawDashedLine(Canvas& canvas, bool vertical, float x1, float y1, float x2, float y2, float dash, float gap,
                    float pxX, float pxY, float lineWidth, float penPx)
{
    const double dashCm = 0.1 * dash;
    const double gapCm = 0.1 * gap;
    const float a = vertical ? std::min(y1, y2) : std::min(x1, x2);
    const float b = vertical ? std::max(y1, y2) : std::max(x1, x2);
    const float across = vertical ? x1 : y1;
    if (a == b)
        return;

    const platform::CanvasPen saved = canvas.pen;
    canvas.pen.width = std::max(1, RoundToPixels(static_cast<float>(0.1 * lineWidth), penPx));
    // Whole dashes from the smaller end, then what is left of the last period as a
    // shorter dash: exactly what a pattern restarted at the line's start draws.
    const double along = vertical ? pxY : pxX;
    if (dashCm > 0.0 && gapCm >= 0.0 && std::isfinite(dashCm + gapCm)) {
        canvas.pen.style = platform::PenStyle::Custom;
        canvas.pen.dash = dashCm * along;
        canvas.pen.gap = gapCm * along;
    } else {
        canvas.pen.style = platform::PenStyle::Solid;
    }
    if (vertical) {
        canvas.MoveTo(RoundToPixels(across, pxX), RoundToPixels(a, pxY));
        canvas.LineTo(RoundToPixels(across, pxX), RoundToPixels(b, pxY));
    } else {
        canvas.MoveTo(RoundToPixels(a, pxX), RoundToPixels(across, pxY));
        canvas.LineTo(RoundToPixels(b, pxX), RoundToPixels(across, pxY));
    }
    const platform::CanvasColor color = canvas.pen.color;
    canvas.pen = saved;
    canvas.pen.color = color;
}

void DrawColumnGrid(const TPrintingDept& dept, Canvas& canvas, int page, float px, const CanvasRect& r, float pxX)
{
    const TGridLineValues& grid = GridLineValues();
    canvas.pen.color = 0xC0C0C0;
    canvas.pen.width = std::max(1, TruncToInt(0.02 * px));
    canvas.pen.style = platform::PenStyle::Solid;

    const TPrintingDept::DepthLines lines = dept.GetDepthLines(page);
    const float left = static_cast<float>(r.left / static_cast<double>(pxX));
    const float right = static_cast<float>(r.right / static_cast<double>(pxX));
    // cm of line j below the rectangle's top
    const auto below = [&](long long j) { return dept.StripCm(TPrintingDept::MinorDepth(lines, j)) - lines.pageTopCm; };

    // Dashed minor lines first, the solid major ones over them; lines beyond the rectangle
    // end the walk, so a degenerate strip stays cheap.
    canvas.pen.color = static_cast<platform::CanvasColor>(grid.DashColor);
    for (long long j = lines.firstMinor; j <= lines.lastMinor; ++j) {
        const double y = r.top / static_cast<double>(px) + below(j);
        if (y * px > r.bottom + 1.0)
            break;
        if (j % lines.minorPerMajor != 0)
            DrawDashedLine(canvas, false, left, static_cast<float>(y), right, static_cast<float>(y), grid.DashLen,
                           grid.SpaceLen, pxX, px, grid.DashedLineWidth, px);
    }

    const platform::CanvasPen saved = canvas.pen;
    canvas.pen.width = std::max(1, TruncToInt(grid.SolidWidth * px * 0.1));
    canvas.pen.color = static_cast<platform::CanvasColor>(grid.SolidColor);
    for (long long j = lines.firstMinor; j <= lines.lastMinor; ++j) {
        const int y = TruncToInt(r.top + below(j) * px);
        if (y > r.bottom + 1.0)
            break;
        if (j % lines.minorPerMajor != 0)
            continue;
        canvas.MoveTo(r.left, y);
        canvas.LineTo(r.right, y);
    }
    canvas.pen = saved;
}
