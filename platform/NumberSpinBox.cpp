// Spin box of typed numbers.
#include "platform/NumberSpinBox.h"

#include "platform/NumberText.h"

#include <algorithm>

namespace platform {

QValidator::State TypedNumberState(const QString& text, bool whole)
{
    const auto fraction = [](QChar c) { return QStringLiteral(".,eE").contains(c); };
    if (whole && std::any_of(text.begin(), text.end(), fraction))
        return QValidator::Invalid;
    double value = 0.0;
    if (TryStrToFloat(text, value))
        return QValidator::Acceptable;
    const bool numberSoFar = std::all_of(text.begin(), text.end(), [&](QChar c) {
        return c.isDigit() || c.isSpace() || c == QLatin1Char('+') || c == QLatin1Char('-') || fraction(c);
    });
    return numberSoFar ? QValidator::Intermediate : QValidator::Invalid;
}

NumberSpinBox::NumberSpinBox(QWidget* parent) : QDoubleSpinBox(parent) {}

QString NumberSpinBox::textFromValue(double value) const
{
    QString text = QString::number(value, 'f', decimals());
    if (text.startsWith(QLatin1Char('-')) &&
        std::none_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); }))
        text.remove(0, 1);  // no "-0.00"
    text.replace(QLatin1Char('.'), DecimalSeparator());
    return text;
}

double NumberSpinBox::valueFromText(const QString& text) const
{
    double value = 0.0;
    TryStrToFloat(text, value);
    return value;
}

QValidator::State NumberSpinBox::validate(QString& text, int&) const
{
    // A field without decimals takes whole numbers: "5,5" would be rounded to a number nobody typed.
    return TypedNumberState(text, decimals() == 0);
}

void NumberSpinBox::fixup(QString&) const {}

}  // namespace platform
