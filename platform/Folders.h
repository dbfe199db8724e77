// Folders the program reads and writes beside itself and in the user's data area.
#pragma once

#include <string>

namespace platform {

// Folder of the running executable, ending with "/". The environment variable
// STRATIV_HOME replaces it (tests, read-only installs); a trailing "/" is added.
std::string ProgramDir();

// Parent of the per-user profile: $XDG_DATA_HOME, else ~/.local/share; ends with "/".
std::string AppDataDir();

}  // namespace platform
