// Making and locking the temporary files of our saves, copying and syncing their content.
#include "core/TempFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinks = 40;
constexpr int kMaxTries = 100;

// The name still stands for the file `fd` is open on.
bool StillNamed(int fd, const std::string& path)
{
    struct stat opened {};
    struct stat named {};
    return fstat(fd, &opened) == 0 && stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

}  // namespace

int MakeLockedTemporary(const std::string& folder, std::string_view name, std::string& path)
{
    for (int tries = 0; tries < kMaxTries; ++tries) {
        std::string pattern = folder + std::string(name) + std::string(kUniqueLength, 'X');
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
        // A clean-up may have taken the lock before us and removed the file as a leftover.
        if (StillNamed(fd, pattern)) {
            path = pattern;
            return fd;
        }
        close(fd);
    }
    errno = EAGAIN;
    return -1;
}

bool HeldByNoSave(int fd)
{
    // A save holds the lock of its files until it ends; one that was killed left none behind.
    return flock(fd, LOCK_EX | LOCK_NB) == 0;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

bool SyncFolderOf(const std::string& path)
{
    const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return false;
    // Some file systems cannot sync a folder (EINVAL): their names are as durable as they get.
    const bool synced = fsync(folder) == 0 || errno == EINVAL;
    const int error = errno;
    close(folder);
    errno = error;
    return synced;
}

bool CopyContent(int from, int to, long long size, const std::function<void(long long)>& written)
{
    std::vector<char> buffer(1 << 20);
    for (long long at = 0; at < size;) {
        const ssize_t got = pread(from, buffer.data(), std::min<long long>(size - at, buffer.size()), at);
        if (got <= 0) {
            if (got < 0 && errno == EINTR)
                continue;
            if (got == 0)
                errno = EIO;
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = pwrite(to, buffer.data() + done, got - done, at + done);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return false;
            done += put;
        }
        at += got;
        if (written)
            written(at);
    }
    if (ftruncate(to, size) != 0)
        return false;
    // The truncation stamps the file too: the last stamp of the record follows it.
    if (written)
        written(size);
    return fsync(to) == 0;
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
