// Export of 1,000,000 rows of 10 curves: the text table, and LAS thinned to every second row;
// with a baseline writing the table's bytes alone.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "BenchDocument.h"
#include "core/AtomicFile.h"
#include "datawin/ExportTable.h"

namespace {

constexpr int kRows = 1000000;
constexpr int kCurves = 10;

const TLASFile& Document()
{
    static const auto document = MakeBenchDocument("strativ-bench-export.las", kCurves, kRows, 1000.0, 0.1);
    return *document;
}

std::vector<int> AllCurves()
{
    std::vector<int> curves(kCurves);
    std::iota(curves.begin(), curves.end(), 1);
    return curves;
}

std::string OutputPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_ExportTextTable(benchmark::State& state)
{
    const TLASFile& document = Document();
    const std::vector<int> curves = AllCurves();
    const std::string path = OutputPath("strativ-bench-export.txt");
    for (auto _ : state) {
        int error = 0;
        if (!WriteExportTable(document, curves, 0, 0, 1, kRows - 1, path, error))
            state.SkipWithError("the table was not written");
    }
    state.counters["MB"] = double(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
}
BENCHMARK(BM_ExportTextTable)->Unit(benchmark::kMillisecond);

// The same number of bytes written with no formatting: the floor set by the disk.
void BM_WriteTableBytesBaseline(benchmark::State& state)
{
    const std::string bytes(std::size_t(kRows) * (kCurves + 1) * 10 + std::size_t(kRows) * 2, '1');
    const std::string path = OutputPath("strativ-bench-export-baseline.txt");
    for (auto _ : state) {
        AtomicFileWriter writer(path);
        for (std::size_t at = 0; at < bytes.size(); at += 1 << 20)
            writer.Write(std::string_view(bytes).substr(at, 1 << 20));
        if (!writer.Commit())
            state.SkipWithError("the file was not written");
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteTableBytesBaseline)->Unit(benchmark::kMillisecond);

void BM_ExportLasEverySecondRow(benchmark::State& state)
{
    const TLASFile& document = Document();
    const std::vector<int> curves = AllCurves();
    const std::string path = OutputPath("strativ-bench-export.las");
    for (auto _ : state)
        if (!document.WriteLasThinned(kCurves, curves.data(), 0, 2, kRows - 1, 0, path))
            state.SkipWithError("the LAS file was not written");
    std::filesystem::remove(path);
}
BENCHMARK(BM_ExportLasEverySecondRow)->Unit(benchmark::kMillisecond);

}  // namespace
