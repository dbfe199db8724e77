#include "core/DecimalDepths.h"

#include <algorithm>

void DecimalDepths::Reserve(size_t n)
{
    if (exact_)
        units_.reserve(n);
    else
        values_.reserve(n);
}

void DecimalDepths::Add(const ExactDecimal& depth)
{
    if (exact_ && depth.decimals > decimals_) {
        // Every depth held moves to the finer last place, when all of them fit it.
        const bool fits = std::all_of(units_.begin(), units_.end(), [&](long long units) {
            return ExactDecimal{units, decimals_}.UnitsAt(depth.decimals).has_value();
        });
        if (fits) {
            for (long long& units : units_)
                units = *ExactDecimal{units, decimals_}.UnitsAt(depth.decimals);
            decimals_ = depth.decimals;
        } else {
            HoldValues();
        }
    }
    const auto units = exact_ ? depth.UnitsAt(decimals_) : std::nullopt;
    if (exact_ && !units)
        HoldValues();
    if (exact_)
        units_.push_back(*units);
    else
        values_.push_back(depth.Value());
}

void DecimalDepths::Add(double depth)
{
    const auto exact = exact_ ? ExactDecimal::Of(depth) : std::nullopt;
    if (exact) {
        Add(*exact);
        return;
    }
    HoldValues();
    values_.push_back(depth);
}

void DecimalDepths::Reverse()
{
    std::reverse(units_.begin(), units_.end());
    std::reverse(values_.begin(), values_.end());
}

double DecimalDepths::Value(size_t i) const
{
    return exact_ ? Exact(i)->Value() : values_[i];
}

std::optional<ExactDecimal> DecimalDepths::Exact(size_t i) const
{
    return exact_ ? std::optional<ExactDecimal>(ExactDecimal{units_[i], decimals_}) : std::nullopt;
}

void DecimalDepths::HoldValues()
{
    if (!exact_)
        return;
    values_.reserve(std::max(units_.capacity(), units_.size() + 1));
    for (size_t i = 0; i < units_.size(); ++i)
        values_.push_back(Value(i));
    exact_ = false;
    units_ = {};
}

