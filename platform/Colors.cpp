// 0x00BBGGRR <-> QColor.
#include "platform/Colors.h"

namespace platform {

QColor ToQColor(ColorRef color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

ColorRef FromQColor(const QColor& color)
{
    QColor rgb = color.toRgb();
    return ColorRef(rgb.red()) | (ColorRef(rgb.green()) << 8) | (ColorRef(rgb.blue()) << 16);
}

}  // namespace platform
