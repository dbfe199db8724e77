// Drawing of a printed curve: its header block with the scale, its trace and off-scale labels.
#include "printing/CurveForPrinting.h"

#include "printing/LabelText.h"
#include "printing/PixelMath.h"
#include "printing/PrintingDept.h"

#include <algorithm>
#include <cmath>

using platform::Canvas;
using platform::CanvasRect;

int TCurveForPrinting::DrawHeader(Canvas& canvas, int y0, float fy, int xR, int xL, float fx)
{
    TitleFont.color = static_cast<platform::CanvasColor>(Color);
    // The numbers take the curve's colour too, not whatever a trace left in the font.
    UnitsFont.color = static_cast<platform::CanvasColor>(Color);
    const int w = xR - xL;

    int minorCount = 0;
    int majorCount = 0;
    if (LogarithmicScale) {
        const double decades = w / (static_cast<double>(LogScaleModule) * fx);
        minorCount = TruncToInt(10.0 * decades - 1.0);
        majorCount = TruncToInt(decades + 1.0);
    } else {
        minorCount = TruncToInt(w / (0.5 * fx) + 1.0);
        majorCount = TruncToInt(w / (2.0 * fx) + 1.0);
    }

    canvas.pen.color = static_cast<platform::CanvasColor>(Color);
    canvas.pen.width = TruncToInt(static_cast<double>(Width) * fy);
    canvas.pen.style = platform::PenStyle::Solid;
    canvas.font = TitleFont;

    const std::string title = TitleText();
    int y = y0;
    if (!title.empty()) {
        canvas.TextOut((xL + xR) / 2 - canvas.TextWidth(title) / 2, y0, title);
        y = y0 + canvas.TextHeight(Mnemonic);
    }

    canvas.pen.width = std::max(1, canvas.pen.width);
    canvas.font = UnitsFont;
    const int digitHeight = canvas.TextHeight("0");
    y = TruncToInt(y + digitHeight + 0.3 * fy);
    canvas.MoveTo(xL, y);
    canvas.LineTo(xR, y);

    canvas.pen.width = std::max(1, TruncToInt(0.01 * fy));
    const int minorTop = TruncToInt(y - 0.1 * fy);
    double decade = 1.0;
    for (int i = 0; i < minorCount; ++i) {
        const double x = LogarithmicScale ? xL + std::log10((i % 10 + 1) * decade) * fx * LogScaleModule
                                          : xL + i * 0.5 * fx;
        if ((i + 1) % 10 == 0)
            decade *= 10.0;
        if (x > xR)
            continue;
        canvas.MoveTo(TruncToInt(x), y);
        canvas.LineTo(TruncToInt(x), minorTop);
    }

    const int labelTop = TruncToInt(y - digitHeight - 0.2 * fy);
    const int majorTop = TruncToInt(y - 0.2 * fy);
    for (int i = 0; i < majorCount; ++i) {
        int x = 0;
        double value = 0.0;
        if (LogarithmicScale) {
            x = TruncToInt(xL + i * static_cast<double>(fx) * LogScaleModule);
            value = std::pow(10.0, std::log10(static_cast<double>(LogLeftValue)) + i);
        } else {
            x = TruncToInt(xL + i * 2.0 * fx);
            value = LeftValue + i * 2.0 * ScaleValue;
        }
        const std::string label = FormatDepthLabel(static_cast<float>(value));
        const int lw = canvas.TextWidth(label);
        int lx = x - lw / 2;
        if (x - lw / 2 < xL)
            lx = xL;
        else if (x + lw / 2 > xR)
            lx = xR - lw;
        canvas.TextOut(lx, labelTop, label);
        canvas.MoveTo(x, y);
        canvas.LineTo(x, majorTop);
    }
    return y - y0;
}

void TCurveForPrinting::DrawBlikLabel(Canvas& canvas, int n, float value, int x, int y, int rightBound)
{
    const std::string text = BlikTitle ? std::to_string(static_cast<long long>(n) + 1) : FormatDepthLabel(value);
    const int w = canvas.TextWidth(text);
    canvas.TextOut(static_cast<long long>(x) + w > rightBound ? x - w : x, y, text);
}

void TCurveForPrinting::DrawTrace(Canvas& canvas, const TPrintingDept& dept, float fv, float bottom, float top,
                                  float fh, const CanvasRect& r)
{
    const int n = dept.DepthCount;
    if (!Samples || !dept.Depths || n < 1 || SampleCount < n || !(fv > 0.0f) || !(fh > 0.0f) ||
        !(dept.Scale > 0.0))
        return;

    float dTop = 0.0f;
    float dBottom = 0.0f;
    int i0 = dept.FindDepthIndex(top, true, dTop);
    int i1 = dept.FindDepthIndex(bottom, false, dBottom);
    // A page wholly above or below the data holds none of its samples (the lookup clamps
    // to the first or last one).
    if (dTop < top)
        ++i0;
    if (dBottom > bottom)
        --i1;

    const int w = r.right - r.left;
    const double perPixel = static_cast<double>(ScaleValue) / fh;
    SetRightValue(static_cast<float>(LeftValue + w * perPixel));
    const double logLeft = std::log10(static_cast<double>(LogLeftValue));
    if (LogarithmicScale)
        SetRightValue(static_cast<float>(logLeft + w / (static_cast<double>(LogScaleModule) * fh)));

    const double depthPerPixel = dept.Scale / fv;
    const auto yOf = [&](double depth) { return TruncToInt(r.top + (depth - top) / depthPerPixel); };
    const auto xOf = [&](float v, int& count) {
        const double x = LogarithmicScale ? r.left + (std::log10(static_cast<double>(v)) - logLeft) * LogScaleModule * fh
                                          : r.left + (v - static_cast<double>(LeftValue)) / perPixel;
        return OffsideMode->Wrap(std::trunc(x), r.left, r.right, count);
    };

    canvas.pen.color = static_cast<platform::CanvasColor>(Color);
    canvas.pen.width = std::max(1, TruncToInt(static_cast<double>(Width) * fh));
    canvas.pen.style = platform::PenStyle::Solid;
    UnitsFont.color = static_cast<platform::CanvasColor>(Color);
    canvas.font = UnitsFont;

    // Start: at the page top, interpolated, when the first sample lies below the top and
    // the one before it is present; else at the first drawable sample of the page.
    int prev = -1;
    int c0 = 0;
    int x = 0;
    int y = 0;
    float v = 0.0f;
    if (dTop > top && i0 > 0 && i0 < n && dept.TryInterpolateAt(top, Samples, NullValue, v) && IsDrawable(v)) {
        x = xOf(v, c0);
        y = r.top;
        prev = i0 - 1;
        v = Samples[i0];
    } else {
        int k = i0;
        while (k <= i1 && !IsDrawable(Samples[k]))
            ++k;
        if (k > i1)
            return;
        v = Samples[k];
        x = xOf(v, c0);
        y = yOf(dept.Depths[k]);
        prev = k;
    }
    if (BlikTitleType == 3)
        DrawBlikLabel(canvas, c0, v, x, y, r.right);
    canvas.MoveTo(x, y);

    for (int m = prev + 1; m <= i1; ++m) {
        const float value = Samples[m];
        if (!IsDrawable(value))
            continue;
        int c1 = 0;
        x = xOf(value, c1);
        y = yOf(dept.Depths[m]);
        if (m != prev + 1) {
            // Missing values between: a new piece starts here.
            canvas.MoveTo(x, y);
        } else {
            if (c0 > c1) {
                canvas.LineTo(r.left, y);
                canvas.MoveTo(r.right, y);
            } else if (c0 < c1) {
                canvas.LineTo(r.right, y);
                if (BlikTitleType == 1)
                    DrawBlikLabel(canvas, c0, value, r.right, y, r.right);
                else if (BlikTitleType == 2)
                    DrawBlikLabel(canvas, c1, value, r.left, y - canvas.TextHeight("0"), r.right);
                canvas.MoveTo(r.left, y);
            }
            canvas.LineTo(x, y);
        }
        c0 = c1;
        prev = m;
    }

    // End: on to the page bottom when the last sample lies above it and the value there
    // comes from present samples.
    if (prev == i1 && dBottom < bottom && dept.TryInterpolateAt(bottom, Samples, NullValue, v) && IsDrawable(v)) {
        int c = 0;
        canvas.LineTo(xOf(v, c), yOf(bottom));
    }
}
