// Allocation failing as on a machine out of memory: an address-space limit held for one call.
#pragma once

#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace strativ::test {

// Runs `action` with the address space limited to what the process maps now plus `bytes` (the
// sanitizers' reserved ranges are already mapped, so this works under them too) and gives back
// its result; the old limit returns after.
template <class Action>
auto WithMemoryLimit(rlim_t bytes, Action action)
{
    struct Restore {
        rlimit limit{};
        ~Restore() { setrlimit(RLIMIT_AS, &limit); }
    } restore;
    getrlimit(RLIMIT_AS, &restore.limit);
    rlim_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlimit limited = restore.limit;
    limited.rlim_cur = pages * static_cast<rlim_t>(sysconf(_SC_PAGE_SIZE)) + bytes;
    setrlimit(RLIMIT_AS, &limited);
    return action();
}

} // namespace strativ::test
