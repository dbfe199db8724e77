// What a shell command prints, for tests that read files back with outside tools.
#pragma once

#include <cstdio>
#include <string>

namespace strativ::test {

// Standard output of the command; empty when it cannot run (its errors are dropped).
inline std::string CommandOutput(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        while (const size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

}  // namespace strativ::test
