// Panel axis: scale, scrolling offset and the derived depth-label interval.
#include "view/Axis.h"

#include "view/PanelCoordinates.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double kCmPerInch = 2.54;
constexpr double kMinLabelSpacingCm = 1.5;

float ScreenPixelsPerCm(bool vertical)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return float(96 / kCmPerInch);
    return float((vertical ? screen->logicalDotsPerInchY() : screen->logicalDotsPerInchX()) / kCmPerInch);
}

// The smallest 1, 2 or 5 x 10^k not below `minimum`.
double NiceInterval(double minimum)
{
    if (!(minimum > 0) || !std::isfinite(minimum))
        return 1;
    double power = std::pow(10.0, std::floor(std::log10(minimum)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= minimum * (1 - 1e-12))
            return factor * power;
    return 10 * power;
}

}  // namespace

TAxis::TAxis(Kind kind) : kind_(kind), pixelsPerCm_(ScreenPixelsPerCm(kind == DepthAxis))
{
    Recalculate();
}

void TAxis::SetDepthArray(const float* values, int count)
{
    depths_ = count > 0 ? values : nullptr;
    count_ = depths_ ? count : 0;
    Recalculate();
}

void TAxis::ClearDepthArray()
{
    SetDepthArray(nullptr, 0);
}

void TAxis::SetDepthStep(float step)
{
    MarksStepValue = step;
    const double thousandths = std::trunc(double(step) * 1000.0);
    DepthStepValue = std::isnan(thousandths) ? 0
                                             : static_cast<int>(std::clamp(thousandths, double(INT_MIN), double(INT_MAX)));
}

float TAxis::DepthStep() const
{
    if (MarksStepValue > 0)
        return MarksStepValue;
    return count_ > 1 ? (LastDepth() - FirstDepth()) / float(count_ - 1) : 0.0f;
}

void TAxis::Recalculate()
{
    pixelsPerUnit_ = double(pixelsPerCm_) * 100.0 * unitMetres_ / double(scaleFactor_);
    double span = count_ > 1 ? std::round((double(LastDepth()) - double(FirstDepth())) * pixelsPerUnit_) : 0.0;
    spanPixels_ = int(std::clamp(span, 0.0, 1.0e9));
    labelInterval_ = NiceInterval(kMinLabelSpacingCm * double(pixelsPerCm_) / pixelsPerUnit_);
    SetOffset(offset_);
}

int TAxis::MaxOffset() const
{
    // The last depth may come up to the last row of the view.
    return std::max(0, spanPixels_ - viewLength_ + 1);
}

void TAxis::SetOffset(int offset)
{
    if (kind_ == DepthAxis)
        offset = std::clamp(offset, 0, MaxOffset());
    else
        offset = std::clamp(offset, -kMaxPixelOffset, kMaxPixelOffset);
    if (offset == offset_)
        return;
    offset_ = offset;
    if (OnOffsetChange)
        OnOffsetChange(offset_);
}

void TAxis::SetScaleFactorValue(int n)
{
    if (n < 1 || n == scaleFactor_)
        return;
    scaleFactor_ = n;
    Recalculate();
}

void TAxis::SetUnitMetres(double metres)
{
    metres = metres > 0.0 && std::isfinite(metres) ? metres : 1.0;
    if (metres == unitMetres_)
        return;
    unitMetres_ = metres;
    Recalculate();
}

void TAxis::SetPixelsPerCm(float pixels)
{
    if (!(pixels > 0))
        return;
    pixelsPerCm_ = pixels;
    Recalculate();
}

void TAxis::SetViewLength(int pixels)
{
    viewLength_ = std::max(0, pixels);
    Recalculate();
}
