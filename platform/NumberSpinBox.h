// The spin box of every typed number: shown with the separator of platform/NumberText, read
// with a point or a comma as the decimal separator and never with a group separator. A text
// that cannot become a number is refused as it is typed; one left unfinished gives the old value
// back; a number beyond the range is taken and held at the range's nearest end. A field without
// decimals says at once that it takes whole numbers when a separator is typed, and rounds the
// fraction when the number is taken.
#pragma once

#include <QDoubleSpinBox>

namespace platform {

// A typed text as a number field takes it: Acceptable for a number, Intermediate for the start of
// one, else Invalid; `whole` refuses an exponent and holds a number with a fraction Intermediate,
// for RoundTypedWhole to round.
QValidator::State TypedNumberState(const QString& text, bool whole);
// A typed number with a fraction rounded to the nearest whole number (halves away from zero),
// in place; other texts are left as they are.
void RoundTypedWhole(QString& text);
// A whole-number field whose text holds a decimal separator tells the user, by a tip beside it,
// that the fraction will be rounded.
void SayWholeNumbersOnly(const QWidget& field, const QString& text);

class NumberSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit NumberSpinBox(QWidget* parent = nullptr);

protected:
    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;
    // Rounds a fraction typed into a field without decimals; never removes the locale's group
    // separator, which would turn "5,5" into 55.
    void fixup(QString& text) const override;
};

}  // namespace platform
