// The horizontal depth grid of a print column and the dashed lines of the grid.
#pragma once

#include "platform/Canvas.h"

class TPrintingDept;

// Minor (dashed) and major (solid) lines of page `page` in `r`, aligned with the depth labels.
// Depths go down with px, the dashes across with pxX.
void DrawColumnGrid(const TPrintingDept& dept, platform::Canvas& canvas, int page, float px,
                    const platform::CanvasRect& r, float pxX);

// A dashed line between two points given in cm (x converted with pxX, y with pxY); dash
// and gap lengths and the line width in mm, the width converted with penPx. The pen's
// colour is the caller's; its width is restored.
void DrawDashedLine(platform::Canvas& canvas, bool vertical, float x1, float y1, float x2, float y2, float dash,
                    float gap, float pxX, float pxY, float lineWidth, float penPx);
