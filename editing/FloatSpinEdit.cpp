// Float spin edit keeping its given value.
#include "editing/FloatSpinEdit.h"

#include "platform/NumberText.h"

#include <QLineEdit>

TFloatSpinEdit::TFloatSpinEdit(QWidget* parent) : platform::NumberSpinBox(parent)
{
    setRange(-1.0e9, 1.0e9);
    setDecimals(2);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { edited_ = true; });
}

void TFloatSpinEdit::SetValue(double value)
{
    exact_ = value;
    setValue(value);
    shown_ = this->value();
    edited_ = false;
}

void TFloatSpinEdit::SetDisplayDecimals(int decimals)
{
    const bool edited = edited_;
    setDecimals(decimals);
    setValue(exact_);
    shown_ = value();
    edited_ = edited;
}

void TFloatSpinEdit::stepBy(int steps)
{
    if (!edited_) {
        edited_ = true;
        setValue(exact_);
    }
    QDoubleSpinBox::stepBy(steps);
}

QString TFloatSpinEdit::textFromValue(double value) const
{
    return platform::DecimalText(value, decimals());
}
