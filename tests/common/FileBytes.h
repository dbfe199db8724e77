// Whole-file reads and writes for tests: the bytes exactly as they stand on disk.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace strativ::test {

// The file's bytes; "" when it cannot be read.
inline std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace strativ::test
