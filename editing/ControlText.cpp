// Number text of controls.
#include "editing/ControlText.h"

#include "platform/NumberText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <cmath>
#include <stdexcept>

void SetControlFloatText(QWidget& control, double value, int decimals)
{
    if (decimals < 0 || decimals > 10)
        throw std::invalid_argument("Недопустимое значение количества десятичных знаков");
    // Enough significant digits that only the decimals round.
    const int digits = std::isfinite(value) && value != 0 ? int(std::floor(std::log10(std::fabs(value)))) + 1 : 1;
    const QString text = platform::FloatToStrF(value, std::max(digits, 1) + decimals, decimals);
    if (auto* edit = qobject_cast<QLineEdit*>(&control))
        edit->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(&control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(&control))
        button->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(&control))
        combo->setCurrentText(text);
}
