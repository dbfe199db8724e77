// Small painting helpers shared by the panel and the dialogs.
#pragma once

#include <cstdint>

class QPainter;

// Each of red, green and blue (0x00BBGGRR) gains 85 when the result stays below 255.
std::uint32_t LightenColor(std::uint32_t color);

// Fills the rectangle (0, 0, width, height) with a linear gradient from color1 to color2:
// direction 1 top to bottom, 0 left to right.
void FillGradientRect(QPainter& canvas, std::uint32_t color1, std::uint32_t color2, int width, int height,
                      int direction);
