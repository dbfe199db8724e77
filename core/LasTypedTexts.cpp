#include "core/LasTypedTexts.h"

#include "core/LasNumbers.h"

void LasTypedTexts::Set(int curve, int sample, std::string text)
{
    if (curve < 0 || sample < 0)
        return;
    if (curves_.size() <= static_cast<size_t>(curve))
        curves_.resize(static_cast<size_t>(curve) + 1);
    curves_[static_cast<size_t>(curve)][sample] = std::move(text);
}

void LasTypedTexts::EraseCurve(int curve)
{
    if (curve >= 0 && static_cast<size_t>(curve) < curves_.size())
        curves_.erase(curves_.begin() + curve);
}

const std::string* LasTypedTexts::Of(int curve, int sample, float value) const
{
    if (curve < 0 || static_cast<size_t>(curve) >= curves_.size())
        return nullptr;
    const auto& texts = curves_[static_cast<size_t>(curve)];
    const auto it = texts.find(sample);
    return it != texts.end() && IsTextOfValue(it->second, value) ? &it->second : nullptr;
}

bool LasTypedTexts::AnyIn(int curve, int first, int end) const
{
    if (curve < 0 || static_cast<size_t>(curve) >= curves_.size())
        return false;
    const auto& texts = curves_[static_cast<size_t>(curve)];
    const auto it = texts.lower_bound(first);
    return it != texts.end() && it->first < end;
}
