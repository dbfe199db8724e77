#include "datawin/AddCurves.h"

#include "core/Lasfile.h"
#include "core/Q7mathutils.h"

#include <algorithm>
#include <cmath>
#include <new>

bool DepthLimitToIndexes(const TLASFile& document, double& from, double& to, int& first, int& last)
{
    if (from > to)
        std::swap(from, to);
    const int count = document.GetPointCount();
    first = 0;
    last = count - 1;
    const double step = document.GetStep();
    if (step > 0.0 && count > 0) {
        const double top = document.GetTopDepth();
        const double tolerance = StepTolerance(std::max(std::fabs(from), std::fabs(to)), step);
        first = std::max(0, TruncateSteps((from - top) / step, tolerance));
        // ceil, where a quotient just above a whole number counts as that number
        const double up = (to - top) / step;
        const double ceiling = std::ceil(up);
        const double end = ceiling - up > 1.0 - tolerance ? ceiling - 1.0 : ceiling;
        last = static_cast<int>(std::clamp(end, -1.0, static_cast<double>(count - 1)));
    }
    return first <= last;
}

namespace {

struct Placement {
    int prepend = 0;
    int first = 0;
    int last = -1;
    int skip = 0;
    double origin = 0;
    long long count = 0;
};

}  // namespace

bool AddCheckedCurves(TLASFile& target, const TLASFile& source, const std::vector<int>& sourceCurves,
                      DepthLimit limit, std::string& error)
{
    const int nT = target.GetPointCount();
    const int nS = source.GetPointCount();
    const double stepT = target.GetStep();
    const double stepS = source.GetStep();
    if (nT < 1 || nS < 1 || target.GetCurvesCount() < 1) {
        error = "В файле нет данных";
        return false;
    }
    if (!(stepT > 0) || !(stepS > 0)) {
        error = std::string("Шаг по глубине ") + (stepT > 0 ? "добавляемого" : "открытого") +
                " файла равен 0: кривые нельзя разместить по глубине";
        return false;
    }
    // Decimal depths, as the limits are typed and shown.
    const double T1 = target.DepthAt(0);
    const double B1 = target.DepthAt(nT - 1);
    const double T2 = source.DepthAt(0);
    const double B2 = source.DepthAt(nS - 1);

    double top = std::min(T1, T2);
    double bottom = std::max(B1, B2);
    if (limit.on) {
        if (limit.from > limit.to)
            std::swap(limit.from, limit.to);
        top = limit.from;
        bottom = limit.to;
    }
    const double tolT = StepTolerance(std::max(std::fabs(top), std::fabs(bottom)), stepT);
    const double tolS = StepTolerance(std::max(std::fabs(top), std::fabs(bottom)), stepS);
    Placement p;
    if (top < T1) {
        const double rows = (T1 - top) / stepT;
        if (rows > kMaxPointCount) {
            error = "Слишком большой интервал глубин: получится более " + std::to_string(kMaxPointCount) + " строк";
            return false;
        }
        p.prepend = TruncateSteps(rows, tolT);
        top = T1 - p.prepend * stepT;  // the first row's own depth
        p.origin = top;
    } else {
        p.origin = T1;
    }
    const double a = std::max(top, T2);
    const double b = std::min(bottom, B2);
    p.skip = top > T2 ? TruncateSteps((top - T2) / stepS, tolS) : 0;
    const double lastRows = (b - p.origin) / stepT;
    if (lastRows > kMaxPointCount) {
        error = "Слишком большой интервал глубин: получится более " + std::to_string(kMaxPointCount) + " строк";
        return false;
    }
    if (a <= b) {
        p.first = TruncateSteps((a - p.origin) / stepT, tolT);
        p.last = TruncateSteps(lastRows, tolT);
    }
    p.count = std::max<long long>(static_cast<long long>(nT) + p.prepend, p.last + 1LL);
    if (p.count < 1 || p.count > kMaxPointCount) {
        error = "Слишком большой интервал глубин: получится более " + std::to_string(kMaxPointCount) + " строк";
        return false;
    }
    const int N = static_cast<int>(p.count);
    const float nullT = target.GetNullValue();
    const float nullS = source.GetNullValue();

    // Every new array is built before the target changes.
    std::vector<float> depths;
    std::vector<std::vector<float>> existing;
    std::vector<std::vector<float>> added;
    try {
        depths.resize(static_cast<size_t>(N));
        // Rows added above and below continue the target's depths by its step, as decimals.
        const float* oldDepths = target.GetCurveData(0);
        for (int k = 0; k < N; ++k)
            depths[size_t(k)] = k >= p.prepend && k < p.prepend + nT
                                    ? oldDepths[k - p.prepend]
                                    : static_cast<float>(target.DepthAt(k - p.prepend));
        for (int i = 1; i < target.GetCurvesCount(); ++i) {
            existing.emplace_back(static_cast<size_t>(N), nullT);
            std::copy_n(target.GetCurveData(i), nT, existing.back().begin() + p.prepend);
        }
        const double ratio = stepT / stepS;
        for (int curve : sourceCurves) {
            added.emplace_back(static_cast<size_t>(N), nullT);
            const float* values = source.GetCurveData(curve);
            if (!values)
                continue;
            for (int k = std::max(0, p.first); k <= p.last && k < N; ++k) {
                const long long index = TruncateSteps((k - p.first) * ratio, StepTolerance(depths[size_t(k)], stepS)) +
                                        static_cast<long long>(p.skip);
                if (index < 0 || index >= nS)
                    continue;
                const float v = values[index];
                added.back()[size_t(k)] = v == nullS ? nullT : v;
            }
        }
        target.SetDepthValues(N, depths.data());
        for (int i = 1; i < target.GetCurvesCount(); ++i)
            target.SetCurveValues(existing[size_t(i - 1)].data(), 0, i, N);
        for (size_t j = 0; j < sourceCurves.size(); ++j)
            target.AddCurve(source.GetCurveName(sourceCurves[j]), added[j].data(),
                            source.GetCurveDecimals(sourceCurves[j]));
    } catch (const std::bad_alloc&) {
        error = "Недостаточно памяти для добавления кривых";
        return false;
    }
    return true;
}
