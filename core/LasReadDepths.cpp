#include "core/LasReadDepths.h"

#include <algorithm>

#include "core/LasDepthColumn.h"
#include "core/LasNumbers.h"
#include "core/PowersOfTen.h"

namespace {

double Exact(float depth, const PlainDecimal* number, const char* p, const char* after)
{
    if (number)
        return number->negative ? -number->Magnitude() : number->Magnitude();
    double exact = depth;
    ParseLasNumber(std::string_view(p, static_cast<size_t>(after - p)), exact);
    return exact;
}

} // namespace

void LasReadDepths::LeaveFirstGrid(int row, int capacity)
{
    fromFirst_ = false;
    if (certain_)
        return;
    gridStart_ = 0;
    held_.reserve(static_cast<size_t>(capacity));
    for (int r = 0; r < row; ++r)
        held_.push_back(GridDepth(r));
}

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
    HoldRowsBefore(row, floats, capacity);
    held_.push_back(Exact(depth, number, p, after));
}

void LasReadDepths::HoldRowsBefore(int row, const float* floats, int capacity)
{
    held_.reserve(static_cast<size_t>(capacity));
    for (int r = 0; r < row; ++r)
        held_.push_back(r < gridStart_ ? LasDecimal::Of(floats[r]).value : GridDepth(r - gridStart_));
}

bool LasReadDepths::EarlierRowsOnGrid(const float* floats) const
{
    for (int r = 0; r < gridStart_; ++r) {
        const double depth = GridDepth(r - gridStart_);
        if (static_cast<float>(depth) != floats[r] ||
            (!FloatGivesDecimalBack(floats[r], decimals_) && LasDecimal::Of(floats[r]).value != depth))
            return false;
    }
    return true;
}

LasReadColumn LasReadDepths::Take(const float* floats, int rows, bool descending)
{
    LasReadColumn column;
    if (fromFirst_) {
        // Depths that do not step make no grid.
        if (certain_ && (rows < 2 || step_ == 0))
            return column;
        gridStart_ = 0;
    }
    // A grid needs two rows on it; rows before it off it are held.
    if (held_.empty() && gridStart_ >= 0) {
        if (gridStart_ + 1 < rows && EarlierRowsOnGrid(floats)) {
            column.grid = true;
            column.first = GridDepth(descending ? rows - 1 - gridStart_ : -gridStart_);
            column.step = static_cast<double>(descending ? -step_ : step_) / PowerOfTen(decimals_);
            return column;
        }
        HoldRowsBefore(rows, floats, rows);
    }
    column.depths = std::move(held_);
    if (descending)
        std::reverse(column.depths.begin(), column.depths.end());
    return column;
}

bool LasReadDepths::OnGrid(long long k, const PlainDecimal& number)
{
    long long units = static_cast<long long>(number.digits);
    if (k == 0) {
        decimals_ = number.decimals;
        first_ = number.negative ? -units : units;
        step_ = 0;
        return true;
    }
    if (number.decimals > decimals_) {
        // Units a double holds exactly, so that the grid's depths stay the decimals read.
        constexpr long long kExact = 1LL << 53;
        const auto scale = static_cast<long long>(PowerOfTen(number.decimals - decimals_));
        long long first = 0;
        long long step = 0;
        if (__builtin_mul_overflow(first_, scale, &first) || __builtin_mul_overflow(step_, scale, &step) ||
            first > kExact || first < -kExact)
            return false;
        first_ = first;
        step_ = step;
        decimals_ = number.decimals;
    }
    // In units of the grid's last place.
    if (__builtin_mul_overflow(units, static_cast<long long>(PowerOfTen(decimals_ - number.decimals)), &units))
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
    return static_cast<double>(first_ + k * step_) / PowerOfTen(decimals_);
}
