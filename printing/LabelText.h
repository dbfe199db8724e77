// Number texts of printed labels (depth scale, curve scales, off-scale values), Qt-free:
// fixed-point with ties rounded away from zero and a settable decimal separator.
#pragma once

#include <string>

// Fixed-point text of `value` rounded to at most `precision` significant digits and shown
// with exactly `digits` decimals; the exponent form "d.dddddd" + "E+" + three digits when
// the integer part needs more than `precision` digits. Negative zero has no minus.
std::string FormatFixedPoint(double value, int precision, int digits, char separator);

// The separator of printed numbers; the window layer sets it from the platform's.
void SetLabelDecimalSeparator(char separator);
char LabelDecimalSeparator();

// Decimals (0 to 4) of the shortest text that shows `value` as exactly as a float holds it;
// -1 when four decimals do not.
int ShortestDecimals(double value);
// A printed number (depth, scale or off-scale value) with `decimals` decimals.
std::string FormatLabelNumber(double value, int decimals);
// Decimals of a number printed alone: its shortest exact text, else four.
int LabelDecimals(double value);
std::string FormatShortestLabel(double value);
