// Shared state handling of the drawing canvas.
#include "platform/Canvas.h"

#include <cmath>

namespace platform {

void Canvas::LineTo(int x, int y)
{
    const CanvasPoint to{x, y};
    DrawLine(penPos_, to);
    penPos_ = to;
}

int Canvas::FontPixelHeight() const
{
    return static_cast<int>(std::lround(font.size * DpiY() / 72.0));
}

void Canvas::Save()
{
    saved_.push_back({pen, brush, font, penPos_});
    SaveDevice();
}

void Canvas::Restore()
{
    if (saved_.empty())
        return;
    const State& s = saved_.back();
    pen = s.pen;
    brush = s.brush;
    font = s.font;
    penPos_ = s.penPos;
    saved_.pop_back();
    RestoreDevice();
}

}  // namespace platform
