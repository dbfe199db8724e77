// Writes cut short as on a disk that fills up: a file size limit held for the length of one call.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace strativ::test {

// Runs `action` with every file limited to `bytes` (a longer write fails with EFBIG instead of
// stopping the process) and gives back its result; the old limit and signal handling return after.
template <class Action>
auto WithFileSizeLimit(rlim_t bytes, Action action)
{
    struct Restore {
        rlimit limit{};
        void (*handler)(int) = nullptr;
        ~Restore()
        {
            setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, handler);
        }
    } restore;
    getrlimit(RLIMIT_FSIZE, &restore.limit);
    restore.handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = restore.limit;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    return action();
}

} // namespace strativ::test
