// Tools that change how curves are shown: track width, dragging curves sideways and the
// rectangle zooms.
#pragma once

#include "editing/RectDragTool.h"

#include <QTimer>

// While the left button is held on a curve, its track widens (factor > 1) or narrows every
// 200 ms; the value under the mouse stays under it.
class TTrackZoomTool : public TPanelTool {
public:
    TTrackZoomTool(TToolHost& host, double factor);
    void MousePress(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    void MouseRelease(QMouseEvent& event) override;
    void Cancel() override;

private:
    void ZoomStep();

    double factor_;
    int curve_ = -1;
    QPoint last_;
    QTimer timer_;
};

// The panel drags curves sideways itself while this tool is current.
class TCurveDragTool : public TPanelTool {
public:
    using TPanelTool::TPanelTool;
    void Activate() override;
    void Deactivate() override;
};

// A dragged rectangle zooms the curves inside it across (horizontal) or the depth scale.
class TZoomRectTool : public TRectDragTool {
public:
    TZoomRectTool(TToolHost& host, bool vertical) : TRectDragTool(host), vertical_(vertical) {}
    void Activate() override;
    void Deactivate() override;

    // Zooms to the rectangle of the two corners.
    void ZoomToRect(QPoint corner1, QPoint corner2);

protected:
    void RectDragged(QPoint corner1, QPoint corner2) override { ZoomToRect(corner1, corner2); }

private:
    void ZoomAcross(const QRect& square);
    void ZoomDepth(const QRect& square);

    bool vertical_;
    bool crossMouse_ = true;
};
