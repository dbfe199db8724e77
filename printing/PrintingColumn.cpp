// Drawing of one print column on a page.
#include "printing/PrintingColumn.h"

#include "printing/GridParams.h"
#include "printing/PageDrawing.h"
#include "printing/PixelMath.h"
#include "printing/PrintingDept.h"

#include <algorithm>
#include <cmath>

using platform::Canvas;
using platform::CanvasRect;

TPrintingColumn::TPrintingColumn() : ColumnSpace(GridLineValues().DefaultColumnSpace) {}

void TPrintingColumn::SetWidth(float w)
{
    if (w > 0.0f)
        Width = w;
}

float TPrintingColumn::GetHeaderHeight(Canvas& canvas, float px)
{
    if (Curves.empty() || !(px > 0.0f))
        return 0.0f;
    const TCurveForPrinting& first = *Curves.front();
    const platform::CanvasFont saved = canvas.font;
    canvas.font = first.TitleFont;
    const double titleHeight = canvas.TextHeight("0") / static_cast<double>(px);
    canvas.font = first.UnitsFont;
    const double unitsHeight = canvas.TextHeight("0") / static_cast<double>(px);
    canvas.font = saved;
    return static_cast<float>(Curves.size() * (0.6 + titleHeight + unitsHeight));
}

void TPrintingColumn::DrawVerticalGrid(Canvas& canvas, int top, int bottom, const CanvasRect& rect, float pxY,
                                       float pxX)
{
    const TGridLineValues& grid = GridLineValues();
    const auto logCurve = std::find_if(Curves.begin(), Curves.end(),
                                       [](const auto& c) { return c->LogarithmicScale; });
    const bool logarithmic = logCurve != Curves.end();
    const int module = logarithmic ? (*logCurve)->LogScaleModule : 1;
    const int thin = TruncToInt(0.02 * pxY);
    // Line positions come from the width in cm, not from the truncated pixel width.
    double widthCm = rect.Width() / static_cast<double>(pxX);
    if (std::fabs(Width * static_cast<double>(pxX) - rect.Width()) < 1.5)
        widthCm = Width;

    canvas.pen.color = 0xC0C0C0;
    canvas.pen.width = std::max(1, thin);
    for (const ScaleTick& tick : ScaleTicks(logarithmic, module, widthCm)) {
        const int xi = std::min(rect.right, rect.left + RoundToPixels(static_cast<float>(tick.cm), pxX));
        if (tick.major) {
            canvas.pen.color = static_cast<platform::CanvasColor>(grid.SolidColor);
            const int width = canvas.pen.width;
            canvas.pen.width = std::max(1, TruncToInt(grid.SolidWidth * pxX * 0.1));
            canvas.MoveTo(xi, top);
            canvas.LineTo(xi, bottom);
            canvas.pen.width = width;
        } else {
            canvas.pen.color = static_cast<platform::CanvasColor>(grid.DashColor);
            DrawDashedLine(canvas, true, xi / pxX, top / pxY, xi / pxX, bottom / pxY, grid.DashLen, grid.SpaceLen,
                           pxX, pxY, grid.DashedLineWidth, pxX);
        }
    }
    canvas.pen.color = 0xC0C0C0;
    canvas.pen.width = thin;
}

void TPrintingColumn::DrawHeaders(Canvas& canvas, const CanvasRect& rect, float pxY, float pxX, HeaderRange headers)
{
    int y = TruncToInt(0.1 * pxY);
    for (int j = std::max(0, headers.first); j < std::min(headers.last, static_cast<int>(Curves.size())); ++j) {
        y += Curves[static_cast<size_t>(j)]->DrawHeader(canvas, rect.top + y, pxY, rect.right, rect.left, pxX);
        y = TruncToInt(y + 0.3 * pxY);
    }
}

void TPrintingColumn::Draw(Canvas& canvas, const CanvasRect& rect, float topDepth, float bottomDepth, float pxY,
                           float pxX, int headerHeight, const TPrintingDept& dept, int page, HeaderRange headers)
{
    canvas.brush.color = 0xFFFFFF;
    canvas.brush.style = platform::BrushStyle::Solid;
    canvas.FillRect(rect);
    DrawHeaders(canvas, rect, pxY, pxX, headers);

    const CanvasRect data{rect.left, rect.top + headerHeight, rect.right, rect.bottom};
    DrawVerticalGrid(canvas, data.top, data.bottom, rect, pxY, pxX);
    DrawColumnGrid(dept, canvas, page, pxY, data, pxX);
    for (const auto& curve : Curves)
        curve->DrawTrace(canvas, dept, pxY, bottomDepth, topDepth, pxX, data);
}
