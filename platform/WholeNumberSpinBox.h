// The spin box of every typed whole number (counts, widths, scales, decimals): digits with an
// optional sign, blanks allowed between groups of three digits. A point or a comma is refused as
// it is typed, never taken for a group separator, so "5,5" cannot become 55 in any locale; a
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
    // Nothing to mend: QSpinBox would remove the locale's group separator here.
    void fixup(QString& text) const override;
};

}  // namespace platform
