// Spin box of typed whole numbers.
#include "platform/WholeNumberSpinBox.h"

#include "platform/NumberSpinBox.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <climits>

namespace platform {

WholeNumberSpinBox::WholeNumberSpinBox(QWidget* parent) : QSpinBox(parent) {}

QString WholeNumberSpinBox::textFromValue(int value) const
{
    return QString::number(value);
}

int WholeNumberSpinBox::valueFromText(const QString& text) const
{
    double value = 0.0;
    TryStrToFloat(text, value);
    return int(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}

QValidator::State WholeNumberSpinBox::validate(QString& text, int&) const
{
    const QValidator::State state = TypedNumberState(text, true);
    if (state != QValidator::Invalid)
        SayWholeNumbersOnly(*this, text);
    return state;
}

void WholeNumberSpinBox::fixup(QString& text) const
{
    RoundTypedWhole(text);
}

}  // namespace platform
