// QPainter implementation of the drawing canvas.
#include "platform/PainterCanvas.h"

#include "platform/CanvasFont.h"
#include "platform/Colors.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace platform {

namespace {

// Long traces are split so that one path never grows without bound.
constexpr int MaxPendingPoints = 8192;

Qt::PenStyle ToQtPenStyle(PenStyle style)
{
    switch (style) {
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::DashDotDot: return Qt::DashDotDotLine;
    case PenStyle::Clear: return Qt::NoPen;
    case PenStyle::Solid:
    case PenStyle::Custom: break;
    }
    return Qt::SolidLine;
}

QRect ToQRect(const CanvasRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter)
    : PainterCanvas(painter, painter.device() ? painter.device()->logicalDpiX() : 96,
                    painter.device() ? painter.device()->logicalDpiY() : 96)
{
}

PainterCanvas::PainterCanvas(QPainter& painter, int dpiX, int dpiY)
    : painter_(painter), dpiX_(dpiX > 0 ? dpiX : 96), dpiY_(dpiY > 0 ? dpiY : 96)
{
}

PainterCanvas::~PainterCanvas() { Flush(); }

void PainterCanvas::ApplyPen(const CanvasPen& p)
{
    if (appliedPen_ && *appliedPen_ == p)
        return;
    QPen qpen(ToQColor(p.color));
    qpen.setWidth(std::max(1, p.width));
    if (p.style == PenStyle::Custom && p.dash > 0.0 && p.gap >= 0.0) {
        // Qt measures dash patterns in pen widths.
        const double w = std::max(1, p.width);
        qpen.setDashPattern({p.dash / w, std::max(p.gap, 1e-3) / w});
        qpen.setDashOffset(0.0);
    } else {
        qpen.setStyle(ToQtPenStyle(p.style));
    }
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::RoundJoin);
    painter_.setPen(qpen);
    appliedPen_ = p;
}

void PainterCanvas::ApplyBrush()
{
    if (brush.style == BrushStyle::Solid)
        painter_.setBrush(ToQColor(brush.color));
    else
        painter_.setBrush(Qt::NoBrush);
}

void PainterCanvas::Flush()
{
    if (pending_.size() < 2) {
        pending_.clear();
        return;
    }
    ApplyPen(pendingPen_);
    if (pending_.size() == 2)
        painter_.drawLine(pending_[0], pending_[1]);
    else
        painter_.drawPolyline(pending_);
    pending_.clear();
}

void PainterCanvas::DrawLine(CanvasPoint from, CanvasPoint to)
{
    if (pen.style == PenStyle::Clear)
        return;
    const QPoint a(from.x, from.y);
    const QPoint b(to.x, to.y);
    // A custom pattern restarts at each line, so such lines are never joined.
    const bool continues = !pending_.isEmpty() && pending_.last() == a && pendingPen_ == pen &&
                           pen.style != PenStyle::Custom && pending_.size() < MaxPendingPoints;
    if (!continues) {
        Flush();
        pending_.append(a);
        pendingPen_ = pen;
    }
    pending_.append(b);
}

void PainterCanvas::Rectangle(const CanvasRect& r)
{
    Flush();
    ApplyPen(pen);
    ApplyBrush();
    painter_.drawRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
}

void PainterCanvas::Polygon(const std::vector<CanvasPoint>& points)
{
    Flush();
    ApplyPen(pen);
    ApplyBrush();
    QPolygon polygon;
    for (const CanvasPoint& p : points)
        polygon.append(QPoint(p.x, p.y));
    painter_.drawPolygon(polygon);
}

void PainterCanvas::FillRect(const CanvasRect& r)
{
    Flush();
    if (brush.style == BrushStyle::Solid)
        painter_.fillRect(ToQRect(r), ToQColor(brush.color));
}

void PainterCanvas::Polyline(const std::vector<CanvasPoint>& points)
{
    Flush();
    if (pen.style == PenStyle::Clear || points.size() < 2)
        return;
    ApplyPen(pen);
    QPolygon polyline;
    for (const CanvasPoint& p : points)
        polyline.append(QPoint(p.x, p.y));
    painter_.drawPolyline(polyline);
}

const QFontMetrics& PainterCanvas::Metrics()
{
    if (!metricsFont_ || !(*metricsFont_ == font)) {
        qfont_ = ToQFont(font, FontPixelHeight());
        metrics_.emplace(qfont_, painter_.device());
        metricsFont_ = font;
    }
    return *metrics_;
}

void PainterCanvas::DrawText(int x, int y, std::string_view text)
{
    const QFontMetrics& fm = Metrics();
    const QString s = ToQString(text);
    if (brush.style == BrushStyle::Solid)
        painter_.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), ToQColor(brush.color));
    painter_.setFont(qfont_);
    painter_.setPen(ToQColor(font.color));
    appliedPen_.reset();
    painter_.drawText(QPoint(x, y + fm.ascent()), s);
}

void PainterCanvas::TextOut(int x, int y, std::string_view text)
{
    Flush();
    DrawText(x, y, text);
}

void PainterCanvas::TextRect(const CanvasRect& clip, int x, int y, std::string_view text)
{
    Flush();
    painter_.save();
    painter_.setClipRect(ToQRect(clip), Qt::IntersectClip);
    DrawText(x, y, text);
    painter_.restore();
    appliedPen_.reset();
}

int PainterCanvas::TextWidth(std::string_view text) { return Metrics().horizontalAdvance(ToQString(text)); }

int PainterCanvas::TextHeight(std::string_view) { return Metrics().height(); }

void PainterCanvas::Scale(double sx, double sy)
{
    Flush();
    painter_.scale(sx, sy);
}

void PainterCanvas::SaveDevice()
{
    Flush();
    painter_.save();
}

void PainterCanvas::RestoreDevice()
{
    Flush();
    painter_.restore();
    appliedPen_.reset();
}

}  // namespace platform
