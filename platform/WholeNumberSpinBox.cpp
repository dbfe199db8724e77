// Spin box of typed whole numbers.
#include "platform/WholeNumberSpinBox.h"

#include "platform/NumberText.h"

#include <algorithm>
#include <climits>

namespace platform {
namespace {

// The text as a whole number held within int; false for a fraction, an exponent or no number.
bool ReadWholeNumber(const QString& text, int& value)
{
    double number = 0.0;
    const bool whole = std::none_of(text.begin(), text.end(), [](QChar c) {
        return c == QLatin1Char('.') || c == QLatin1Char(',') || c == QLatin1Char('e') || c == QLatin1Char('E');
    });
    if (!whole || !TryStrToFloat(text, number))
        return false;
    value = int(std::clamp(number, double(INT_MIN), double(INT_MAX)));
    return true;
}

}  // namespace

WholeNumberSpinBox::WholeNumberSpinBox(QWidget* parent) : QSpinBox(parent) {}

QString WholeNumberSpinBox::textFromValue(int value) const
{
    return QString::number(value);
}

int WholeNumberSpinBox::valueFromText(const QString& text) const
{
    int value = 0;
    ReadWholeNumber(text, value);
    return value;
}

QValidator::State WholeNumberSpinBox::validate(QString& text, int&) const
{
    int value = 0;
    if (ReadWholeNumber(text, value))
        return QValidator::Acceptable;
    const bool numberSoFar = std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isDigit() || c.isSpace() || c == QLatin1Char('+') || c == QLatin1Char('-');
    });
    return numberSoFar ? QValidator::Intermediate : QValidator::Invalid;
}

void WholeNumberSpinBox::fixup(QString&) const {}

}  // namespace platform
