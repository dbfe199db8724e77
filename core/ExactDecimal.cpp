#include "core/ExactDecimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/PowersOfTen.h"

std::optional<ExactDecimal> ExactDecimal::Of(long long units, int decimals)
{
    while (decimals > 0 && units % 10 == 0) {
        units /= 10;
        --decimals;
    }
    if (decimals >= 0)
        return ExactDecimal{units, decimals};
    const auto whole = ExactDecimal{units, 0}.UnitsAt(-decimals);
    return whole ? std::optional<ExactDecimal>(ExactDecimal{*whole, 0}) : std::nullopt;
}

std::optional<ExactDecimal> ExactDecimal::Of(double x)
{
    if (!std::isfinite(x))
        return std::nullopt;
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, x, std::chars_format::scientific);
    if (result.ec != std::errc())
        return std::nullopt;
    long long units = 0;
    int digits = 0;
    const char* p = text;
    const bool negative = *p == '-';
    for (p += negative; p != result.ptr && *p != 'e'; ++p) {
        if (*p == '.')
            continue;
        if (++digits > 18)
            return std::nullopt;
        units = units * 10 + (*p - '0');
    }
    int exponent = 0;
    if (p != result.ptr)
        std::from_chars(p + 1 + (p[1] == '+'), result.ptr, exponent);
    return Of(negative ? -units : units, digits - 1 - exponent);
}

std::optional<ExactDecimal> ExactDecimal::Parse(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    long long units = 0;
    int decimals = -1;  // none before the point
    bool digits = false;
    for (const char c : text) {
        if (c == '.' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (c < '0' || c > '9' || __builtin_mul_overflow(units, 10, &units) ||
            __builtin_add_overflow(units, c - '0', &units))
            return std::nullopt;
        digits = true;
        decimals += decimals >= 0;
    }
    if (!digits)
        return std::nullopt;
    return Of(negative ? -units : units, std::max(decimals, 0));
}

double ExactDecimal::Value() const
{
    // Both exact doubles: the quotient is rounded once.
    constexpr long long kExact = 1LL << 53;
    long long digits = units;
    int places = decimals;
    while (places > 0 && (digits < -kExact || digits > kExact) && digits % 10 == 0) {
        digits /= 10;
        --places;
    }
    if (places <= kMaxExactPowerOfTen && digits >= -kExact && digits <= kExact)
        return static_cast<double>(digits) / PowerOfTen(places);
    const std::string text = Text(decimals);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string ExactDecimal::Text(int decimals) const
{
    std::string digits = std::to_string(std::llabs(units));
    const int shown = std::max(decimals, this->decimals);
    if (digits.size() <= static_cast<size_t>(this->decimals))
        digits.insert(0, static_cast<size_t>(this->decimals) + 1 - digits.size(), '0');
    digits.append(static_cast<size_t>(shown - this->decimals), '0');
    if (shown > 0)
        digits.insert(digits.size() - static_cast<size_t>(shown), 1, '.');
    return units < 0 ? "-" + digits : digits;
}
