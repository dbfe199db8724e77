// Selected depth-index range of the panel and its bound lines.
#include "view/Interval.h"

#include "platform/Colors.h"
#include "view/Axis.h"
#include "view/PanelCoordinates.h"

#include <QPainter>

#include <algorithm>

void THorzBound::Draw(QPainter& painter, const PanelCoordinates& c) const
{
    if (Index < 0 || Index >= c.count)
        return;
    int y = c.RowOf(c.depths[Index]);
    painter.setPen(QPen(platform::ToQColor(Color), 1));
    painter.drawLine(c.area.left(), y, c.area.left() + c.area.width() - 1, y);
}

TInterval::TInterval(const TAxis& depthAxis) : axis_(depthAxis) {}

bool TInterval::IsSet() const
{
    return first_ >= 0 && last_ >= 0 && first_ < axis_.DepthCount();
}

int TInterval::First() const
{
    return IsSet() ? first_ : -1;
}

int TInterval::Last() const
{
    return IsSet() ? std::min(last_, axis_.DepthCount() - 1) : -1;
}

void TInterval::Clear()
{
    Assign(-1, -1);
}

void TInterval::SetRange(int first, int last)
{
    const int count = axis_.DepthCount();
    if (count <= 0) {
        Clear();
        return;
    }
    first = std::clamp(first, 0, count - 1);
    last = std::clamp(last, 0, count - 1);
    Assign(std::min(first, last), std::max(first, last));
}

void TInterval::Assign(int first, int last)
{
    if (first == first_ && last == last_)
        return;
    first_ = first;
    last_ = last;
    if (OnChange)
        OnChange(first_, last_);
}

void TInterval::Draw(QPainter& painter, const PanelCoordinates& c) const
{
    if (!IsSet())
        return;
    int top = c.RowOf(c.depths[First()]);
    int bottom = c.RowOf(c.depths[Last()]);
    QRect band(QPoint(c.area.left(), top), QPoint(c.area.left() + c.area.width() - 1, bottom));
    painter.fillRect(band.intersected(c.area), platform::ToQColor(FillColor));
    for (int index : {First(), Last()})
        THorzBound{index, BoundColor}.Draw(painter, c);
}
