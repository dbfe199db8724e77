// Decimal numbers held exactly, as a count of units of their last place: depths that must come
// out as the decimals they stand for, never as a double sum.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct ExactDecimal {
    long long units = 0;
    int decimals = 0;  // units of 10^-decimals; no trailing zero in units while decimals > 0

    // The shortest text that reads back as the double; none for a number beyond 18 digits.
    static std::optional<ExactDecimal> Of(double x);
    // units * 10^-decimals; none where it does not fit.
    static std::optional<ExactDecimal> Of(long long units, int decimals);
    // A plain decimal text ("-12.345", no exponent) read digit by digit; none for another text or
    // one beyond the units.
    static std::optional<ExactDecimal> Parse(std::string_view text);
    // The number in units of 10^-decimals (at least its own); none where they do not fit.
    std::optional<long long> UnitsAt(int decimals) const;
    // None where the result does not fit.
    std::optional<ExactDecimal> Plus(const ExactDecimal& other) const;
    std::optional<ExactDecimal> Times(long long k) const;
    // The double nearest to the decimal.
    double Value() const;
    // Fixed notation with the decimals (at least this number's own; rounding is the caller's).
    std::string Text(int decimals) const;

    bool operator==(const ExactDecimal&) const = default;
};
