// Curve panel painting: the off-screen image with axes, grid, interval, curves and the
// owner's layer; the cross-hair is drawn over it on screen only.
#include "view/PanelWithCurves.h"

#include "view/CaptionStrip.h"

#include "platform/Colors.h"
#include "platform/NumberText.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

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
    UpdateValueStripHeight();
    SyncAxesToArea();
    if (bitmap_.size() != size())
        bitmap_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const PanelCoordinates c = Coordinates();
    {
        QPainter painter(&bitmap_);
        painter.setFont(font());
        painter.fillRect(bitmap_.rect(), ColorOf(BackgroundColor));
        DrawDepthStrip(painter, c);
        DrawValueStrip(painter);
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

QRect TPanelWithCurves::DepthLabelRect(int row, int textHeight) const
{
    return QRect(0, row - textHeight / 2, DrawingArea().left() - 1 - kMajorTick - 2, textHeight);
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
        if (major)
            painter.drawText(DepthLabelRect(y, textHeight), Qt::AlignRight | Qt::AlignVCenter,
                             platform::FloatToStrF(tick, 7, decimals));
    }
    painter.restore();
}

QString TPanelWithCurves::ValueTextOf(int curve, float value) const
{
    return ValueText ? ValueText(curve, value) : platform::FloatToStrF(value, 7, 2);
}

TPanelWithCurves::ValueStrip TPanelWithCurves::ValueStripLayout() const
{
    const QFontMetrics metrics = fontMetrics();
    const int lineHeight = metrics.height() + 2;
    const PanelCoordinates c = Coordinates();
    ValueStrip strip;
    std::vector<ValueStripEntry> entries;
    std::vector<CaptionTexts> texts;
    for (int i = 0; i < GetCurvesCount(); ++i) {
        const TCurve& curve = *curves_[std::size_t(i)];
        if (!curve.IsVisible())
            continue;
        ValueStripEntry e;
        e.curve = i;
        e.left = int(std::round(curve.ColumnOf(curve.Minimum(), c)));
        e.right = std::max(e.left + 1, int(std::round(curve.ColumnOf(curve.Maximum(), c))));
        // A track scrolled out of view would only push the tracks in view out of the strip.
        if (e.right < c.area.left() || e.left > c.area.right())
            continue;
        e.captionText = ShowCaptions ? curve.Caption() : QString();
        if (curve.HasValues()) {
            e.minimumText = ValueTextOf(i, curve.Minimum());
            e.maximumText = ValueTextOf(i, curve.Maximum());
        } else {  // no numbers: a curve of absent samples only must not read as one of zeros
            const QString noValues = QStringLiteral("нет значений");
            e.captionText = e.captionText.isEmpty() ? noValues : e.captionText + QStringLiteral(" (") + noValues + ')';
        }
        texts.push_back({e.left, e.right, metrics.horizontalAdvance(e.minimumText),
                         metrics.horizontalAdvance(e.captionText), metrics.horizontalAdvance(e.maximumText)});
        entries.push_back(e);
    }
    const std::vector<CaptionPlace> places =
        PlaceCaptions(texts, c.area.left(), c.area.right(), metrics.horizontalAdvance(QLatin1Char(' ')));
    int rows = 0;
    for (const CaptionPlace& p : places)
        rows = std::max(rows, p.row + 1);
    const int roomRows = std::max(0, (MaxValueStripHeight() - ValueTicksHeight()) / lineHeight);
    const int shownRows = rows <= roomRows ? rows : roomRows - 1;
    for (std::size_t k = 0; k < places.size(); ++k) {
        const CaptionPlace& p = places[k];
        if (p.row >= shownRows)
            continue;
        ValueStripEntry& e = entries[k];
        const int top = p.row * lineHeight;
        const auto box = [&](int x, int width, QString& text) {
            if (width < metrics.horizontalAdvance(text))  // the advance is rounded: never elide at full width
                text = metrics.elidedText(text, Qt::ElideRight, width);
            return QRect(x, top, width, lineHeight - 2);
        };
        e.minimum = box(p.minimumX, p.minimumWidth, e.minimumText);
        e.maximum = box(p.maximumX, p.maximumWidth, e.maximumText);
        if (p.captionWidth > 0)
            e.caption = box(p.captionX, p.captionWidth, e.captionText);
        e.lineY = top + lineHeight - 2;
        strip.entries.push_back(e);
    }
    if (shownRows < rows && roomRows > 0)
        strip.more = QRect(c.area.left() + 2, shownRows * lineHeight, c.area.width() - 4, lineHeight - 2);
    strip.height = std::min(rows, roomRows) * lineHeight;
    return strip;
}

int TPanelWithCurves::ValueTicksHeight() const
{
    return XAxisInfo.TickInterval > 0 ? kMajorTick + fontMetrics().height() : 0;
}

int TPanelWithCurves::MaxValueStripHeight() const
{
    return std::max(valueAxisHeight_, height() / 2);
}

void TPanelWithCurves::UpdateValueStripHeight()
{
    valueStripHeight_ = std::clamp(ValueStripLayout().height + ValueTicksHeight(), valueAxisHeight_,
                                   MaxValueStripHeight());
}

void TPanelWithCurves::DrawValueStrip(QPainter& painter)
{
    const int bottom = DrawingArea().top() - 1;
    painter.setPen(ColorOf(0));
    painter.drawLine(DrawingArea().left(), bottom, DrawingArea().right(), bottom);
    painter.save();
    painter.setClipRect(QRect(DrawingArea().left(), 0, DrawingArea().width(), DrawingArea().top()));
    const ValueStrip strip = ValueStripLayout();
    for (const ValueStripEntry& e : strip.entries) {
        const TCurve& curve = *curves_[std::size_t(e.curve)];
        painter.setPen(QPen(ColorOf(curve.Color()), 1));
        painter.drawLine(e.left, e.lineY, e.right, e.lineY);
        if (!e.caption.isNull())
            painter.drawText(e.caption, Qt::AlignHCenter | Qt::AlignVCenter, e.captionText);
        painter.setPen(ColorOf(0));
        painter.drawText(e.minimum, Qt::AlignLeft | Qt::AlignVCenter, e.minimumText);
        painter.drawText(e.maximum, Qt::AlignRight | Qt::AlignVCenter, e.maximumText);
    }
    painter.setPen(ColorOf(0));
    if (!strip.more.isNull())
        painter.drawText(strip.more, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("…"));
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
            if (mark) {
                // Centred on its mark, but kept wholly inside the drawing area at either edge.
                const QString text = platform::FloatToStrF(double(k) * XAxisInfo.TickStepValue, 7, 2);
                const int width = painter.fontMetrics().horizontalAdvance(text);
                const int left = std::clamp(x - width / 2, DrawingArea().left(),
                                            std::max(DrawingArea().left(), DrawingArea().right() + 1 - width));
                painter.drawText(QRect(left, bottom - kMajorTick - textHeight, width, textHeight), Qt::AlignCenter,
                                 text);
            }
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
    const double depth = GetDepthValue(mouse_.y());
    const int textHeight = painter.fontMetrics().height();
    const QRect label = DepthLabelRect(mouse_.y(), textHeight);
    // The strip's labels the read-out touches give way to it whole, not cut through.
    QRegion cleared(label);
    if (const double interval = YAxisInfo.LabelInterval(); interval > 0) {
        const PanelCoordinates c = Coordinates();
        const double nearest = std::round(depth / interval);
        for (double n = nearest - 2; n <= nearest + 2; ++n)
            if (const QRect other = DepthLabelRect(c.RowOf(n * interval), textHeight); other.intersects(label))
                cleared += other;
    }
    for (const QRect& part : cleared)
        painter.fillRect(part, ColorOf(BackgroundColor));
    painter.setPen(ColorOf(0));
    painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, platform::FloatToStrF(depth, 7, 2));
}
