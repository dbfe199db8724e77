// Evaluating a calculation script over a curve: three arguments and one intermediate variable
// over 1,000,000 samples, paired with its floor, the same formula written as a plain loop.
#include "core/MathExpression.h"
#include "bench/PairedRatio.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int Samples = 1000000;
constexpr float Null = -999.25f;

struct Curves
{
    FloatVector depth, a, b, c;
    Curves() : depth(Samples), a(Samples), b(Samples), c(Samples)
    {
        for (int i = 0; i < Samples; ++i) {
            depth[i] = 1000.0f + 0.1f * static_cast<float>(i);
            a[i] = static_cast<float>(i % 97) * 0.5f;
            b[i] = i % 1000 == 0 ? Null : static_cast<float>(i % 31) + 1.0f;
            c[i] = std::sin(static_cast<float>(i) * 0.001f);
        }
    }
};

const Curves& Data()
{
    static const Curves curves;
    return curves;
}

// The floor: the formula in a plain loop with the same NULL rule.
void BareLoop(const Curves& d, FloatVector& result)
{
    for (int i = 0; i < Samples; ++i) {
        if (d.a[i] == Null || d.b[i] == Null || d.c[i] == Null) {
            result[i] = Null;
            continue;
        }
        const double x0 = d.a[i], x1 = d.b[i], x2 = d.c[i];
        const double s = x0 + x1;
        result[i] = static_cast<float>(s * x2 - x0 / x1 + 0.5);
    }
    benchmark::DoNotOptimize(result.data());
}

void BM_ScriptVsPlainLoop(benchmark::State& state)
{
    TMathExpression script;
    script.GetParser().AddVariable("s", "x[0] + x[1]");
    script.SetValue("s * x[2] - x[0] / x[1] + 0.5");
    const Curves& d = Data();
    FloatVector result(Samples);
    FloatVector floor(Samples);
    bench::RunPaired(
        state,
        [&] {
            if (!script.Calculate({d.a.data(), d.b.data(), d.c.data()}, result, 0, Samples - 1, Null,
                                  d.depth.data()))
                state.SkipWithError(script.GetLastError().c_str());
            benchmark::DoNotOptimize(result.data());
        },
        [&] { BareLoop(d, floor); });
    if (result != floor)
        state.SkipWithError("the script and the plain loop disagree");
    state.SetItemsProcessed(state.iterations() * Samples);
}
BENCHMARK(BM_ScriptVsPlainLoop)->UseManualTime()->Iterations(31)->Unit(benchmark::kMillisecond);

} // namespace
