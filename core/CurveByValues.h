// Values of a new curve from a few typed (depth, value) points: placing the points on the
// depth samples, filling between them, and reading points from pasted text.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/CoreTypes.h"

// How the samples between the points are filled.
enum class ConnectType { Steps = 0, Spline = 1, Lines = 2 };

// The first sample whose depth is at least `depth`, the last sample for a deeper point;
// -1 without depths.
int SampleIndexForDepth(const FloatVector& depths, float depth);

// Fills the NULL samples of `values` (one per depth) from the points, the samples that are not
// NULL. Samples above the first point stay NULL. Steps: each takes the point above; lines: the
// straight line between neighbouring points, the last point's value below it when there are two
// points or more; spline: the natural cubic spline from the first to the last point, when there
// are three points or more.
void FillBetweenPoints(ConnectType type, const FloatVector& depths, FloatVector& values, float nullValue);

// One point per line: a depth, blanks or tabs, a value. Numbers are made of digits, signs,
// points and commas; other characters inside a value are skipped. False when the text does not
// follow the form.
using PointTexts = std::vector<std::pair<std::string, std::string>>;
bool ParsePointsText(std::string_view text, PointTexts& points);
