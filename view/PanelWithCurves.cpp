// Curve panel: curves, the coordinate model's queries and the editing operations.
#include "view/PanelWithCurves.h"

#include "core/ParallelFor.h"

#include <QResizeEvent>

#include <algorithm>
#include <cmath>

TPanelWithCurves::TPanelWithCurves(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    YAxisInfo.OnOffsetChange = [this](int offset) { Fire(OnYOffsetChange, offset); };
    Interval.OnChange = [this](int first, int last) { Fire(OnIntervalChange, first, last); };
    SyncAxesToArea();
}

TPanelWithCurves::~TPanelWithCurves() = default;

TCurve* TPanelWithCurves::GetCurve(int index) const
{
    return index >= 0 && index < GetCurvesCount() ? curves_[std::size_t(index)].get() : nullptr;
}

TCurve* TPanelWithCurves::AddCurve(float* values, int count, std::uint32_t color, float nullValue)
{
    curves_.push_back(std::make_unique<TCurve>(this, values, count, color, nullValue));
    return curves_.back().get();
}

void TPanelWithCurves::DeleteCurve(int index)
{
    if (!GetCurve(index))
        return;
    curves_.erase(curves_.begin() + index);
    hovered_ = -1;
    if (drag_ == Drag::Curve)
        drag_ = Drag::None;
}

PanelCoordinates TPanelWithCurves::Coordinates() const
{
    PanelCoordinates c;
    c.area = DrawingArea();
    c.depths = YAxisInfo.DepthArray();
    c.count = YAxisInfo.DepthCount();
    c.firstDepth = YAxisInfo.FirstDepth();
    c.pixelsPerDepth = YAxisInfo.PixelsPerUnit();
    c.depthOffset = YAxisInfo.Offset();
    c.valueOffset = XAxisInfo.Offset();
    c.step = YAxisInfo.DepthStep();
    return c;
}

void TPanelWithCurves::SetAxisSizes(int depthAxisWidth, int valueAxisHeight)
{
    depthAxisWidth_ = std::max(0, depthAxisWidth);
    valueAxisHeight_ = std::max(0, valueAxisHeight);
    SyncAxesToArea();
    Repaint();
}

QRect TPanelWithCurves::DrawingArea() const
{
    return QRect(depthAxisWidth_, valueStripHeight_, std::max(0, width() - depthAxisWidth_),
                 std::max(0, height() - valueStripHeight_));
}

void TPanelWithCurves::SyncAxesToArea()
{
    const QRect area = DrawingArea();
    if (XAxisInfo.ViewLength() != area.width())
        XAxisInfo.SetViewLength(area.width());
    if (YAxisInfo.ViewLength() != area.height())
        YAxisInfo.SetViewLength(area.height());
}

void TPanelWithCurves::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    SyncAxesToArea();
    Redraw();
}

int TPanelWithCurves::GetCurrentCurve() const
{
    return HitTest(mouse_).curve + 1;
}

int TPanelWithCurves::GetDepthArrayNumber(int y) const
{
    CheckData();
    return Coordinates().IndexAt(y);
}

double TPanelWithCurves::GetDepthValue(int y) const
{
    return Coordinates().DepthAt(y);
}

double TPanelWithCurves::GetFirstVisibleDepth() const
{
    return Coordinates().TopDepth();
}

double TPanelWithCurves::GetLastVisibleDepth() const
{
    return Coordinates().BottomDepth();
}

bool TPanelWithCurves::CurveBelongsSquare(int curveIndex, QPoint corner1, QPoint corner2) const
{
    CheckData();
    const TCurve* curve = GetCurve(curveIndex);
    if (!curve || !curve->IsVisible())
        return false;
    // Built from ordered corners: Qt 6's normalized() would drop the edges of a reversed rectangle.
    const QRect square(QPoint(std::min(corner1.x(), corner2.x()), std::min(corner1.y(), corner2.y())),
                       QPoint(std::max(corner1.x(), corner2.x()), std::max(corner1.y(), corner2.y())));
    const PanelCoordinates c = Coordinates();
    int first = 0;
    int last = -1;
    if (!c.IndexRange(square.top(), square.bottom(), first, last))
        return false;
    last = std::min(last, curve->Count() - 1);
    for (int i = first; i <= last; ++i) {
        float v = curve->Values()[i];
        if (curve->IsNull(v))
            continue;
        QPoint point(int(std::round(curve->ColumnOf(v, c))), c.RowOf(c.depths[i]));
        if (square.contains(point))
            return true;
    }
    return false;
}

void TPanelWithCurves::SetLine(int curveIndex, int x1, int y1, int x2, int y2)
{
    CheckData();
    TCurve* curve = GetCurve(curveIndex);
    const PanelCoordinates c = Coordinates();
    const int n = curve ? std::min(curve->Count(), c.count) : 0;
    if (n <= 0 || !(curve->PixelsPerUnit() > 0))
        return;
    const double margin = std::fabs(c.step) / 2;
    const double upper = std::min(c.DepthAt(y1), c.DepthAt(y2));
    const double lower = std::max(c.DepthAt(y1), c.DepthAt(y2));
    if (lower < double(c.depths[0]) - margin || upper > double(c.depths[n - 1]) + margin)
        return;  // the whole segment lies beyond one end of the curve
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int first = std::min(c.NearestIndex(c.DepthAt(y1)), n - 1);
    const int last = std::min(c.NearestIndex(c.DepthAt(y2)), n - 1);
    const float oldMinimum = curve->Minimum();
    float* values = curve->Values();
    for (int i = first; i <= last; ++i) {
        double x = x2;
        if (y2 != y1) {
            double t = std::clamp(double(c.RowOf(c.depths[i]) - y1) / double(y2 - y1), 0.0, 1.0);
            x = x1 + t * (x2 - x1);
        }
        values[i] = float(curve->ValueAt(x, c));
    }
    curve->Update();
    // Columns are measured from the minimum: keep the drawn curve where it is when it moves.
    const double shift = (double(curve->Minimum()) - double(oldMinimum)) * curve->PixelsPerUnit();
    curve->SetXOffset(curve->XOffset() + int(std::round(shift)));
}

void TPanelWithCurves::UpdateCurves()
{
    ParallelFor(static_cast<int>(curves_.size()), [this](int i) { curves_[std::size_t(i)]->Update(); });
    Repaint();
}

void TPanelWithCurves::GotoDepth(double depth)
{
    const double row = (depth - double(YAxisInfo.FirstDepth())) * YAxisInfo.PixelsPerUnit();
    YAxisInfo.SetOffset(int(std::round(std::clamp(row, -1.0e9, 1.0e9))) - DrawingArea().height() / 2);
    Repaint();
}

void TPanelWithCurves::SetScaleY(int n)
{
    if (n < 1)
        return;
    const double middle = GetDepthValue(DrawingArea().top() + DrawingArea().height() / 2);
    YAxisInfo.SetScaleFactorValue(n);
    GotoDepth(middle);
}

void TPanelWithCurves::Repaint()
{
    Redraw();
    update();
}

void TPanelWithCurves::ShowBitmap()
{
    update();
}
