// Program and per-user data folders.
#include "platform/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

std::string WithSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

std::string ProgramDir()
{
    std::string home = Environment("STRATIV_HOME");
    if (!home.empty())
        return WithSlash(home);
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "./";
    return WithSlash(exe.parent_path().string());
}

std::string AppDataDir()
{
    // Relative values of XDG_DATA_HOME are invalid by its definition and ignored.
    std::string data = Environment("XDG_DATA_HOME");
    if (!data.empty() && data.front() == '/')
        return WithSlash(data);
    std::string home = Environment("HOME");
    if (home.empty())
        home = "/tmp";
    return WithSlash(home) + ".local/share/";
}

}  // namespace platform
