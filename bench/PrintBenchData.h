// Synthetic well logs for the print benchmarks: sine traces with NULL runs, bound to a template.
#pragma once

#include "printing/CurveTemplate.h"

#include <cmath>
#include <string>
#include <vector>

struct PrintBenchDocument {
    static constexpr float Null = -999.25f;
    std::vector<float> depth;
    std::vector<std::vector<float>> curves;
    float step;

    // From 1000 m every `step` m; every 17th run of 500 samples of a curve is NULL.
    PrintBenchDocument(int samples, float step, int curveCount)
        : depth(samples), curves(curveCount, std::vector<float>(samples)), step(step)
    {
        for (int i = 0; i < samples; ++i)
            depth[i] = 1000.0f + static_cast<float>(i * static_cast<double>(step));
        for (int c = 0; c < curveCount; ++c)
            for (int i = 0; i < samples; ++i) {
                const bool gap = (i / 500 + c) % 17 == 0;
                curves[c][i] = gap ? Null : 50.0f + 40.0f * std::sin(i * 0.01f * (c + 1)) + c;
            }
    }

    // Binds the template to these curves (named C0, C1, ...), no columns yet.
    void Bind(TCurveTemplate& t) const
    {
        std::vector<const float*> arrays;
        std::vector<std::string> info;
        for (size_t c = 0; c < curves.size(); ++c) {
            arrays.push_back(curves[c].data());
            info.push_back("C" + std::to_string(c));
        }
        info.resize(3 * curves.size());
        t.SetSource(arrays, info, depth.data(), Null, step, depth.back(), depth.front(), static_cast<int>(depth.size()));
    }
};
