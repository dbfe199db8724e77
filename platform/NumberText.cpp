// Locale-separated number text: FloatToStrF-like formatting and strict reading.
#include "platform/NumberText.h"

#include "core/LasDepthColumn.h"
#include "core/LasNumbers.h"
#include "core/Lasfile.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace platform {
namespace {

QChar overriddenSeparator;

// Significant decimal digits of |value| (> 0, finite) and the power of ten of the first.
struct Digits {
    std::string digits;
    int exponent = 0;
};

Digits DecimalDigits(double magnitude, int count)
{
    char buffer[1100];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, count - 1);
    std::string_view text(buffer, std::size_t(result.ptr - buffer));
    std::size_t e = text.find('e');
    Digits out;
    out.digits.reserve(std::size_t(count));
    for (char c : text.substr(0, e))
        if (c != '.')
            out.digits += c;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), out.exponent);
    return out;
}

// True when digits [from, end) say the rest is at least half a unit of the last kept digit.
// A short expansion that ends in "5000..." or "4999..." might hide a tie or its neighbour;
// the caller then asks again with the exact expansion.
bool RoundsUp(const std::string& digits, std::size_t from)
{
    return from < digits.size() && digits[from] >= '5';
}

bool Ambiguous(const std::string& digits, std::size_t from)
{
    if (from >= digits.size())
        return false;
    char fill = digits[from] == '5' ? '0' : digits[from] == '4' ? '9' : 0;
    if (!fill)
        return false;
    return std::all_of(digits.begin() + std::ptrdiff_t(from) + 1, digits.end(), [fill](char c) { return c == fill; });
}

// |value| rounded half away from zero, keeping `keepFromAbove` digit places counted from the
// place just above its first significant digit. Returns the kept digits without a leading
// zero and the power of ten of the first of them.
Digits Round(double magnitude, int keepFromAbove)
{
    constexpr int kQuick = 40;
    constexpr int kExact = 800;  // a double's exact decimal expansion has at most 767 digits
    Digits d = DecimalDigits(magnitude, kQuick);
    // Position of the rounding digit, with a leading zero digit standing for 10^(exponent + 1).
    d.digits.insert(d.digits.begin(), '0');
    d.exponent += 1;
    std::size_t keep = std::size_t(std::max(0, keepFromAbove));
    if (Ambiguous(d.digits, keep)) {
        d = DecimalDigits(magnitude, kExact);
        d.digits.insert(d.digits.begin(), '0');
        d.exponent += 1;
    }
    if (keep == 0)
        return {"0", d.exponent};
    bool up = RoundsUp(d.digits, keep);
    d.digits.resize(keep, '0');
    if (up) {
        std::size_t i = d.digits.size();
        while (i > 0) {
            --i;
            if (d.digits[i] == '9') {
                d.digits[i] = '0';
            } else {
                ++d.digits[i];
                break;
            }
        }
    }
    if (d.digits.front() == '0' && d.digits.size() > 1) {
        d.digits.erase(d.digits.begin());
        d.exponent -= 1;
    }
    return d;
}

}  // namespace

QChar DecimalSeparator()
{
    if (!overriddenSeparator.isNull())
        return overriddenSeparator;
    static const QChar system = [] {
        QString point = QLocale::system().decimalPoint();
        return point.isEmpty() ? QChar('.') : point.front();
    }();
    return system;
}

void SetDecimalSeparator(QChar separator)
{
    overriddenSeparator = separator;
}

QString FloatToStrF(double value, int precision, int digits)
{
    precision = std::clamp(precision, 1, 18);
    digits = std::clamp(digits, 0, 18);
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    const QChar separator = DecimalSeparator();
    const double magnitude = std::fabs(value);
    std::string kept = "0";
    int first = 0;  // power of ten of kept[0]
    if (magnitude != 0) {
        int integerDigits = DecimalDigits(magnitude, 17).exponent + 1;
        int keep = std::min(precision, integerDigits + digits);
        // Round counts digits from 10^(integerDigits), one place above the first digit.
        Digits rounded = Round(magnitude, keep + 1);
        kept = rounded.digits;
        first = rounded.exponent;
        if (first + 1 > precision) {
            // The integer part needs more than `precision` digits: exponent form.
            Digits mantissa = Round(magnitude, precision + 1);
            mantissa.digits.resize(std::size_t(precision), '0');
            QString text = value < 0 ? QStringLiteral("-") : QString();
            text += QChar(mantissa.digits[0]);
            if (precision > 1)
                text += separator + QString::fromLatin1(mantissa.digits.data() + 1, precision - 1);
            int exponent = mantissa.exponent;
            text += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
            text += QString::number(std::abs(exponent)).rightJustified(3, QChar('0'));
            return text;
        }
    }
    bool zero = std::all_of(kept.begin(), kept.end(), [](char c) { return c == '0'; });
    if (zero) {
        kept = "0";
        first = 0;
    }

    // Digit of power p, zero outside the kept ones.
    auto digitAt = [&](int p) {
        int i = first - p;
        return i >= 0 && i < int(kept.size()) ? kept[std::size_t(i)] : '0';
    };
    QString text;
    if (value < 0 && !zero)
        text += QChar('-');
    for (int p = std::max(first, 0); p >= 0; --p)
        text += QChar(digitAt(p));
    if (digits > 0) {
        text += separator;
        for (int p = -1; p >= -digits; --p)
            text += QChar(digitAt(p));
    }
    return text;
}

namespace {

QString WithLocaleSeparator(const std::string& number)
{
    QString text = QString::fromLatin1(number.data(), qsizetype(number.size()));
    const QChar separator = DecimalSeparator();
    if (separator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

}  // namespace

QString LasNumberText(float value, int decimals)
{
    std::string bytes;
    AppendLasFixed(bytes, value, decimals);
    return WithLocaleSeparator(bytes);
}

QString CurveValueText(const TLASFile& document, int curve, float value)
{
    return LasNumberText(value, document.GetCurveDecimals(curve));
}

QString SampleValueText(const TLASFile& document, int curve, int sample)
{
    if (const std::string_view typed = document.TypedText(curve, sample); !typed.empty())
        return WithLocaleSeparator(std::string(typed));
    return CurveValueText(document, curve, document.GetCurveData(curve)[sample]);
}

QString DecimalText(double value, int decimals)
{
    std::string bytes;
    AppendLasDecimal(bytes, value, decimals);
    return WithLocaleSeparator(bytes);
}

QString DepthText(const TLASFile& document, double depth)
{
    return DecimalText(document.DecimalDepthOf(depth), document.GetDepthDecimals());
}

QString RowDepthText(const TLASFile& document, long long row)
{
    return DecimalText(document.DepthAt(row), document.GetDepthDecimals());
}

QString RowRangeText(const TLASFile& document, long long first, long long last)
{
    return RowDepthText(document, first) + QStringLiteral(" - ") + RowDepthText(document, last);
}

QString StepsText(const TLASFile& document, long long rows)
{
    return DecimalText(static_cast<double>(rows) * LasDecimal::Of(document.GetStep()).value,
                       document.GetDepthDecimals());
}

namespace {

// Blanks between digit groups of an integer part: the first group of one to three digits,
// every later one of three.
class DigitGroups {
public:
    // A digit of the integer part.
    void Digit() { ++digits_; }
    // A blank after `digits_` digits; false when it cannot part groups.
    bool Blank()
    {
        const bool whole = grouped_ ? digits_ == 3 : digits_ >= 1 && digits_ <= 3;
        grouped_ = true;
        digits_ = 0;
        return whole;
    }
    // The integer part has ended; false when its last group is cut short.
    bool End() const { return !grouped_ || digits_ == 3; }

private:
    bool grouped_ = false;
    int digits_ = 0;
};

}  // namespace

bool TypedNumberText(const QString& text, std::string& number)
{
    const QString trimmed = text.trimmed();
    std::string ascii;
    ascii.reserve(std::size_t(trimmed.size()));
    DigitGroups groups;
    bool integerPart = true;
    bool mantissaDigit = false;
    bool inExponent = false;
    for (const QChar c : trimmed) {
        if (c >= QChar('0') && c <= QChar('9')) {
            mantissaDigit = mantissaDigit || !inExponent;
            if (integerPart)
                groups.Digit();
            ascii += char(c.unicode());
        } else if (c.isSpace()) {
            if (!integerPart || !groups.Blank())
                return false;
        } else if ((c == QChar('.') || c == QChar(',')) && !inExponent) {
            // Either separator is the decimal one: the user may type in another locale's way.
            if (!integerPart || !groups.End())
                return false;
            integerPart = false;
            ascii += '.';
        } else if (c == QChar('e') || c == QChar('E')) {
            if (integerPart && !groups.End())
                return false;
            integerPart = false;
            inExponent = true;
            ascii += 'e';
        } else if (c == QChar('+') || c == QChar('-')) {
            ascii += char(c.unicode());
        } else {
            return false;  // letters, other signs
        }
    }
    if (!mantissaDigit || (integerPart && !groups.End()))
        return false;
    if (ascii[0] == '+') {
        if (ascii.size() > 1 && ascii[1] == '-')
            return false;
        ascii.erase(0, 1);
    }
    double read = 0;
    if (!ParseLasNumber(ascii, read))
        return false;
    number = std::move(ascii);
    return true;
}

bool TryStrToFloat(const QString& text, double& value)
{
    std::string number;
    return TypedNumberText(text, number) && ParseLasNumber(number, value);
}

bool TryStrToFloat(const QString& text, float& value)
{
    std::string number;
    return TypedNumberText(text, number) && ParseLasNumber(number, value);
}

}  // namespace platform
