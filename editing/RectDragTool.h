// Tools acting on a rectangle dragged with the left button over the panel, shown as a black
// dotted rubber band while it is dragged.
#pragma once

#include "editing/PanelTool.h"

class TRectDragTool : public TPanelTool {
public:
    using TPanelTool::TPanelTool;
    void MousePress(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    void MouseRelease(QMouseEvent& event) override;
    // Drops a rectangle being dragged.
    void Cancel() override;
    // DrawSelectionRect: the rectangle being dragged.
    void PaintOverlay(QPainter& painter, const PanelCoordinates& coordinates) override;

protected:
    // The button was released: the two corners, in any order.
    virtual void RectDragged(QPoint corner1, QPoint corner2) = 0;

private:
    bool dragging_ = false;
    QPoint start_;
    QPoint end_;
};
