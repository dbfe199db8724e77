// Drawing of a printed curve: its header block with the scale, its trace and off-scale labels.
#include "printing/CurveForPrinting.h"

#include "printing/LabelText.h"
#include "printing/PixelMath.h"
#include "printing/PrintingColumn.h"
#include "printing/PrintingDept.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

using platform::Canvas;
using platform::CanvasRect;

namespace {

struct ScaleMark {
    double cm = 0.0;  // from the column's left edge
    double value = 0.0;
    int decimals = 0;
};

constexpr double CmTolerance = 1e-6;

}  // namespace

std::vector<ScaleTick> ScaleTicks(bool logarithmic, int module, double widthCm)
{
    std::vector<ScaleTick> ticks;
    if (logarithmic) {
        for (int decade = 0; decade * module <= widthCm + CmTolerance; ++decade)
            for (int d = 1; d <= 9; ++d) {
                const double cm = (decade + std::log10(d)) * module;
                if (cm <= widthCm + CmTolerance)
                    ticks.push_back({cm, d == 1});
            }
    } else {
        for (int i = 0; i * 0.5 <= widthCm + CmTolerance; ++i)
            ticks.push_back({i * 0.5, i % 4 == 0});
    }
    return ticks;
}

namespace {

// Major marks: every 2 cm (every decade of a logarithmic scale) and the right end, so that
// both ends of a scale always carry their numbers.
std::vector<ScaleMark> MajorMarks(const TCurveForPrinting& c, double widthCm)
{
    std::vector<ScaleMark> marks;
    const double interval = c.LogarithmicScale ? c.LogScaleModule : 2.0;
    const double logLeft = std::log10(static_cast<double>(c.LogLeftValue));
    const auto valueAt = [&](double cm) {
        return c.LogarithmicScale ? std::pow(10.0, logLeft + cm / c.LogScaleModule)
                                  : c.LeftValue + cm * static_cast<double>(c.ScaleValue);
    };
    for (int i = 0; i * interval <= widthCm + CmTolerance; ++i)
        marks.push_back({i * interval, valueAt(i * interval), 0});
    if (marks.empty() || widthCm - marks.back().cm > CmTolerance)
        marks.push_back({widthCm, valueAt(widthCm), 0});
    // A linear scale shows its numbers with the same decimals, as many as the exact ones
    // need (a number that no four decimals show exactly is rounded to them); the numbers
    // of a logarithmic one differ by decades and each takes its own.
    int common = -1;
    for (ScaleMark& m : marks) {
        m.decimals = ShortestDecimals(m.value);
        common = std::max(common, m.decimals);
    }
    for (ScaleMark& m : marks)
        m.decimals = c.LogarithmicScale ? LabelDecimals(m.value) : (common < 0 ? 4 : common);
    return marks;
}

}  // namespace

int TCurveForPrinting::DrawHeader(Canvas& canvas, int y0, float fy, int xR, int xL, float fx)
{
    TitleFont.color = static_cast<platform::CanvasColor>(Color);
    // The numbers take the curve's colour too, not whatever a trace left in the font.
    UnitsFont.color = static_cast<platform::CanvasColor>(Color);
    // Tick positions come from the column's width in cm, not from its truncated pixel width.
    double widthCm = (xR - xL) / static_cast<double>(fx);
    if (Column && std::fabs(Column->GetWidth() * static_cast<double>(fx) - (xR - xL)) < 1.5)
        widthCm = Column->GetWidth();
    const auto xAt = [&](double cm) { return std::min(xR, xL + RoundToPixels(static_cast<float>(cm), fx)); };

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
    for (const ScaleTick& tick : ScaleTicks(LogarithmicScale, LogScaleModule, widthCm)) {
        canvas.MoveTo(xAt(tick.cm), y);
        canvas.LineTo(xAt(tick.cm), minorTop);
    }

    // Numbers keep a gap from the frame and from each other: the two ends first, then the
    // inner numbers that fit between them.
    const int labelTop = TruncToInt(y - digitHeight - 0.2 * fy);
    const int majorTop = TruncToInt(y - 0.2 * fy);
    const int gap = std::max(1, TruncToInt(0.05 * fx));
    const std::vector<ScaleMark> marks = MajorMarks(*this, widthCm);
    struct Placed {
        int left;
        int right;
        std::string text;
    };
    std::vector<Placed> placed(marks.size());
    for (size_t i = 0; i < marks.size(); ++i) {
        Placed& p = placed[i];
        p.text = FormatLabelNumber(marks[i].value, marks[i].decimals);
        const int w = canvas.TextWidth(p.text);
        p.left = std::max(xL + gap, std::min(xAt(marks[i].cm) - w / 2, xR - gap - w));
        p.right = p.left + w;
    }
    for (size_t i = 0; i < marks.size(); ++i) {
        const bool end = i == 0 || i + 1 == marks.size();
        const bool fits = end || (placed[i].left >= placed[i - 1].right + gap &&
                                  placed[i].right + gap <= placed.back().left);
        if (fits)
            canvas.TextOut(placed[i].left, labelTop, placed[i].text);
        else
            placed[i].right = placed[i - 1].right;  // the next number keeps its gap from the last one shown
        canvas.MoveTo(xAt(marks[i].cm), y);
        canvas.LineTo(xAt(marks[i].cm), majorTop);
    }
    return y - y0;
}

int TCurveForPrinting::HeaderHeight(Canvas& canvas, int y0, float fy) const
{
    const platform::CanvasFont saved = canvas.font;
    int y = y0;
    if (!TitleText().empty()) {
        canvas.font = TitleFont;
        y += canvas.TextHeight(Mnemonic);
    }
    canvas.font = UnitsFont;
    y = TruncToInt(y + canvas.TextHeight("0") + 0.3 * fy);
    canvas.font = saved;
    return y - y0;
}

void TCurveForPrinting::DrawBlikLabel(Canvas& canvas, int n, float value, int x, int y, int rightBound)
{
    // Levels left of the column are numbered -1, -2, ...
    const long long number = n >= 0 ? static_cast<long long>(n) + 1 : n;
    const std::string text =
        BlikTitle ? std::to_string(number) : FormatShortestLabel(value);
    const int w = canvas.TextWidth(text);
    canvas.TextOut(static_cast<long long>(x) + w > rightBound ? x - w : x, y, text);
}

namespace {

// Folds beyond this many levels no longer read as a trace: such a value is drawn at the
// column's edge.
constexpr int MaxWrapLevel = 10;

struct TracePoint {
    int x = 0;
    int y = 0;
    int level = 0;        // off-scale level: positive right of the column, negative left of it
    bool pinned = false;  // beyond the last level, drawn at the edge
    float value = 0.0f;
};

// The walk of one trace: pieces of present samples, joined across off-scale levels, thinned
// to one minimum/maximum run per pixel row of one level.
class TraceWalk {
public:
    // `tick`: half the length of the tick that shows a lone sample, in pixels.
    TraceWalk(TCurveForPrinting& curve, Canvas& canvas, const CanvasRect& r, int tick)
        : c_(curve), canvas_(canvas), r_(r), labelHeight_(canvas.TextHeight("0")), tick_(tick)
    {
    }

    // Starts a new piece at p.
    void Start(const TracePoint& p)
    {
        EndPiece();
        canvas_.MoveTo(p.x, p.y);
        row_ = {p, p.x, p.x, p.x};
        inPiece_ = true;
        pieceDrawn_ = false;
    }

    // Continues the piece to p.
    void To(const TracePoint& p)
    {
        if (p.y == row_.point.y && p.level == row_.point.level && p.pinned == row_.point.pinned) {
            row_.minX = std::min(row_.minX, p.x);
            row_.maxX = std::max(row_.maxX, p.x);
            row_.point = p;
            return;
        }
        FlushRow();
        const TracePoint& a = row_.point;
        if (a.level != p.level && !a.pinned && !p.pinned) {
            if (a.level > p.level) {
                Line(r_.left, p.y);
                canvas_.MoveTo(r_.right, p.y);
            } else {
                Line(r_.right, p.y);
                if (c_.BlikTitleType == 1)
                    Label(a.level, p.value, r_.right, p.y);
                else if (c_.BlikTitleType == 2)
                    Label(p.level, p.value, r_.left, p.y - labelHeight_);
                canvas_.MoveTo(r_.left, p.y);
            }
        }
        Line(p.x, p.y);
        row_ = {p, p.x, p.x, p.x};
    }

    void Label(int level, float value, int x, int y)
    {
        // A label that would overlap the one before is left out.
        if (lastLabelY_ && y < *lastLabelY_ + labelHeight_)
            return;
        c_.DrawBlikLabel(canvas_, level, value, x, y, r_.right);
        lastLabelY_ = y;
    }

    // Ends the current piece; a piece of one point shows as a short tick.
    void EndPiece()
    {
        if (!inPiece_)
            return;
        FlushRow();
        if (!pieceDrawn_) {
            const TracePoint& p = row_.point;
            canvas_.MoveTo(p.x - tick_, p.y);
            canvas_.LineTo(p.x + tick_ + 1, p.y);
        }
        inPiece_ = false;
    }

private:
    struct Row {
        TracePoint point;  // the last point of the row
        int entryX = 0;
        int minX = 0;
        int maxX = 0;
    };

    void Line(int x, int y)
    {
        canvas_.LineTo(x, y);
        pieceDrawn_ = true;
    }

    // The samples of one pixel row cover minX..maxX: one run from the end nearer the entry
    // to the other, where the trace goes on.
    void FlushRow()
    {
        const int y = row_.point.y;
        const bool minFirst = std::abs(row_.minX - row_.entryX) <= std::abs(row_.maxX - row_.entryX);
        const int near = minFirst ? row_.minX : row_.maxX;
        const int far = minFirst ? row_.maxX : row_.minX;
        if (near != row_.entryX)
            Line(near, y);
        if (far != near)
            Line(far, y);
        row_.point.x = far;
        row_.entryX = row_.minX = row_.maxX = far;
    }

    TCurveForPrinting& c_;
    Canvas& canvas_;
    CanvasRect r_;
    int labelHeight_;
    int tick_;
    Row row_;
    bool inPiece_ = false;
    bool pieceDrawn_ = false;
    std::optional<int> lastLabelY_;
};

}  // namespace

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
    const auto pointOf = [&](float v, double depth) {
        TracePoint p;
        p.value = v;
        p.y = yOf(depth);
        const double x = LogarithmicScale ? r.left + (std::log10(static_cast<double>(v)) - logLeft) * LogScaleModule * fh
                                          : r.left + (v - static_cast<double>(LeftValue)) / perPixel;
        p.x = OffsideMode->Wrap(std::trunc(x), r.left, r.right, p.level);
        if (std::abs(p.level) > MaxWrapLevel) {
            p.pinned = true;
            p.x = p.level > 0 ? r.right : r.left;
        }
        return p;
    };

    canvas.pen.color = static_cast<platform::CanvasColor>(Color);
    canvas.pen.width = std::max(1, TruncToInt(static_cast<double>(Width) * fh));
    canvas.pen.style = platform::PenStyle::Solid;
    UnitsFont.color = static_cast<platform::CanvasColor>(Color);
    canvas.font = UnitsFont;
    TraceWalk walk(*this, canvas, r, std::max(1, TruncToInt(0.05 * fh)));

    // Start: at the page top, interpolated, when the first sample lies below the top and
    // the one before it is present; else at the first drawable sample of the page.
    int prev = -1;
    float v = 0.0f;
    TracePoint start;
    if (dTop > top && i0 > 0 && i0 < n && dept.TryInterpolateAt(top, Samples, NullValue, v) && IsDrawable(v)) {
        start = pointOf(v, top);
        start.y = r.top;
        start.value = Samples[i0];
        prev = i0 - 1;
    } else {
        int k = i0;
        while (k <= i1 && !IsDrawable(Samples[k]))
            ++k;
        if (k > i1)
            return;
        start = pointOf(Samples[k], dept.Depths[k]);
        prev = k;
    }
    if (BlikTitleType == 3)
        walk.Label(start.level, start.value, start.x, start.y);
    walk.Start(start);

    for (int m = prev + 1; m <= i1; ++m) {
        const float value = Samples[m];
        if (!IsDrawable(value))
            continue;
        const TracePoint p = pointOf(value, dept.Depths[m]);
        if (m != prev + 1)
            walk.Start(p);  // missing values between: a new piece starts here
        else
            walk.To(p);
        prev = m;
    }

    // End: on to the page bottom when the last sample lies above it and the value there
    // comes from present samples.
    if (prev == i1 && dBottom < bottom && dept.TryInterpolateAt(bottom, Samples, NullValue, v) && IsDrawable(v))
        walk.To(pointOf(v, bottom));
    walk.EndPiece();
}
