// Curve panel painting: the off-screen image with axes, grid, interval, curves and the
// owner's layer; the cross-hair is drawn over it on screen only.
#include "view/PanelWithCurves.h"

#include "platform/Colors.h"
#include "platform/NumberText.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMajorTick = 8;
constexpr int kMinorTick = 4;
constexpr int kMaxLabels = 1000;  // guards the label loops against degenerate scales

QColor ColorOf(std::uint32_t color)
{
    return platform::ToQColor(color);
}

long long CeilDiv(long long a, long long b)
{
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Decimals needed to tell labels `interval` apart.
int DecimalsOf(double interval)
{
    return interval >= 1 ? 0 : std::clamp(int(std::ceil(-std::log10(interval) - 1e-9)), 0, 6);
}

}  // namespace

void TPanelWithCurves::Redraw()
{
    CheckData();
    SyncAxesToArea();
    if (bitmap_.size() != size())
        bitmap_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const PanelCoordinates c = Coordinates();
    {
        QPainter painter(&bitmap_);
        painter.fillRect(bitmap_.rect(), ColorOf(BackgroundColor));
        DrawDepthStrip(painter, c);
        DrawValueStrip(painter, c);
        painter.setClipRect(DrawingArea());
        DrawGrid(painter, c);
        Interval.Draw(painter, c);
        for (int i = 0; i < GetCurvesCount(); ++i) {
            const TCurve& curve = *curves_[std::size_t(i)];
            curve.Paint(painter, c, (curve.IsSelected() ? 2 : 0) + (i == hovered_ ? 1 : 0));
        }
    }
    DrawOwnerLayer(c);
}

void TPanelWithCurves::DrawDepthStrip(QPainter& painter, const PanelCoordinates& c)
{
    const int right = DrawingArea().left() - 1;
    painter.setPen(ColorOf(0));
    painter.drawLine(right, DrawingArea().top(), right, DrawingArea().bottom());
    const double interval = YAxisInfo.LabelInterval();
    if (c.count <= 0 || !(interval > 0) || right < kMajorTick)
        return;
    painter.save();
    painter.setClipRect(QRect(0, 0, DrawingArea().left(), height()));  // the top label may reach into the corner
    const double minor = interval / 5;
    const double top = c.TopDepth();
    const double bottom = c.BottomDepth();
    const int decimals = DecimalsOf(interval);
    const int textHeight = painter.fontMetrics().height();
    const double base = std::ceil(top / minor);
    for (int n = 0; n < 5 * kMaxLabels; ++n) {
        const double tick = (base + n) * minor;
        if (tick > bottom)
            break;
        const int y = c.RowOf(tick);
        const bool major = std::fabs(std::remainder(tick, interval)) < minor / 2;
        painter.drawLine(right - (major ? kMajorTick : kMinorTick), y, right, y);
        if (major) {
            QRect text(0, y - textHeight / 2, right - kMajorTick - 2, textHeight);
            painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, platform::FloatToStrF(tick, 7, decimals));
        }
    }
    painter.restore();
}

void TPanelWithCurves::DrawValueStrip(QPainter& painter, const PanelCoordinates& c)
{
    const int bottom = DrawingArea().top() - 1;
    painter.setPen(ColorOf(0));
    painter.drawLine(DrawingArea().left(), bottom, DrawingArea().right(), bottom);
    painter.save();
    painter.setClipRect(QRect(DrawingArea().left(), 0, DrawingArea().width(), DrawingArea().top()));
    const int rowHeight = painter.fontMetrics().height() + 2;
    int top = 0;
    for (const auto& curve : curves_) {
        if (!curve->IsVisible())
            continue;
        if (top + rowHeight > DrawingArea().top())
            break;
        const int left = int(std::round(curve->ColumnOf(curve->Minimum(), c)));
        const int right = int(std::round(curve->ColumnOf(curve->Maximum(), c)));
        const QRect row(left, top, std::max(right - left, 1), rowHeight - 2);
        painter.setPen(QPen(ColorOf(curve->Color()), 1));
        painter.drawLine(left, top + rowHeight - 2, right, top + rowHeight - 2);
        if (ShowCaptions)
            painter.drawText(row, Qt::AlignHCenter | Qt::AlignVCenter, curve->Caption());
        painter.setPen(ColorOf(0));
        painter.drawText(row.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         platform::FloatToStrF(curve->Minimum(), 7, 2));
        painter.drawText(row.adjusted(0, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter,
                         platform::FloatToStrF(curve->Maximum(), 7, 2));
        top += rowHeight;
    }
    // Value ticks along the bottom of the strip: a tick every TickInterval pixels, a
    // labelled mark every MarksStep ticks.
    const int tickSpacing = XAxisInfo.TickInterval;
    if (tickSpacing > 0 && XAxisInfo.TickStepValue > 0) {
        const int offset = XAxisInfo.Offset();
        long long k = CeilDiv(offset, tickSpacing);
        const int textHeight = painter.fontMetrics().height();
        for (int n = 0; n < 5 * kMaxLabels; ++n, ++k) {
            const int x = DrawingArea().left() + int(k * tickSpacing - offset);
            if (x > DrawingArea().right())
                break;
            const bool mark = XAxisInfo.MarksStep > 0 && k % XAxisInfo.MarksStep == 0;
            painter.drawLine(x, bottom - (mark ? kMajorTick : kMinorTick), x, bottom);
            if (mark)
                painter.drawText(QRect(x - 50, bottom - kMajorTick - textHeight, 100, textHeight), Qt::AlignCenter,
                                 platform::FloatToStrF(double(k) * XAxisInfo.TickStepValue, 7, 2));
        }
    }
    painter.restore();
}

void TPanelWithCurves::DrawGrid(QPainter& painter, const PanelCoordinates& c)
{
    const double interval = YAxisInfo.LabelInterval();
    if (c.count <= 0 || !(interval > 0))
        return;
    painter.setPen(QPen(QColor(0xE0, 0xE0, 0xE0), 1));
    const double bottom = c.BottomDepth();
    double first = std::ceil(c.TopDepth() / interval);
    for (int n = 0; (first + n) * interval <= bottom && n < kMaxLabels; ++n) {
        const int y = c.RowOf((first + n) * interval);
        painter.drawLine(DrawingArea().left(), y, DrawingArea().right(), y);
    }
}

void TPanelWithCurves::DrawOwnerLayer(const PanelCoordinates& c)
{
    if (!OnDrawingAreaPaint || DrawingArea().isEmpty())
        return;
    QImage layer(DrawingArea().size(), QImage::Format_RGB32);
    layer.fill(Qt::black);
    TRasterOp op = SRCINVERT;
    {
        QPainter canvas(&layer);
        canvas.translate(-DrawingArea().topLeft());
        Fire(OnDrawingAreaPaint, canvas, DrawingArea(), c.TopDepth(), c.BottomDepth(), op);
    }
    MergeLayer(layer, op);
}

void TPanelWithCurves::MergeLayer(const QImage& layer, TRasterOp op)
{
    QPainter painter(&bitmap_);
    if (op == SRCINVERT)
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.drawImage(DrawingArea().topLeft(), layer);
}

void TPanelWithCurves::paintEvent(QPaintEvent* event)
{
    CheckData();
    QPainter painter(this);
    painter.drawImage(event->rect(), bitmap_, event->rect());
    if (OnPaintOverlay && !DrawingArea().isEmpty()) {
        painter.save();
        painter.setClipRect(DrawingArea());
        Fire(OnPaintOverlay, painter, Coordinates());
        painter.restore();
    }
    DrawCrossHair(painter);
}

void TPanelWithCurves::DrawCrossHair(QPainter& painter)
{
    if (!CrossMouse || !mouseInside_ || !OwnMouseMove || !DrawingArea().contains(mouse_))
        return;
    painter.setPen(QPen(ColorOf(CrossColor), 1));
    painter.drawLine(DrawingArea().left(), mouse_.y(), DrawingArea().right(), mouse_.y());
    painter.drawLine(mouse_.x(), DrawingArea().top(), mouse_.x(), DrawingArea().bottom());
    const QString depth = platform::FloatToStrF(GetDepthValue(mouse_.y()), 7, 2);
    const int textHeight = painter.fontMetrics().height();
    const QRect label(0, mouse_.y() - textHeight / 2, DrawingArea().left() - 1, textHeight);
    painter.fillRect(label, ColorOf(BackgroundColor));
    painter.setPen(ColorOf(0));
    painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, depth);
}
