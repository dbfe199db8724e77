// Spin box of typed numbers.
#include "platform/NumberSpinBox.h"

#include "platform/NumberText.h"

#include <algorithm>

namespace platform {

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
    if (decimals() == 0 && (text.contains(QLatin1Char('.')) || text.contains(QLatin1Char(','))))
        return QValidator::Invalid;
    double value = 0.0;
    if (TryStrToFloat(text, value))
        return QValidator::Acceptable;
    const bool numberSoFar = std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isDigit() || c.isSpace() || QStringLiteral(".,+-eE").contains(c);
    });
    return numberSoFar ? QValidator::Intermediate : QValidator::Invalid;
}

void NumberSpinBox::fixup(QString&) const {}

}  // namespace platform
