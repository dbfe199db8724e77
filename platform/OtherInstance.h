// Tells whether a process is another running instance of this program.
#pragma once

namespace platform {

// True when the process `pid` lives, is not this one and runs the same executable file as this one.
bool IsOtherInstance(long long pid);

}  // namespace platform
