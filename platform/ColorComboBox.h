// A colour box without names: swatches of the standard colours and "Другой...", which asks
// for any colour through the dialog runner.
#pragma once

#include "platform/Colors.h"

#include <QComboBox>

namespace platform {

class ColorComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ColorComboBox(QWidget* parent = nullptr);

    ColorRef Color() const { return color_; }
    // A colour outside the list is added as its own swatch.
    void SetColor(ColorRef color);

signals:
    // The user chose a colour.
    void ColorChanged(ColorRef color);

private:
    int IndexOf(ColorRef color) const;
    void Activated(int index);

    ColorRef color_ = 0;
};

}  // namespace platform
