// Curve panel mouse handling: hit tests, hover, dragging of curves and axes, interval
// selection, and the owner's mouse events.
#include "view/PanelWithCurves.h"

#include "platform/NumberText.h"

#include <QMouseEvent>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// How close to a drawn curve the mouse must be to be over it, in pixels.
constexpr double kHitDistance = 5;

double DistanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

}  // namespace

void TPanelWithCurves::CheckData() const
{
    if (!OnCheckData || checkingData_)
        return;
    checkingData_ = true;
    const_cast<TPanelWithCurves*>(this)->Fire(OnCheckData);
    checkingData_ = false;
}

TPanelWithCurves::Hit TPanelWithCurves::HitTest(QPoint point) const
{
    CheckData();
    Hit best;
    const PanelCoordinates c = Coordinates();
    if (!DrawingArea().contains(point))
        return best;
    const int margin = int(std::ceil(kHitDistance));
    int first = 0;
    int last = -1;
    if (!c.IndexRange(point.y() - margin, point.y() + margin, first, last))
        return best;
    best.distance = std::numeric_limits<double>::max();
    for (int index = 0; index < GetCurvesCount(); ++index) {
        const TCurve& curve = *curves_[std::size_t(index)];
        const int end = std::min(last, curve.Count() - 1);
        if (!curve.IsVisible())
            continue;
        QPointF previous;
        bool previousValid = false;
        for (int i = first; i <= end; ++i) {
            const float v = curve.Values()[i];
            if (curve.IsNull(v)) {
                previousValid = false;
                continue;
            }
            const QPointF here(std::round(curve.ColumnOf(v, c)), c.RowOf(c.depths[i]));
            const double d = previousValid ? DistanceToSegment(point, previous, here)
                                           : std::hypot(point.x() - here.x(), point.y() - here.y());
            if (d <= kHitDistance && d < best.distance) {
                best.curve = index;
                best.sample = i;
                best.distance = d;
            }
            previous = here;
            previousValid = true;
        }
    }
    return best;
}

void TPanelWithCurves::mousePressEvent(QMouseEvent* event)
{
    CheckData();
    mouse_ = event->position().toPoint();
    // The second press of a double click ends in no click of its own, as on Windows.
    clickArmed_ = event->button() == Qt::LeftButton && event->type() != QEvent::MouseButtonDblClick;
    if (event->button() == Qt::LeftButton) {
        dragStart_ = mouse_;
        if (mouse_.x() < DrawingArea().left() && mouse_.y() >= DrawingArea().top()) {
            drag_ = Drag::DepthAxis;
            dragStartOffset_ = YAxisInfo.Offset();
        } else if (mouse_.y() < DrawingArea().top() && mouse_.x() >= DrawingArea().left()) {
            drag_ = Drag::ValueAxis;
            dragStartOffset_ = XAxisInfo.Offset();
        } else if (DrawingArea().contains(mouse_) && event->modifiers().testFlag(Qt::ShiftModifier)) {
            drag_ = Drag::Interval;
            dragStartIndex_ = Coordinates().NearestIndex(GetDepthValue(mouse_.y()));
        } else if (const Hit hit = HitTest(mouse_); hit.curve >= 0) {
            TCurve* curve = curves_[std::size_t(hit.curve)].get();
            if (event->modifiers().testFlag(Qt::ControlModifier)) {
                curve->SetSelected(!curve->IsSelected());
                Repaint();
            }
            if (PanelState == PSDrag) {
                drag_ = Drag::Curve;
                dragCurve_ = hit.curve;
                dragStartOffset_ = curve->XOffset();
            }
            Fire(OnCurveClick, this, hit.curve);
        }
    }
    Fire(OnMouseDown, *event);
}

void TPanelWithCurves::mouseMoveEvent(QMouseEvent* event)
{
    CheckData();
    mouse_ = event->position().toPoint();
    mouseInside_ = rect().contains(mouse_);
    if (OwnMouseMove) {
        const QPoint moved = mouse_ - dragStart_;
        switch (drag_) {
        case Drag::DepthAxis:
            YAxisInfo.SetOffset(dragStartOffset_ - moved.y());
            Repaint();
            break;
        case Drag::ValueAxis:
            XAxisInfo.SetOffset(dragStartOffset_ - moved.x());
            Repaint();
            break;
        case Drag::Curve:
            if (TCurve* curve = GetCurve(dragCurve_)) {
                curve->SetXOffset(dragStartOffset_ + moved.x());
                Repaint();
            }
            break;
        case Drag::Interval:
            if (dragStartIndex_ >= 0) {
                Interval.SetRange(dragStartIndex_, Coordinates().NearestIndex(GetDepthValue(mouse_.y())));
                Repaint();
            }
            break;
        case Drag::None:
            UpdateHover(*event);
            break;
        }
        if (CrossMouse)
            update();
    } else {
        ClearHover();
    }
    Fire(OnMouseMove, *event);
}

void TPanelWithCurves::ClearHover()
{
    if (hovered_ < 0)
        return;
    hovered_ = -1;
    unsetCursor();
    QToolTip::hideText();
    Repaint();
}

void TPanelWithCurves::UpdateHover(QMouseEvent& event)
{
    const Hit hit = HitTest(mouse_);
    if (hit.curve != hovered_) {
        hovered_ = hit.curve;
        if (hovered_ >= 0)
            setCursor(Qt::PointingHandCursor);
        else
            unsetCursor();
        Repaint();
    }
    if (hit.curve < 0 || !ShowHints) {
        QToolTip::hideText();
        return;
    }
    const TCurve& curve = *curves_[std::size_t(hit.curve)];
    const QString depth = RowDepthText ? RowDepthText(hit.sample)
                                       : platform::FloatToStrF(YAxisInfo.DepthArray()[hit.sample], 7, 2);
    const QString hint = curve.Caption() + QStringLiteral(": ") + ValueTextOf(hit.curve, curve.Values()[hit.sample]) +
                         QStringLiteral(" (") + depth + QStringLiteral(")");
    QToolTip::showText(event.globalPosition().toPoint(), hint, this);
}

void TPanelWithCurves::mouseReleaseEvent(QMouseEvent* event)
{
    CheckData();
    mouse_ = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        drag_ = Drag::None;
    Fire(OnMouseUp, *event);
    if (event->button() == Qt::LeftButton && clickArmed_ && rect().contains(mouse_))
        Fire(OnClick, *event);
    clickArmed_ = false;
}

void TPanelWithCurves::mouseDoubleClickEvent(QMouseEvent* event)
{
    CheckData();
    mouse_ = event->position().toPoint();  // the owner asks what lies under the mouse
    Fire(OnDblClick, *event);
    mousePressEvent(event);
}

void TPanelWithCurves::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    mouseInside_ = false;
    if (drag_ == Drag::None)
        ClearHover();
    update();
}
