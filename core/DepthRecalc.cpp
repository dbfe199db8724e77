// An evenly spaced depth series.
#include "core/DepthRecalc.h"

DepthSeries RecalculateDepths(DepthRecalcMode mode, float first, float step, float last, int n)
{
    DepthSeries series;
    if (n <= 0)
        return series;
    FloatVector& d = series.depths;
    d.assign(n, 0.0f);
    using Wide = long double;
    switch (mode) {
    case DepthRecalcMode::FirstAndStep:
        for (int i = 0; i < n; ++i)
            d[i] = static_cast<float>(Wide(i) * step + first);
        last = d[n - 1];
        break;
    case DepthRecalcMode::FirstAndLast:
        if (n > 1)
            step = static_cast<float>((Wide(last) - first) / (n - 1));
        else
            last = first;
        for (int i = 1; i < n - 1; ++i)
            d[i] = static_cast<float>(Wide(i) * step + first);
        break;
    case DepthRecalcMode::StepAndLast:
        for (int i = 0; i < n; ++i)
            d[n - 1 - i] = static_cast<float>(last - Wide(i) * step);
        first = d[0];
        break;
    }
    d[0] = first;
    d[n - 1] = last;
    series.first = first;
    series.step = step;
    series.last = last;
    return series;
}
