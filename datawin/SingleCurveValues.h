// Value operations of the single-curve window over an index range, and its statistics texts.
#pragma once

#include <QString>
#include <utility>

class TLASFile;

// The range [from, to] an operation of the pop-up zone covers: the whole curve without a
// selection, the selection, or the part above or below it with the selection's nearest end
// sample. Zone 4 (not from the pop-up) takes the part that `pointIndex` lies in. Ordered and
// clamped to 0 .. count-1.
std::pair<int, int> ValueRangeOfZone(int zone, int first, int last, int pointIndex, int count);

// Adds `delta` to, or multiplies by `factor`, every sample of [from, to] that is not NULL; a
// result beyond the float range becomes NULL.
void ShiftValues(float* values, int from, int to, float nullValue, double delta);
void MultiplyValues(float* values, int from, int to, float nullValue, double factor);

// The range section of rows [first, last] of curve `curve` of the document ("Информация о кривой в
// интервале ..."), or with `whole` the whole-curve section: depths, the step and the values found
// shown as the document holds them.
QString CurveStatisticsText(const TLASFile& document, int curve, int first, int last, bool whole);
// The text of the window's information button: the whole curve, then the selected range or
// "Интервал не задан" when first < 0.
QString CurveInformationText(const TLASFile& document, int curve, int first, int last);
