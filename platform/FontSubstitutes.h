// Faces the printed pages name that Linux has under other names.
#pragma once

namespace platform {

// "MS Sans Serif" is drawn, and measured, in the face that "Arial" resolves to, so that the
// printer, the preview and the EMF writer all use one font for it.
void InstallFontSubstitutes();

}  // namespace platform
