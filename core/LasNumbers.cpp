#include "core/LasNumbers.h"

#include <cfloat>
#include <cmath>

#include <algorithm>
#include <charconv>

namespace {

void AppendAligned(std::string& out, const char* text, size_t length, int width)
{
    if (length < static_cast<size_t>(std::max(width, 0)))
        out.append(static_cast<size_t>(width) - length, ' ');
    out.append(text, length);
}

// 10^-n for n in [0, kMaxLasDecimals].
double TenToMinus(int n)
{
    static const auto table = [] {
        struct Table {
            double value[kMaxLasDecimals + 1];
        } t{};
        double v = 1.0;
        for (int i = 0; i <= kMaxLasDecimals; ++i, v /= 10.0)
            t.value[i] = v;
        return t;
    }();
    return table.value[n];
}

// The power of ten of the first significant digit of a magnitude in [1e-20, 1e15).
int DecimalExponent(float magnitude)
{
    static constexpr double kPowers[] = {1e1, 1e2, 1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                                         1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double m = magnitude;
    int exponent = 0;
    if (m >= 1.0) {
        while (exponent < 14 && m >= kPowers[exponent])
            ++exponent;
        return exponent;
    }
    while (exponent > -kMaxLasDecimals && m < TenToMinus(-exponent))
        --exponent;
    return exponent;
}

} // namespace

const char* ParseLasFloatOutOfRange(const char* p, const char* end, float& value)
{
    double wide = 0.0;
    const auto [after, ec] = std::from_chars(p, end, wide);
    if (ec == std::errc())
        return std::fabs(wide) <= FLT_MAX ? (value = static_cast<float>(wide), after) : nullptr;
    if (ec != std::errc::result_out_of_range)
        return nullptr;
    // Beyond double too: only a negative exponent makes it an underflow.
    const char* e = std::find_if(p, after, [](char c) { return c == 'e' || c == 'E'; });
    if (e == after || e + 1 == after || e[1] != '-')
        return nullptr;
    value = *p == '-' ? -0.0f : 0.0f;
    return after;
}

bool ParseLasNumber(std::string_view text, float& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin != end && IsLasBlank(*begin))
        ++begin;
    while (end != begin && IsLasBlank(end[-1]))
        --end;
    return begin != end && ParseLasFloat(begin, end, value) == end;
}

void AppendLasFixed(std::string& out, float value, int decimals, int width)
{
    decimals = std::clamp(decimals, 0, kMaxLasDecimals);
    char text[80];
    char* const limit = text + sizeof text;
    const float magnitude = std::fabs(value);
    if (value != 0.0f && std::isfinite(value) &&
        (magnitude < static_cast<float>(TenToMinus(decimals)) || magnitude >= 1e15f)) {
        const auto result = std::to_chars(text, limit, value, std::chars_format::scientific);
        const size_t length = static_cast<size_t>(result.ptr - text);
        std::replace(text, text + length, 'e', 'E');
        AppendAligned(out, text, length, width);
        return;
    }
    // Up to eight significant digits the text is the float correctly rounded; digits beyond those
    // of its shortest text would be the float's binary noise, so they are zeros.
    if (value == 0.0f || decimals <= 7 - DecimalExponent(magnitude)) {
        const auto result = std::to_chars(text, limit, value, std::chars_format::fixed, decimals);
        AppendAligned(out, text, static_cast<size_t>(result.ptr - text), width);
        return;
    }
    auto result = std::to_chars(text, limit, value, std::chars_format::fixed);
    const char* point = std::find(text, result.ptr, '.');
    const int fraction = point == result.ptr ? 0 : static_cast<int>(result.ptr - point - 1);
    char* p = result.ptr;
    if (point == result.ptr && decimals > 0)
        *p++ = '.';
    p = std::fill_n(p, std::max(decimals - fraction, 0), '0');
    AppendAligned(out, text, static_cast<size_t>(p - text), width);
}

std::string FormatLasExact(float value, int decimals)
{
    char text[80];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    const char* point = std::find(text, result.ptr, '.');
    const int fraction = point == result.ptr ? 0 : static_cast<int>(result.ptr - point - 1);
    return FormatLasFixed(value, std::max(decimals, fraction));
}

void AppendLasGridDepth(std::string& out, double depth, int decimals, int width)
{
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, depth, std::chars_format::fixed,
                                      std::clamp(decimals, 0, kMaxLasDecimals));
    AppendAligned(out, text, result.ec == std::errc() ? static_cast<size_t>(result.ptr - text) : 0,
                  width);
}

std::string FormatLasFixed(float value, int decimals)
{
    std::string text;
    AppendLasFixed(text, value, decimals);
    return text;
}

void AppendLasValue(std::string& out, float value, int decimals, float nullValue,
                    const std::string& nullText, int width)
{
    if (value == nullValue || !std::isfinite(value))
        AppendAligned(out, nullText.data(), nullText.size(), width);
    else
        AppendLasFixed(out, value, decimals, width);
}
