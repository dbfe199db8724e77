// Import of a generated column text file of 1,000,000 lines x 11 columns (about 90 MB) into the
// new-file record, and on through the written LAS file; a bare read of the same bytes and a bare
// std::from_chars pass over them are the baselines. And the peak memory of an import of a table
// in exponent notation against the same table in plain decimals.
#include "bench/ProcStatus.h"
#include "core/NewLASInfo.h"
#include "datawin/ImportFromText.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

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

// 1,000,000 lines of a depth and four values, each written with the format.
std::string Table(const char* format)
{
    const std::string file = Folder() + "/table" + std::to_string(std::hash<std::string>{}(format)) + ".txt";
    if (std::filesystem::exists(file))
        return file;
    std::ofstream out(file, std::ios::binary);
    char cell[32];
    for (int r = 0; r < kLines; ++r) {
        const double values[] = {1000.0 + 0.1 * r, 50 + 30 * std::sin(r * 0.01), 0.25 + 0.2 * std::cos(r * 0.003),
                                 2500 + 400 * std::sin(r * 0.0007), 0.004 * (1 + r % 97)};
        for (const double value : values) {
            std::snprintf(cell, sizeof cell, format, value);
            out << cell << ' ';
        }
        out << '\n';
    }
    return file;
}

// The peak resident memory an import of the file adds, in a forked process: memory the allocator
// kept from earlier runs would hide it here.
double ImportPeakMegabytes(const std::string& path)
{
    int ends[2];
    if (pipe(ends) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        bench::RestartPeak();
        const long before = bench::ProcStatusKb("VmRSS:");
        ImportFromTextParams params;
        params.SourceFile = path;
        NewLASInfo info;
        const bool done = ImportFromText(params, info) == ImportResult::Done;
        const long kb = done ? bench::ProcStatusKb("VmHWM:") - before : -1024;
        const bool sent = write(ends[1], &kb, sizeof kb) == sizeof kb;
        _exit(sent ? 0 : 1);
    }
    long kb = -1024;
    if (child < 0 || read(ends[0], &kb, sizeof kb) != sizeof kb)
        kb = -1024;
    if (child > 0)
        waitpid(child, nullptr, 0);
    close(ends[0]);
    close(ends[1]);
    return static_cast<double>(kb) / 1024.0;
}

void BM_ImportPeakMemoryExponentVsPlain(benchmark::State& state)
{
    const std::string plain = Table("%.4f");
    const std::string exponent = Table("%.6E");
    double plainMb = 0;
    double exponentMb = 0;
    for (auto _ : state) {
        plainMb = ImportPeakMegabytes(plain);
        exponentMb = ImportPeakMegabytes(exponent);
    }
    if (plainMb <= 0 || exponentMb <= 0)
        state.SkipWithError("an import failed");
    state.counters["plain_MB"] = plainMb;
    state.counters["exponent_MB"] = exponentMb;
    state.counters["ratio"] = exponentMb / plainMb;
}

BENCHMARK(BM_BareReadAndParse)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ImportIntoRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ImportAndWriteLas)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ImportPeakMemoryExponentVsPlain)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
