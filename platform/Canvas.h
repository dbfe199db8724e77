// The drawing surface that all printed and previewed output goes through: integer device
// pixels, a pen, a brush and a font in the manner of a GDI canvas. Qt-free, so that the
// page-drawing models stay testable without a display.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using CanvasColor = std::uint32_t;  // 0x00BBGGRR

// Half-open in pixels: right and bottom lie just outside, as GDI rectangles do.
struct CanvasRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CanvasRect&) const = default;
};

struct CanvasPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CanvasPoint&) const = default;
};

// Custom: dashes of `dash` pixels and gaps of `gap` pixels, starting afresh with a dash at
// the first point of every line; a last, shorter dash ends a line that is not a whole
// number of periods long.
enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, Custom };
enum class BrushStyle { Solid, Clear };

struct CanvasPen {
    CanvasColor color = 0;
    int width = 1;  // device pixels; 0 draws as 1
    PenStyle style = PenStyle::Solid;
    double dash = 0.0;  // pixels, PenStyle::Custom only
    double gap = 0.0;
    bool operator==(const CanvasPen&) const = default;
};

// A solid brush also fills the background of text written by TextOut and TextRect;
// a clear brush leaves text transparent.
struct CanvasBrush {
    CanvasColor color = 0xFFFFFF;
    BrushStyle style = BrushStyle::Solid;
    bool operator==(const CanvasBrush&) const = default;
};

// Size in points; the height in device pixels follows from the canvas's vertical dpi.
struct CanvasFont {
    std::string name = "Arial";  // UTF-8
    double size = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    CanvasColor color = 0;
    bool operator==(const CanvasFont&) const = default;
};

// Drawing state is public, as on a GDI canvas: set `pen`, `brush` and `font`, then draw.
// Each primitive reads the state at the moment it is called.
class Canvas {
public:
    virtual ~Canvas() = default;

    CanvasPen pen;
    CanvasBrush brush;
    CanvasFont font;

    // Device resolution, horizontal and vertical separately.
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    double PixelsPerCmX() const { return DpiX() / 2.54; }
    double PixelsPerCmY() const { return DpiY() / 2.54; }

    // Pen position; LineTo draws from it with the pen and moves it to the end point.
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    void LineTo(int x, int y);
    CanvasPoint PenPos() const { return penPos_; }

    // The brush fills, the pen outlines.
    virtual void Rectangle(const CanvasRect& r) = 0;
    virtual void Polygon(const std::vector<CanvasPoint>& points) = 0;
    // Brush only.
    virtual void FillRect(const CanvasRect& r) = 0;
    // Pen only, through all points in order.
    virtual void Polyline(const std::vector<CanvasPoint>& points) = 0;

    // Text (UTF-8) with its top-left corner at (x, y), in the current font.
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    // The same, clipped to `clip`.
    virtual void TextRect(const CanvasRect& clip, int x, int y, std::string_view text) = 0;
    virtual int TextWidth(std::string_view text) = 0;
    virtual int TextHeight(std::string_view text) = 0;
    // Pixel height of the current font at this canvas's vertical resolution.
    int FontPixelHeight() const;

    // Scales all later coordinates (previews draw in screen pixels and shrink them).
    virtual void Scale(double sx, double sy) = 0;

    // Save pushes pen, brush, font, pen position and scale; Restore pops them.
    void Save();
    void Restore();

protected:
    virtual void DrawLine(CanvasPoint from, CanvasPoint to) = 0;
    virtual void SaveDevice() = 0;
    virtual void RestoreDevice() = 0;

private:
    struct State {
        CanvasPen pen;
        CanvasBrush brush;
        CanvasFont font;
        CanvasPoint penPos;
    };
    CanvasPoint penPos_;
    std::vector<State> saved_;
};

}  // namespace platform
