// A float spin edit that shows its value with a chosen number of decimals, as a depth is written,
// but keeps the value it was given, unrounded, until the user edits it or another value is set.
// Typed numbers are read as in every number field.
#pragma once

#include "platform/NumberSpinBox.h"

class TFloatSpinEdit : public platform::NumberSpinBox
{
    Q_OBJECT
public:
    explicit TFloatSpinEdit(QWidget* parent = nullptr);

    double Value() const { return edited_ || value() != shown_ ? value() : exact_; }
    void SetValue(double value);
    void SetDisplayDecimals(int decimals);

protected:
    QString textFromValue(double value) const override;
    void stepBy(int steps) override;

private:
    double exact_ = 0.0;
    double shown_ = 0.0;  // exact_ as the box holds it
    bool edited_ = false;
};
