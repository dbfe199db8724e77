// One curve of the panel: borrowed sample values, their statistics, its scale and pen.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

class QPainter;
class TPanelWithCurves;
struct PanelCoordinates;

// Derived classes (the preview and working copies of editing tools) keep their own values
// and point the base at them with SetData.
class TCurve {
public:
    // The values are borrowed: the owner of the array frees it, never the curve. The initial
    // scale lets the value range fill 90 pixels (1 pixel per unit for a constant curve).
    TCurve(TPanelWithCurves* panel, float* values, int count, std::uint32_t color, float nullValue);
    virtual ~TCurve();
    TCurve(const TCurve&) = delete;
    TCurve& operator=(const TCurve&) = delete;

    void SetData(float* values, int count);
    // Recomputes minimum, maximum and mean of the non-NULL values (all 0 when there are none).
    void Update();
    // Widest and narrowest track the value range may take, in pixels.
    static constexpr double kMaxTrackPixels = 1.0e6;
    static constexpr double kMinTrackPixels = 1.0e-3;
    // Ignores values not above 0 and kept within the track limits; repaints the panel.
    void SetPixelsPerUnit(double pixelsPerUnit);
    // Kept within kMaxPixelOffset either way.
    void SetXOffset(int offset);
    void SetColor(std::uint32_t color) { color_ = color; }
    // Below 2 gives 1, above 4 gives 5.
    void SetLineWidth(int width);
    void SetSelected(bool selected) { selected_ = selected; }
    void SetVisible(bool visible) { visible_ = visible; }
    void SetCaption(const QString& caption) { caption_ = caption; }

    // round((v - minimum) x pixels per unit); 0 when pixels per unit is not above 0.
    int ValueToPixel(float v) const;
    // Mean of the non-NULL samples first..last (clamped to the array); 0 when there are none.
    double GetMeanInRange(int first, int last) const;

    // Renders the visible part into this curve's own transparent layer of the drawing-area size.
    void DrawToLayer();
    // Puts the layer onto the panel's off-screen image.
    void Draw();
    // Draws the visible part straight onto a painter in panel coordinates; `extraWidth`
    // widens the pen (hover, selection).
    void Paint(QPainter& painter, const PanelCoordinates& coordinates, int extraWidth) const;

    // Column of a value and value at a column, under the panel's coordinate model.
    double ColumnOf(double value, const PanelCoordinates& coordinates) const;
    double ValueAt(double x, const PanelCoordinates& coordinates) const;

    TPanelWithCurves* Panel() const { return panel_; }
    float* Values() const { return values_; }
    int Count() const { return count_; }
    float NullValue() const { return nullValue_; }
    // A NaN sample (left by a failed calculation) is absent like a NULL one.
    bool IsNull(float v) const { return v == nullValue_ || v != v; }
    // False when every sample is absent: minimum and maximum are then no values of the curve.
    bool HasValues() const { return hasValues_; }
    float Minimum() const { return minimum_; }
    float Maximum() const { return maximum_; }
    float Mean() const { return mean_; }
    double PixelsPerUnit() const { return pixelsPerUnit_; }
    int XOffset() const { return xOffset_; }
    int LineWidth() const { return lineWidth_; }
    std::uint32_t Color() const { return color_; }
    bool IsSelected() const { return selected_; }
    bool IsVisible() const { return visible_; }
    const QString& Caption() const { return caption_; }
    const QImage& Layer() const { return layer_; }

protected:
    double LimitedPixelsPerUnit(double pixelsPerUnit) const;

    TPanelWithCurves* panel_;
    float* values_;
    int count_;
    float nullValue_;
    bool selected_ = false;
    bool visible_ = true;
    bool hasValues_ = false;
    float minimum_ = 0;
    float maximum_ = 0;
    float mean_ = 0;
    double pixelsPerUnit_ = 1;
    int xOffset_ = 0;
    int lineWidth_ = 1;
    std::uint32_t color_;
    QString caption_;
    QImage layer_;
};
