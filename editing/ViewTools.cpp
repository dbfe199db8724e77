// Track width, curve dragging and rectangle zoom tools.
#include "editing/ViewTools.h"

#include "core/Lasfile.h"
#include "platform/ErrorReport.h"
#include "view/PanelWithCurves.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kTrackZoomPeriodMs = 200;
constexpr int kMinSelection = 4;  // pixels: a smaller rectangle zooms nothing
constexpr int kMaxDepthScale = 100000;  // the largest 1:N the scale box offers
}  // namespace

TTrackZoomTool::TTrackZoomTool(TToolHost& host, double factor) : TPanelTool(host), factor_(factor)
{
    timer_.setInterval(kTrackZoomPeriodMs);
    QObject::connect(&timer_, &QTimer::timeout, platform::Guarded([this] { ZoomStep(); }));
}

void TTrackZoomTool::MousePress(QMouseEvent& event)
{
    curve_ = PressedCurve(event);
    if (curve_ < 0)
        return;
    last_ = event.position().toPoint();
    ZoomStep();
    timer_.start();
}

void TTrackZoomTool::MouseMove(QMouseEvent& event)
{
    if (timer_.isActive())
        last_ = event.position().toPoint();
}

void TTrackZoomTool::MouseRelease(QMouseEvent& event)
{
    if (event.button() == Qt::LeftButton)
        Cancel();
}

void TTrackZoomTool::Cancel()
{
    timer_.stop();
    curve_ = -1;
}

void TTrackZoomTool::ZoomStep()
{
    TPanelWithCurves& panel = host_.Panel();
    TCurve* curve = panel.GetCurve(curve_);
    if (!curve) {
        Cancel();
        return;
    }
    const PanelCoordinates coordinates = panel.Coordinates();
    const double x = last_.x();
    const double value = curve->ValueAt(x, coordinates);
    curve->SetPixelsPerUnit(curve->PixelsPerUnit() * factor_);
    const double column = curve->ColumnOf(value, coordinates);
    const double shifted = std::clamp(curve->XOffset() + (x - column), -double(kMaxPixelOffset), double(kMaxPixelOffset));
    curve->SetXOffset(static_cast<int>(std::lround(shifted)));
    panel.Repaint();
}

void TCurveDragTool::Activate()
{
    host_.Panel().PanelState = TPanelWithCurves::PSDrag;
}

void TCurveDragTool::Deactivate()
{
    host_.Panel().PanelState = TPanelWithCurves::PSNormal;
}

void TZoomRectTool::Activate()
{
    crossMouse_ = host_.Panel().CrossMouse;
    if (!vertical_)
        host_.Panel().CrossMouse = false;
}

void TZoomRectTool::Deactivate()
{
    Cancel();
    host_.Panel().CrossMouse = crossMouse_;
}

void TZoomRectTool::ZoomToRect(QPoint corner1, QPoint corner2)
{
    const TLASFile* document = host_.Document();
    if (!document || document->GetCurvesCount() < 2 || document->GetPointCount() < 1)
        return;
    const QRect square(QPoint(std::min(corner1.x(), corner2.x()), std::min(corner1.y(), corner2.y())),
                       QPoint(std::max(corner1.x(), corner2.x()), std::max(corner1.y(), corner2.y())));
    if (vertical_)
        ZoomDepth(square);
    else
        ZoomAcross(square);
}

// Every curve with a sample inside the rectangle is stretched so the rectangle's width fills
// the drawing area; the value at its left edge comes to the area's left edge.
void TZoomRectTool::ZoomAcross(const QRect& square)
{
    TPanelWithCurves& panel = host_.Panel();
    const QRect area = panel.DrawingArea();
    const int width = square.right() - square.left();  // between the two corners
    if (width <= kMinSelection || area.width() <= 0)
        return;
    const double factor = double(area.width()) / double(width);
    const TCurve* first = nullptr;
    double leftValue = 0;
    for (int i = 0; i < panel.GetCurvesCount(); ++i) {
        if (!panel.CurveBelongsSquare(i, square.topLeft(), square.bottomRight()))
            continue;
        TCurve* curve = panel.GetCurve(i);
        if (!first) {
            first = curve;
            leftValue = curve->ValueAt(square.left(), panel.Coordinates());
        }
        curve->SetPixelsPerUnit(curve->PixelsPerUnit() * factor);
    }
    if (!first)
        return;
    const double column = first->ColumnOf(leftValue, panel.Coordinates());
    panel.XAxisInfo.SetOffset(panel.XAxisInfo.Offset() + static_cast<int>(std::lround(column - area.left())));
    panel.Repaint();
}

// The depth scale at which the rectangle's depth span fills the drawing area's height.
void TZoomRectTool::ZoomDepth(const QRect& square)
{
    TPanelWithCurves& panel = host_.Panel();
    const QRect area = panel.DrawingArea();
    if (square.bottom() - square.top() < kMinSelection || area.height() <= 0)
        return;
    const PanelCoordinates c = panel.Coordinates();
    const int i1 = c.NearestIndex(c.DepthAt(square.top()));
    const int i2 = c.NearestIndex(c.DepthAt(square.bottom()));
    if (i1 < 0 || i2 < 0)
        return;
    const double spanCm = double(i2 - i1) * double(host_.Document()->GetStep()) * 100.0;
    const double heightCm = double(area.height()) / double(panel.YAxisInfo.PixelsPerCm());
    const double scale = std::trunc(spanCm / heightCm);
    const double middle = c.depths[i1 + (i2 - i1) / 2];
    host_.SetDepthScale(static_cast<int>(std::clamp(scale, 1.0, double(kMaxDepthScale))));
    panel.GotoDepth(middle);
}
