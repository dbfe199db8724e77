// Windows that start within the screen: one rule for every top-level window, and a stored
// placement kept only where it still fits.
#pragma once

#include <QRect>
#include <functional>
#include <memory>

class QApplication;
class QObject;
class QWidget;

namespace platform {

// The area windows may take on the screen at a point, in logical pixels (the screen's less its
// panels); empty where there is no screen. Replaceable, so that tests choose the screen and
// its scaling.
using ScreenAreaSource = std::function<QRect(const QPoint& at)>;
QRect AvailableScreenArea(const QPoint& at);
// Replaces the source (empty: the screens' own); returns the previous one.
ScreenAreaSource SetAvailableScreenArea(ScreenAreaSource source);

// Whether a window of `window`'s kind placed at `geometry` (inside its frame) lies, frame
// included, within the area of the screen it is on.
bool FitsAvailableArea(const QWidget& window, const QRect& geometry);
// Shrinks the window to the area of its screen, frame included, and moves it into the area
// when the program placed it or it is `shown` already; a window the system is about to place
// is placed by the system.
void FitIntoAvailableArea(QWidget& window, bool shown = false);
// Every top-level window, dialog and tool window is fitted as it is shown, while the object
// returned lives.
std::unique_ptr<QObject> FitWindowsAsShown(QApplication& application);

}  // namespace platform
