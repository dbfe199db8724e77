// A canvas that draws nothing and records every primitive with the state it was drawn in,
// with fixed font metrics, so that tests can assert on positions and texts exactly.
#pragma once

#include "platform/Canvas.h"

#include <string>
#include <vector>

namespace platform {

enum class CanvasOpKind { Line, Rectangle, FillRect, Polygon, Polyline, Text, Scale };

struct CanvasOp {
    CanvasOpKind kind = CanvasOpKind::Line;
    std::vector<CanvasPoint> points;  // Line: start and end; Polygon, Polyline: all points
    CanvasRect rect;                  // Rectangle, FillRect; the clip of a TextRect
    CanvasPoint at;                   // Text: top-left corner
    std::string text;
    CanvasPen pen;
    CanvasBrush brush;
    CanvasFont font;
    double sx = 1.0;
    double sy = 1.0;
};

// Font metrics: every character is FontPixelHeight() / 2 pixels wide (at least 1) and every
// text FontPixelHeight() high, whatever the face.
class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(int dpiX = 96, int dpiY = 96) : dpiX_(dpiX), dpiY_(dpiY) {}

    int DpiX() const override { return dpiX_; }
    int DpiY() const override { return dpiY_; }

    void Rectangle(const CanvasRect& r) override;
    void Polygon(const std::vector<CanvasPoint>& points) override;
    void FillRect(const CanvasRect& r) override;
    void Polyline(const std::vector<CanvasPoint>& points) override;
    void TextOut(int x, int y, std::string_view text) override;
    void TextRect(const CanvasRect& clip, int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override;
    int TextHeight(std::string_view text) override;
    void Scale(double sx, double sy) override;

    const std::vector<CanvasOp>& Ops() const { return ops_; }
    std::vector<CanvasOp> OpsOf(CanvasOpKind kind) const;
    void Clear() { ops_.clear(); }

protected:
    void DrawLine(CanvasPoint from, CanvasPoint to) override;
    void SaveDevice() override {}
    void RestoreDevice() override {}

private:
    CanvasOp& Record(CanvasOpKind kind);

    int dpiX_;
    int dpiY_;
    std::vector<CanvasOp> ops_;
};

}  // namespace platform
