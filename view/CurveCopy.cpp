// Preview curve copies.
#include "view/CurveCopy.h"

#include "view/PaintHelpers.h"
#include "view/PanelWithCurves.h"

#include <algorithm>
#include <cstdlib>

TCurveCopy::TCurveCopy(TPanelWithCurves* panel, int sourceIndex, int extraOffset)
    : TCurve(panel, nullptr, 0, 0, 0), sourceIndex_(sourceIndex), extraOffset_(extraOffset)
{
    TakeSnapshot();
}

TCurve* TCurveCopy::Source() const
{
    return panel_->GetCurve(sourceIndex_);
}

void TCurveCopy::TakeSnapshot()
{
    const TCurve* source = Source();
    if (!source) {
        saved_.clear();
        SetData(nullptr, 0);
        return;
    }
    saved_.assign(source->Values(), source->Values() + source->Count());
    values_ = saved_.data();
    count_ = static_cast<int>(saved_.size());
    nullValue_ = source->NullValue();
    hasValues_ = source->HasValues();
    minimum_ = source->Minimum();
    maximum_ = source->Maximum();
    mean_ = source->Mean();
    pixelsPerUnit_ = source->PixelsPerUnit();
    lineWidth_ = source->LineWidth();
    visible_ = source->IsVisible();
    color_ = LightenColor(source->Color());
    xOffset_ = source->XOffset() + extraOffset_;
}

void TCurveCopy::ShiftBy(int n)
{
    const TCurve* source = Source();
    if (n == 0 || !source || source->Count() != count_) {
        TakeSnapshot();
        return;
    }
    const long long count = count_;
    const long long shift = n;
    const float* from = source->Values();
    std::fill(saved_.begin(), saved_.end(), nullValue_);
    if (std::llabs(shift) >= count)
        return;
    if (shift > 0)
        std::copy(from, from + (count - shift), saved_.begin() + shift);
    else
        std::copy(from - shift, from + count, saved_.begin());
}

void TCurveCopy::Restore()
{
    TCurve* source = Source();
    if (!source || source->Count() != count_)
        return;
    std::copy(saved_.begin(), saved_.end(), source->Values());
    source->Update();
    source->SetXOffset(xOffset_ - extraOffset_);
}

void TTempCurvesGroup::ShiftVert(int n)
{
    for (const auto& copy : copies_)
        copy->ShiftBy(n);
}

void TTempCurvesGroup::Paint(QPainter& painter, const PanelCoordinates& coordinates) const
{
    for (const auto& copy : copies_)
        copy->Paint(painter, coordinates, 0);
}
