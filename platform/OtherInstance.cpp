// Processes compared by their executables in /proc.
#include "platform/OtherInstance.h"

#include <filesystem>
#include <string>
#include <unistd.h>

namespace platform {

bool IsOtherInstance(long long pid)
{
    if (pid <= 0 || pid == getpid())
        return false;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return false;
    const std::filesystem::path other = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
    return !error && other == self;
}

}  // namespace platform
