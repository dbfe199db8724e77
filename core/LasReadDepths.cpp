#include "core/LasReadDepths.h"

#include <algorithm>
#include <string_view>

#include "core/LasDepthColumn.h"
#include "core/LasNumbers.h"

namespace {

// The decimal a depth text [p, after) stands for; none for one of an exponent or beyond 18 digits.
std::optional<ExactDecimal> DecimalOf(const PlainDecimal* number, const char* p, const char* after)
{
    if (number)
        return ExactDecimal::Of(SignedDigits(*number), number->decimals);
    return ExactDecimal::Parse(std::string_view(p, static_cast<size_t>(after - p)));
}

} // namespace

void LasReadDepths::Hold(float depth, const PlainDecimal* number, const char* p, const char* after)
{
    if (const auto exact = DecimalOf(number, p, after)) {
        held_.Add(*exact);
        return;
    }
    double value = depth;
    ParseLasNumber(std::string_view(p, static_cast<size_t>(after - p)), value);
    held_.Add(value);
}

bool LasReadDepths::LongOnGrid(long long k, const char* p, const char* after)
{
    const auto exact = ExactDecimal::Parse(std::string_view(p, static_cast<size_t>(after - p)));
    return exact && OnGrid(k, exact->units, exact->decimals);
}

void LasReadDepths::LeaveFirstGrid(int row, int capacity)
{
    fromFirst_ = false;
    if (certain_)
        return;
    gridStart_ = 0;
    held_.Reserve(static_cast<size_t>(capacity));
    for (int r = 0; r < row; ++r)
        held_.Add(GridDepth(r).value());
}

void LasReadDepths::AddUncertain(int row, float depth, const PlainDecimal* number, const char* p,
                                 const char* after, const float* floats, int capacity)
{
    if (!held_.Empty()) {
        Hold(depth, number, p, after);
        return;
    }
    if (gridStart_ < 0)
        gridStart_ = row;
    if (number ? OnGrid(row - gridStart_, SignedDigits(*number), number->decimals) : LongOnGrid(row - gridStart_, p, after))
        return;
    HoldRowsBefore(row, floats, capacity);
    Hold(depth, number, p, after);
}

void LasReadDepths::HoldRowsBefore(int row, const float* floats, int capacity)
{
    held_.Reserve(static_cast<size_t>(capacity));
    for (int r = 0; r < row; ++r) {
        if (r < gridStart_)
            held_.Add(LasDecimal::Of(floats[r]).value);
        else
            held_.Add(GridDepth(r - gridStart_).value());
    }
}

bool LasReadDepths::EarlierRowsOnGrid(const float* floats) const
{
    for (int r = 0; r < gridStart_; ++r) {
        const auto exact = GridDepth(r - gridStart_);
        const double depth = exact ? exact->Value() : 0.0;
        if (!exact || static_cast<float>(depth) != floats[r] ||
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
    if (held_.Empty() && gridStart_ >= 0) {
        if (gridStart_ + 1 < rows && EarlierRowsOnGrid(floats)) {
            column.grid = true;
            column.first = GridDepth(descending ? rows - 1 - gridStart_ : -gridStart_).value();
            column.step = ExactDecimal::Of(descending ? -step_ : step_, decimals_).value();
            return column;
        }
        HoldRowsBefore(rows, floats, rows);
    }
    column.depths = std::move(held_);
    if (descending)
        column.depths.Reverse();
    return column;
}

bool LasReadDepths::OnGrid(long long k, long long units, int decimals)
{
    if (k == 0) {
        decimals_ = decimals;
        first_ = units;
        step_ = 0;
        return true;
    }
    if (decimals > decimals_) {
        const auto first = ExactDecimal{first_, decimals_}.UnitsAt(decimals);
        const auto step = ExactDecimal{step_, decimals_}.UnitsAt(decimals);
        if (!first || !step)
            return false;
        first_ = *first;
        step_ = *step;
        decimals_ = decimals;
    }
    // In units of the grid's last place.
    const auto scaled = ExactDecimal{units, decimals}.UnitsAt(decimals_);
    if (!scaled)
        return false;
    if (k == 1)
        return !__builtin_sub_overflow(*scaled, first_, &step_);
    long long expected = 0;
    return !__builtin_mul_overflow(k, step_, &expected) &&
           !__builtin_add_overflow(expected, first_, &expected) && *scaled == expected;
}

std::optional<ExactDecimal> LasReadDepths::GridDepth(long long k) const
{
    long long units = 0;
    if (__builtin_mul_overflow(k, step_, &units) || __builtin_add_overflow(units, first_, &units))
        return std::nullopt;
    return ExactDecimal::Of(units, decimals_);
}
