#include "core/LasNumbers.h"

#include <cfloat>
#include <cmath>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>

#include "core/PowersOfTen.h"

namespace {

// Short paddings are copied from a run of blanks: a fill call per value costs more than the copy.
void AppendAligned(std::string& out, const char* text, size_t length, int width)
{
    static constexpr std::string_view kBlanks = "                                ";
    if (length < static_cast<size_t>(std::max(width, 0))) {
        const size_t pad = static_cast<size_t>(width) - length;
        if (pad <= kBlanks.size())
            out.append(kBlanks.data(), pad);
        else
            out.append(pad, ' ');
    }
    out.append(text, length);
}

// The shortest exponent form of the number ("1.5E-07").
template <class Number>
void AppendExponent(std::string& out, Number value, int width)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
    const size_t length = static_cast<size_t>(result.ptr - text);
    std::replace(text, text + length, 'e', 'E');
    AppendAligned(out, text, length, width);
}

// The shortest fixed text of the number padded with zeros to the decimals (never its binary
// noise); false, with nothing appended, when that text has more decimals.
template <class Number>
bool AppendShortestPadded(std::string& out, Number value, int decimals, int width)
{
    char text[400];
    char* p = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
    const char* point = std::find(text, p, '.');
    const int fraction = point == p ? 0 : static_cast<int>(p - point - 1);
    if (fraction > decimals)
        return false;
    if (point == p && decimals > 0)
        *p++ = '.';
    p = std::fill_n(p, decimals - fraction, '0');
    AppendAligned(out, text, static_cast<size_t>(p - text), width);
    return true;
}

// The power of ten of the first significant digit of a magnitude in [1e-20, 1e15).
int DecimalExponent(float magnitude)
{
    const double m = magnitude;
    int exponent = 0;
    if (m >= 1.0) {
        while (exponent < 14 && m >= PowerOfTen(exponent + 1))
            ++exponent;
        return exponent;
    }
    while (exponent > -kMaxLasDecimals && m < PowerOfTen(exponent))
        --exponent;
    return exponent;
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsLasBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsLasBlank(text.back()))
        text.remove_suffix(1);
    return text;
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
    text = TrimBlanks(text);
    const char* end = text.data() + text.size();
    return !text.empty() && ParseLasFloat(text.data(), end, value) == end;
}

bool ParseLasNumber(std::string_view text, double& value)
{
    text = TrimBlanks(text);
    const char* begin = text.data();
    const char* end = begin + text.size();
    PlainDecimal number;
    if (!text.empty() && ScanPlainDecimal(begin, end, number) == end) {
        value = number.negative ? -number.Magnitude() : number.Magnitude();
        return true;
    }
    const char* p = LasNumberStart(begin, end);
    double read = 0.0;
    if (!p)
        return false;
    const auto [after, ec] = std::from_chars(p, end, read);
    if (ec != std::errc() || after != end || !std::isfinite(read))
        return false;
    value = read;
    return true;
}

bool IsLasNumberOutOfRange(std::string_view text)
{
    text = TrimBlanks(text);
    const char* begin = text.data();
    const char* end = begin + text.size();
    const char* start = LasNumberStart(begin, end);
    float single = 0.0f;
    if (!start || ParseLasFloat(begin, end, single) == end)
        return false;
    double wide = 0.0;
    const auto [stop, ec] = std::from_chars(start, end, wide);
    return stop == end && (ec == std::errc() || ec == std::errc::result_out_of_range);
}

bool IsTextOfValue(std::string_view text, float value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    PlainDecimal number;
    float read = 0.0f;
    if (ScanPlainDecimal(begin, end, number) == end) {
        // A number farther from the value than a float's relative step is another float; a
        // multiply tells most changed values apart without the division of the read.
        const auto magnitude = static_cast<double>(number.digits);
        const double scaled = static_cast<double>(value) * number.Scale();
        if (std::fabs((number.negative ? -magnitude : magnitude) - scaled) > std::fabs(scaled) * 0x1p-22)
            return false;
        if (number.ToFloat(read))
            return std::bit_cast<std::uint32_t>(read) == std::bit_cast<std::uint32_t>(value);
    }
    return ParseLasFloat(begin, end, read) == end &&
           std::bit_cast<std::uint32_t>(read) == std::bit_cast<std::uint32_t>(value);
}

void AppendLasFixed(std::string& out, float value, int decimals, int width)
{
    const bool capped = decimals >= kMaxLasDecimals;
    decimals = std::clamp(decimals, 0, kMaxLasDecimals);
    char text[80];
    char* const limit = text + sizeof text;
    const float magnitude = std::fabs(value);
    if (value != 0.0f && std::isfinite(value) &&
        (magnitude < static_cast<float>(PowerOfTen(-decimals)) || magnitude >= 1e15f)) {
        AppendExponent(out, value, width);
        return;
    }
    // Up to eight significant digits the text is the float correctly rounded; digits beyond those
    // of its shortest text would be the float's binary noise, so they are zeros. As many decimals
    // as may be written come from a text in exponent form: its digits are the shortest text's.
    if (value == 0.0f || (!capped && decimals <= 7 - DecimalExponent(magnitude))) {
        const auto result = std::to_chars(text, limit, value, std::chars_format::fixed, decimals);
        AppendAligned(out, text, static_cast<size_t>(result.ptr - text), width);
        return;
    }
    if (!AppendShortestPadded(out, value, decimals, width))
        AppendExponent(out, value, width);
}

void AppendLasAligned(std::string& out, std::string_view text, int width)
{
    AppendAligned(out, text.data(), text.size(), width);
}

void AppendLasExponent(std::string& out, double value, int width)
{
    AppendExponent(out, value, width);
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
    decimals = std::clamp(decimals, 0, kMaxLasDecimals);
    char text[400];
    // Beyond 15 significant digits a double's digits may be its binary noise: a depth whose
    // shortest text has no more decimals is that text padded with zeros, as it was typed.
    if (std::isfinite(depth) && std::fabs(depth) * PowerOfTen(decimals) >= 1e15 &&
        AppendShortestPadded(out, depth, decimals, width))
        return;
    const auto result = std::to_chars(text, text + sizeof text, depth, std::chars_format::fixed, decimals);
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
