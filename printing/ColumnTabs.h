// The column tabs of the template editor, drawn by the owner: each tab shows its 1-based
// number whatever its stored caption.
#pragma once

#include <QTabBar>
#include <functional>

class TColumnTabs : public QTabBar {
    Q_OBJECT
public:
    explicit TColumnTabs(QWidget* parent = nullptr);

    // Draws tab `index` into `rect` (the editor's TabCtrlColumnsDrawTab).
    std::function<void(QPainter&, int index, const QRect& rect, bool selected, bool hovered)> DrawTab;
    int HoveredTab() const { return hovered_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int hovered_ = -1;
};
