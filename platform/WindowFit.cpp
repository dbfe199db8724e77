// The available screen area, and the fit of top-level windows into it as they are shown.
#include "platform/WindowFit.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace platform {

namespace {

ScreenAreaSource& Source()
{
    static ScreenAreaSource source;
    return source;
}

// The frame the system draws around the window: the real one once it is known, else a title
// bar's height above it.
QMargins Frame(const QWidget& window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    if (outer != inner)
        return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                outer.bottom() - inner.bottom()};
    return {0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window), 0, 0};
}

class ShowFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous() && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            const Qt::WindowType type = widget->windowType();
            if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool))
                FitIntoAvailableArea(*widget);
        }
        return false;
    }
};

}  // namespace

QRect AvailableScreenArea(const QPoint& at)
{
    if (Source())
        return Source()(at);
    const QScreen* screen = QGuiApplication::screenAt(at);
    return screen ? screen->availableGeometry() : QRect();
}

ScreenAreaSource SetAvailableScreenArea(ScreenAreaSource source)
{
    return std::exchange(Source(), std::move(source));
}

bool FitsAvailableArea(const QWidget& window, const QRect& geometry)
{
    const QRect area = AvailableScreenArea(geometry.center());
    return !area.isEmpty() && area.contains(geometry.marginsAdded(Frame(window)));
}

void FitIntoAvailableArea(QWidget& window, bool shown)
{
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    const QRect inner = window.geometry();
    QRect area = AvailableScreenArea(inner.center());
    const bool offScreen = area.isEmpty();
    if (offScreen && QGuiApplication::primaryScreen())
        area = AvailableScreenArea(QGuiApplication::primaryScreen()->geometry().center());
    if (area.isEmpty())
        return;
    const QRect room = area.marginsRemoved(Frame(window));
    const QSize size = inner.size().boundedTo(room.size()).expandedTo(window.minimumSize());
    if (size != inner.size())
        window.resize(size);
    if (!offScreen && !shown && !window.testAttribute(Qt::WA_Moved))
        return;
    const QPoint at(std::clamp(inner.left(), room.left(), std::max(room.left(), room.right() + 1 - size.width())),
                    std::clamp(inner.top(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
    if (at != inner.topLeft())
        window.setGeometry(QRect(at, size));
}

std::unique_ptr<QObject> FitWindowsAsShown(QApplication& application)
{
    auto filter = std::make_unique<ShowFilter>();
    application.installEventFilter(filter.get());
    return filter;
}

}  // namespace platform
