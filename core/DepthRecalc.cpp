// An evenly spaced depth series.
#include "core/DepthRecalc.h"

#include "core/LasDepthColumn.h"

DepthSeries RecalculateDepths(DepthRecalcMode mode, double first, double step, double last, int n)
{
    DepthSeries series;
    if (n <= 0)
        return series;
    first = LasDecimal::Of(first).value;
    step = LasDecimal::Of(step).value;
    last = LasDecimal::Of(last).value;
    switch (mode) {
    case DepthRecalcMode::FirstAndStep:
        last = first + (n - 1) * step;
        break;
    case DepthRecalcMode::FirstAndLast:
        if (n > 1)
            step = (last - first) / (n - 1);
        else
            last = first;
        break;
    case DepthRecalcMode::StepAndLast:
        first = last - (n - 1) * step;
        break;
    }
    FloatVector& d = series.depths;
    d.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        d[static_cast<size_t>(i)] = static_cast<float>(first + i * step);
    d.back() = static_cast<float>(last);
    series.first = d.front();
    series.step = static_cast<float>(step);
    series.last = d.back();
    series.gridFirst = first;
    series.gridStep = step;
    series.gridLast = last;
    return series;
}
