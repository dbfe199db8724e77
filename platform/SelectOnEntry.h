// A line edit whose whole text is selected whenever the user enters it, by the mouse too, so
// that typing replaces a proposed name instead of being mixed into it.
#pragma once

class QLineEdit;

namespace platform {

void SelectTextOnEntry(QLineEdit& edit);

}  // namespace platform
