// Panel tool base.
#include "editing/PanelTool.h"

#include "view/PanelWithCurves.h"

#include <QMouseEvent>

int TPanelTool::PressedCurve(const QMouseEvent& event) const
{
    return event.button() == Qt::LeftButton ? host_.Panel().GetCurrentCurve() - 1 : -1;
}
