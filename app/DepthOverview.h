// Depth overview beside the panel: the whole depth range with labels, the visible window
// framed; a press or drag asks to scroll there.
#pragma once

#include <QWidget>

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

    // Row of a depth and depth of a row inside the drawing strip.
    int DepthToRow(double depth) const;
    double RowToDepth(int y) const;

signals:
    void DepthClicked(double depth);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QRect Strip() const;
    bool HasRange() const { return last_ > first_; }

    double first_ = 0.0;
    double last_ = 0.0;
    double top_ = 0.0;
    double bottom_ = 0.0;
    const IntervalManager* intervals_ = nullptr;
};
