// Reading LAS files: the whole document through TLASFile against a bare std::from_chars loop over
// the same bytes, its peak memory, and the header-only parse of files with a large ~A section.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "core/Lasfile.h"
#include "core/LasParser2.h"

namespace {

constexpr int kCurves = 20;
constexpr int kRows = 226000;

std::string TempPath(const char* name)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/strativ_bench_" +
           std::to_string(getpid()) + "_" + name;
}

std::string Header(int curves)
{
    std::string text =
        "~Version Information\r\n"
        " VERS.                 2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\r\n"
        " WRAP.                 NO  : One line per depth step\r\n"
        "~Well Information\r\n"
        " STRT.M          1000.00 : START DEPTH\r\n"
        " STOP.M          1000.00 : STOP DEPTH\r\n"
        " STEP.M             0.10 : STEP\r\n"
        " NULL.          -999.2500 : NULL VALUE\r\n"
        " WELL.        BENCH-1 : WELL\r\n"
        "~Curve Information\r\n"
        " DEPT.M                  : Depth\r\n";
    for (int c = 1; c < curves; ++c)
        text += " C" + std::to_string(c) + " .UNIT              : Curve " + std::to_string(c) +
                "\r\n";
    return text + "~Parameter Information\r\n BHT.DEGC 35.5 : Bottom hole temperature\r\n";
}

// A LAS 2.0 file of kCurves curves and `rows` rows, 1% NULL samples, CR LF line ends.
std::string MakeLasText(int rows)
{
    std::string text = Header(kCurves) + "~A DEPT\r\n";
    text.reserve(text.size() + static_cast<size_t>(rows) * 224);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-500.0f, 5000.0f);
    std::uniform_int_distribution<int> percent(0, 99);
    char field[32];
    for (int r = 0; r < rows; ++r) {
        std::snprintf(field, sizeof field, "%10.2f", 1000.0 + r * 0.1);
        text += field;
        for (int c = 1; c < kCurves; ++c) {
            if (percent(random) == 0)
                std::snprintf(field, sizeof field, " %10s", "-999.2500");
            else
                std::snprintf(field, sizeof field, " %10.4f", value(random));
            text += field;
        }
        text += "\r\n";
    }
    return text;
}

struct BenchFile {
    explicit BenchFile(const char* name, const std::string& text) : path(TempPath(name))
    {
        std::ofstream(path, std::ios::binary) << text;
        size = text.size();
    }
    ~BenchFile() { std::remove(path.c_str()); }
    std::string path;
    size_t size = 0;
};

const BenchFile& DataFile()
{
    static const BenchFile file("data.las", MakeLasText(kRows));
    return file;
}

std::string ReadAll(const std::string& path)
{
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        std::fseek(file, 0, SEEK_END);
        bytes.resize(static_cast<size_t>(std::ftell(file)));
        std::fseek(file, 0, SEEK_SET);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);
    }
    return bytes;
}

long ProcStatusKb(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::string(key).size()));
    return 0;
}

// Peak resident memory of one document read in a fresh process (this program started again with
// STRATIV_BENCH_PEAK naming the file), beyond what that process held before the read. A fresh
// process is needed: freed memory kept by the allocator would hide the peak here.
const bool kPeakChild = [] {
    const char* path = std::getenv("STRATIV_BENCH_PEAK");
    if (!path)
        return false;
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak restarts from the current size
    const long before = ProcStatusKb("VmRSS:");
    {
        TLASFile document(path, 2);
        benchmark::DoNotOptimize(document.GetPointCount());
    }
    std::printf("%ld\n", ProcStatusKb("VmHWM:") - before);
    std::fflush(stdout);
    _exit(0);
}();

double PeakMegabytesOfOneRead(const std::string& path)
{
    const std::string command = "STRATIV_BENCH_PEAK='" + path + "' /proc/" +
                                std::to_string(getpid()) + "/exe";
    std::FILE* child = popen(command.c_str(), "r");
    long kb = -1;
    if (child) {
        if (std::fscanf(child, "%ld", &kb) != 1)
            kb = -1;
        pclose(child);
    }
    return static_cast<double>(kb) / 1024.0;
}

void BM_ReadDocument(benchmark::State& state)
{
    const BenchFile& file = DataFile();
    for (auto _ : state) {
        TLASFile document(file.path, 2);
        if (!document.IsLoaded() || document.GetPointCount() != kRows)
            state.SkipWithError("the generated file did not load");
        benchmark::DoNotOptimize(document.GetCurveData(1));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size));
    const double fileMb = static_cast<double>(file.size) / (1024.0 * 1024.0);
    const double arraysMb =
        static_cast<double>(kCurves) * kRows * sizeof(float) / (1024.0 * 1024.0);
    const double peakMb = PeakMegabytesOfOneRead(file.path);
    state.counters["file_MB"] = fileMb;
    state.counters["arrays_MB"] = arraysMb;
    state.counters["peak_MB"] = peakMb;
    state.counters["peak_limit_MB"] = fileMb + 1.3 * arraysMb;
}
BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);

// The physical baseline: the same bytes read from the file and every number of ~A parsed by a
// bare std::from_chars loop.
void BM_FromCharsBaseline(benchmark::State& state)
{
    const BenchFile& file = DataFile();
    for (auto _ : state) {
        const std::string text = ReadAll(file.path);
        const char* p = text.data() + text.find("~A");
        p += std::string_view(p).find('\n') + 1;
        const char* end = text.data() + text.size();
        double sum = 0.0;
        while (p < end) {
            while (p < end && (*p == ' ' || *p == '\r' || *p == '\n'))
                ++p;
            float value;
            const auto result = std::from_chars(p, end, value);
            if (result.ec != std::errc())
                break;
            sum += value;
            p = result.ptr;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size));
}
BENCHMARK(BM_FromCharsBaseline)->Unit(benchmark::kMillisecond);

// Header-only parse of a file with a ~A section of state.range(0) rows and a large header
// (300 curves); the time must not depend on the rows.
void BM_HeaderOnlyParse(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    std::string text = Header(300) + "~A DEPT\r\n";
    const std::string row = "1000.00 1.0 2.0 3.0\r\n";
    for (int r = 0; r < rows; ++r)
        text += row;
    const BenchFile file(("header" + std::to_string(rows) + ".las").c_str(), text);
    for (auto _ : state) {
        TLasParser2Header header;
        if (!header.ParseFile(file.path) || header.GetCurveSection().GetCount() != 300)
            state.SkipWithError("the header was not read");
        benchmark::DoNotOptimize(header.GetSectionCount());
    }
    state.counters["file_MB"] = static_cast<double>(file.size) / (1024.0 * 1024.0);
}
BENCHMARK(BM_HeaderOnlyParse)->Arg(10)->Arg(2500000)->Unit(benchmark::kMicrosecond);

} // namespace
