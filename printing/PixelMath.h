// Centimetres to device pixels without undefined behaviour for values beyond the int range.
#pragma once

// trunc() toward zero, clamped to the int range; NaN gives 0.
int TruncToInt(double v);

// a × b rounded half up: trunc, plus 1 when the fraction is at least 0.5.
int RoundToPixels(float a, float b);
