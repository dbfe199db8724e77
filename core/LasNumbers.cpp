#include "core/LasNumbers.h"

#include <cmath>

#include <algorithm>
#include <charconv>

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
    char text[128];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                      std::clamp(decimals, 0, 20));
    const int length = result.ec == std::errc() ? static_cast<int>(result.ptr - text) : 0;
    if (length < width)
        out.append(static_cast<size_t>(width - length), ' ');
    out.append(text, static_cast<size_t>(length));
}

std::string FormatLasFixed(float value, int decimals)
{
    std::string text;
    AppendLasFixed(text, value, decimals);
    return text;
}

void AppendLasValue(std::string& out, float value, int decimals, float nullValue, const std::string& nullText)
{
    if (value == nullValue || !std::isfinite(value)) {
        if (nullText.size() < static_cast<size_t>(kLasValueWidth))
            out.append(kLasValueWidth - nullText.size(), ' ');
        out += nullText;
    } else {
        AppendLasFixed(out, value, decimals, kLasValueWidth);
    }
}
