#include "core/MemoryBudget.h"

#include <algorithm>
#include <climits>
#include <fstream>

#include <sys/resource.h>
#include <unistd.h>

namespace {

unsigned long long PhysicalMemoryForArrays()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return ULLONG_MAX;
    const unsigned long long total = static_cast<unsigned long long>(pages) *
                                     static_cast<unsigned long long>(pageSize);
    return total - std::max(total / 8, std::min(total / 2, 512ULL << 20));
}

// What the address-space limit leaves above the process's present size.
unsigned long long AddressSpaceLeft()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return ULLONG_MAX;
    unsigned long long pages = 0;
    std::ifstream statm("/proc/self/statm");
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (!(statm >> pages) || pageSize <= 0)
        return ULLONG_MAX;
    const unsigned long long used = pages * static_cast<unsigned long long>(pageSize);
    return limit.rlim_cur > used ? limit.rlim_cur - used : 0;
}

}  // namespace

unsigned long long MemoryForArrays()
{
    return std::min(PhysicalMemoryForArrays(), AddressSpaceLeft());
}
