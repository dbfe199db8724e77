// Handing files and addresses to the desktop's handlers ("open" verb, mail letters).
#pragma once

#include <QString>

namespace platform {

// Opens a local file with the application the desktop associates with it.
bool ShellOpenFile(const QString& path);
// Opens an address (http:, mailto:...) with the desktop's handler.
bool ShellOpenUrl(const QString& url);

}  // namespace platform
