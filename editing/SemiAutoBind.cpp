// Semi-automatic binding state.
#include "editing/SemiAutoBind.h"

#include "core/Lasfile.h"

#include <algorithm>

namespace {
tagAutoBindCurve Record(const TLASFile& document, int curve, int first, int last, bool useMinimum)
{
    return {curve, document.GetCurveName(curve), first, last, useMinimum, -1};
}
}  // namespace

void TSemiAutoBindCurves::SetBase(int curve, int first, int last, bool useMinimum, TLASFile* document)
{
    Clear();
    document_ = document;
    if (document_)
        base_ = Record(*document_, curve, first, last, useMinimum);
}

int TSemiAutoBindCurves::FindBaseFeature(int forced)
{
    if (!document_)
        return -1;
    base_.feature = forced >= 0 ? forced : FindFeature(*document_, base_);
    stage_ = 1;
    return base_.feature;
}

int TSemiAutoBindCurves::AddBound(int curve, int first, int last, bool useMinimum)
{
    if (!document_ || stage_ < 1 || curve == base_.curve)
        return -1;
    bound_.push_back(std::make_unique<tagAutoBindCurve>(Record(*document_, curve, first, last, useMinimum)));
    return static_cast<int>(bound_.size()) - 1;
}

int TSemiAutoBindCurves::SetBoundFeature(int position, int forced)
{
    if (!document_ || stage_ < 1 || position < 0 || position >= static_cast<int>(bound_.size()))
        return -1;
    stage_ = 2;
    tagAutoBindCurve& record = *bound_[static_cast<std::size_t>(position)];
    record.feature = forced >= 0 ? forced : FindFeature(*document_, record);
    return record.feature;
}

void TSemiAutoBindCurves::Clear()
{
    base_ = {};
    bound_.clear();
    document_ = nullptr;
    stage_ = 0;
}

int TSemiAutoBindCurves::FindFeature(const TLASFile& document, const tagAutoBindCurve& record)
{
    const float* values = document.GetCurveData(record.curve);
    const float null = document.GetNullValue();
    const int first = std::max(record.first, 0);
    const int last = std::min(record.last, document.GetPointCount() - 1);
    int found = -1;
    for (int i = first; values && i <= last; ++i) {
        if (values[i] == null)
            continue;
        if (found < 0 || (record.useMinimum ? values[i] < values[found] : values[i] > values[found]))
            found = i;
    }
    return found < 0 ? record.first : found;
}
