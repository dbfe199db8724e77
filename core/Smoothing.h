// Smoothing of one curve inside sample ranges: the cosine-series cut-off and the moving window.
#pragma once

#include <vector>

#include "core/CoreTypes.h"

// One range's work record: the index of its first sample in the curve and its values in order.
struct FloatValuesWithIndex {
    int index = 0;
    FloatVector values;
};
using ListOfFloatValuesWithIndex = std::vector<FloatValuesWithIndex>;

// The caller's write-back: copies every record into the curve from its index on and repaints.
using SmoothingWriteBack = void (*)(void* context, const ListOfFloatValuesWithIndex& list);

// The ranges a smoothing works on: each range within 0..count-1 with first < last, its NULL
// ends dropped, kept when at least 7 samples remain; the samples as found, in range order.
ListOfFloatValuesWithIndex PrepareSmoothingRanges(const IntPairVector& ranges, int count, const float* samples,
                                                  float nullValue);

// Smoothing by spectrum: every range goes through a DCT-II and comes back through the DCT-III
// of its first K terms, K = floor(N (100 - position)^2 / 10000).
class SpectrumSmoother {
public:
    // Keeps the ranges as found; NULL samples inside them take the range's first value for the
    // transform. Computes the coefficients at once.
    SpectrumSmoother(ListOfFloatValuesWithIndex found, float nullValue);

    static int CoefficientCount(int position, int n);
    // The ranges smoothed at `position` (0..100); position 0 gives the values as found.
    const ListOfFloatValuesWithIndex& Apply(int position);
    const ListOfFloatValuesWithIndex& Found() const { return found_; }
    bool Empty() const { return found_.empty(); }

private:
    ListOfFloatValuesWithIndex found_;
    ListOfFloatValuesWithIndex results_;
    std::vector<std::vector<double>> coefficients_;
};

// Smoothing by points over a window of w = 2m + 1 samples. A range of N <= m + 1 samples keeps
// its values; otherwise the first m + 1 and the last m samples keep theirs and sample i takes
// the mean of the non-NULL samples of its window (NULL when there is none). The recursive form
// takes the left half of the window from the values already smoothed.
void SmoothOrdinary(int w, float nullValue, const ListOfFloatValuesWithIndex& found,
                    ListOfFloatValuesWithIndex& results);
void SmoothRecursive(int w, float nullValue, const ListOfFloatValuesWithIndex& found,
                     ListOfFloatValuesWithIndex& results);
// The window size typed by the user made valid: clamped to 1..19, an even size taken to the next odd.
int ValidSmoothingWindow(int w);
