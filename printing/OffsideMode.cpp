// The off-scale fold.
#include "printing/OffsideMode.h"

#include "printing/PixelMath.h"

#include <climits>
#include <cmath>

namespace {

// Beyond this many levels walked one at a time, the remaining folds are counted at once.
constexpr int MaxStepLevels = 1000;

}  // namespace

void TOffsideMode::SetScale(float scale)
{
    if (scale >= 1.0f)
        BlikScale = scale;
}

double TOffsideMode::Divisor(int level) const
{
    if (BlikIsProgressive)
        return std::pow(static_cast<double>(BlikScale), level);
    return level == 1 ? BlikScale : 1.0;
}

double TOffsideMode::Fold(int width, int level, double offset)
{
    if (width <= 0 || std::isnan(offset))
        return 0.0;
    if (std::isinf(offset)) {
        if (offset > 0)
            WrapCount = INT_MAX;
        return offset > 0 ? 0.0 : offset;
    }
    double folds = WrapCount;
    double v = offset;
    for (;;) {
        v /= Divisor(level);
        if (width - v > 0)
            break;
        folds += 1.0;
        v -= width;
        ++level;
        const bool plainFromHere = (!BlikIsProgressive && level >= 2) || BlikScale == 1.0f;
        if (plainFromHere || level > MaxStepLevels) {
            // Every further level divides by 1: whole widths come off at once.
            const double whole = std::floor(v / width);
            folds += whole;
            v -= whole * width;
            if (v >= width) {  // rounding of the division above
                v -= width;
                folds += 1.0;
            }
            if (v < 0)
                v = 0;
            break;
        }
    }
    WrapCount = folds >= INT_MAX ? INT_MAX : static_cast<int>(folds);
    return v;
}

int TOffsideMode::Wrap(double x, int left, int right, int& count)
{
    WrapCount = 0;
    if (x >= left && x < right) {  // inside the column: no fold (level 0 divides by 1)
        count = 0;
        return TruncToInt(x);
    }
    if (x < left) {
        // Left of the column the fold runs the other way: from the right edge, at negative
        // levels, as if the column were mirrored.
        const double folded = Fold(right - left, 0, right - x);
        count = WrapCount == INT_MAX ? INT_MIN + 1 : -WrapCount;
        return right - (folded > 0 ? TruncToInt(folded) : 0);
    }
    const double folded = Fold(right - left, 0, x - left);
    count = WrapCount;
    const int r = folded > 0 ? TruncToInt(folded) : 0;
    return left + r;
}
