// The centimetre ruler of the template editor with draggable markers ("tracks") at the
// columns' right edges. It knows nothing of columns: positions are cm, drags are signals.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

class TFormattingTrack {
public:
    float Position = 0.0f;  // cm from the ruler's origin
    int TrackWidth = 6;     // pixels
    int TrackHeight = 7;
    QColor TrackColor = QColor(0xC0, 0xC0, 0xC0);
    int LastX = 0;
    int LastY = 0;
    bool Visible = true;

    // A marker pointing down, filled with the track colour and lit on its upper left.
    void Draw(QPainter& canvas, int x, int y);
    // The same outline in black, filled with `color`, without the light.
    void DrawSelected(QPainter& canvas, const QColor& color, int x, int y);

private:
    QPolygon Outline(int x, int y) const;
};

// Tick and label positions of a ruler, for painting and for tests.
struct TRulerLayout {
    std::vector<int> halfTicks;     // x of every half-centimetre tick
    std::vector<int> cmTicks;       // x of every centimetre tick
    std::vector<int> labels;        // the number of each label
    std::vector<int> labelX;        // the left edge of each label
};

class TFormattingBar : public QWidget {
    Q_OBJECT
public:
    // One track at 0 cm, 20 pixels per cm, no offset.
    explicit TFormattingBar(QWidget* parent = nullptr);
    ~TFormattingBar() override;

    float GetPixelsPerSm() const { return pixelsPerSm_; }
    void SetPixelsPerSm(float v);
    float GetWidthInSm() const { return widthInSm_; }
    void SetWidthInSm(float v);
    int GetOffset() const { return offset_; }
    void SetOffset(int v);
    QColor GetBGColor() const { return bgColor_; }
    void SetBGColor(const QColor& c);
    int GetActiveTrack() const { return activeTrack_; }

    TFormattingTrack* AddTrack(float position);
    void DeleteTrack(int i);
    TFormattingTrack* GetTrack(int i) const;
    int GetTrackCount() const { return static_cast<int>(tracks_.size()); }
    // The first track whose marker covers x, −1 when none.
    int GetTrackNumber(int x) const;
    float GetBeforeTrackDistance(int i) const;
    int CalcWidth() const { return width(); }

    // Ticks and labels for a ruler `widthPx` wide; `textWidth` measures a label.
    static TRulerLayout Layout(int widthPx, float pixelsPerSm, int offset, const std::function<int(int)>& textWidth);
    // Draws the ruler into the off-screen image.
    void PaintTempmap();
    const QImage& Bitmap() const { return bitmap_; }

signals:
    void TrackPosChange(int trackNumber, float newTrackValue);
    void TrackPosEndChange(int trackNumber, float newTrackValue);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    float pixelsPerSm_ = 20.0f;
    float widthInSm_ = 20.0f;
    int offset_ = 0;
    QColor bgColor_ = Qt::white;
    QImage bitmap_;
    int activeTrack_ = -1;
    std::vector<std::unique_ptr<TFormattingTrack>> tracks_;
};
