// The centimetre ruler: ticks, labels, tracks and their drags.
#include "printing/FormattingBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

QPolygon TFormattingTrack::Outline(int x, int y) const
{
    const int w = TrackWidth;
    const int h = TrackHeight;
    return QPolygon({QPoint(x, y), QPoint(x + w, y), QPoint(x + w, y + h - 5), QPoint(x + w / 2, y + h - 2),
                     QPoint(x, y + h - 5)});
}

void TFormattingTrack::Draw(QPainter& canvas, int x, int y)
{
    LastX = x;
    LastY = y;
    if (TrackWidth < 1 || TrackHeight < 1)
        return;
    canvas.setBrush(TrackColor);
    canvas.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    canvas.drawPolygon(Outline(x, y));
    canvas.setPen(QPen(Qt::white, 1));
    canvas.drawPolyline(QPolygon({QPoint(x + 1, y + TrackHeight - 6), QPoint(x + 1, y + 1),
                                  QPoint(x + TrackWidth - 1, y + 1)}));
}

void TFormattingTrack::DrawSelected(QPainter& canvas, const QColor& color, int x, int y)
{
    LastX = x;
    LastY = y;
    if (TrackWidth < 1 || TrackHeight < 1)
        return;
    canvas.setBrush(color);
    canvas.setPen(QPen(Qt::black, 1));
    canvas.drawPolygon(Outline(x, y));
}

TFormattingBar::TFormattingBar(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setMinimumHeight(20);
    AddTrack(0.0f)->TrackHeight = height();
}

TFormattingBar::~TFormattingBar() = default;

void TFormattingBar::SetPixelsPerSm(float v)
{
    if (!(v > 0.0f))
        return;
    pixelsPerSm_ = v;
    update();
}

void TFormattingBar::SetWidthInSm(float v)
{
    if (v > 0.0f)
        widthInSm_ = v;
}

void TFormattingBar::SetOffset(int v)
{
    offset_ = v;
    update();
}

void TFormattingBar::SetBGColor(const QColor& c)
{
    bgColor_ = c;
    update();
}

TFormattingTrack* TFormattingBar::AddTrack(float position)
{
    auto track = std::make_unique<TFormattingTrack>();
    track->Position = position;
    tracks_.push_back(std::move(track));
    return tracks_.back().get();
}

void TFormattingBar::DeleteTrack(int i)
{
    if (i < 0 || i >= GetTrackCount())
        return;
    tracks_.erase(tracks_.begin() + i);
    if (activeTrack_ >= GetTrackCount())
        activeTrack_ = -1;
}

TFormattingTrack* TFormattingBar::GetTrack(int i) const
{
    return i >= 0 && i < GetTrackCount() ? tracks_[static_cast<size_t>(i)].get() : nullptr;
}

int TFormattingBar::GetTrackNumber(int x) const
{
    for (int i = 0; i < GetTrackCount(); ++i) {
        const TFormattingTrack& t = *tracks_[static_cast<size_t>(i)];
        const int left = static_cast<int>(t.Position * pixelsPerSm_ - offset_);
        if (left <= x && x <= left + t.TrackWidth)
            return i;
    }
    return -1;
}

float TFormattingBar::GetBeforeTrackDistance(int i) const
{
    if (i < 0 || i >= GetTrackCount())
        return 0.0f;
    if (i == 0)
        return tracks_[0]->Position;
    return tracks_[static_cast<size_t>(i)]->Position - tracks_[static_cast<size_t>(i - 1)]->Position;
}

TRulerLayout TFormattingBar::Layout(int widthPx, float pixelsPerSm, int offset,
                                    const std::function<int(int)>& textWidth)
{
    TRulerLayout layout;
    const double widthInSm = widthPx / static_cast<double>(pixelsPerSm);
    const double o = offset / static_cast<double>(pixelsPerSm);
    // The first tick lies just left of the visible part.
    const auto first = [](double v) {
        const int t = static_cast<int>(v);
        return v == std::floor(v) ? t - 1 : t;
    };
    const int halfStart = first(2.0 * o);
    const int halfCount = static_cast<int>(2.0 * widthInSm + 2.0);
    for (int k = halfStart; k < halfStart + halfCount; ++k)
        layout.halfTicks.push_back(static_cast<int>(k * 0.5 * pixelsPerSm - offset));
    const int cmStart = first(o);
    const int cmCount = static_cast<int>(widthInSm + 3.0);
    for (int k = cmStart; k < cmStart + cmCount; ++k) {
        layout.cmTicks.push_back(static_cast<int>(k * pixelsPerSm - offset));
        layout.labels.push_back(k);
        // A label whose tick is on the ruler stays whole on it, at either end.
        const int tick = layout.cmTicks.back();
        int x = tick - textWidth(k) / 2;
        if (tick >= 0 && tick <= widthPx)
            x = std::clamp(x, 0, std::max(0, widthPx - textWidth(k)));
        layout.labelX.push_back(x);
    }
    return layout;
}

void TFormattingBar::PaintTempmap()
{
    if (bitmap_.size() != size())
        bitmap_ = QImage(std::max(1, CalcWidth()), std::max(1, height()), QImage::Format_RGB32);
    widthInSm_ = CalcWidth() / pixelsPerSm_;
    bitmap_.fill(bgColor_);
    QPainter p(&bitmap_);
    p.setPen(QPen(Qt::black, 1));
    const int h = bitmap_.height();
    const QFontMetrics fm(font());
    const TRulerLayout layout = Layout(CalcWidth(), pixelsPerSm_, offset_,
                                       [&fm](int k) { return fm.horizontalAdvance(QString::number(k)); });
    for (int x : layout.halfTicks)
        p.drawLine(x, h, x, h - 3);
    p.setFont(font());
    for (size_t i = 0; i < layout.cmTicks.size(); ++i) {
        p.drawLine(layout.cmTicks[i], h, layout.cmTicks[i], h - 6);
        p.drawText(layout.labelX[i], 1 + fm.ascent(), QString::number(layout.labels[i]));
    }
    for (int i = 0; i < GetTrackCount(); ++i) {
        TFormattingTrack& t = *tracks_[static_cast<size_t>(i)];
        const int x = static_cast<int>(t.Position * pixelsPerSm_ - offset_);
        t.TrackHeight = h - 1;
        if (i == activeTrack_)
            t.DrawSelected(p, QColor(0, 0, 0xFF), x, 1);
        else
            t.Draw(p, x, 1);
    }
}

void TFormattingBar::paintEvent(QPaintEvent*)
{
    PaintTempmap();
    QPainter(this).drawImage(0, 0, bitmap_);
}

void TFormattingBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    bitmap_ = QImage();
}

void TFormattingBar::mousePressEvent(QMouseEvent* event)
{
    activeTrack_ = GetTrackNumber(static_cast<int>(event->position().x()));
}

void TFormattingBar::mouseMoveEvent(QMouseEvent* event)
{
    const int x = static_cast<int>(event->position().x());
    if (event->buttons() & Qt::LeftButton) {
        if (activeTrack_ < 0)
            return;
        TFormattingTrack& t = *tracks_[static_cast<size_t>(activeTrack_)];
        t.Position = (x + offset_) / pixelsPerSm_;
        update();
        emit TrackPosChange(activeTrack_, t.Position);
        return;
    }
    activeTrack_ = GetTrackNumber(x);
    setCursor(activeTrack_ >= 0 ? Qt::UpArrowCursor : Qt::ArrowCursor);
    update();
}

void TFormattingBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && activeTrack_ >= 0)
        emit TrackPosEndChange(activeTrack_, tracks_[static_cast<size_t>(activeTrack_)]->Position);
    activeTrack_ = -1;
}
