// Owner-drawn column tabs.
#include "printing/ColumnTabs.h"

#include <QMouseEvent>
#include <QPainter>

TColumnTabs::TColumnTabs(QWidget* parent) : QTabBar(parent)
{
    setMouseTracking(true);
    setDrawBase(false);
    setExpanding(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TColumnTabs::paintEvent(QPaintEvent* event)
{
    if (!DrawTab) {
        QTabBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    for (int i = 0; i < count(); ++i)
        DrawTab(painter, i, tabRect(i), i == currentIndex(), i == hovered_);
}

void TColumnTabs::mouseMoveEvent(QMouseEvent* event)
{
    const int tab = tabAt(event->position().toPoint());
    if (tab != hovered_) {
        hovered_ = tab;
        update();
    }
    QTabBar::mouseMoveEvent(event);
}

void TColumnTabs::leaveEvent(QEvent* event)
{
    hovered_ = -1;
    update();
    QTabBar::leaveEvent(event);
}
