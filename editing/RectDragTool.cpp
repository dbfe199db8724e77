// Dragged-rectangle tool base.
#include "editing/RectDragTool.h"

#include "view/PanelWithCurves.h"

#include <QMouseEvent>
#include <QPainter>

void TRectDragTool::MousePress(QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton)
        return;
    dragging_ = true;
    start_ = end_ = event.position().toPoint();
}

void TRectDragTool::MouseMove(QMouseEvent& event)
{
    if (!dragging_ || !(event.buttons() & Qt::LeftButton))
        return;
    end_ = event.position().toPoint();
    host_.Panel().update();
}

void TRectDragTool::MouseRelease(QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    host_.Panel().update();
    RectDragged(start_, event.position().toPoint());
}

void TRectDragTool::Cancel()
{
    if (!dragging_)
        return;
    dragging_ = false;
    host_.Panel().update();
}

void TRectDragTool::PaintOverlay(QPainter& painter, const PanelCoordinates&)
{
    if (!dragging_)
        return;
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(start_, end_).normalized());
}
