// Small helpers shared by the LAS tests: files written and read as bytes, a curve as a vector.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/Lasfile.h"

namespace las_test {

inline void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<float> Curve(const TLASFile& document, int index)
{
    const float* values = document.GetCurveData(index);
    return values ? std::vector<float>(values, values + document.GetPointCount())
                  : std::vector<float>();
}

} // namespace las_test
