// Numbers as LAS files hold them: a point as decimal separator, whatever the locale.
#pragma once

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

#include "core/PlainDecimal.h"

// A form feed, as DOS printers' files left it between pages, is a blank.
inline bool IsLasBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\f';
}

inline bool IsLasDelimiter(char c)
{
    return IsLasBlank(c) || c == '\r' || c == '\n';
}

// Most decimals a value is written with; smaller values are written in exponent form.
inline constexpr int kMaxLasDecimals = 20;

// A number below the float range (read as the nearest float, 0 or a subnormal), or null for one
// beyond it; p points at the number whose float conversion reported out of range.
const char* ParseLasFloatOutOfRange(const char* p, const char* end, float& value);

// Where std::from_chars is to read a number text at [begin, end) (after a leading '+'); null when
// no digit or point follows the sign.
inline const char* LasNumberStart(const char* begin, const char* end)
{
    const char* p = begin;
    if (p != end && *p == '+')
        ++p;
    const char* digits = p == begin && p != end && *p == '-' ? p + 1 : p;
    return digits != end && ((*digits >= '0' && *digits <= '9') || *digits == '.') ? p : nullptr;
}

// The one reader of LAS numbers. Reads a number at the start of [begin, end): optional sign,
// digits with an optional point, optional exponent. Returns the first byte after it, or null when
// no number stands there (words such as "inf" or "nan" and numbers beyond the float range are
// refused; numbers below it read as the nearest float). `plain`: the text was a plain decimal
// (see PlainDecimal), which `number` then holds.
inline const char* ParseLasFloat(const char* begin, const char* end, float& value,
                                 PlainDecimal& number, bool& plain)
{
    const char* after = ScanPlainDecimal(begin, end, number);
    plain = after && (after == end || (*after != 'e' && *after != 'E')) && number.ToFloat(value);
    if (plain)
        return after;
    const char* p = LasNumberStart(begin, end);
    if (!p)
        return nullptr;
    const auto [stop, ec] = std::from_chars(p, end, value);
    if (ec == std::errc())
        return stop;
    return ec == std::errc::result_out_of_range ? ParseLasFloatOutOfRange(p, end, value) : nullptr;
}

inline const char* ParseLasFloat(const char* begin, const char* end, float& value)
{
    PlainDecimal number;
    bool plain = false;
    return ParseLasFloat(begin, end, value, number, plain);
}

// The whole text (blanks around it allowed) as one number: as the float it reads as, or as the
// decimal it stands for in double (finite; a text below the double range is refused).
bool ParseLasNumber(std::string_view text, float& value);
bool ParseLasNumber(std::string_view text, double& value);

// Whether the whole text (blanks around it allowed) is a number beyond the float range, which
// ParseLasFloat refuses.
bool IsLasNumberOutOfRange(std::string_view text);

// Whether a number text reads as exactly this float.
bool IsTextOfValue(std::string_view text, float value);

// Decimals a number text needs in fixed notation: digits after the point, plus the magnitude of
// a negative exponent (less a positive one); -1 for a text with neither point nor exponent.
inline int LasDecimals(std::string_view number)
{
    const char* p = number.data();
    const char* end = p + number.size();
    while (p != end && *p != '.' && *p != 'e' && *p != 'E')
        ++p;
    if (p == end)
        return -1;
    int fraction = 0;
    if (*p == '.') {
        const char* digits = ++p;
        while (p != end && *p >= '0' && *p <= '9')
            ++p;
        fraction = static_cast<int>(p - digits);
    }
    if (p == end || (*p != 'e' && *p != 'E'))
        return fraction;
    if (++p != end && *p == '+')
        ++p;
    int exponent = 0;
    std::from_chars(p, end, exponent);
    return std::max(0, fraction - std::clamp(exponent, -100, 100));
}

// The text of a value with the decimals: the float correctly rounded to them while that takes at
// most eight significant digits; with more, or with kMaxLasDecimals or more asked, the float's
// shortest text padded with zeros (never its binary noise); exponent form ("1.5E-07") for a value
// too small for the decimals, too large for fixed notation, or needing more decimals than may be
// written. Right-aligned in at least width characters.
void AppendLasFixed(std::string& out, float value, int decimals, int width = 0);
// The text right-aligned in at least width characters.
void AppendLasAligned(std::string& out, std::string_view text, int width);
// The shortest exponent form of a number ("2.5E-40"), right-aligned in at least width characters.
void AppendLasExponent(std::string& out, double value, int width = 0);
// The text with at least the decimals and at least those of the shortest text of the float, so
// never rounded short of the float.
std::string FormatLasExact(float value, int decimals);
// A depth of a regular grid, computed in double: fixed notation with the decimals.
void AppendLasGridDepth(std::string& out, double depth, int decimals, int width);

// Width of a value cell of the ~A section.
inline constexpr int kLasValueWidth = 12;
// One value cell: the value's text, or the NULL text for a NULL sample (rounding it to the
// curve's decimals would lose the mark) and for NaN or infinity, which LAS cannot hold.
void AppendLasValue(std::string& out, float value, int decimals, float nullValue,
                    const std::string& nullText, int width = kLasValueWidth);
std::string FormatLasFixed(float value, int decimals);
