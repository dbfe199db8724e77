// Recording canvas for tests.
#include "platform/RecordingCanvas.h"

#include <algorithm>

namespace platform {

CanvasOp& RecordingCanvas::Record(CanvasOpKind kind)
{
    CanvasOp& op = ops_.emplace_back();
    op.kind = kind;
    op.pen = pen;
    op.brush = brush;
    op.font = font;
    return op;
}

void RecordingCanvas::DrawLine(CanvasPoint from, CanvasPoint to)
{
    Record(CanvasOpKind::Line).points = {from, to};
}

void RecordingCanvas::Rectangle(const CanvasRect& r) { Record(CanvasOpKind::Rectangle).rect = r; }

void RecordingCanvas::Polygon(const std::vector<CanvasPoint>& points)
{
    Record(CanvasOpKind::Polygon).points = points;
}

void RecordingCanvas::FillRect(const CanvasRect& r) { Record(CanvasOpKind::FillRect).rect = r; }

void RecordingCanvas::Polyline(const std::vector<CanvasPoint>& points)
{
    Record(CanvasOpKind::Polyline).points = points;
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text)
{
    CanvasOp& op = Record(CanvasOpKind::Text);
    op.at = {x, y};
    op.text = std::string(text);
    op.rect = {x, y, x + TextWidth(text), y + TextHeight(text)};
}

void RecordingCanvas::TextRect(const CanvasRect& clip, int x, int y, std::string_view text)
{
    CanvasOp& op = Record(CanvasOpKind::Text);
    op.at = {x, y};
    op.text = std::string(text);
    op.rect = clip;
}

int RecordingCanvas::TextWidth(std::string_view text)
{
    const int charWidth = std::max(1, FontPixelHeight() / 2);
    const auto chars = std::count_if(text.begin(), text.end(),
                                     [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    return static_cast<int>(chars) * charWidth;
}

int RecordingCanvas::TextHeight(std::string_view) { return FontPixelHeight(); }

void RecordingCanvas::Scale(double sx, double sy)
{
    CanvasOp& op = Record(CanvasOpKind::Scale);
    op.sx = sx;
    op.sy = sy;
}

std::vector<CanvasOp> RecordingCanvas::OpsOf(CanvasOpKind kind) const
{
    std::vector<CanvasOp> result;
    std::copy_if(ops_.begin(), ops_.end(), std::back_inserter(result),
                 [kind](const CanvasOp& op) { return op.kind == kind; });
    return result;
}

}  // namespace platform
