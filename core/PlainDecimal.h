// Plain decimal texts ("-12.345": a sign, at most 15 digits around an optional point, no
// exponent) read without a general number parser: their digits and the power of ten of their
// decimals are exact doubles, so the quotient is the number rounded once, and that rounded to a
// float is the float of the text unless it fell on the midpoint of two floats.
#pragma once

#include <bit>
#include <cstdint>

#include "core/PowersOfTen.h"

struct PlainDecimal {
    std::uint64_t digits = 0;
    int decimals = 0;
    bool negative = false;

    // 10^decimals, exact.
    double Scale() const { return PowerOfTen(decimals); }
    double Magnitude() const { return static_cast<double>(digits) / Scale(); }

    // The float the text reads as; false on the midpoint of two floats (the low 29 of the
    // double's 52 fraction bits 1000...), where rounding twice may err.
    bool ToFloat(float& value) const
    {
        const double exact = Magnitude();
        if ((std::bit_cast<std::uint64_t>(exact) & 0x1FFFFFFFULL) == 0x10000000ULL)
            return false;
        value = negative ? -static_cast<float>(exact) : static_cast<float>(exact);
        return true;
    }
};

// The plain decimal at the start of [p, end): the first byte after its digits, or null when no
// such number stands there (no digit, or more than 15).
inline const char* ScanPlainDecimal(const char* p, const char* end, PlainDecimal& number)
{
    number = {};
    number.negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+'))
        ++p;
    const char* const integer = p;
    for (; p != end && static_cast<unsigned char>(*p - '0') <= 9; ++p)
        number.digits = number.digits * 10 + static_cast<unsigned char>(*p - '0');
    long count = p - integer;
    if (p != end && *p == '.') {
        const char* const fraction = ++p;
        for (; p != end && static_cast<unsigned char>(*p - '0') <= 9; ++p)
            number.digits = number.digits * 10 + static_cast<unsigned char>(*p - '0');
        count += p - fraction;
        number.decimals = static_cast<int>(p - fraction);
    }
    return count == 0 || count > 15 ? nullptr : p;
}
