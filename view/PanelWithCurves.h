// The curve panel: the curves of one document drawn against depth, with its own axes,
// selection interval, hit tests, editing by line and mouse handling.
#pragma once

#include "view/Axis.h"
#include "view/Curve.h"
#include "view/Interval.h"
#include "view/PanelCoordinates.h"

#include "platform/ErrorReport.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QMouseEvent;
class QPainter;

// How the owner's drawing-area layer is merged into the panel image.
enum TRasterOp : std::uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCINVERT = 0x00660046,  // exclusive or
};

class TPanelWithCurves : public QWidget {
    Q_OBJECT
public:
    enum TPanelState { PSNormal, PSDrag };

    explicit TPanelWithCurves(QWidget* parent = nullptr);
    ~TPanelWithCurves() override;

    // Curves, 0-based; null out of range.
    TCurve* GetCurve(int index) const;
    int GetCurvesCount() const { return static_cast<int>(curves_.size()); }
    // Adds a curve over borrowed values (never freed by the panel).
    TCurve* AddCurve(float* values, int count, std::uint32_t color, float nullValue);
    void DeleteCurve(int index);

    // 1-based index of the visible curve drawn within 5 pixels of the mouse (nearest wins,
    // the lowest index on a tie); 0 when none.
    int GetCurrentCurve() const;
    // Nearest depth index at a height; -1 outside the drawing area or the depth range.
    int GetDepthArrayNumber(int y) const;
    double GetDepthValue(int y) const;
    double GetFirstVisibleDepth() const;
    double GetLastVisibleDepth() const;
    // Whether the visible curve has a non-NULL sample inside the rectangle of the two corners.
    bool CurveBelongsSquare(int curveIndex, QPoint corner1, QPoint corner2) const;
    // Writes a straight line of values between two pixel points into the curve's array:
    // every depth index between the rows of the two points gets the value under the segment.
    void SetLine(int curveIndex, int x1, int y1, int x2, int y2);
    // Recomputes every curve's statistics and repaints.
    void UpdateCurves();
    // Brings a depth to the middle of the drawing area and repaints.
    void GotoDepth(double depth);
    // Depth scale 1:N, keeping the depth at the middle of the drawing area; N < 1 is ignored.
    void SetScaleY(int n);

    // Redraws the off-screen image and shows it.
    void Repaint();
    // Redraws the off-screen image only.
    void Redraw();
    // The off-screen image; owners may draw on it (rubber bands, previews) and then ShowBitmap.
    QImage& Bitmap() { return bitmap_; }
    const QImage& Bitmap() const { return bitmap_; }
    void ShowBitmap();
    // Merges a layer of the drawing-area size into the drawing area of the image.
    void MergeLayer(const QImage& layer, TRasterOp op);

    // The widget minus the depth strip on the left and the value strip at the top.
    QRect DrawingArea() const;
    PanelCoordinates Coordinates() const;
    // Last mouse position seen over the panel, in panel pixels.
    QPoint MousePosition() const { return mouse_; }
    // Width of the depth strip on the left and the least height of the value strip at the top;
    // the value strip grows, up to half the panel, to hold the caption rows of the visible
    // curves whose tracks are in view.
    void SetAxisSizes(int depthAxisWidth, int valueAxisHeight);

    // One visible curve's part of the value strip, for a track in view: the caption and the
    // minimum and maximum as drawn, on a row shared with curves whose tracks and texts it
    // does not meet.
    struct ValueStripEntry {
        int curve = -1;
        int lineY = 0;  // the curve's coloured line under its texts
        int left = 0;
        int right = 0;
        QRect caption;
        QRect minimum;
        QRect maximum;
        QString captionText;
        QString minimumText;
        QString maximumText;
    };
    // The rows that fit the strip; when some do not, the last row that fits shows `more`
    // (an ellipsis) instead of its curves.
    struct ValueStrip {
        std::vector<ValueStripEntry> entries;
        QRect more;
        int height = 0;  // of the rows drawn
    };
    ValueStrip ValueStripLayout() const;

    TPanelState PanelState = PSNormal;
    bool CrossMouse = true;
    // False: mouse moves only fire OnMouseMove (no dragging, hover or cursor change).
    bool OwnMouseMove = true;
    std::uint32_t BackgroundColor = 0xFFFFFF;
    std::uint32_t CrossColor = 0xC0C0C0;
    bool ShowHints = true;
    bool ShowCaptions = true;

    // The panel listens on YAxisInfo.OnOffsetChange and Interval.OnChange itself; owners use
    // OnYOffsetChange and OnIntervalChange.
    TAxis XAxisInfo{TAxis::ValueAxis};
    TAxis YAxisInfo{TAxis::DepthAxis};
    TInterval Interval{YAxisInfo};

    // Texts of a value of curve i (0-based) and of the depth of a row, as the owner's document
    // holds them; unset, the panel shows the floats with two decimals.
    std::function<QString(int curve, float value)> ValueText;
    std::function<QString(int row)> RowDepthText;

    std::function<void(TPanelWithCurves* sender, int curveIndex)> OnCurveClick;
    std::function<void(int offset)> OnYOffsetChange;
    std::function<void(int first, int last)> OnIntervalChange;
    // The owner paints a layer (filled black before the call) through `canvas` in panel
    // coordinates; `op` (SRCINVERT unless changed) says how it is merged.
    std::function<void(QPainter& canvas, const QRect& area, double firstDepth, double lastDepth, TRasterOp& op)>
        OnDrawingAreaPaint;
    // Called before the panel draws or reads the borrowed arrays (never re-entered): the owner
    // attaches the panel again when its document replaced them.
    std::function<void()> OnCheckData;
    // The owner's overlay (rubber bands, previews), painted on screen over the image and the
    // owner's layer, clipped to the drawing area, at every paint.
    std::function<void(QPainter& painter, const PanelCoordinates& coordinates)> OnPaintOverlay;
    std::function<void(QMouseEvent& event)> OnMouseDown;
    std::function<void(QMouseEvent& event)> OnMouseMove;
    std::function<void(QMouseEvent& event)> OnMouseUp;
    std::function<void(QMouseEvent& event)> OnClick;
    std::function<void(QMouseEvent& event)> OnDblClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class Drag { None, Curve, DepthAxis, ValueAxis, Interval };
    struct Hit {
        int curve = -1;
        int sample = -1;
        double distance = 0;
    };

    Hit HitTest(QPoint point) const;
    void CheckData() const;
    // Axes learn the drawing-area size (hidden widgets get no resize events).
    void SyncAxesToArea();
    void DrawDepthStrip(QPainter& painter, const PanelCoordinates& coordinates);
    // Where a depth label centred on `row` stands in the strip, clear of the ticks.
    QRect DepthLabelRect(int row, int textHeight) const;
    void DrawValueStrip(QPainter& painter);
    // Height the value strip needs for the visible curves; sets the drawing area's top.
    void UpdateValueStripHeight();
    // The value ticks with their labels along the bottom of the value strip.
    int ValueTicksHeight() const;
    // The value strip takes at most half the panel, never less than its least height.
    int MaxValueStripHeight() const;
    void DrawGrid(QPainter& painter, const PanelCoordinates& coordinates);
    void DrawOwnerLayer(const PanelCoordinates& coordinates);
    void DrawCrossHair(QPainter& painter);
    void UpdateHover(QMouseEvent& event);
    QString ValueTextOf(int curve, float value) const;
    void ClearHover();
    // Calls an owner's handler; an exception it throws is reported, never passed to Qt.
    template <class Handler, class... Args>
    void Fire(const Handler& handler, Args&&... args)
    {
        if (handler)
            platform::Guarded(this, [&] { handler(std::forward<Args>(args)...); });
    }

    std::vector<std::unique_ptr<TCurve>> curves_;
    QImage bitmap_;
    int depthAxisWidth_ = 60;
    int valueAxisHeight_ = 35;
    int valueStripHeight_ = 35;
    QPoint mouse_{-1, -1};
    bool mouseInside_ = false;
    int hovered_ = -1;  // 0-based curve drawn wider under the mouse
    Drag drag_ = Drag::None;
    bool clickArmed_ = false;  // a left press that a release turns into OnClick
    mutable bool checkingData_ = false;
    QPoint dragStart_;
    int dragCurve_ = -1;
    int dragStartOffset_ = 0;
    int dragStartIndex_ = -1;
};
