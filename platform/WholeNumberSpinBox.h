// The spin box of every typed whole number (counts, widths, scales, decimals): digits with an
// optional sign, blanks allowed between groups of three digits. A point or a comma is a decimal
// separator, never a group one, so "5,5" cannot become 55 in any locale: the field says at once
// that it takes whole numbers and rounds the fraction when the number is taken (5,5 gives 6). A
// number beyond the range is taken and held at the range's nearest end.
#pragma once

#include <QSpinBox>

namespace platform {

class WholeNumberSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit WholeNumberSpinBox(QWidget* parent = nullptr);

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;
    // Rounds a typed fraction; never removes the locale's group separator, as QSpinBox would.
    void fixup(QString& text) const override;
};

}  // namespace platform
