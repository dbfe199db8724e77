// Decimal numbers held exactly, as a count of units of their last place: depths that must come
// out as the decimals they stand for, never as a double sum.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// 10^n for n in [0, 18].
inline constexpr auto kPowersOfTenUnits = [] {
    std::array<long long, 19> powers{1};
    for (size_t n = 1; n < powers.size(); ++n)
        powers[n] = powers[n - 1] * 10;
    return powers;
}();

struct ExactDecimal {
    long long units = 0;
    // Units of 10^-decimals. Of and Parse leave no trailing zero in units while
    // decimals > 0; a column's units of its last place may have them.
    int decimals = 0;

    // The shortest text that reads back as the double; none for a number beyond 18 digits.
    static std::optional<ExactDecimal> Of(double x);
    // units * 10^-decimals; none where it does not fit.
    static std::optional<ExactDecimal> Of(long long units, int decimals);
    // A plain decimal text ("-12.345", no exponent) read digit by digit; none for another text or
    // one beyond the units.
    static std::optional<ExactDecimal> Parse(std::string_view text);
    // The number in units of 10^-decimals (at least its own); none where they do not fit.
    std::optional<long long> UnitsAt(int decimals) const
    {
        long long scaled = 0;
        if (decimals < this->decimals || decimals - this->decimals > 18 ||
            __builtin_mul_overflow(units, kPowersOfTenUnits[static_cast<size_t>(decimals - this->decimals)], &scaled))
            return std::nullopt;
        return scaled;
    }
    // The double nearest to the decimal.
    double Value() const;
    // Fixed notation with the decimals (at least this number's own; rounding is the caller's).
    std::string Text(int decimals) const;

    bool operator==(const ExactDecimal&) const = default;
};
