// Small value types shared by the document, the statistics and the editing commands.
#pragma once

#include <vector>

// First and last sample index of a range, both inclusive.
struct IntPair {
    int first = 0;
    int last = 0;
    friend bool operator==(const IntPair&, const IntPair&) = default;
};
using IntPairVector = std::vector<IntPair>;

// Upper and lower depth of a range, in that order.
struct FloatPair {
    float top = 0.0f;
    float bottom = 0.0f;
    friend bool operator==(const FloatPair&, const FloatPair&) = default;
};
using FloatPairList = std::vector<FloatPair>;

using FloatVector = std::vector<float>;
