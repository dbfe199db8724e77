#include "core/LasReadDepths.h"

#include "core/LasDepthColumn.h"
#include "core/LasNumbers.h"

namespace {

long long Pow10(int n)
{
    long long power = 1;
    while (n-- > 0)
        power *= 10;
    return power;
}

double Exact(float depth, const PlainDecimal* number, const char* p, const char* after)
{
    if (number)
        return number->negative ? -number->Magnitude() : number->Magnitude();
    double exact = depth;
    ParseLasNumber(std::string_view(p, static_cast<size_t>(after - p)), exact);
    return exact;
}

} // namespace

void LasReadDepths::AddUncertain(int row, float depth, const PlainDecimal* number, const char* p,
                                 const char* after, const float* floats, int capacity)
{
    if (!held_.empty()) {
        held_.push_back(Exact(depth, number, p, after));
        return;
    }
    if (gridStart_ < 0)
        gridStart_ = row;
    if (number && OnGrid(row - gridStart_, *number))
        return;
    // The rows before: floats that give their decimals back, then the grid.
    held_.reserve(static_cast<size_t>(capacity));
    for (int r = 0; r < row; ++r)
        held_.push_back(r < gridStart_ ? LasDecimal::Of(floats[r]).value : GridDepth(r - gridStart_));
    held_.push_back(Exact(depth, number, p, after));
}

bool LasReadDepths::OnGrid(long long k, const PlainDecimal& number)
{
    long long units = static_cast<long long>(number.digits);
    if (k == 0) {
        decimals_ = number.decimals;
        first_ = number.negative ? -units : units;
        return true;
    }
    // In units of the first depth's last place.
    if (number.decimals > decimals_ ||
        __builtin_mul_overflow(units, Pow10(decimals_ - number.decimals), &units))
        return false;
    if (number.negative)
        units = -units;
    if (k == 1)
        return !__builtin_sub_overflow(units, first_, &step_);
    long long expected = 0;
    return !__builtin_mul_overflow(k, step_, &expected) &&
           !__builtin_add_overflow(expected, first_, &expected) && units == expected;
}

double LasReadDepths::GridDepth(long long k) const
{
    return static_cast<double>(first_ + k * step_) / static_cast<double>(Pow10(decimals_));
}
