// Exact decimal rounding for printed labels.
#include "printing/LabelText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

char labelSeparator = '.';

// Digits of |value| rounded at `decimals` places after the point, ties away from zero.
// Returns the integer digits and fills `fraction` with exactly `decimals` digits.
std::string RoundedDigits(double magnitude, int decimals, std::string& fraction)
{
    // Far more places than a double carries, so the digit after the cut is exact enough
    // to tell a tie from its neighbours.
    std::array<char, 512> buffer{};
    const int places = std::min(decimals + 40, 120);
    const auto res = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                   std::chars_format::fixed, places);
    std::string text(buffer.data(), res.ptr);
    const size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string frac = point == std::string::npos ? std::string() : text.substr(point + 1);
    frac.resize(static_cast<size_t>(places), '0');

    std::string digits = whole + frac.substr(0, static_cast<size_t>(decimals));
    if (frac[static_cast<size_t>(decimals)] >= '5') {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<size_t>(i)] == '9')
            digits[static_cast<size_t>(i--)] = '0';
        if (i >= 0)
            ++digits[static_cast<size_t>(i)];
        else
            digits.insert(digits.begin(), '1');
    }
    fraction = digits.substr(digits.size() - static_cast<size_t>(decimals));
    return digits.substr(0, digits.size() - static_cast<size_t>(decimals));
}

std::string ExponentForm(double value, int precision, char separator)
{
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    double mantissa = std::fabs(value) / std::pow(10.0, exponent);
    std::string fraction;
    std::string whole = RoundedDigits(mantissa, precision - 1, fraction);
    if (whole.size() > 1) {  // 9.9999995 rounded up to 10
        ++exponent;
        fraction = whole.substr(1) + fraction;
        fraction.resize(static_cast<size_t>(precision - 1));
        whole.assign(1, '1');
    }
    std::string exp = std::to_string(std::abs(exponent));
    exp.insert(exp.begin(), exp.size() < 3 ? 3 - exp.size() : 0, '0');
    std::string text(value < 0 ? 1 : 0, '-');
    text += whole;
    if (!fraction.empty())
        text += separator + fraction;
    return text + (exponent < 0 ? "E-" : "E+") + exp;
}

}  // namespace

std::string FormatFixedPoint(double value, int precision, int digits, char separator)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, 1, 18);
    digits = std::clamp(digits, 0, 18);
    const double magnitude = std::fabs(value);

    int decimals = digits;
    if (magnitude >= 1.0) {
        const int wholeDigits = static_cast<int>(std::floor(std::log10(magnitude))) + 1;
        if (wholeDigits > precision)
            return ExponentForm(value, precision, separator);
        decimals = std::min(digits, precision - wholeDigits);
    } else if (magnitude > 0.0) {
        const int leadingZeros = -static_cast<int>(std::floor(std::log10(magnitude))) - 1;
        decimals = std::min(digits, leadingZeros + precision);
    }

    std::string fraction;
    const std::string whole = RoundedDigits(magnitude, decimals, fraction);
    fraction.resize(static_cast<size_t>(digits), '0');
    const bool zero = std::all_of(whole.begin(), whole.end(), [](char c) { return c == '0'; }) &&
                      std::all_of(fraction.begin(), fraction.end(), [](char c) { return c == '0'; });
    std::string text(value < 0 && !zero ? 1 : 0, '-');
    text += whole;
    if (digits > 0)
        text += separator + fraction;
    return text;
}

void SetLabelDecimalSeparator(char separator) { labelSeparator = separator; }

char LabelDecimalSeparator() { return labelSeparator; }

int ShortestDecimals(double value)
{
    if (!std::isfinite(value))
        return -1;
    // A float carries about 7 significant digits: a text is exact when it lies within the
    // value's storage noise and needs no more than 6 of them.
    const double magnitude = std::fabs(value);
    const double tolerance = 1e-7 * std::max(1.0, magnitude);
    const int wholeDigits = magnitude < 1.0 ? 1 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    double scale = 1.0;
    for (int decimals = 0; decimals <= 4 && wholeDigits + decimals <= 6; ++decimals, scale *= 10.0)
        if (std::fabs(std::round(value * scale) / scale - value) <= tolerance)
            return decimals;
    return -1;
}

std::string FormatLabelNumber(double value, int decimals)
{
    return FormatFixedPoint(value, 15, decimals, labelSeparator);
}

int LabelDecimals(double value)
{
    const int decimals = ShortestDecimals(value);
    return decimals < 0 ? 4 : decimals;
}

std::string FormatShortestLabel(double value) { return FormatLabelNumber(value, LabelDecimals(value)); }
