// Rounding, whole steps of depth quotients, NULL-aware statistics, depth-to-index ranges, correlation, natural cubic spline, random numbers.
#pragma once

#include <vector>

#include "core/CoreTypes.h"

// Nearest integer, halves away from zero; NaN gives 0 and values beyond int are clamped.
int RoundToInt(float x);

// Statistics over the first n values skipping samples equal to nullValue. Mean and variance
// are summed in double and rounded to float once; 0 without values.
float NullMean(int n, float nullValue, const float* values);
float NullVariance(int n, float nullValue, const float* values);  // population variance about NullMean
float NullMin(int n, float nullValue, const float* values, int& index);
float NullMax(int n, float nullValue, const float* values, int& index);

// trunc(quotient) where a quotient lying within `tolerance` below a whole number counts as that
// number (float depths divided by a step rarely give exact whole numbers).
int TruncateSteps(double quotient, double tolerance);
// Tolerance, in steps, for quotients of depths around `depth` by `step`: a thousandth of a step,
// more where floats are coarser.
double StepTolerance(double depth, double step);

// Index range [first, last] of the ordered depths (ascending or descending) lying within
// [top, bottom], found by binary search; first = last + 1 when none lies between two samples.
bool GetIndexRangeForDepths(float top, float bottom, int n, const float* depths, int& first, int& last);
// One index pair per interval that covers at least one sample, in list order.
IntPairVector IntervalsToIndexPairs(const FloatPairList& intervals, const float* depths, int n);

// Pearson r of x[i] with y[i], i < n, over the pairs without NULL; false with fewer than
// 15 pairs or when either side is constant.
bool NullCorrelation(int n, float nullValue, const float* x, const float* y, float& r);
// The shift s in lo..hi of base[i + s] against bound[i] with the largest |r|; 0 and r = 0 when none qualifies.
int FindBestCorrelationShift(int n, float nullValue, int lo, int hi, const float* base, const float* bound, float& r);

// Natural cubic spline through k knots: 0 on success, 1 when k < 3, 2 when the lengths of x and y
// are not k, 3 when the knots are not strictly ascending.
int SplineCoefficients(int k, const std::vector<float>& x, const std::vector<float>& y, std::vector<float>& h,
                       std::vector<float>& z);
// Spline value at depth X on interval j (x[j] <= X <= x[j + 1]).
float SplineValue(float X, int j, const std::vector<float>& x, const std::vector<float>& y,
                  const std::vector<float>& h, const std::vector<float>& z);

void Randomize();
// A pseudo-random integer 0..n-1; 0 when n <= 0.
int RandomInt(int n);
