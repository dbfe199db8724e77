// Smoothing of one curve inside sample ranges.
#include "core/Smoothing.h"

#include "core/FftwBuffer.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

// Runs one real-to-real transform of kind `kind` from `in` to `out` (n values each).
void Transform(int n, double* in, double* out, fftw_r2r_kind kind)
{
    fftw_plan plan = fftw_plan_r2r_1d(n, in, out, kind, FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
}

}  // namespace

ListOfFloatValuesWithIndex PrepareSmoothingRanges(const IntPairVector& ranges, int count, const float* samples,
                                                  float nullValue)
{
    ListOfFloatValuesWithIndex list;
    if (!samples)
        return list;
    for (IntPair range : ranges) {
        int first = range.first;
        int last = range.last;
        if (first < 0 || last >= count || first >= last)
            continue;
        while (first < last && samples[first] == nullValue)
            ++first;
        while (last > first && samples[last] == nullValue)
            --last;
        if (last - first <= 5)
            continue;
        list.push_back({first, FloatVector(samples + first, samples + last + 1)});
    }
    return list;
}

SpectrumSmoother::SpectrumSmoother(ListOfFloatValuesWithIndex found, float nullValue)
    : found_(std::move(found)), results_(found_)
{
    coefficients_.reserve(found_.size());
    for (const FloatValuesWithIndex& record : found_) {
        const int n = static_cast<int>(record.values.size());
        FftwBuffer<double> in(n);
        FftwBuffer<double> out(n);
        const float fill = record.values.front();
        for (int i = 0; i < n; ++i)
            in.data[i] = record.values[i] == nullValue ? fill : record.values[i];
        // FFTW's REDFT10 is 2 * sum x[i] cos(pi k (2i + 1) / 2n): the coefficient times n.
        Transform(n, in.data, out.data, FFTW_REDFT10);
        std::vector<double> c(out.data, out.data + n);
        for (double& value : c)
            value /= n;
        coefficients_.push_back(std::move(c));
    }
}

int SpectrumSmoother::CoefficientCount(int position, int n)
{
    const std::int64_t d = 100 - std::clamp(position, 0, 100);
    return static_cast<int>(static_cast<std::int64_t>(n) * d * d / 10000);
}

const ListOfFloatValuesWithIndex& SpectrumSmoother::Apply(int position)
{
    if (position <= 0)
        return found_;
    for (std::size_t r = 0; r < found_.size(); ++r) {
        const std::vector<double>& c = coefficients_[r];
        FloatVector& y = results_[r].values;
        const int n = static_cast<int>(c.size());
        const int k = CoefficientCount(position, n);
        if (k <= 1) {
            std::fill(y.begin(), y.end(), static_cast<float>(c[0] / 2));
            continue;
        }
        // REDFT01 gives X[0] + 2 * sum X[k] cos(pi k (2i + 1) / 2n): halve the kept terms.
        FftwBuffer<double> in(n);
        FftwBuffer<double> out(n);
        std::fill(in.data, in.data + n, 0.0);
        for (int j = 0; j < k; ++j)
            in.data[j] = c[j] / 2;
        Transform(n, in.data, out.data, FFTW_REDFT01);
        for (int i = 0; i < n; ++i)
            y[i] = static_cast<float>(out.data[i]);
    }
    return results_;
}

namespace {

// Both smoothings by points; `recursive` takes the left half of the window from the results.
void SmoothByPoints(int w, float nullValue, const ListOfFloatValuesWithIndex& found,
                    ListOfFloatValuesWithIndex& results, bool recursive)
{
    const int m = w / 2;
    const int h = m + 1;
    results.resize(found.size());
    for (std::size_t r = 0; r < found.size(); ++r) {
        const FloatVector& x = found[r].values;
        FloatVector& y = results[r].values;
        results[r].index = found[r].index;
        y = x;
        const int n = static_cast<int>(x.size());
        if (n <= h)
            continue;
        for (int i = h; i <= n - h; ++i) {
            double sum = 0.0;
            int valid = 0;
            for (int j = i - m; j <= i + m; ++j) {
                const float value = recursive && j < i ? y[j] : x[j];
                if (value != nullValue) {
                    sum += value;
                    ++valid;
                }
            }
            y[i] = valid > 0 ? static_cast<float>(sum / valid) : nullValue;
        }
    }
}

}  // namespace

void SmoothOrdinary(int w, float nullValue, const ListOfFloatValuesWithIndex& found,
                    ListOfFloatValuesWithIndex& results)
{
    SmoothByPoints(w, nullValue, found, results, false);
}

void SmoothRecursive(int w, float nullValue, const ListOfFloatValuesWithIndex& found,
                     ListOfFloatValuesWithIndex& results)
{
    SmoothByPoints(w, nullValue, found, results, true);
}

int ValidSmoothingWindow(int w)
{
    w = std::clamp(w, 1, 19);
    return w % 2 == 0 ? w + 1 : w;
}
