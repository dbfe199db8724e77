// A panel that shows a horizontal window, from an offset, of a virtual drawing surface
// larger than itself, painted through an off-screen bitmap.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

class TDrawingPanel : public QWidget {
    Q_OBJECT

public:
    explicit TDrawingPanel(QWidget* parent = nullptr);

    int VirtWidth() const { return virtWidth_; }
    int VirtHeight() const { return virtHeight_; }
    int HorzOffset() const { return horzOffset_; }
    // Values of 1 and below are ignored.
    void SetVirtWidth(int n);
    void SetVirtHeight(int n);
    // Values below 1 are ignored: the offset returns to 0 only through a resize while
    // the virtual sizes follow the panel.
    void SetHorzOffset(int n);

    // Off: every resize makes the virtual size the panel's and the offset 0.
    bool EnableVirtSizes = false;
    // With EnableVirtSizes on: the virtual height follows the panel's height.
    bool AutoHeight = true;

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage bitmap_;
    int virtWidth_ = 0;
    int virtHeight_ = 0;
    int horzOffset_ = 0;
    QColor color_{Qt::lightGray};
};
