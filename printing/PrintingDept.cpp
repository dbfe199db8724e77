// Page arithmetic, depth lookup and the depth track of a printout.
#include "printing/PrintingDept.h"

#include "printing/GridParams.h"
#include "printing/LabelText.h"
#include "printing/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double DepthEpsilon = 1e-7;

bool IsSample(float v, float nullValue) { return v != nullValue && std::isfinite(v); }

}  // namespace

TPrintingDept::TPrintingDept(float top, float bottom, float step)
    : DataTop(top), DataBottom(bottom), PrintTop(top), PrintBottom(bottom), Step(step)
{
}

void TPrintingDept::SetScale(double s)
{
    if (s >= 0.001)
        Scale = s;
}

void TPrintingDept::SetPrintTop(float v)
{
    if (DataTop <= v && v < PrintBottom)
        PrintTop = v;
}

void TPrintingDept::SetPrintBottom(float v)
{
    if (PrintTop < v && v <= DataBottom)
        PrintBottom = v;
}

void TPrintingDept::SetFirstPageHeight(float cm)
{
    FirstPageHeight = std::isfinite(cm) && cm > 0.0f ? cm : 0.0f;
}

int TPrintingDept::GetPageCount() const
{
    if (Scale == 0.0 || !(PageHeight > 0.0f))
        return 1;
    const double strip = (static_cast<double>(PrintBottom) - PrintTop) / Scale;
    const int n = TruncToInt(std::ceil((strip - FirstPageHeight) / PageHeight) + 1.0);
    return n <= 0 ? 1 : n;
}

int TPrintingDept::GetPageRange(int page, float& top, float& bottom) const
{
    const double firstBottom = PrintTop + static_cast<double>(FirstPageHeight) * Scale;
    double t = PrintTop;
    double b = firstBottom;
    if (page > 0) {
        t = firstBottom + (page - 1.0) * PageHeight * Scale;
        b = t + Scale * PageHeight;
    }
    if (page == GetPageCount() - 1)
        b = PrintBottom;
    top = static_cast<float>(t);
    bottom = static_cast<float>(b);
    if (Step == 0.0f)
        return 0;
    return TruncToInt((static_cast<double>(bottom) - top) / Step);
}

float TPrintingDept::GetLastPageLength() const
{
    if (Scale == 0.0)
        return 0.0f;
    const int n = GetPageCount();
    double lastTop = PrintTop;
    if (n >= 2)
        lastTop = PrintTop + static_cast<double>(FirstPageHeight) * Scale + (n - 2.0) * PageHeight * Scale;
    return static_cast<float>((PrintBottom - lastTop) / Scale);
}

int TPrintingDept::GetMinorDivisions(float p, float q)
{
    const double exact = static_cast<double>(p) * q * 200.0;
    // Whole within 0.01: taken as the nearest whole number, so that 1:300 held as
    // 299.99999 still counts as 300.
    const double whole = std::round(exact);
    if (!std::isfinite(exact) || std::fabs(whole - exact) > 0.01 || whole > 2e9)
        return 4;
    const long long n = static_cast<long long>(whole);
    // The leading digit of a round N.
    long long d = n;
    if (n >= 100) {
        const long long unit = n >= 10000 ? 10000 : n >= 1000 ? 1000 : 100;
        if (n % unit != 0)
            return 4;
        d = n / unit;
    } else if (n >= 10) {
        if (n % 10 != 0)
            return 4;
        d = 100 % n == 0 ? 100 / n : n / 10;
    }
    return d == 3 || d == 6 || d == 9 ? 3 : 4;
}

int TPrintingDept::FindDepthIndex(float depth, bool after, float& found) const
{
    const int n = DepthCount;
    if (!Depths || n < 1)
        return 0;
    const double d = depth;
    if (Depths[0] + DepthEpsilon >= d) {
        found = Depths[0];
        return 0;
    }
    if (Depths[n - 1] - DepthEpsilon <= d) {
        found = Depths[n - 1];
        return n - 1;
    }
    // The depths increase, so the first index at or past the depth is found by bisection.
    const float* it = std::partition_point(Depths + 1, Depths + n,
                                           [d](float v) { return v + DepthEpsilon < d; });
    if (it == Depths + n)
        return 0;
    const int i = static_cast<int>(it - Depths);
    if (Depths[i] - DepthEpsilon <= d) {
        found = depth;
        return i;
    }
    if (after) {
        found = Depths[i];
        return i;
    }
    found = Depths[i - 1];
    return i - 1;
}

float TPrintingDept::InterpolateAt(float depth, const float* values) const
{
    if (!values)
        return 0.0f;
    float found = 0.0f;
    const int i = FindDepthIndex(depth, true, found);
    const double d = depth;
    if (i <= 0)
        return values[0];
    if (i == DepthCount - 1 && found - DepthEpsilon <= d)
        return values[i];
    if (found - DepthEpsilon <= d && d <= found + DepthEpsilon)
        return values[i];
    const double span = static_cast<double>(Depths[i]) - Depths[i - 1];
    if (span == 0.0)
        return values[i];
    return static_cast<float>(((d - Depths[i - 1]) * values[i] + (Depths[i] - d) * values[i - 1]) / span);
}

bool TPrintingDept::TryInterpolateAt(float depth, const float* values, float nullValue, float& value) const
{
    const int n = DepthCount;
    if (!values || !Depths || n < 1)
        return false;
    const double d = depth;
    if (d < Depths[0] - DepthEpsilon || d > Depths[n - 1] + DepthEpsilon)
        return false;
    float found = 0.0f;
    const int i = FindDepthIndex(depth, true, found);
    const bool onSample = i <= 0 || std::fabs(found - d) <= DepthEpsilon ||
                          (i == n - 1 && found - DepthEpsilon <= d) || Depths[i] == Depths[i - 1];
    if (!IsSample(values[i], nullValue) || (!onSample && !IsSample(values[i - 1], nullValue)))
        return false;
    value = InterpolateAt(depth, values);
    return true;
}

void TPrintingDept::GetPageStrip(int page, double& topCm, double& bottomCm) const
{
    const double strip = Scale > 0.0 ? (static_cast<double>(PrintBottom) - PrintTop) / Scale : 0.0;
    topCm = page <= 0 ? 0.0 : FirstPageHeight + (page - 1.0) * PageHeight;
    bottomCm = page <= 0 ? FirstPageHeight : topCm + PageHeight;
    if (page >= GetPageCount() - 1)
        bottomCm = strip;
}

TPrintingDept::DepthLines TPrintingDept::GetDepthLines(int page) const
{
    DepthLines lines;
    lines.lastPage = page >= GetPageCount() - 1;
    GetPageStrip(page, lines.pageTopCm, lines.pageBottomCm);
    // The paper spacing of the labels, in depth units, raised to the next round step.
    const double spacing = GetMinorDivisions(static_cast<float>(Scale * UnitMetres), 0.5f) * 0.5 * Scale;
    int exponent = static_cast<int>(std::floor(std::log10(spacing)));
    int mantissa = 10;
    for (const int m : {1, 2, 5, 10}) {
        if (m * std::pow(10.0, exponent) >= spacing * (1.0 - 1e-9)) {
            mantissa = m;
            break;
        }
    }
    if (mantissa == 10) {
        mantissa = 1;
        ++exponent;
    }
    lines.stepMantissa = mantissa;
    lines.stepExponent = exponent;
    lines.minorPerMajor = mantissa == 2 ? 4 : 5;

    const double minor = MinorDepth(lines, 1);
    const double top = PrintTop + lines.pageTopCm * Scale;
    const double bottom = PrintTop + lines.pageBottomCm * Scale;
    const double first = std::ceil(top / minor - 1e-6);
    const double last = std::floor(bottom / minor + 1e-6);
    // A page holds a few dozen lines; a degenerate strip must not ask for billions.
    if (!(first >= -9e15 && last <= 9e15 && last - first < 1e6))
        return lines;
    lines.firstMinor = static_cast<long long>(first);
    lines.lastMinor = static_cast<long long>(last);
    return lines;
}

double TPrintingDept::MinorDepth(const DepthLines& lines, long long j)
{
    // The minor step is 0.2, 0.5 or 1 times the label step: a whole number times a power of ten.
    int mantissa = 1;
    int exponent = lines.stepExponent;
    if (lines.stepMantissa == 1) {
        mantissa = 2;
        --exponent;
    } else if (lines.stepMantissa == 2) {
        mantissa = 5;
        --exponent;
    }
    const double units = static_cast<double>(j) * mantissa;
    return exponent >= 0 ? units * std::pow(10.0, exponent) : units / std::pow(10.0, -exponent);
}

bool TPrintingDept::OwnsLabel(const DepthLines& lines, long long j) const
{
    if (j % lines.minorPerMajor != 0)
        return false;
    const double at = StripCm(MinorDepth(lines, j));
    constexpr double tolerance = 1e-6;  // cm
    if (at < lines.pageTopCm - tolerance)
        return false;
    return lines.lastPage ? at <= lines.pageBottomCm + tolerance : at < lines.pageBottomCm - tolerance;
}

std::string TPrintingDept::LabelText(const DepthLines& lines, long long j) const
{
    const double depth = MinorDepth(lines, j);
    if (ScaleFormat == 0)
        return FormatLabelNumber(depth, std::max(0, -lines.stepExponent));
    return FormatTimeLabel(TruncToInt(depth));
}

void TPrintingDept::DrawDepthTrack(platform::Canvas& canvas, int page, float pxY,
                                   const platform::CanvasRect& rect, float pxX) const
{
    canvas.pen.color = 0;
    canvas.pen.width = std::max(1, TruncToInt(0.02 * pxY));
    canvas.pen.style = platform::PenStyle::Solid;
    // Every page in the same font, whatever the columns left in the canvas.
    canvas.font = platform::CanvasFont{"Arial", 10.0};

    const DepthLines lines = GetDepthLines(page);
    const platform::CanvasPen saved = canvas.pen;
    const TGridLineValues& grid = GridLineValues();
    canvas.pen.width = std::max(1, TruncToInt(grid.SolidWidth * 0.1 * pxY));
    canvas.pen.color = static_cast<platform::CanvasColor>(grid.SolidColor);

    const int labelX = TruncToInt(rect.left + 0.1 * pxX);
    const long long firstMajor =
        lines.firstMinor + (lines.minorPerMajor - lines.firstMinor % lines.minorPerMajor) % lines.minorPerMajor;
    for (long long j = firstMajor; j <= lines.lastMinor; j += lines.minorPerMajor) {
        const double y = (StripCm(MinorDepth(lines, j)) - lines.pageTopCm) * pxY;
        const int lineY = TruncToInt(rect.top + y);
        if (rect.bottom > rect.top && lineY > rect.bottom)
            break;
        canvas.MoveTo(rect.left, lineY);
        canvas.LineTo(rect.right, lineY);
        if (!OwnsLabel(lines, j))
            continue;
        const std::string label = LabelText(lines, j);
        const int h = canvas.TextHeight(label);
        // Above its line, or below it where the page top would cut the number.
        canvas.TextOut(labelX, lineY - h < rect.top ? lineY + 1 : lineY - h, label);
    }
    canvas.pen = saved;
}

std::string TPrintingDept::FormatTimeLabel(int value) const
{
    const auto n = [](int v) { return std::to_string(v); };
    switch (ScaleFormat) {
    case 1: return n(value / 60) + "ч" + n(value % 60) + "м";
    case 2: return n(value / 60) + "м" + n(value % 60) + "с";
    case 3: return n(value / 3600) + "ч" + n(value % 3600 / 60) + "м" + n(value % 60) + "с";
    default: return std::string();
    }
}
