// The depths of ~A as the decimals the file wrote, held while they are read only where their
// floats may not give them back.
#pragma once

#include <bit>
#include <cstdint>
#include <optional>

#include "core/DecimalDepths.h"
#include "core/PlainDecimal.h"

// Whether floats about this one lie closer than a unit in the last place of a decimal with these
// decimals (0..20): then one decimal of them at most reads as the float, its shortest text.
inline bool FloatGivesDecimalBack(float value, int decimals)
{
    // Per decimals, the largest binary exponent whose float spacing 2^(e - 23) is below 10^-decimals.
    static constexpr int kLargestExponent[] = {22,  19,  16,  13,  9,   6,   3,   -1,  -4,  -7,  -11,
                                               -14, -17, -21, -24, -27, -31, -34, -37, -41, -44};
    const int exponent = static_cast<int>((std::bit_cast<std::uint32_t>(value) >> 23) & 0xFF) - 127;
    return exponent <= kLargestExponent[decimals];
}

// The number's digits with its sign: the number in units of its last decimal.
inline long long SignedDigits(const PlainDecimal& number)
{
    const auto digits = static_cast<long long>(number.digits);
    return number.negative ? -digits : digits;
}

// The decimal depths of a column as read, in the arrays' order, where floats may not give them
// back: every row's, or the even grid every row lies on; neither when every float gives its
// decimal back.
struct LasReadColumn {
    DecimalDepths depths;
    bool grid = false;  // row i at first + i * step
    ExactDecimal first;
    ExactDecimal step;
};

// Nothing is held while the depths lie on the even grid of the first two, nor, after a depth off
// it, while every float gives its decimal back, nor, from the first depth whose float may not,
// while the depths lie on the even grid of that depth and the next.
class LasReadDepths {
public:
    // The depth of row `row` as its text [p, after) reads: `number` for a plain decimal, else null.
    // floats: the depths read so far as floats, in an array of `capacity` rows.
    void Add(int row, float depth, const PlainDecimal* number, const char* p, const char* after,
             const float* floats, int capacity)
    {
        if (fromFirst_) {
            if (number && OnGrid(row, SignedDigits(*number), number->decimals)) {
                certain_ = certain_ && FloatGivesDecimalBack(depth, number->decimals);
                return;
            }
            if (!number && LongOnGrid(row, p, after)) {
                certain_ = false;
                return;
            }
            LeaveFirstGrid(row, capacity);
        }
        if (gridStart_ < 0 && number && FloatGivesDecimalBack(depth, number->decimals))
            return;
        AddUncertain(row, depth, number, p, after, floats, capacity);
    }
    // The depths of the `rows` rows read (floats: their floats in file order), in the arrays'
    // order: reversed for a file read bottom up.
    LasReadColumn Take(const float* floats, int rows, bool descending);

private:
    // Holds the depths of rows before `row` (file order): floats that give their decimals back,
    // then the grid.
    void HoldRowsBefore(int row, const float* floats, int capacity);
    // Whether the rows before the grid's first lie on it.
    bool EarlierRowsOnGrid(const float* floats) const;
    // The rows before `row` lay on the grid of the first two; where a float of them may not give
    // its decimal back, their depths are held.
    void LeaveFirstGrid(int row, int capacity);
    void AddUncertain(int row, float depth, const PlainDecimal* number, const char* p, const char* after,
                      const float* floats, int capacity);
    // Whether the k-th depth of the grid is units * 10^-decimals; the first two make the grid. A
    // depth of more decimals takes the grid to its last place.
    bool OnGrid(long long k, long long units, int decimals);
    // OnGrid for the text [p, after) of a plain decimal of more digits than PlainDecimal reads.
    bool LongOnGrid(long long k, const char* p, const char* after);
    void Hold(float depth, const PlainDecimal* number, const char* p, const char* after);
    // None beyond the units.
    std::optional<ExactDecimal> GridDepth(long long k) const;

    DecimalDepths held_;
    bool fromFirst_ = true;  // every depth so far lies on the grid of the first two
    bool certain_ = true;    // and every float of them gives its decimal back
    int gridStart_ = -1;  // the first depth whose float may not give it back; -1: none yet
    int decimals_ = 0;    // the most of the grid's depths, which counts in units of their last place
    long long first_ = 0;
    long long step_ = 0;
};
