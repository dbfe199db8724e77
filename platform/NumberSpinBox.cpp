// Spin box of typed numbers.
#include "platform/NumberSpinBox.h"

#include "platform/NumberText.h"

#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {
bool IsSeparator(QChar c)
{
    return c == QLatin1Char('.') || c == QLatin1Char(',');
}
}  // namespace

QValidator::State TypedNumberState(const QString& text, bool whole)
{
    const auto exponent = [](QChar c) { return c == QLatin1Char('e') || c == QLatin1Char('E'); };
    if (whole && (std::any_of(text.begin(), text.end(), exponent) ||
                  std::count_if(text.begin(), text.end(), IsSeparator) > 1))
        return QValidator::Invalid;
    double value = 0.0;
    if (TryStrToFloat(text, value))
        return whole && std::any_of(text.begin(), text.end(), IsSeparator) ? QValidator::Intermediate
                                                                            : QValidator::Acceptable;
    const bool numberSoFar = std::all_of(text.begin(), text.end(), [&](QChar c) {
        return c.isDigit() || c.isSpace() || c == QLatin1Char('+') || c == QLatin1Char('-') || IsSeparator(c) ||
               exponent(c);
    });
    return numberSoFar ? QValidator::Intermediate : QValidator::Invalid;
}

void RoundTypedWhole(QString& text)
{
    double value = 0.0;
    if (std::any_of(text.begin(), text.end(), IsSeparator) && TryStrToFloat(text, value) &&
        std::fabs(value) < 1e15)
        text = QString::number(static_cast<long long>(std::round(value)));
}

void SayWholeNumbersOnly(const QWidget& field, const QString& text)
{
    if (std::any_of(text.begin(), text.end(), IsSeparator))
        QToolTip::showText(field.mapToGlobal(QPoint(0, field.height())),
                           QStringLiteral("Здесь вводится целое число: дробная часть будет округлена"),
                           const_cast<QWidget*>(&field));
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
    const QValidator::State state = TypedNumberState(text, decimals() == 0);
    if (decimals() == 0 && state != QValidator::Invalid)
        SayWholeNumbersOnly(*this, text);
    return state;
}

void NumberSpinBox::fixup(QString& text) const
{
    if (decimals() == 0)
        RoundTypedWhole(text);
}

}  // namespace platform
