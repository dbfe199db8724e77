// Import of a generated column text file of 1,000,000 lines x 11 columns (about 90 MB) into the
// new-file record, and on through the written LAS file; a bare read of the same bytes and a bare
// std::from_chars pass over them are the baselines.
#include "core/NewLASInfo.h"
#include "datawin/ImportFromText.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kLines = 1000000;
constexpr int kColumns = 11;

const std::string& Folder()
{
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "strativ-bench-import";
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

const std::string& SourceFile()
{
    static const std::string path = [] {
        const std::string file = Folder() + "/columns.txt";
        std::ofstream out(file, std::ios::binary);
        char cell[32];
        for (int r = 0; r < kLines; ++r) {
            std::snprintf(cell, sizeof cell, "%.2f", 1000.0 + 0.1 * r);
            out << cell;
            for (int c = 1; c < kColumns; ++c) {
                std::snprintf(cell, sizeof cell, " %.4f", 50 + 30 * std::sin(r * 0.01 + c));
                out << cell;
            }
            out << '\n';
        }
        return file;
    }();
    return path;
}

void BM_BareReadAndParse(benchmark::State& state)
{
    std::string bytes(std::filesystem::file_size(SourceFile()), '\0');
    for (auto _ : state) {
        std::FILE* file = std::fopen(SourceFile().c_str(), "rb");
        std::fread(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        double sum = 0;
        const char* p = bytes.data();
        const char* end = p + bytes.size();
        while (p < end) {
            float value = 0;
            const auto result = std::from_chars(p, end, value);
            sum += value;
            p = result.ptr + 1;
        }
        benchmark::DoNotOptimize(sum);
    }
}

void BM_ImportIntoRecord(benchmark::State& state)
{
    ImportFromTextParams params;
    params.SourceFile = SourceFile();
    params.Delimiters = state.range(0) ? " " : " \t;";
    for (auto _ : state) {
        NewLASInfo info;
        if (ImportFromText(params, info) != ImportResult::Done)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(info.Depth.size());
    }
}

void BM_ImportAndWriteLas(benchmark::State& state)
{
    ImportFromTextParams params;
    params.SourceFile = SourceFile();
    const std::string target = Folder() + "/imported.las";
    for (auto _ : state) {
        NewLASInfo info;
        if (ImportFromText(params, info) != ImportResult::Done || WriteNewLASFile(info, target) != NewLASWritten)
            state.SkipWithError("import or write failed");
    }
}

BENCHMARK(BM_BareReadAndParse)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ImportIntoRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ImportAndWriteLas)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
