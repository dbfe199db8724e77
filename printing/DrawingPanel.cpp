// The drawing panel: virtual size, horizontal offset and painting through a bitmap.
#include "printing/DrawingPanel.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

TDrawingPanel::TDrawingPanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TDrawingPanel::SetVirtWidth(int n)
{
    if (n != virtWidth_ && n > 1) {
        virtWidth_ = n;
        update();
    }
}

void TDrawingPanel::SetVirtHeight(int n)
{
    if (n != virtHeight_ && n > 1) {
        virtHeight_ = n;
        update();
    }
}

void TDrawingPanel::SetHorzOffset(int n)
{
    if (n != horzOffset_ && n > 0) {
        horzOffset_ = n;
        update();
    }
}

void TDrawingPanel::SetColor(const QColor& color)
{
    if (color != color_) {
        color_ = color;
        update();
    }
}

void TDrawingPanel::resizeEvent(QResizeEvent*)
{
    if (!EnableVirtSizes) {
        virtWidth_ = width();
        virtHeight_ = height();
        horzOffset_ = 0;
    } else if (AutoHeight) {
        virtHeight_ = height();
    }
}

void TDrawingPanel::paintEvent(QPaintEvent* event)
{
    if (bitmap_.size() != QSize(virtWidth_, virtHeight_))
        bitmap_ = QImage(std::max(virtWidth_, 0), std::max(virtHeight_, 0), QImage::Format_RGB32);
    bitmap_.fill(color_);

    QPainter painter(this);
    painter.fillRect(event->rect(), color_);
    const int h = std::min(virtHeight_, height());
    const int w = std::min(virtWidth_ - horzOffset_, width());
    if (w > 0 && h > 0 && !bitmap_.isNull())
        painter.drawImage(QRect(0, 0, w, h), bitmap_, QRect(horzOffset_, 0, w, h));
}
