// Pictures of tool buttons: common commands from the desktop's icon theme, curve tools drawn
// for the program.
#pragma once

#include <QIcon>
#include <QString>

class QToolBar;

namespace platform {

// The picture of the tool command with this object name; null when it has none or the theme
// lacks it.
QIcon ToolIcon(const QString& actionName);

// The bar shows its commands as pictures, those added later too; a command without one keeps
// its text.
void ShowToolIcons(QToolBar& bar);

}  // namespace platform
