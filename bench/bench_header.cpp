// LAS header model speed: writing one changed ~W line back into a 100 MB file against a plain
// copy of the same file, and finding the encoding of 10,000 small headers against reading them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "core/CodePages.h"
#include "core/LasParser2.h"
#include "library/LASFileHeader.h"

namespace fs = std::filesystem;

namespace {

// A temporary folder kept for the whole run.
struct BenchDir {
    fs::path path = fs::temp_directory_path() / ("strativ-bench-header-" + std::to_string(getpid()));
    BenchDir() { fs::create_directories(path); }
    ~BenchDir() { fs::remove_all(path); }
};

const fs::path& Dir()
{
    static const BenchDir dir;
    return dir.path;
}

std::string HeaderText()
{
    std::string text = "~VERSION INFORMATION\r\n VERS.   2.0 : CWLS LOG ASCII STANDARD -VERSION 2.0\r\n"
                       " WRAP.   NO  : ONE LINE PER DEPTH STEP\r\n~WELL INFORMATION\r\n"
                       " STRT.M    1000.0 : START DEPTH\r\n STOP.M    4000.0 : STOP DEPTH\r\n"
                       " STEP.M    0.1 : STEP\r\n NULL.     -999.25 : NULL VALUE\r\n"
                       " WELL.     Скважина 12 : WELL\r\n FLD .     Восточная : FIELD\r\n"
                       " COMP.     ООО Геофизика : COMPANY\r\n SRVC.     Партия 5 : SERVICE\r\n"
                       " DATE.     12.05.2004 : DATE\r\n LOC .     Куст 3 : LOCATION\r\n~CURVE INFORMATION\r\n";
    for (int i = 0; i < 20; ++i)
        text += " CRV" + std::to_string(i) + ".UNIT  : кривая " + std::to_string(i) + "\r\n";
    return AnsiToOemString(text);
}

const std::string& BigFile()
{
    static const std::string path = [] {
        const std::string file = (Dir() / "big.las").string();
        std::ofstream out(file, std::ios::binary);
        out << HeaderText() << "~A\r\n";
        const std::string row = "  1234.50  12.3456  23.4567  34.5678  45.6789  56.7890  67.8901  78.9012\r\n";
        for (size_t written = 0; written < 100u * 1000 * 1000; written += row.size())
            out << row;
        return file;
    }();
    return path;
}

void BM_PlainCopyOf100MbFile(benchmark::State& state)
{
    const std::string copy = (Dir() / "copy.las").string();
    for (auto _ : state)
        fs::copy_file(BigFile(), copy, fs::copy_options::overwrite_existing);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(BigFile())));
}
BENCHMARK(BM_PlainCopyOf100MbFile)->Unit(benchmark::kMillisecond);

void BM_WriteOneWellLineOf100MbFile(benchmark::State& state)
{
    LASFileHeader header;
    if (header.Read(BigFile()) != 0)
        state.SkipWithError("cannot read");
    static int n = 0;  // a new value in every run, so each write has a change to make
    for (auto _ : state) {
        header.SetValue("well", "Скважина " + std::to_string(++n));
        if (const int result = header.Write(BigFile()); result != 0)
            state.SkipWithError(("write failed: " + std::to_string(result)).c_str());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(BigFile())));
}
BENCHMARK(BM_WriteOneWellLineOf100MbFile)->Unit(benchmark::kMillisecond);

const std::string& SmallHeader()
{
    static const std::string path = [] {
        const std::string file = (Dir() / "small.las").string();
        std::ofstream(file, std::ios::binary) << HeaderText() << "~A\r\n1000.0 1 2\r\n";
        return file;
    }();
    return path;
}

void BM_Read10000Headers(benchmark::State& state)
{
    for (auto _ : state)
        for (int i = 0; i < 10000; ++i) {
            TLasParser2Header header;
            benchmark::DoNotOptimize(header.ParseFile(SmallHeader()));
        }
}
BENCHMARK(BM_Read10000Headers)->Unit(benchmark::kMillisecond);

void BM_DetectEncodingOf10000Headers(benchmark::State& state)
{
    const std::string text = HeaderText();
    for (auto _ : state)
        for (int i = 0; i < 10000; ++i)
            benchmark::DoNotOptimize(DetectTextEncoding(text));
}
BENCHMARK(BM_DetectEncodingOf10000Headers)->Unit(benchmark::kMillisecond);

} // namespace
