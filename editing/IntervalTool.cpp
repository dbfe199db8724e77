// Interval tool.
#include "editing/IntervalTool.h"

#include "view/PanelWithCurves.h"

#include <QMouseEvent>

void TIntervalTool::MousePress(QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton)
        return;
    NewIntervalTop = static_cast<float>(host_.Panel().GetDepthValue(event.position().toPoint().y()));
    pressed_ = true;
}

void TIntervalTool::MouseRelease(QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    const auto NewIntervalBottom = static_cast<float>(host_.Panel().GetDepthValue(event.position().toPoint().y()));
    host_.AddInterval(NewIntervalTop, NewIntervalBottom);
    host_.ToolDone();
}
