// The holder of a lock from the system's lock table (/proc/locks).
#include "library/LockHolder.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

struct FileId {
    unsigned long major = 0;
    unsigned long minor = 0;
    unsigned long inode = 0;
};

bool Identify(const std::string& path, FileId& id)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return false;
    id = {major(status.st_dev), minor(status.st_dev), static_cast<unsigned long>(status.st_ino)};
    return true;
}

// A line reads "1: POSIX  ADVISORY  WRITE 1234 08:01:131074 120 120"; "->" marks a waiter.
bool WriteLockOn(const std::string& line, const FileId& file, std::string& pid)
{
    std::istringstream fields(line);
    std::string number, kind, mode, access, device;
    fields >> number >> kind;
    if (kind == "->")
        return false;
    fields >> mode >> access >> pid >> device;
    if (access != "WRITE" || pid == "-1")
        return false;
    FileId id;
    char colon1 = 0, colon2 = 0;
    std::istringstream parts(device);
    parts >> std::hex >> id.major >> colon1 >> id.minor >> colon2 >> std::dec >> id.inode;
    return parts && id.major == file.major && id.minor == file.minor && id.inode == file.inode;
}

// The process holding a write lock on the database or on its index of the write-ahead journal.
std::string WriteLockHolder(const std::string& databasePath)
{
    FileId files[2];
    const bool known[2] = {Identify(databasePath, files[0]), Identify(databasePath + "-shm", files[1])};
    std::ifstream locks("/proc/locks");
    for (std::string line, pid; std::getline(locks, line);)
        for (int i = 0; i < 2; ++i)
            if (known[i] && WriteLockOn(line, files[i], pid)) {
                std::string name;
                std::getline(std::ifstream("/proc/" + pid + "/comm"), name);
                return "процесс " + pid + (name.empty() ? "" : " (" + name + ")");
            }
    return {};
}

}  // namespace

std::string LockedDatabaseText(const std::string& databasePath)
{
    const std::string holder = WriteLockHolder(databasePath);
    return "База данных библиотеки " + databasePath + " занята: " + (holder.empty() ? "другой процесс" : holder) +
           " держит блокировку записи в ней. Повторите, когда он её освободит.";
}
