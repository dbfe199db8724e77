// Rounding, NULL-aware statistics, depth ranges, correlation, spline and random numbers.
#include "core/Q7mathutils.h"

#include "core/CorrelationSearch.h"

#include <algorithm>
#include <cfloat>
#include <chrono>
#include <climits>
#include <cmath>
#include <random>
#include <stdexcept>

namespace {

// Sum of term(x) over the values other than nullValue, in double, and their count. Eight
// independent sums keep the additions from waiting on one another.
template <typename Term>
double NullSum(int n, float nullValue, const float* values, Term term, long long& count)
{
    constexpr int kLanes = 8;
    double sums[kLanes] = {};
    long long counts[kLanes] = {};
    int i = 0;
    for (; i + kLanes <= n; i += kLanes)
        for (int j = 0; j < kLanes; ++j) {
            const float x = values[i + j];
            const bool kept = x != nullValue;
            sums[j] += kept ? term(x) : 0.0;
            counts[j] += kept;
        }
    for (int j = 0; i < n; ++i, ++j) {
        const bool kept = values[i] != nullValue;
        sums[j] += kept ? term(values[i]) : 0.0;
        counts[j] += kept;
    }
    double sum = 0.0;
    count = 0;
    for (int j = 0; j < kLanes; ++j) {
        sum += sums[j];
        count += counts[j];
    }
    return sum;
}

template <typename Better>
float NullExtreme(int n, float nullValue, const float* values, int& index, Better better)
{
    if (n < 1 || !values)
        return nullValue;
    float result = values[0];
    index = 0;
    for (int i = 0; i < n; ++i) {
        const float x = values[i];
        if (x == nullValue)
            continue;
        if (result == nullValue || better(x, result)) {
            result = x;
            index = i;
        }
    }
    return result;
}

std::mt19937& RandomEngine()
{
    static std::mt19937 engine;
    return engine;
}

} // namespace

int RoundToInt(float x)
{
    if (std::isnan(x))
        return 0;
    if (x >= 2147483648.0f)
        return INT_MAX;
    if (x <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(std::lround(x));
}

int TruncateSteps(double quotient, double tolerance)
{
    const double whole = std::trunc(quotient);
    const double next = whole + (quotient < 0 ? -1.0 : 1.0);
    const double rounded = std::fabs(next - quotient) <= tolerance ? next : whole;
    return static_cast<int>(std::clamp(rounded, -2.0e9, 2.0e9));
}

double StepTolerance(double depth, double step)
{
    return std::max(1e-3, 4.0 * FLT_EPSILON * std::fabs(depth) / std::fabs(step));
}

float NullMean(int n, float nullValue, const float* values)
{
    if (n < 1 || !values)
        return 0.0f;
    long long count = 0;
    const double sum = NullSum(n, nullValue, values, [](float x) { return static_cast<double>(x); }, count);
    return count ? static_cast<float>(sum / static_cast<double>(count)) : 0.0f;
}

float NullVariance(int n, float nullValue, const float* values)
{
    if (n < 1 || !values)
        return 0.0f;
    const double m = NullMean(n, nullValue, values);
    long long count = 0;
    const double sum = NullSum(n, nullValue, values,
                               [m](float x) {
                                   const double d = static_cast<double>(x) - m;
                                   return d * d;
                               },
                               count);
    return count ? static_cast<float>(sum / static_cast<double>(count)) : 0.0f;
}

float NullMin(int n, float nullValue, const float* values, int& index)
{
    return NullExtreme(n, nullValue, values, index, [](float x, float best) { return x < best; });
}

float NullMax(int n, float nullValue, const float* values, int& index)
{
    return NullExtreme(n, nullValue, values, index, [](float x, float best) { return x > best; });
}

bool GetIndexRangeForDepths(float top, float bottom, int n, const float* depths, int& first, int& last)
{
    first = n;
    last = -1;
    if (n < 1 || !depths)
        return false;
    const float* end = depths + n;
    if (depths[0] <= depths[n - 1]) {
        first = static_cast<int>(std::lower_bound(depths, end, top) - depths);
        last = static_cast<int>(std::upper_bound(depths, end, bottom) - depths) - 1;
    } else {
        first = static_cast<int>(std::partition_point(depths, end, [bottom](float d) { return d > bottom; }) - depths);
        last = static_cast<int>(std::partition_point(depths, end, [top](float d) { return d >= top; }) - depths) - 1;
    }
    return last >= 0 && first < n;
}

IntPairVector IntervalsToIndexPairs(const FloatPairList& intervals, const float* depths, int n)
{
    IntPairVector pairs;
    for (const FloatPair& interval : intervals) {
        int first = 0;
        int last = 0;
        if (GetIndexRangeForDepths(interval.top, interval.bottom, n, depths, first, last) && first <= last)
            pairs.push_back({first, last});
    }
    return pairs;
}

bool NullCorrelation(int n, float nullValue, const float* x, const float* y, float& r)
{
    constexpr int kMinimumPairs = 15;
    if (n < kMinimumPairs || !x || !y)
        return false;
    long long count = 0;
    double sumX = 0.0;
    double sumY = 0.0;
    bool constantX = true;
    bool constantY = true;
    float firstX = 0.0f;
    float firstY = 0.0f;
    for (int i = 0; i < n; ++i) {
        if (x[i] == nullValue || y[i] == nullValue)
            continue;
        if (count == 0) {
            firstX = x[i];
            firstY = y[i];
        }
        constantX = constantX && x[i] == firstX;
        constantY = constantY && y[i] == firstY;
        sumX += x[i];
        sumY += y[i];
        ++count;
    }
    // A constant side is tested exactly: its rounded mean would leave tiny, meaningless deviations.
    if (count < kMinimumPairs || constantX || constantY)
        return false;
    const double meanX = sumX / static_cast<double>(count);
    const double meanY = sumY / static_cast<double>(count);
    double sxy = 0.0;
    double sxx = 0.0;
    double syy = 0.0;
    for (int i = 0; i < n; ++i) {
        if (x[i] == nullValue || y[i] == nullValue)
            continue;
        const double dx = x[i] - meanX;
        const double dy = y[i] - meanY;
        sxy += dx * dy;
        sxx += dx * dx;
        syy += dy * dy;
    }
    const double denominator = std::sqrt(sxx * syy);
    if (!(denominator > 0.0) || !std::isfinite(denominator))
        return false;
    r = static_cast<float>(std::clamp(sxy / denominator, -1.0, 1.0));
    return true;
}

int FindBestCorrelationShift(int n, float nullValue, int lo, int hi, const float* base, const float* bound, float& r)
{
    return FftCorrelationPays(n, lo, hi) ? FftCorrelationShifts(n, nullValue, lo, hi, base, bound, r)
                                         : ScanCorrelationShifts(n, nullValue, lo, hi, base, bound, r);
}

int SplineCoefficients(int k, const std::vector<float>& x, const std::vector<float>& y, std::vector<float>& h,
                       std::vector<float>& z)
{
    if (k < 3)
        return 1;
    const auto size = static_cast<std::size_t>(k);
    if (x.size() != size || y.size() != size)
        return 2;
    h.assign(size - 1, 0.0f);
    z.assign(size, 0.0f);
    for (std::size_t i = 0; i + 1 < size; ++i) {
        h[i] = x[i + 1] - x[i];
        if (!(h[i] > 0.0f))  // equal knots would divide by zero
            return 3;
    }
    // Tridiagonal system of the inner knots 1..k-2; sub- and super-diagonal entries are h.
    std::vector<double> diagonal(size, 0.0);
    std::vector<double> right(size, 0.0);
    for (std::size_t i = 1; i + 1 < size; ++i) {
        diagonal[i] = 2.0 * (static_cast<double>(x[i + 1]) - x[i - 1]);
        right[i] = (static_cast<double>(y[i + 1]) - y[i]) / h[i] - (static_cast<double>(y[i]) - y[i - 1]) / h[i - 1];
    }
    for (std::size_t i = 2; i + 1 < size; ++i) {
        const double factor = h[i - 1] / diagonal[i - 1];
        diagonal[i] -= factor * h[i - 1];
        right[i] -= factor * right[i - 1];
    }
    double next = 0.0;
    for (std::size_t i = size - 2; i >= 1; --i) {
        next = (right[i] - h[i] * next) / diagonal[i];
        z[i] = static_cast<float>(next);
    }
    return 0;
}

float SplineValue(float X, int j, const std::vector<float>& x, const std::vector<float>& y,
                  const std::vector<float>& h, const std::vector<float>& z)
{
    const auto jj = static_cast<std::size_t>(j);
    if (j < 0 || jj + 1 >= x.size() || jj + 1 >= y.size() || jj >= h.size() || jj + 1 >= z.size())
        throw std::out_of_range("SplineValue: interval index out of range");
    const float t = (X - x[jj]) / h[jj];
    const float s = 1.0f - t;
    return s * y[jj] + t * y[jj + 1] + h[jj] * h[jj] * (z[jj + 1] * (t * t * t - t) + z[jj] * (s * s * s - s));
}

void Randomize()
{
    RandomEngine().seed(static_cast<std::mt19937::result_type>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

int RandomInt(int n)
{
    if (n <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(RandomEngine());
}
