// A large document for benchmarks: a two-row file of `curves` curves (depth included),
// stretched to `samples` depth samples 0.1 m apart.
#pragma once

#include "core/Lasfile.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

inline std::unique_ptr<TLASFile> MakeLargeDocument(int curves, int samples)
{
    const std::string path = (std::filesystem::temp_directory_path() / "strativ-bench-large.las").string();
    {
        std::ofstream out(path, std::ios::binary);
        out << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 0 :\r\n STOP.M 0.1 :\r\n STEP.M 0.1 :\r\n"
               " NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n";
        for (int i = 1; i < curves; ++i)
            out << " C" << i << ". :\r\n";
        out << "~A\r\n";
        for (int row = 0; row < 2; ++row) {
            out << row * 0.1;
            for (int i = 1; i < curves; ++i)
                out << ' ' << i;
            out << "\r\n";
        }
    }
    auto las = std::make_unique<TLASFile>(path, 2);
    std::filesystem::remove(path);
    std::vector<float> depths(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i)
        depths[static_cast<std::size_t>(i)] = 0.1f * static_cast<float>(i);
    las->SetDepthValues(samples, depths.data());
    return las;
}
