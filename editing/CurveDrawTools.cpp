// The pencil and the line tools.
#include "editing/CurveDrawTools.h"

#include "view/PanelWithCurves.h"

#include <QMouseEvent>
#include <algorithm>

void TPencilTool::Activate()
{
    crossMouse_ = host_.Panel().CrossMouse;
    host_.Panel().CrossMouse = false;
}

void TPencilTool::Deactivate()
{
    Cancel();
    host_.Panel().CrossMouse = crossMouse_;
}

// The stroke starts only once its undo step is taken: a snapshot that fails leaves the tool idle.
void TPencilTool::MousePress(QMouseEvent& event)
{
    const int pressed = PressedCurve(event);
    if (pressed < 0)
        return;
    host_.Snapshot("'Карандаш'");
    curve_ = pressed;
    last_ = event.position().toPoint();
    changed_ = false;
    xOffset_ = host_.Panel().GetCurve(curve_)->XOffset();
}

void TPencilTool::MouseMove(QMouseEvent& event)
{
    if (curve_ < 0 || !(event.buttons() & Qt::LeftButton))
        return;
    const QPoint at = event.position().toPoint();
    TPanelWithCurves& panel = host_.Panel();
    panel.SetLine(curve_, last_.x(), last_.y(), at.x(), at.y());
    last_ = at;
    changed_ = true;
    panel.Repaint();
}

void TPencilTool::MouseRelease(QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton)
        return;
    if (const TCurve* curve = host_.Panel().GetCurve(curve_); curve && changed_)
        host_.RecordOffsetChange(curve_, curve->XOffset() - xOffset_);
    Cancel();
}

// A press that drew nothing leaves no step to undo.
void TPencilTool::Cancel()
{
    if (curve_ >= 0 && !changed_)
        host_.DiscardSnapshot();
    curve_ = -1;
}

void TLineTool::MousePress(QMouseEvent& event)
{
    const int pressed = PressedCurve(event);
    if (pressed < 0)
        return;
    auto copy = std::make_unique<TCurveCopy>(&host_.Panel(), pressed, 0);
    host_.Snapshot("'Линия'");
    curve_ = pressed;
    start_ = event.position().toPoint();
    changed_ = false;
    copy_ = std::move(copy);
}

void TLineTool::MouseMove(QMouseEvent& event)
{
    if (curve_ < 0 || !copy_ || !(event.buttons() & Qt::LeftButton))
        return;
    TPanelWithCurves& panel = host_.Panel();
    const QPoint at = event.position().toPoint();
    copy_->Restore();
    panel.SetLine(curve_, start_.x(), start_.y(), at.x(), at.y());
    changed_ = true;
    panel.Repaint();
}

void TLineTool::MouseRelease(QMouseEvent& event)
{
    if (event.button() != Qt::LeftButton || curve_ < 0)
        return;
    if (!changed_)
        host_.DiscardSnapshot();
    else if (const TCurve* curve = host_.Panel().GetCurve(curve_))
        host_.RecordOffsetChange(curve_, curve->XOffset() - copy_->XOffset());
    copy_.reset();
    curve_ = -1;
}

void TLineTool::Cancel()
{
    if (copy_) {
        copy_->Restore();
        host_.Panel().Repaint();
    }
    if (curve_ >= 0)
        host_.DiscardSnapshot();
    copy_.reset();
    curve_ = -1;
}
