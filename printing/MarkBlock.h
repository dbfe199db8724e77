// The perforation-mark block of the first printed page: a framed block with the distance
// between the control and the main mark and the depths it follows from.
#pragma once

#include "core/KontrOsnMetkaInfo.h"
#include "platform/Canvas.h"

// Draws the block from `top` cm between `left` and `right` cm (horizontal positions with `kx`,
// vertical ones with `ky` device pixels per cm); returns the position below it in cm.
double DrawMarkBlock(const TKontrOsnMetkaInfo& info, platform::Canvas& canvas, double top, double left,
                     double right, double kx, double ky);
