// Calculation scripts over long curves: a three-argument script with an intermediate variable
// into a new curve of 1,000,000 samples, multiplying 10 of 20 curves of 1,000,000 samples with
// one undo snapshot each, and a one-argument script over one curve as a group run does it.
#include "core/Lasfile.h"
#include "core/MathExpression.h"
#include "core/data_dump_restore.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kCurves = 20;
constexpr int kSamples = 1000000;
constexpr float kNull = -999.25f;

// A document of kCurves x kSamples built from a two-row file.
std::unique_ptr<TLASFile> MakeDocument()
{
    const std::string path = (std::filesystem::temp_directory_path() / "bench_scripts.las").string();
    std::ofstream(path) << "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STRT.M 1000 :\n STOP.M 1000.1 :\n"
                           " STEP.M 0.1 :\n NULL. -999.25 :\n~C\n DEPT.M :\n~A\n1000\n1000.1\n";
    auto document = std::make_unique<TLASFile>(path, 2);
    std::remove(path.c_str());
    std::vector<float> values(kSamples);
    for (int i = 0; i < kSamples; ++i)
        values[std::size_t(i)] = 1000.0f + 0.1f * float(i);
    document->SetDepthValues(kSamples, values.data());
    for (int c = 0; c < kCurves; ++c) {
        for (int i = 0; i < kSamples; ++i)
            values[std::size_t(i)] = i % 5000 < 50 ? kNull : float(50 + 30 * std::sin(i * 0.013 + c));
        document->AddCurve("C" + std::to_string(c + 1), values.data());
    }
    return document;
}

TLASFile& SharedDocument()
{
    static std::unique_ptr<TLASFile> document = MakeDocument();
    return *document;
}

// From the last pick to the curve in the document: the script over every sample, then AddCurve.
void BM_NewCurveFromThreeArgumentScript(benchmark::State& state)
{
    TLASFile& document = SharedDocument();
    TMathExpression script;
    script.SetValue("v * x[1] + sqrt(x[2] * x[2]) + depth * 0.001");
    script.GetParser().AddVariable("v", "x[0] / 2 + 1");
    const std::vector<const float*> args = {document.GetCurveData(1), document.GetCurveData(2),
                                            document.GetCurveData(3)};
    for (auto _ : state) {
        FloatVector result(kSamples, kNull);
        if (!script.Calculate(args, result, 0, kSamples - 1, kNull, document.GetCurveData(0)))
            state.SkipWithError(script.GetLastError().c_str());
        const int index = document.AddCurve("NEW", result.data());
        state.PauseTiming();
        document.DeleteCurve(index);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_NewCurveFromThreeArgumentScript)->Unit(benchmark::kMillisecond);

// Ten curves multiplied over the whole range, each after its own undo snapshot.
void BM_MultiplyTenCurvesWithSnapshots(benchmark::State& state)
{
    TLASFile& document = SharedDocument();
    DumpRestoreCurveData undo;
    undo.SetLasFile(&document);
    for (auto _ : state) {
        for (int c = 1; c <= 10; ++c) {
            undo.Dump("'Умножение значений кривых' (C" + std::to_string(c) + ")");
            float* values = document.GetCurveData(c);
            for (int i = 0; i < kSamples; ++i)
                if (values[i] != kNull)
                    values[i] = values[i] * 1.0001f;
        }
        state.PauseTiming();
        undo.SetLasFile(&document);  // the store starts empty each round
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MultiplyTenCurvesWithSnapshots)->Unit(benchmark::kMillisecond);

// A one-argument script over one curve: a copy of the curve, the script, the copy back.
void BM_OneArgumentScriptOnOneCurve(benchmark::State& state)
{
    TLASFile& document = SharedDocument();
    TMathExpression script;
    script.SetValue("x[0] * 2 + 1");
    for (auto _ : state) {
        const float* values = document.GetCurveData(5);
        FloatVector result(values, values + kSamples);
        script.Calculate({values}, result, 0, kSamples - 1, kNull, document.GetCurveData(0));
        std::copy(result.begin(), result.end(), document.GetCurveData(6));
    }
}
BENCHMARK(BM_OneArgumentScriptOnOneCurve)->Unit(benchmark::kMillisecond);

}  // namespace
