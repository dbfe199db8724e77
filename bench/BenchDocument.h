// A large LAS document for benchmarks: a small file read and stretched to many rows of a regular
// step, its curves filled with smooth values of varied text length.
#pragma once

#include "core/Lasfile.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

inline std::unique_ptr<TLASFile> MakeBenchDocument(const char* name, int curves, int rows, double top, double step)
{
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    {
        std::ofstream out(path, std::ios::binary);
        out << "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STRT.M " << top << " :\n STOP.M " << top + step << " :\n STEP.M "
            << step << " :\n NULL. -999.25 :\n~C\n DEPT.M :\n";
        for (int i = 1; i <= curves; ++i)
            out << " C" << i << ". :\n";
        out << "~A\n";
        for (int row = 0; row < 2; ++row) {
            out << top + row * step;
            for (int i = 1; i <= curves; ++i)
                out << ' ' << i + row;
            out << "\n";
        }
    }
    auto las = std::make_unique<TLASFile>(path, 2);
    std::filesystem::remove(path);
    std::vector<float> depths(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i)
        depths[static_cast<std::size_t>(i)] = static_cast<float>(top + step * i);
    las->SetDepthValues(rows, depths.data());
    for (int c = 1; c <= curves; ++c) {
        float* values = las->GetCurveData(c);
        for (int i = 0; i < rows; ++i)
            values[i] = static_cast<float>(std::pow(10.0, c % 5) * (1.5 + std::sin(i * 0.013 + c)));
    }
    return las;
}

// A copy of curves `first`..`last` (0 is depth), the least an undo snapshot of them moves.
inline std::vector<std::vector<float>> CopyOfCurves(const TLASFile& las, int first, int last)
{
    const int count = las.GetPointCount();
    std::vector<std::vector<float>> copy;
    for (int c = first; c <= last; ++c)
        copy.emplace_back(las.GetCurveData(c), las.GetCurveData(c) + count);
    return copy;
}
