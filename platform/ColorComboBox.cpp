// Colour swatch box.
#include "platform/ColorComboBox.h"

#include "platform/DialogRunner.h"

#include <QPixmap>

namespace platform {

namespace {

// The sixteen colours of the window library's colour boxes (0x00BBGGRR).
constexpr ColorRef StandardColors[] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                       0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                       0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

QIcon Swatch(ColorRef color)
{
    QPixmap pixmap(32, 12);
    pixmap.fill(ToQColor(color));
    return QIcon(pixmap);
}

}  // namespace

ColorComboBox::ColorComboBox(QWidget* parent) : QComboBox(parent)
{
    setIconSize(QSize(32, 12));
    for (ColorRef c : StandardColors)
        addItem(Swatch(c), QString(), QVariant::fromValue<uint>(c));
    addItem(QStringLiteral("Другой..."));
    setCurrentIndex(0);
    connect(this, &QComboBox::activated, this, &ColorComboBox::Activated);
}

int ColorComboBox::IndexOf(ColorRef color) const
{
    for (int i = 0; i < count() - 1; ++i)
        if (itemData(i).toUInt() == color)
            return i;
    return -1;
}

void ColorComboBox::SetColor(ColorRef color)
{
    color &= 0xFFFFFF;
    color_ = color;
    int i = IndexOf(color);
    if (i < 0) {
        i = count() - 1;
        insertItem(i, Swatch(color), QString(), QVariant::fromValue<uint>(color));
    }
    setCurrentIndex(i);
}

void ColorComboBox::Activated(int index)
{
    if (index == count() - 1) {
        std::uint32_t chosen = color_;
        if (!ChooseColor(this, chosen)) {
            SetColor(color_);
            return;
        }
        SetColor(chosen);
    } else {
        color_ = itemData(index).toUInt();
    }
    emit ColorChanged(color_);
}

}  // namespace platform
