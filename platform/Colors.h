// Colour values kept as 0x00BBGGRR (as stored in settings and session files) and QColor.
#pragma once

#include <QColor>
#include <cstdint>

namespace platform {

using ColorRef = std::uint32_t;  // 0x00BBGGRR

QColor ToQColor(ColorRef color);
ColorRef FromQColor(const QColor& color);

}  // namespace platform
