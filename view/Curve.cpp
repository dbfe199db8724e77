// Panel curve: statistics over the non-NULL samples and drawing of the visible part.
#include "view/Curve.h"

#include "platform/Colors.h"
#include "view/PanelWithCurves.h"

#include <QPainter>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Initial horizontal scale: the value range of a new curve fills this many pixels.
constexpr double kInitialTrackPixels = 90;

// Far-off columns are clamped so they stay valid ints for the painter.
int ToColumn(double x)
{
    return int(std::round(std::clamp(x, -1.0e7, 1.0e7)));
}

// First index in [from, count) whose depth is at least `limit`; depths increase.
int SeekDepth(const float* depths, int from, int count, double limit)
{
    int step = 1;
    int low = from;
    while (from + step < count && double(depths[from + step]) < limit) {
        low = from + step;
        step *= 2;
    }
    const float* end = depths + std::min(count, from + step + 1);
    return int(std::lower_bound(depths + low, end, limit, [](float d, double v) { return double(d) < v; }) - depths);
}

// Smallest and largest of the non-NULL values in [begin, end) folded into low and high
// (low > high stays when there are none). NaN samples are skipped.
void MinMaxPresent(const float* begin, const float* end, float null, float& low, float& high)
{
#if defined(__SSE2__)
    // Four samples at a time: a NULL sample is replaced by a value that cannot win.
    const __m128 nulls = _mm_set1_ps(null);
    const __m128 noLow = _mm_set1_ps(std::numeric_limits<float>::max());
    const __m128 noHigh = _mm_set1_ps(std::numeric_limits<float>::lowest());
    __m128 lows = _mm_set1_ps(low);
    __m128 highs = _mm_set1_ps(high);
    for (; end - begin >= 4; begin += 4) {
        const __m128 v = _mm_loadu_ps(begin);
        const __m128 isNull = _mm_cmpeq_ps(v, nulls);
        // min/max give their second operand when the first is NaN.
        lows = _mm_min_ps(_mm_or_ps(_mm_and_ps(isNull, noLow), _mm_andnot_ps(isNull, v)), lows);
        highs = _mm_max_ps(_mm_or_ps(_mm_and_ps(isNull, noHigh), _mm_andnot_ps(isNull, v)), highs);
    }
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, lows);
    low = std::min(std::min(lanes[0], lanes[1]), std::min(lanes[2], lanes[3]));
    _mm_store_ps(lanes, highs);
    high = std::max(std::max(lanes[0], lanes[1]), std::max(lanes[2], lanes[3]));
#endif
    for (; begin < end; ++begin) {
        const float v = *begin;
        const bool present = v != null;
        low = present && v < low ? v : low;
        high = present && v > high ? v : high;
    }
}

}  // namespace

TCurve::TCurve(TPanelWithCurves* panel, float* values, int count, std::uint32_t color, float nullValue)
    : panel_(panel), values_(values), count_(values ? std::max(count, 0) : 0), nullValue_(nullValue), color_(color)
{
    Update();
    const double range = double(maximum_) - double(minimum_);
    pixelsPerUnit_ = range > 0 ? kInitialTrackPixels / range : 1.0;
}

TCurve::~TCurve() = default;

void TCurve::SetData(float* values, int count)
{
    values_ = values;
    count_ = values ? std::max(count, 0) : 0;
    Update();
}

void TCurve::Update()
{
    // Four independent lanes without branches (NULL, NaN and infinite samples are skipped by
    // selects): undo recomputes every curve of a document of millions of samples.
    constexpr int kLanes = 4;
    float low[kLanes];
    float high[kLanes];
    double sum[kLanes] = {};
    int n = 0;
    std::fill_n(low, kLanes, std::numeric_limits<float>::max());
    std::fill_n(high, kLanes, std::numeric_limits<float>::lowest());
    const auto take = [&](int lane, float v) {
        const bool present = v != nullValue_ && std::fabs(v) <= std::numeric_limits<float>::max();
        low[lane] = present && v < low[lane] ? v : low[lane];
        high[lane] = present && v > high[lane] ? v : high[lane];
        sum[lane] += present ? double(v) : 0.0;
        n += present;
    };
    int i = 0;
    for (; i + kLanes <= count_; i += kLanes)
        for (int lane = 0; lane < kLanes; ++lane)
            take(lane, values_[i + lane]);
    for (; i < count_; ++i)
        take(0, values_[i]);
    for (int lane = 1; lane < kLanes; ++lane) {
        low[0] = std::min(low[0], low[lane]);
        high[0] = std::max(high[0], high[lane]);
        sum[0] += sum[lane];
    }
    hasValues_ = n > 0;
    if (n == 0) {
        minimum_ = maximum_ = mean_ = 0;
    } else {
        minimum_ = low[0];
        maximum_ = high[0];
        mean_ = float(sum[0] / n);
    }
    pixelsPerUnit_ = LimitedPixelsPerUnit(pixelsPerUnit_);  // a wider range may need a narrower scale
}

double TCurve::LimitedPixelsPerUnit(double pixelsPerUnit) const
{
    const double range = double(maximum_) - double(minimum_);
    const double span = range > 0 ? range : 1.0;
    return std::clamp(pixelsPerUnit, kMinTrackPixels / span, kMaxTrackPixels / span);
}

void TCurve::SetXOffset(int offset)
{
    xOffset_ = std::clamp(offset, -kMaxPixelOffset, kMaxPixelOffset);
}

void TCurve::SetPixelsPerUnit(double pixelsPerUnit)
{
    if (!(pixelsPerUnit > 0) || !std::isfinite(pixelsPerUnit))
        return;
    pixelsPerUnit_ = LimitedPixelsPerUnit(pixelsPerUnit);
    if (panel_)
        panel_->Repaint();
}

void TCurve::SetLineWidth(int width)
{
    lineWidth_ = width < 2 ? 1 : width > 4 ? 5 : width;
}

int TCurve::ValueToPixel(float v) const
{
    if (!(pixelsPerUnit_ > 0))
        return 0;
    return ToColumn((double(v) - double(minimum_)) * pixelsPerUnit_);
}

double TCurve::GetMeanInRange(int first, int last) const
{
    if (count_ <= 0)
        return 0.0;
    if (first > last)
        std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, count_ - 1);
    double sum = 0;
    int n = 0;
    for (int i = first; i <= last; ++i) {
        if (!IsNull(values_[i])) {
            sum += values_[i];
            ++n;
        }
    }
    return n ? sum / n : 0.0;
}

double TCurve::ColumnOf(double value, const PanelCoordinates& c) const
{
    return c.area.left() + xOffset_ + (value - double(minimum_)) * pixelsPerUnit_ - c.valueOffset;
}

double TCurve::ValueAt(double x, const PanelCoordinates& c) const
{
    return double(minimum_) + (x - c.area.left() - xOffset_ + c.valueOffset) / pixelsPerUnit_;
}

void TCurve::Paint(QPainter& painter, const PanelCoordinates& c, int extraWidth) const
{
    const int n = std::min(count_, c.count);
    int first = 0;
    int last = -1;
    if (!visible_ || n <= 0 || !c.IndexRange(c.area.top(), c.area.top() + c.area.height(), first, last))
        return;
    last = std::min(last, n - 1);

    // Samples are grouped by pixel row: a row with several samples becomes one segment
    // from its smallest to its largest value; rows are joined where no NULL lies between.
    const double base = ColumnOf(0.0, c);
    auto column = [&](float v) { return ToColumn(base + double(v) * pixelsPerUnit_); };
    std::vector<QLine> lines;
    std::vector<QPoint> points;
    bool previousValid = false;
    int previousRow = 0;
    int previousX = 0;
    for (int i = first; i <= last;) {
        const int row = c.RowOf(c.depths[i]);
        // Samples of this row: depth below the middle between this row and the next.
        double limit = c.firstDepth + (double(row - c.area.top() + c.depthOffset) + 0.5) / c.pixelsPerDepth;
        int end = std::max(i + 1, std::min(SeekDepth(c.depths, i, last + 1, limit), last + 1));
        float low = std::numeric_limits<float>::max();
        float high = std::numeric_limits<float>::lowest();
        MinMaxPresent(values_ + i, values_ + end, nullValue_, low, high);
        const bool firstValid = !IsNull(values_[i]);
        const bool lastValid = !IsNull(values_[end - 1]);
        if (low <= high) {
            int xLow = column(low);
            int xHigh = column(high);
            bool joined = previousValid && firstValid;
            if (joined && row - previousRow <= 1) {
                xLow = std::min(xLow, previousX);
                xHigh = std::max(xHigh, previousX);
            } else if (joined) {
                lines.emplace_back(previousX, previousRow, column(values_[i]), row);
            }
            if (xLow != xHigh)
                lines.emplace_back(xLow, row, xHigh, row);
            else if (!joined || row - previousRow <= 1)
                points.emplace_back(xLow, row);
        }
        previousValid = lastValid;
        if (lastValid)
            previousX = column(values_[end - 1]);
        previousRow = row;
        i = end;
    }
    QPen pen(platform::ToQColor(color_), lineWidth_ + extraWidth);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    if (!lines.empty())
        painter.drawLines(lines.data(), int(lines.size()));
    if (!points.empty())
        painter.drawPoints(points.data(), int(points.size()));
}

void TCurve::DrawToLayer()
{
    if (!panel_)
        return;
    const PanelCoordinates c = panel_->Coordinates();
    if (layer_.size() != c.area.size())
        layer_ = QImage(c.area.size(), QImage::Format_ARGB32_Premultiplied);
    layer_.fill(Qt::transparent);
    QPainter painter(&layer_);
    painter.translate(-c.area.topLeft());
    Paint(painter, c, selected_ ? 2 : 0);
}

void TCurve::Draw()
{
    if (!panel_ || layer_.isNull())
        return;
    QPainter painter(&panel_->Bitmap());
    painter.drawImage(panel_->DrawingArea().topLeft(), layer_);
}
