// The canvas over a QPainter: widgets, QImage, QPrinter and PDF output all draw through it.
#pragma once

#include "platform/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPolygon>
#include <optional>

class QPainter;

namespace platform {

// Connected LineTo calls with one pen are gathered into a single polyline, which keeps
// long traces cheap on vector devices; Flush() draws what is pending (every other
// primitive, Save, Restore and the destructor flush too).
class PainterCanvas : public Canvas {
public:
    // Resolution of the painter's device.
    explicit PainterCanvas(QPainter& painter);
    PainterCanvas(QPainter& painter, int dpiX, int dpiY);
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

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

    void Flush();

protected:
    void DrawLine(CanvasPoint from, CanvasPoint to) override;
    void SaveDevice() override;
    void RestoreDevice() override;

private:
    void ApplyPen(const CanvasPen& p);
    void ApplyBrush();
    const QFontMetrics& Metrics();
    void DrawText(int x, int y, std::string_view text);

    QPainter& painter_;
    int dpiX_;
    int dpiY_;
    QPolygon pending_;
    CanvasPen pendingPen_;
    std::optional<CanvasPen> appliedPen_;
    std::optional<CanvasFont> metricsFont_;
    QFont qfont_;
    std::optional<QFontMetrics> metrics_;
};

}  // namespace platform
