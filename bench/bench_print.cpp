// Composing and drawing every page of a curve diagram into a PDF: 10 curves of 100,000
// samples at 1:200 and of 1,000,000 samples at 1:10000, against a bare loop over the same
// samples.
#include "bench/BenchApplication.h"
#include "bench/PrintBenchData.h"
#include "printing/CurveTemplate.h"
#include "printing/DiagramPdf.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

constexpr int Samples = 100000;
constexpr int LongSamples = 1000000;
constexpr int CurveCount = 10;
using Document = PrintBenchDocument;

const Document& Data()
{
    static const Document doc(Samples, 0.1f, CurveCount);
    return doc;
}

// 10 km every centimetre.
const Document& LongData()
{
    static const Document doc(LongSamples, 0.01f, CurveCount);
    return doc;
}

void Compose(TCurveTemplate& t, const Document& doc)
{
    doc.Bind(t);
    for (int c = 0; c < CurveCount; ++c) {
        int column = c % 2 == 0 ? -1 : c / 2;
        TCurveForPrinting* curve = t.AddCurveToColumn(c, column);
        curve->Color = 0x0000FF * (c % 2);
        if (c >= 8)
            curve->LogarithmicScale = true;
        t.Columns[static_cast<size_t>(column)]->SetWidth(3.0f);
    }
}

void BM_AllPagesToPdf(benchmark::State& state)
{
    EnsureApplication();
    const std::string path = (std::filesystem::temp_directory_path() / "bench_print.pdf").string();
    int pages = 0;
    for (auto _ : state) {
        TCurveTemplate t;
        Compose(t, Data());
        const DiagramPdfResult r = WriteDiagramPdf(t, path, 19.0, 27.7, 600);
        if (!r.ok)
            state.SkipWithError(r.error.c_str());
        pages = r.pages;
    }
    state.counters["pages"] = pages;
    std::filesystem::remove(path);
}
BENCHMARK(BM_AllPagesToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// 1:10000: far more samples than pixel rows; the PDF's size is reported in bytes.
void BM_TenThousandScaleToPdf(benchmark::State& state)
{
    EnsureApplication();
    const std::string path = (std::filesystem::temp_directory_path() / "bench_print_10000.pdf").string();
    LongData();
    int pages = 0;
    for (auto _ : state) {
        TCurveTemplate t;
        Compose(t, LongData());
        t.Dept->SetScale(100.0);
        const DiagramPdfResult r = WriteDiagramPdf(t, path, 19.0, 27.7, 600);
        if (!r.ok)
            state.SkipWithError(r.error.c_str());
        pages = r.pages;
    }
    state.counters["pages"] = pages;
    state.counters["pdf_bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_TenThousandScaleToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// Baseline: one pass over the same samples.
void BM_BareLoopOverSamples(benchmark::State& state)
{
    const Document& doc = Data();
    for (auto _ : state) {
        double sum = 0;
        for (const auto& curve : doc.curves)
            for (float v : curve)
                sum += v;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_BareLoopOverSamples)->Unit(benchmark::kMillisecond);

}  // namespace
