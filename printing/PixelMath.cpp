// Pixel conversions of the page drawing.
#include "printing/PixelMath.h"

#include <climits>
#include <cmath>

int TruncToInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

int RoundToPixels(float a, float b)
{
    const double product = static_cast<double>(a) * b;
    const int whole = TruncToInt(product);
    return product - whole >= 0.5 && whole < INT_MAX ? whole + 1 : whole;
}
