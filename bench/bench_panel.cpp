// Full repaint of the curve panel: 20 curves x 1,000,000 samples into 1600 x 1000 pixels at
// 1:200 and 1:100000, against a bare pass over the same visible samples.
#include "view/PanelWithCurves.h"

#include "bench/BenchApplication.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kCurves = 20;
constexpr int kSamples = 1000000;
constexpr float kNull = -999.25f;
constexpr float kStep = 0.1f;

struct Document {
    std::vector<float> depths;
    std::vector<std::vector<float>> curves;

    Document() : depths(kSamples), curves(kCurves, std::vector<float>(kSamples))
    {
        for (int i = 0; i < kSamples; ++i)
            depths[std::size_t(i)] = 1000.0f + kStep * float(i);
        for (int c = 0; c < kCurves; ++c) {
            for (int i = 0; i < kSamples; ++i) {
                // Logs with NULL runs of 500 samples every 20000.
                const bool hole = (i + 997 * c) % 20000 < 500;
                curves[std::size_t(c)][std::size_t(i)] =
                    hole ? kNull : float(50 + 30 * std::sin(i * 0.013 + c) + 10 * std::sin(i * 0.37));
            }
        }
    }
};

const Document& SharedDocument()
{
    static const Document document;
    return document;
}

// A panel over the shared document at 1:scale, scrolled to the middle at 1:200.
std::unique_ptr<TPanelWithCurves> MakePanel(int scale)
{
    EnsureApplication();
    Document& document = const_cast<Document&>(SharedDocument());
    auto panel = std::make_unique<TPanelWithCurves>();
    panel->resize(1600, 1000);
    panel->YAxisInfo.SetPixelsPerCm(float(96 / 2.54));
    panel->YAxisInfo.SetScaleFactorValue(scale);
    panel->YAxisInfo.MarksStepValue = kStep;
    panel->YAxisInfo.SetDepthArray(document.depths.data(), kSamples);
    for (int c = 0; c < kCurves; ++c)
        panel->AddCurve(document.curves[std::size_t(c)].data(), kSamples, 0x202020u * std::uint32_t(c % 8), kNull)
            ->SetXOffset(70 * c);
    if (scale == 200)
        panel->GotoDepth(document.depths[kSamples / 2]);
    return panel;
}

void BM_PanelRepaint(benchmark::State& state)
{
    auto panel = MakePanel(int(state.range(0)));
    for (auto _ : state) {
        panel->Redraw();
        benchmark::DoNotOptimize(panel->Bitmap().constBits());
    }
    int first = 0;
    int last = -1;
    const QRect area = panel->DrawingArea();
    panel->Coordinates().IndexRange(area.top(), area.top() + area.height(), first, last);
    state.counters["visible_samples"] = double(last - first + 1) * kCurves;
}

// Baseline: one pass over the visible samples of every curve (minimum and maximum).
void BM_VisibleSamplesPass(benchmark::State& state)
{
    auto panel = MakePanel(int(state.range(0)));
    const QRect area = panel->DrawingArea();
    int first = 0;
    int last = -1;
    panel->Coordinates().IndexRange(area.top(), area.top() + area.height(), first, last);
    for (auto _ : state) {
        float low = 1e30f;
        float high = -1e30f;
        for (int c = 0; c < kCurves; ++c) {
            const float* values = panel->GetCurve(c)->Values();
            for (int i = first; i <= last; ++i) {
                const float v = values[i];
                const bool present = v != kNull;
                low = present && v < low ? v : low;
                high = present && v > high ? v : high;
            }
        }
        benchmark::DoNotOptimize(low);
        benchmark::DoNotOptimize(high);
    }
    state.counters["visible_samples"] = double(last - first + 1) * kCurves;
}

}  // namespace

BENCHMARK(BM_PanelRepaint)->Arg(200)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisibleSamplesPass)->Arg(200)->Arg(100000)->Unit(benchmark::kMillisecond);
