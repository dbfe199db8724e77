// Depth overview beside the panel: the whole depth range with labels, the visible window
// framed; a press or drag asks to scroll there.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class IntervalManager;

class TDepthOverview : public QWidget
{
    Q_OBJECT
public:
    explicit TDepthOverview(QWidget* parent = nullptr);

    // Whole depth range (empty when first >= last: nothing is drawn).
    void SetRange(double first, double last);
    void SetVisibleWindow(double top, double bottom);
    // Interval bands drawn over the whole range (null: none).
    void SetIntervals(const IntervalManager* intervals) { intervals_ = intervals; }
    double First() const { return first_; }
    double Last() const { return last_; }

    // One depth label: the row of its tick and its text.
    struct TDepthLabel
    {
        int row;
        QString text;
    };
    // The labels for the current range and height.
    std::vector<TDepthLabel> Labels() const;
    // Left edge of the label texts.
    int LabelLeft() const;
    // Wide enough for the widest label, never narrower than the minimum width.
    QSize sizeHint() const override;

    // Row of a depth and depth of a row inside the drawing strip.
    int DepthToRow(double depth) const;
    double RowToDepth(int y) const;

signals:
    void DepthClicked(double depth);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect Strip() const;
    bool HasRange() const { return last_ > first_; }

    double first_ = 0.0;
    double last_ = 0.0;
    double top_ = 0.0;
    double bottom_ = 0.0;
    const IntervalManager* intervals_ = nullptr;
};
