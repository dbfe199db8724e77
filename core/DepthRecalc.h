// An evenly spaced depth series of n samples from two of first value, step and last value.
#pragma once

#include "core/CoreTypes.h"

struct DepthSeries {
    FloatVector depths;
    float first = 0.0f;
    float step = 0.0f;
    float last = 0.0f;
    // The series as decimals: depth i is gridFirst + i * gridStep, the last one gridLast.
    double gridFirst = 0.0;
    double gridStep = 0.0;
    double gridLast = 0.0;
};

// Which two parameters make the series.
enum class DepthRecalcMode { FirstAndStep = 1, FirstAndLast = 2, StepAndLast = 3 };

// Each parameter is taken as the decimal it was typed as and each depth formed in double from
// them, so that a long series keeps its step. The first value and the last value are exact where
// they are given. One sample takes the first value (the last value from the step and the last
// value) and the step as given.
DepthSeries RecalculateDepths(DepthRecalcMode mode, double first, double step, double last, int n);
