// Canvas fonts as Qt fonts.
#include "platform/CanvasFont.h"

#include <algorithm>

namespace platform {

QFont ToQFont(const CanvasFont& font, int pixelHeight)
{
    QFont result(QString::fromStdString(font.name));
    result.setPixelSize(std::max(1, pixelHeight));
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    result.setStrikeOut(font.strikeOut);
    return result;
}

}  // namespace platform
