// Making, recognising and removing the temporary files of our saves.
#include "core/TempFiles.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = ".strativ-";
constexpr std::size_t kRandomLength = 6;  // mkstemp's XXXXXX
// A temporary nothing wrote for this long belongs to no save still running.
constexpr auto kStaleAfter = std::chrono::minutes(10);
constexpr int kMaxLinks = 40;

bool IsTemporaryName(const std::string& name)
{
    if (name.size() != kPrefix.size() + kRandomLength || name.compare(0, kPrefix.size(), kPrefix) != 0)
        return false;
    for (std::size_t i = kPrefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

bool IsStale(int fd)
{
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid())
        return false;
    const auto written = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
    // A save still running holds its lock; one that was killed left none behind.
    return std::chrono::system_clock::now() - written > kStaleAfter && flock(fd, LOCK_EX | LOCK_NB) == 0;
}

} // namespace

int MakeLockedTemporary(const std::string& folder, std::string& path)
{
    std::string pattern = folder + std::string(kPrefix) + std::string(kRandomLength, 'X');
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (flock(fd, LOCK_EX) != 0) {
        const int error = errno;
        close(fd);
        unlink(pattern.c_str());
        errno = error;
        return -1;
    }
    path = pattern;
    return fd;
}

void RemoveStaleTemporaries(const std::string& folder)
{
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!IsTemporaryName(name))
            continue;
        const std::string path = it->path().string();
        const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (IsStale(fd))
            unlink(path.c_str());
        close(fd);
    }
}

std::string FollowLinks(std::string path)
{
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            return path;
        const fs::path link = fs::read_symlink(path, error);
        if (error)
            return path;
        path = link.is_absolute() ? link.string() : (fs::path(path).parent_path() / link).string();
    }
    errno = ELOOP;
    return {};
}
