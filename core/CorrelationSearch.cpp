// Correlation search over depth shifts.
#include "core/CorrelationSearch.h"

#include "core/FftwBuffer.h"
#include "core/Q7mathutils.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr int kMinimumPairs = 15;  // as NullCorrelation
// Shifts whose FFT r lies this close to the best are checked by the exact scan.
constexpr double kRankingTolerance = 1e-6;
// Rounding of one transformed sum, per binary digit of the length, in units of the product of
// the two inputs' norms (a generous bound of FFTW's error).
constexpr double kRoundingPerLevel = 16.0 * std::numeric_limits<double>::epsilon();

void ClampShifts(int n, int& lo, int& hi)
{
    lo = std::max(lo, -(n - 1));
    hi = std::min(hi, n - 1);
}

// r of one shift by NullCorrelation; false when the shift does not qualify.
bool ShiftCorrelation(int n, float nullValue, int s, const float* base, const float* bound, float& r)
{
    return NullCorrelation(n - std::abs(s), nullValue, base + std::max(s, 0), bound + std::max(-s, 0), r);
}

std::size_t TransformLength(int n)
{
    std::size_t length = 1;
    while (length < 2 * static_cast<std::size_t>(n))
        length *= 2;
    return length;
}

// Spectra of the mask, the centred values and their squares of one curve.
class CurveSpectra {
public:
    CurveSpectra(int n, float nullValue, const float* values, std::size_t length)
        : bins_(length / 2 + 1), spectra_{Spectrum(), Spectrum(), Spectrum()},
          nextValid_(static_cast<std::size_t>(n) + 1, n), changes_(static_cast<std::size_t>(n) + 1, 0)
    {
        double sum = 0.0;
        int valid = 0;
        const float* previous = nullptr;
        for (int i = 0; i < n; ++i) {
            const bool change = values[i] != nullValue && previous && !(values[i] == *previous);
            changes_[static_cast<std::size_t>(i) + 1] = changes_[static_cast<std::size_t>(i)] + change;
            if (values[i] != nullValue) {
                sum += values[i];
                ++valid;
                previous = values + i;
            }
        }
        for (int i = n - 1; i >= 0; --i)
            nextValid_[static_cast<std::size_t>(i)] = values[i] != nullValue ? i : nextValid_[static_cast<std::size_t>(i) + 1];
        const double mean = valid > 0 ? sum / valid : 0.0;
        FftwBuffer<double> in(length);
        for (int k = 0; k < 3; ++k) {
            std::fill(in.data, in.data + length, 0.0);
            double squares = 0.0;
            for (int i = 0; i < n; ++i) {
                if (values[i] == nullValue)
                    continue;
                const double d = values[i] - mean;
                in.data[i] = k == 0 ? 1.0 : k == 1 ? d : d * d;
                squares += in.data[i] * in.data[i];
            }
            norms_[k] = std::sqrt(squares);
            Forward(length, in.data, spectra_[k]);
        }
    }

    // 0: mask, 1: centred values, 2: their squares.
    const std::vector<std::complex<double>>& operator[](int k) const { return spectra_[k]; }
    // Euclidean norm of the same sequences: they bound the rounding of the sums.
    double Norm(int k) const { return norms_[k]; }
    // True when the values other than NULL among the `count` from `first` are all equal, so that
    // no shift over them has an r.
    bool ConstantOver(int first, int count) const
    {
        const int valid = nextValid_[static_cast<std::size_t>(first)];
        const int end = first + count;
        return valid >= end || changes_[static_cast<std::size_t>(end)] == changes_[static_cast<std::size_t>(valid) + 1];
    }

private:
    std::vector<std::complex<double>> Spectrum() const { return std::vector<std::complex<double>>(bins_); }

    static void Forward(std::size_t length, double* in, std::vector<std::complex<double>>& spectrum)
    {
        FftwBuffer<fftw_complex> out(length / 2 + 1);
        fftw_plan plan = fftw_plan_dft_r2c_1d(static_cast<int>(length), in, out.data, FFTW_ESTIMATE);
        fftw_execute(plan);
        fftw_destroy_plan(plan);
        for (std::size_t j = 0; j < spectrum.size(); ++j)
            spectrum[j] = {out.data[j][0], out.data[j][1]};
    }

    std::size_t bins_;
    std::array<std::vector<std::complex<double>>, 3> spectra_;
    std::array<double, 3> norms_{};
    std::vector<int> nextValid_;  // the first index from i holding a value, n when none
    std::vector<int> changes_;    // values differing from the value before them, among the first i
};

// Sum over i of p[i + s] q[i] for every s in lo..hi, from the two spectra.
std::vector<double> CrossCorrelation(const std::vector<std::complex<double>>& p,
                                     const std::vector<std::complex<double>>& q, std::size_t length, int lo, int hi)
{
    FftwBuffer<fftw_complex> in(length / 2 + 1);
    FftwBuffer<double> out(length);
    for (std::size_t j = 0; j < p.size(); ++j) {
        const std::complex<double> product = p[j] * std::conj(q[j]);
        in.data[j][0] = product.real();
        in.data[j][1] = product.imag();
    }
    fftw_plan plan = fftw_plan_dft_c2r_1d(static_cast<int>(length), in.data, out.data, FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    std::vector<double> sums(static_cast<std::size_t>(hi - lo + 1));
    const auto n = static_cast<std::int64_t>(length);
    for (int s = lo; s <= hi; ++s)
        sums[static_cast<std::size_t>(s - lo)] = out.data[(s + n) % n] / static_cast<double>(length);
    return sums;
}

}  // namespace

int ScanCorrelationShifts(int n, float nullValue, int lo, int hi, const float* base, const float* bound, float& r)
{
    r = 0.0f;
    if (n < 1 || !base || !bound)
        return 0;
    ClampShifts(n, lo, hi);
    int best = 0;
    bool found = false;
    for (int s = lo; s <= hi; ++s) {
        float candidate = 0.0f;
        if (!ShiftCorrelation(n, nullValue, s, base, bound, candidate))
            continue;
        if (!found || std::fabs(candidate) > std::fabs(r)) {
            best = s;
            r = candidate;
            found = true;
        }
    }
    return best;
}

// The pair sums of every shift come from six cross-correlations of the masked, centred curves;
// each r comes with a bound of its rounding error, and the shifts whose r may reach the best
// are computed exactly, so the result is the scan's. A side constant over an overlap is found
// from the counts of changing values; where rounding swamps a shift's sums (a value far beyond
// the others, a non-finite one) that shift is always computed exactly.
int FftCorrelationShifts(int n, float nullValue, int lo, int hi, const float* base, const float* bound, float& r)
{
    r = 0.0f;
    if (n < 1 || !base || !bound)
        return 0;
    ClampShifts(n, lo, hi);
    if (lo > hi)
        return 0;
    const std::size_t length = TransformLength(n);
    const CurveSpectra x(n, nullValue, base, length);
    const CurveSpectra y(n, nullValue, bound, length);
    const auto count = CrossCorrelation(x[0], y[0], length, lo, hi);
    const auto sx = CrossCorrelation(x[1], y[0], length, lo, hi);
    const auto sxx = CrossCorrelation(x[2], y[0], length, lo, hi);
    const auto sy = CrossCorrelation(x[0], y[1], length, lo, hi);
    const auto syy = CrossCorrelation(x[0], y[2], length, lo, hi);
    const auto sxy = CrossCorrelation(x[1], y[1], length, lo, hi);

    // Error bounds of the sums (see kRoundingPerLevel).
    const double e = kRoundingPerLevel * std::log2(static_cast<double>(length));
    const double eSx = e * x.Norm(1) * y.Norm(0);
    const double eSxx = e * x.Norm(2) * y.Norm(0);
    const double eSy = e * x.Norm(0) * y.Norm(1);
    const double eSyy = e * x.Norm(0) * y.Norm(2);
    const double eSxy = e * x.Norm(1) * y.Norm(1);

    struct Ranked {
        int shift;
        double r;  // the largest |r| the shift may have
    };
    std::vector<Ranked> ranked;
    for (std::size_t k = 0; k < count.size(); ++k) {
        const double c = std::round(count[k]);
        if (c < kMinimumPairs)
            continue;
        const int shift = lo + static_cast<int>(k);
        if (x.ConstantOver(std::max(shift, 0), n - std::abs(shift)) ||
            y.ConstantOver(std::max(-shift, 0), n - std::abs(shift)))
            continue;
        const double vx = sxx[k] - sx[k] * sx[k] / c;
        const double vy = syy[k] - sy[k] * sy[k] / c;
        const double eVx = eSxx + 2.0 * std::fabs(sx[k]) / c * eSx;
        const double eVy = eSyy + 2.0 * std::fabs(sy[k]) / c * eSy;
        // Below its error bound a variance is unknown: the exact check decides.
        if (!(vx > 2.0 * eVx) || !(vy > 2.0 * eVy)) {
            ranked.push_back({shift, 1.0});
            continue;
        }
        const double numerator = sxy[k] - sx[k] * sy[k] / c;
        const double eNumerator = eSxy + (std::fabs(sy[k]) * eSx + std::fabs(sx[k]) * eSy) / c;
        const double rk = std::clamp(numerator / std::sqrt(vx * vy), -1.0, 1.0);
        const double eR = eNumerator / std::sqrt(vx * vy) + std::fabs(rk) * (eVx / vx + eVy / vy);
        ranked.push_back({shift, std::isfinite(eR) ? std::min(std::fabs(rk) + eR, 1.0) : 1.0});
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) { return a.r > b.r; });

    int best = 0;
    bool found = false;
    for (const Ranked& candidate : ranked) {
        if (found && candidate.r < std::fabs(r) - kRankingTolerance)
            break;
        float exact = 0.0f;
        if (!ShiftCorrelation(n, nullValue, candidate.shift, base, bound, exact))
            continue;
        const bool better = std::fabs(exact) > std::fabs(r);
        if (!found || better || (std::fabs(exact) == std::fabs(r) && candidate.shift < best)) {
            best = candidate.shift;
            r = exact;
            found = true;
        }
    }
    return best;
}

bool FftCorrelationPays(int n, int lo, int hi)
{
    if (n < 2)
        return false;
    ClampShifts(n, lo, hi);
    const double shifts = std::max(hi - lo + 1, 0);
    const double length = static_cast<double>(TransformLength(n));
    // A scanned shift costs about two passes over the overlap; the FFT way twelve transforms and their plans.
    return shifts * n > 16.0 * length * std::log2(length);
}
