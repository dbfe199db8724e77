// An enhanced metafile (EMF) picture drawn through the canvas: one picture per file, its
// records built by libuemf and streamed to a temporary name that is renamed when finished.
#pragma once

#include "core/AtomicFile.h"
#include "platform/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The device a picture is made for: its logical resolution and its size in pixels and in
// millimetres (the header's szlDevice and szlMillimeters).
struct EmfReference {
    int dpiX = 96;
    int dpiY = 96;
    int widthPx = 1920;
    int heightPx = 1080;
    int widthMm = 508;
    int heightMm = 286;
};

// The primary screen, or a 96 dpi screen of 1920 × 1080 pixels when there is none.
EmfReference ScreenReference();

// Coordinates are device pixels of the reference device. Pens are geometric with flat caps;
// custom dash patterns are written as their dashes, batched; the opaque background of text
// is a filled rectangle under it; Scale multiplies the coordinates written, not a transform.
class EmfCanvas : public Canvas {
public:
    // `frame`: the picture's rectangle in 0.01 mm.
    EmfCanvas(std::string path, const EmfReference& reference, const CanvasRect& frame);
    // A picture that is only measured: nothing is written, Bytes() counts what would be.
    explicit EmfCanvas(const EmfReference& reference);
    ~EmfCanvas() override;
    EmfCanvas(const EmfCanvas&) = delete;
    EmfCanvas& operator=(const EmfCanvas&) = delete;

    int DpiX() const override { return reference_.dpiX; }
    int DpiY() const override { return reference_.dpiY; }

    void Rectangle(const CanvasRect& r) override;
    void Polygon(const std::vector<CanvasPoint>& points) override;
    void FillRect(const CanvasRect& r) override;
    void Polyline(const std::vector<CanvasPoint>& points) override;
    void TextOut(int x, int y, std::string_view text) override;
    void TextRect(const CanvasRect& clip, int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override;
    int TextHeight(std::string_view text) override;
    void Scale(double sx, double sy) override;

    // Completes the picture and renames it over the target; false, with the reason in
    // Error(), when it could not be written (nothing is then left under the target's name).
    // A canvas destroyed unfinished leaves no file.
    bool Finish();
    const std::string& Error() const { return error_; }
    // The size of the records so far, in bytes (what is pending is written out first).
    std::uint64_t Bytes();
    // The largest picture the format holds: its header gives the size in 32 bits.
    static constexpr std::uint64_t MaxBytes = 0xFFFFFFFFull;

protected:
    void DrawLine(CanvasPoint from, CanvasPoint to) override;
    void SaveDevice() override;
    void RestoreDevice() override;

private:
    struct Records;
    struct PenKey {
        CanvasColor color = 0;
        int width = 1;
        PenStyle style = PenStyle::Solid;
        bool operator==(const PenKey&) const = default;
    };
    struct BrushKey {
        bool solid = false;
        CanvasColor color = 0;
        bool operator==(const BrushKey&) const = default;
    };
    struct FontKey {
        CanvasFont font;  // colour left 0: text colour is not part of the font
        int height = 0;
        bool operator==(const FontKey&) const = default;
    };
    // The object of one kind that the writer last created or selected.
    template <class Key>
    struct Selection {
        std::optional<Key> key;
        std::uint32_t handle = 0;
        bool selected = false;
    };

    void Emit(char* record);
    void Fail(const std::string& what);
    // The Russian text of a failed write of the picture.
    std::string WriteFailure(int systemError) const;
    CanvasPoint Device(double x, double y);
    std::vector<CanvasPoint> DevicePoints(const std::vector<CanvasPoint>& points);
    CanvasRect DeviceRect(const CanvasRect& r);
    void Include(const CanvasPoint& p);
    void Flush();
    void FlushTrace();
    void FlushDashes();
    void EmitDashes(const CanvasPoint* dashes, std::size_t count);  // pairs of device points
    void AddDashes(const std::vector<CanvasPoint>& path);
    void SelectPen(const CanvasPen& p);
    void SelectBrush(const CanvasBrush& b);
    void SelectFont();
    void SetTextColor(CanvasColor color);
    template <class Key>
    void Replace(Selection<Key>& s, const Key& key, std::uint32_t handle);
    template <class Key>
    bool Reselect(Selection<Key>& s, const Key& key);
    void FillDeviceRect(const CanvasRect& device);
    void DrawText(int x, int y, std::string_view text, const CanvasRect* clip);
    void Metrics();

    std::unique_ptr<AtomicFileTarget> file_;  // null while only measuring
    std::unique_ptr<Records> records_;
    EmfReference reference_;
    bool finished_ = false;
    bool textModesSet_ = false;
    std::string error_;

    double sx_ = 1.0;
    double sy_ = 1.0;
    std::vector<std::pair<double, double>> savedScales_;

    bool drawn_ = false;
    CanvasRect bounds_;  // inclusive, device pixels

    std::vector<CanvasPoint> trace_;  // device points of the pending connected line
    CanvasPoint traceEnd_;            // its last point as given
    CanvasPen tracePen_;
    std::vector<CanvasPoint> dashes_;  // pairs of device points
    CanvasPen dashPen_;

    Selection<PenKey> pen_;
    Selection<BrushKey> brush_;
    Selection<FontKey> font_;
    std::optional<CanvasColor> textColor_;

    std::optional<CanvasFont> metricsFont_;
    QFont qfont_;
    std::optional<QFontMetrics> metrics_;
    std::optional<QFontMetricsF> metricsF_;
};

}  // namespace platform
