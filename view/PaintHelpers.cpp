// Colour lightening and two-colour gradient fills.
#include "view/PaintHelpers.h"

#include "platform/Colors.h"

#include <QLinearGradient>
#include <QPainter>

std::uint32_t LightenColor(std::uint32_t color)
{
    std::uint32_t result = 0;
    for (int shift : {0, 8, 16}) {
        std::uint32_t channel = (color >> shift) & 0xFF;
        if (channel + 85 < 255)
            channel += 85;
        result |= channel << shift;
    }
    return result;
}

void FillGradientRect(QPainter& canvas, std::uint32_t color1, std::uint32_t color2, int width, int height,
                      int direction)
{
    if (width <= 0 || height <= 0)
        return;
    QLinearGradient gradient(0, 0, direction == 1 ? 0 : width, direction == 1 ? height : 0);
    gradient.setColorAt(0, platform::ToQColor(color1));
    gradient.setColorAt(1, platform::ToQColor(color2));
    canvas.fillRect(QRect(0, 0, width, height), gradient);
}
