// The depths of ~A in double as the file wrote them, held while they are read only where their
// floats may not give them back.
#pragma once

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/PlainDecimal.h"

// Nothing is held while every float gives its decimal back, nor, from the first depth whose float
// may not, while the depths lie on the even grid of that depth and the next.
class LasReadDepths {
public:
    // The depth of row `row` as its text [p, after) reads: `number` for a plain decimal, else null.
    // floats: the depths read so far as floats, in an array of `capacity` rows.
    void Add(int row, float depth, const PlainDecimal* number, const char* p, const char* after,
             const float* floats, int capacity)
    {
        if (gridStart_ < 0 && number && SpacingBelowLastPlace(depth, number->decimals))
            return;
        AddUncertain(row, depth, number, p, after, floats, capacity);
    }
    // Every depth read, in file order, when any was held; empty otherwise.
    std::vector<double> Take() { return std::move(held_); }

private:
    // Whether floats about this one lie closer than a unit in the last place of a decimal with
    // these decimals: then the one decimal that reads as the float is its shortest text.
    static bool SpacingBelowLastPlace(float value, int decimals)
    {
        // Per decimals, the largest binary exponent whose float spacing 2^(e - 23) is below
        // 10^-decimals.
        static constexpr int kLargestExponent[] = {22, 19, 16, 13, 9, 6, 3, -1, -4, -7, -11, -14, -17, -21, -24, -27};
        const int exponent = static_cast<int>((std::bit_cast<std::uint32_t>(value) >> 23) & 0xFF) - 127;
        return exponent <= kLargestExponent[decimals];
    }
    void AddUncertain(int row, float depth, const PlainDecimal* number, const char* p, const char* after,
                      const float* floats, int capacity);
    // Whether the k-th depth of the grid is this one; the first two make the grid.
    bool OnGrid(long long k, const PlainDecimal& number);
    double GridDepth(long long k) const;

    std::vector<double> held_;
    int gridStart_ = -1;  // the first depth whose float may not give it back; -1: none yet
    int decimals_ = 0;    // of the grid's first depth, which counts in units of its last place
    long long first_ = 0;
    long long step_ = 0;
};
