// The spin box of every typed number: shown with the separator of platform/NumberText, read
// with a point or a comma as the decimal separator and never with a group separator. A text
// that cannot become a number is refused as it is typed, and so is a separator where no decimals
// are shown; one left unfinished gives the old value back; a number beyond the range is taken and
// held at the range's nearest end.
#pragma once

#include <QDoubleSpinBox>

namespace platform {

// A typed text as a number field takes it: Acceptable for a number, Intermediate for the start of
// one, else Invalid; `whole` refuses a point, a comma and an exponent.
QValidator::State TypedNumberState(const QString& text, bool whole);

class NumberSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit NumberSpinBox(QWidget* parent = nullptr);

protected:
    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;
    // Nothing to mend: removing the locale's group separator would turn "5,5" into 55.
    void fixup(QString& text) const override;
};

}  // namespace platform
