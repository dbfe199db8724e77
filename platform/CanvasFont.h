// The Qt font for a canvas font, so that every canvas measures text alike.
#pragma once

#include "platform/Canvas.h"

#include <QFont>

namespace platform {

// `pixelHeight` is the em height in device pixels (at least 1).
QFont ToQFont(const CanvasFont& font, int pixelHeight);

}  // namespace platform
