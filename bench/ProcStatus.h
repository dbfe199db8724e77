// Figures of this process's /proc status (VmRSS, VmHWM), for peak memory measures.
#pragma once

#include <fstream>
#include <string>

namespace bench {

// The value of the line starting with `key` ("VmHWM:"), in kB; -1 when there is none.
inline long ProcStatusKb(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::string(key).size()));
    return -1;
}

// The peak (VmHWM) restarts from the current resident size.
inline void RestartPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace bench
