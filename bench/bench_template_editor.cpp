// One repaint of the template editor's page view: 10 curves of 100,000 samples at 1:200 in
// five columns, against filling the same image.
#include "bench/BenchApplication.h"
#include "printing/FormCurveTemplate.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int Samples = 100000;
constexpr int CurveCount = 10;


struct Editor {
    std::vector<float> depth = std::vector<float>(Samples);
    std::vector<std::vector<float>> curves = std::vector<std::vector<float>>(CurveCount, std::vector<float>(Samples));
    TFormCurveTemplate window;

    Editor()
    {
        std::vector<const float*> arrays;
        std::vector<std::string> info(3 * CurveCount);
        for (int i = 0; i < Samples; ++i)
            depth[i] = 1000.0f + i * 0.1f;
        for (int c = 0; c < CurveCount; ++c) {
            for (int i = 0; i < Samples; ++i)
                curves[c][i] = 50.0f + 40.0f * std::sin(i * 0.01f * (c + 1)) + c;
            arrays.push_back(curves[c].data());
            info[c] = "C" + std::to_string(c);
        }
        window.SetSource(arrays, info, depth.data(), -999.25f, 0.1f, depth.back(), depth.front(), Samples);
        for (int c = 0; c < CurveCount; ++c) {
            int column = c % 2 == 0 ? -1 : c / 2;
            window.SelectColumn(c / 2);
            window.AddCurveToColumn(c, column);
        }
    }
};

void BM_EditorPageRepaint(benchmark::State& state)
{
    EnsureApplication();
    Editor editor;
    QImage image(static_cast<int>(21.0 / 2.54 * 96), static_cast<int>(29.7 / 2.54 * 96), QImage::Format_RGB32);
    for (auto _ : state) {
        editor.window.DrawEditorPage(image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_EditorPageRepaint)->Unit(benchmark::kMillisecond);

void BM_FillImage(benchmark::State& state)
{
    QImage image(static_cast<int>(21.0 / 2.54 * 96), static_cast<int>(29.7 / 2.54 * 96), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FillImage)->Unit(benchmark::kMillisecond);

}  // namespace
