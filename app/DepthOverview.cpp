// Depth overview paint box.
#include "app/DepthOverview.h"

#include "editing/IntervalManager.h"
#include "platform/NumberText.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kMargin = 8;  // rows above and below the strip, room for the end labels
constexpr int kTick = 4;    // length of a label's tick
constexpr int kRightRoom = 5;  // kept free right of the labels for the window's frame

// Smallest 1, 2 or 5 x 10^k not below `minimum`.
double NiceStep(double minimum)
{
    if (minimum <= 0.0)
        return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(minimum)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= minimum)
            return factor * power;
    return 10.0 * power;
}
}  // namespace

TDepthOverview::TDepthOverview(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(false);
    setToolTip(QStringLiteral("Весь интервал глубин; щелчок переходит на глубину"));
}

void TDepthOverview::SetRange(double first, double last)
{
    first_ = first;
    last_ = last;
    updateGeometry();
    update();
}

void TDepthOverview::SetVisibleWindow(double top, double bottom)
{
    top_ = top;
    bottom_ = bottom;
    update();
}

QRect TDepthOverview::Strip() const
{
    return QRect(0, kMargin, width(), std::max(1, height() - 2 * kMargin));
}

int TDepthOverview::DepthToRow(double depth) const
{
    const QRect strip = Strip();
    if (!HasRange())
        return strip.top();
    return strip.top() + static_cast<int>(std::lround((depth - first_) / (last_ - first_) * (strip.height() - 1)));
}

double TDepthOverview::RowToDepth(int y) const
{
    const QRect strip = Strip();
    const double t = std::clamp(double(y - strip.top()) / std::max(1, strip.height() - 1), 0.0, 1.0);
    return first_ + t * (last_ - first_);
}

std::vector<TDepthOverview::TDepthLabel> TDepthOverview::Labels() const
{
    std::vector<TDepthLabel> labels;
    if (!HasRange())
        return labels;
    // A nice depth step, labels at least 30 rows apart.
    const QRect strip = Strip();
    const double perRow = (last_ - first_) / std::max(1, strip.height() - 1);
    const double step = NiceStep(perRow * std::max(30, fontMetrics().height() * 2));
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    for (double depth = std::ceil(first_ / step) * step; depth <= last_ + step * 1e-6; depth += step)
        labels.push_back({DepthToRow(depth), platform::FloatToStrF(depth, 15, decimals)});
    return labels;
}

int TDepthOverview::LabelLeft() const
{
    // A blank's width between the tick and its label, so that the tick never reads as a minus.
    return kTick + fontMetrics().horizontalAdvance(QLatin1Char(' ')) + 1;
}

QSize TDepthOverview::sizeHint() const
{
    int widest = 0;
    for (const TDepthLabel& label : Labels())
        widest = std::max(widest, fontMetrics().horizontalAdvance(label.text));
    return QSize(std::max(minimumWidth(), LabelLeft() + widest + kRightRoom), QWidget::sizeHint().height());
}

void TDepthOverview::resizeEvent(QResizeEvent* event)
{
    // The label step, and so the labels' width, follows the height.
    if (event->size().height() != event->oldSize().height())
        updateGeometry();
    QWidget::resizeEvent(event);
}

void TDepthOverview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (!HasRange())
        return;
    const QRect strip = Strip();
    if (intervals_)
        intervals_->DrawIntervals(painter, strip, static_cast<float>(first_), static_cast<float>(last_));

    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics metrics = fontMetrics();
    const int left = LabelLeft();
    for (const TDepthLabel& label : Labels()) {
        painter.drawLine(0, label.row, kTick - 1, label.row);
        painter.drawText(QRect(left, label.row - metrics.height() / 2, width() - left, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, label.text);
    }

    // The visible window: at least 3 rows high so that it stays seen on long files.
    const int y1 = DepthToRow(std::max(top_, first_));
    const int y2 = std::max(y1 + 3, DepthToRow(std::min(bottom_, last_)));
    painter.setPen(QPen(Qt::red, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(1, y1, width() - 3, y2 - y1));
}

void TDepthOverview::mousePressEvent(QMouseEvent* event)
{
    if (HasRange() && event->button() == Qt::LeftButton)
        emit DepthClicked(RowToDepth(event->position().toPoint().y()));
}

void TDepthOverview::mouseMoveEvent(QMouseEvent* event)
{
    if (HasRange() && (event->buttons() & Qt::LeftButton))
        emit DepthClicked(RowToDepth(event->position().toPoint().y()));
}
