// Runs a piece of a test as another user: in a child process that gives up root.
#pragma once

#include "tests/common/TestPaths.h"

#include <cerrno>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace strativ::test {

// Runs `action` as the user `uid` in the group `gid`: 0 when it returned true, else its errno
// (254 when it set none, 255 when the user could not be taken on).
inline int RunAsUser(uid_t uid, gid_t gid, const std::function<bool()>& action)
{
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
            _exit(255);
        errno = 0;
        _exit(action() ? 0 : (errno != 0 ? errno : 254));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 253;
}

// A temporary folder every user may reach and write: in /tmp, whatever TMPDIR is, since TMPDIR
// may be a folder of root's that other users cannot enter.
class TempDirForOtherUsers : public TempDir {
public:
    TempDirForOtherUsers() : TempDir("/tmp") { std::filesystem::permissions(path(), std::filesystem::perms::all); }
};

} // namespace strativ::test
