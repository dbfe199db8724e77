// Reading and writing LAS files against their floors (a bare fread + std::from_chars reader, a
// copy of the file, a bare std::to_chars writer, the formatting writer), paired, with the peak
// memory of a read, and reading against the same benchmark built from an older tree; many-curve
// files; and the header-only parse of files with a large ~A section.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "core/Lasfile.h"
#include "core/LasParser2.h"
#include "bench/PairedRatio.h"
#include "bench/ProcStatus.h"

namespace {

constexpr int kCurves = 9;
constexpr int kRows = 524288;  // 50 MB; ten times as many for 500 MB

std::string TempPath(const char* name)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/strativ_bench_" +
           std::to_string(getpid()) + "_" + name;
}

std::string Header(int curves, bool wrapped = false)
{
    std::string text =
        "~Version Information\r\n"
        " VERS.                 2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\r\n"
        + std::string(wrapped ? " WRAP.                 YES : Five lines per depth step\r\n"
                              : " WRAP.                 NO  : One line per depth step\r\n") +
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

// A LAS 2.0 file of kCurves curves and `rows` rows, 1% NULL samples, CR LF or LF line ends;
// wrapped: the depth on its own line and five values a line after it; padded: values of two
// digits before the point, blank-padded to fixed fields of ten ("%10.4f" without a separator).
std::string MakeLasText(int rows, bool wrapped = false, bool lf = false, bool padded = false)
{
    std::string text = Header(kCurves, wrapped) + "~A DEPT\r\n";
    const std::string eol = lf ? "\n" : "\r\n";
    if (lf)
        for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
            text.erase(at, 1);
    text.reserve(text.size() + static_cast<size_t>(rows) * 224);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(padded ? -50.0f : -500.0f, padded ? 50.0f : 5000.0f);
    const char* const format = padded ? "%10.4f " : " %10.4f";
    std::uniform_int_distribution<int> percent(0, 99);
    char field[32];
    for (int r = 0; r < rows; ++r) {
        std::snprintf(field, sizeof field, padded ? "%10.2f " : "%10.2f", 1000.0 + r * 0.1);
        text += field;
        for (int c = 1; c < kCurves; ++c) {
            if (wrapped && c % 5 == 1)
                text += eol;
            if (percent(random) == 0)
                std::snprintf(field, sizeof field, padded ? "%10s " : " %10s", "-999.2500");
            else
                std::snprintf(field, sizeof field, format, value(random));
            text += field;
        }
        text += eol;
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

const BenchFile& DataFile(int rows = kRows, bool wrapped = false, bool lf = false, bool padded = false)
{
    static std::map<std::tuple<int, bool, bool, bool>, std::unique_ptr<BenchFile>> files;
    auto& file = files[{rows, wrapped, lf, padded}];
    if (!file)
        file = std::make_unique<BenchFile>(("data" + std::to_string(rows) + (wrapped ? "w" : "") +
                                            (lf ? "lf" : "") + (padded ? "p" : "") + ".las")
                                               .c_str(),
                                           MakeLasText(rows, wrapped, lf, padded));
    return *file;
}

// One document read in a fresh process (a benchmark program started again with
// STRATIV_BENCH_PEAK naming the file): the peak resident memory beyond what that process held
// before the read, and the thread CPU and wall time of the read. A fresh process is needed: freed
// memory kept by the allocator would hide the peak here.
const bool kPeakChild = [] {
    const char* path = std::getenv("STRATIV_BENCH_PEAK");
    if (!path)
        return false;
    bench::RestartPeak();
    const long before = bench::ProcStatusKb("VmRSS:");
    std::unique_ptr<TLASFile> document;
    const bench::Times times =
        bench::TimesOf([&] { document = std::make_unique<TLASFile>(path, 2); });
    benchmark::DoNotOptimize(document->GetPointCount());
    document.reset();
    std::printf("%ld %.9f %.9f\n", bench::ProcStatusKb("VmHWM:") - before, times.thread, times.wall);
    std::fflush(stdout);
    _exit(0);
}();

struct ChildRead {
    double peakMb = -1.0;
    bench::Times times;
};

ChildRead ReadInChild(const std::string& program, const std::string& path)
{
    const std::string command = "STRATIV_BENCH_PEAK='" + path + "' '" + program + "'";
    std::FILE* child = popen(command.c_str(), "r");
    ChildRead read;
    long kb = -1;
    if (child) {
        if (std::fscanf(child, "%ld %lf %lf", &kb, &read.times.thread, &read.times.wall) == 3)
            read.peakMb = static_cast<double>(kb) / 1024.0;
        pclose(child);
    }
    return read;
}

const std::string& ThisProgram()
{
    static const std::string path = "/proc/" + std::to_string(getpid()) + "/exe";
    return path;
}

double PeakMegabytesOfOneRead(const std::string& path)
{
    return ReadInChild(ThisProgram(), path).peakMb;
}

// The floor of a read: the file read in 1 MB blocks with fread and every number of ~A parsed by a
// bare std::from_chars loop into one float array per curve (allocated, not filled).
void ReadFloor(const std::string& path, int curves, int rows)
{
    constexpr size_t kBlock = 1 << 20;
    std::vector<std::unique_ptr<float[]>> columns;
    for (int c = 0; c < curves; ++c)
        columns.emplace_back(new float[static_cast<size_t>(rows)]);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::string buffer(kBlock + 64, '\0');
    size_t kept = 0;
    bool inData = false;
    size_t column = 0;
    size_t row = 0;
    for (;;) {
        const size_t got = std::fread(buffer.data() + kept, 1, kBlock, file);
        const size_t size = kept + got;
        const char* p = buffer.data();
        const char* end = p + size;
        if (!inData) {
            p = std::strstr(p, "~A");
            p = std::strchr(p, '\n') + 1;
            inData = true;
        }
        // Only whole numbers: the text after the last delimiter waits for the next block.
        const char* stop = end;
        if (got != 0)
            while (stop != p && stop[-1] != ' ' && stop[-1] != '\n')
                --stop;
        while (p < stop) {
            while (p < stop && (*p == ' ' || *p == '\r' || *p == '\n'))
                ++p;
            if (p == stop)
                break;
            float value;
            const auto result = std::from_chars(p, stop, value);
            columns[column][row] = value;
            if (++column == columns.size()) {
                column = 0;
                ++row;
            }
            p = result.ptr;
        }
        kept = static_cast<size_t>(end - stop);
        std::memmove(buffer.data(), stop, kept);
        if (got == 0)
            break;
    }
    std::fclose(file);
    benchmark::DoNotOptimize(columns.data());
}

// Reading the 50 MB and 500 MB files (plain and wrapped, CR LF and LF) through TLASFile against
// the floor, paired; and the peak memory of one read against the arrays it fills.
void BM_ReadDocumentVsFloor(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const BenchFile& file = DataFile(rows, state.range(1) != 0, state.range(2) != 0);
    bench::RunPaired(
        state,
        [&] {
            TLASFile document(file.path, 2);
            if (!document.IsLoaded() || document.GetPointCount() != rows)
                state.SkipWithError("the generated file did not load");
            benchmark::DoNotOptimize(document.GetCurveData(1));
        },
        [&] { ReadFloor(file.path, kCurves, rows); });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size));
    const double fileMb = static_cast<double>(file.size) / (1024.0 * 1024.0);
    const double arraysMb =
        static_cast<double>(kCurves) * rows * sizeof(float) / (1024.0 * 1024.0);
    state.counters["file_MB"] = fileMb;
    state.counters["arrays_MB"] = arraysMb;
    state.counters["peak_MB"] = PeakMegabytesOfOneRead(file.path);
}
BENCHMARK(BM_ReadDocumentVsFloor)
    ->ArgsProduct({{kRows, 10 * kRows}, {0, 1}, {0, 1}})
    ->ArgNames({"rows", "wrapped", "lf"})
    ->UseManualTime()
    ->Iterations(9)
    ->Unit(benchmark::kMillisecond);

// Reading against the read of another build: STRATIV_BENCH_BASELINE names this benchmark program
// built from an older tree. Each read runs in a fresh process of its program, the two
// interleaved; the ratios are of the reads' own times, and peak_ratio of their peak memory.
void BM_ReadVsBaseline(benchmark::State& state)
{
    const char* baseline = std::getenv("STRATIV_BENCH_BASELINE");
    if (!baseline) {
        state.SkipWithError("STRATIV_BENCH_BASELINE names no baseline program");
        return;
    }
    const BenchFile& file =
        DataFile(static_cast<int>(state.range(0)), state.range(1) != 0, state.range(2) != 0);
    double peak = 0.0;
    double baselinePeak = 0.0;
    bench::RunPairedTimed(
        state,
        [&] {
            const ChildRead read = ReadInChild(ThisProgram(), file.path);
            peak = read.peakMb;
            return read.times;
        },
        [&] {
            const ChildRead read = ReadInChild(baseline, file.path);
            baselinePeak = read.peakMb;
            return read.times;
        });
    state.counters["peak_MB"] = peak;
    state.counters["baseline_peak_MB"] = baselinePeak;
}
BENCHMARK(BM_ReadVsBaseline)
    ->ArgsProduct({{kRows, 10 * kRows}, {0, 1}, {0, 1}})
    ->ArgNames({"rows", "wrapped", "lf"})
    ->UseManualTime()
    ->Iterations(9)
    ->Unit(benchmark::kMillisecond);

// The floor of a write: every value of the document through a bare std::to_chars (shortest)
// into a buffer written to the file.
void WriteFloor(const TLASFile& document, const std::string& path)
{
    std::string text;
    text.reserve(1 << 20);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    char field[32];
    for (int r = 0; r < document.GetPointCount(); ++r) {
        for (int c = 0; c < document.GetCurvesCount(); ++c) {
            const auto result = std::to_chars(field, field + sizeof field, document.GetCurveData(c)[r]);
            text.append(field, static_cast<size_t>(result.ptr - field));
            text += ' ';
        }
        text += "\r\n";
        if (text.size() >= (1 << 20)) {
            std::fwrite(text.data(), 1, text.size(), out);
            text.clear();
        }
    }
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
}

// The floor of an unchanged save: the file copied in 1 MB blocks and synced to the disk.
void CopyFloor(const std::string& from, const std::string& to)
{
    std::FILE* in = std::fopen(from.c_str(), "rb");
    std::FILE* out = std::fopen(to.c_str(), "wb");
    std::vector<char> block(1 << 20);
    for (size_t got; (got = std::fread(block.data(), 1, block.size(), in)) > 0;)
        std::fwrite(block.data(), 1, got, out);
    std::fflush(out);
    fsync(fileno(out));
    std::fclose(out);
    std::fclose(in);
}

enum SaveCase { kUnchanged = 0, kOneCurveChanged = 1, kEveryValueChanged = 2 };

void ChangeValues(TLASFile& document, SaveCase change)
{
    const int first = change == kEveryValueChanged ? 0 : kCurves / 2;
    const int last = change == kEveryValueChanged ? kCurves - 1 : first;
    for (int c = change == kUnchanged ? kCurves : first; c <= last; ++c) {
        float* values = document.GetCurveData(c);
        for (int r = 0; r < document.GetPointCount(); ++r)
            values[r] = c == 0 ? values[r] + 0.05f : values[r] * 0.5f + 1.0f;
    }
}

// The document read from a copy of the file that is then deleted: a save of it has no source
// texts and formats every value.
std::unique_ptr<TLASFile> Sourceless(const std::string& path, const std::string& copy)
{
    CopyFloor(path, copy);
    auto document = std::make_unique<TLASFile>(copy, 2);
    std::remove(copy.c_str());
    return document;
}

// Saves of the document to `written` paired with the floor program writing `floor`. Each program
// writes a new file, and the one saved last must not be the source of the next save.
template <typename Floor>
void RunPairedSaves(benchmark::State& state, const TLASFile& document, const std::string& written,
                    const std::string& floor, Floor floorProgram)
{
    bench::RunPaired(
        state,
        [&] {
            if (!document.WriteLas(written))
                state.SkipWithError("the document was not written");
        },
        floorProgram,
        [&] {
            std::remove(written.c_str());
            std::remove(floor.c_str());
        });
    std::remove(written.c_str());
    std::remove(floor.c_str());
}

// Saving the 50 MB and 500 MB documents (CR LF and LF; blank-padded values) against each case's
// floor, paired: unchanged against a copy of the file with fsync; one curve of nine changed against
// the bare to_chars of every value; every value changed against the same document saved with its
// source gone (every value formatted).
void BM_WriteDocumentVsFloor(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const auto change = static_cast<SaveCase>(state.range(2));
    const BenchFile& data = DataFile(rows, false, state.range(1) != 0, state.range(3) != 0);
    TLASFile document(data.path, 2);
    ChangeValues(document, change);
    const std::string written = TempPath("written.las");
    const std::string floor = TempPath("floor.las");
    std::unique_ptr<TLASFile> sourceless;
    if (change == kEveryValueChanged) {
        sourceless = Sourceless(data.path, floor);
        ChangeValues(*sourceless, change);
    }
    RunPairedSaves(state, document, written, floor, [&] {
        if (change == kUnchanged)
            CopyFloor(data.path, floor);
        else if (change == kOneCurveChanged)
            WriteFloor(document, floor);
        else if (!sourceless->WriteLas(floor))
            state.SkipWithError("the document without its source was not written");
    });
}
BENCHMARK(BM_WriteDocumentVsFloor)
    ->ArgsProduct({{kRows, 10 * kRows}, {0, 1}, {kUnchanged, kOneCurveChanged, kEveryValueChanged}, {0, 1}})
    ->ArgNames({"rows", "lf", "change", "padded"})
    ->UseManualTime()
    ->Iterations(9)
    ->Unit(benchmark::kMillisecond);

// Row shapes of real logs: the USGS layout (depths "%#12.6g": 0.900000, 1.00000 ... 1000.00 ...),
// the same rows with one-decimal depths ("%12.1f"), a depth written unpadded that widens past
// 1000 m after the first rows (999.9, 1000.0), values padded after ("%-10.4f "), values of
// varying width as writers that do not pad give (" %.4f" from -9999 to 9999), and a depth in feet
// written unpadded that widens past 1000 and past 10000 (100.00 ... 52528.70).
enum RowShape {
    kUsgsDepths = 0,
    kOneDecimalDepths = 1,
    kDepthPast1000 = 2,
    kPaddedAfter = 3,
    kUnpaddedValues = 4,
    kDepthPast10000 = 5
};

std::string MakeShapeText(int rows, RowShape shape)
{
    std::string text = Header(kCurves) + "~A DEPT\r\n";
    text.reserve(text.size() + static_cast<size_t>(rows) * 110);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(shape == kUnpaddedValues ? -9999.0f : -500.0f,
                                                shape == kUnpaddedValues ? 9999.0f : 5000.0f);
    static const char* const kDepthFormats[] = {"%#12.6g", "%12.1f", "%.1f", "%-10.2f ", "%.2f", "%.2f"};
    static const double kFirstDepths[] = {0.9, 0.9, 990.0, 0.9, 1000.0, 100.0};
    const char* const valueFormat = shape == kPaddedAfter      ? "%-10.4f "
                                    : shape == kUnpaddedValues ? " %.4f"
                                                               : " %10.4f";
    char field[32];
    for (int r = 0; r < rows; ++r) {
        const double depth = kFirstDepths[shape] + r * 0.1;
        std::snprintf(field, sizeof field, kDepthFormats[shape], depth);
        text += field;
        for (int c = 1; c < kCurves; ++c) {
            std::snprintf(field, sizeof field, valueFormat, value(random));
            text += field;
        }
        text += "\r\n";
    }
    return text;
}

const BenchFile& ShapeFile(int rows, RowShape shape)
{
    static std::map<std::pair<int, int>, std::unique_ptr<BenchFile>> files;
    auto& file = files[{rows, shape}];
    if (!file)
        file = std::make_unique<BenchFile>(
            ("shape" + std::to_string(rows) + "_" + std::to_string(shape) + ".las").c_str(),
            MakeShapeText(rows, shape));
    return *file;
}

// Reading 500,000 rows in the USGS layout against the same rows with one-decimal depths, paired.
void BM_ReadUsgsDepthsVsOneDecimal(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const BenchFile& usgs = ShapeFile(rows, kUsgsDepths);
    const BenchFile& oneDecimal = ShapeFile(rows, kOneDecimalDepths);
    const auto read = [&](const BenchFile& file) {
        TLASFile document(file.path, 2);
        if (!document.IsLoaded() || document.GetPointCount() != rows)
            state.SkipWithError("the generated file did not load");
        benchmark::DoNotOptimize(document.GetCurveData(0));
    };
    bench::RunPaired(state, [&] { read(usgs); }, [&] { read(oneDecimal); });
}
BENCHMARK(BM_ReadUsgsDepthsVsOneDecimal)
    ->Arg(500000)
    ->ArgName("rows")
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);

// A save after every value changed (and, with `decimals`, every column given one decimal more),
// of files of the row shapes above but the USGS ones, against the same save with the source texts
// gone (every value formatted), paired.
void BM_SaveShapeEveryValueChangedVsFormatting(benchmark::State& state)
{
    const BenchFile& data = ShapeFile(static_cast<int>(state.range(0)), static_cast<RowShape>(state.range(1)));
    const std::string written = TempPath("shape_written.las");
    const std::string floor = TempPath("shape_floor.las");
    TLASFile document(data.path, 2);
    const std::unique_ptr<TLASFile> sourceless = Sourceless(data.path, floor);
    for (TLASFile* changed : {&document, sourceless.get()}) {
        ChangeValues(*changed, kEveryValueChanged);
        if (state.range(2) != 0) {
            changed->SetDepthDecimals(changed->GetDepthDecimals() + 1);
            for (int c = 1; c < kCurves; ++c)
                changed->SetCurveDecimals(c, changed->GetCurveDecimals(c) + 1);
        }
    }
    RunPairedSaves(state, document, written, floor, [&] {
        if (!sourceless->WriteLas(floor))
            state.SkipWithError("the document without its source was not written");
    });
}
BENCHMARK(BM_SaveShapeEveryValueChangedVsFormatting)
    ->ArgsProduct({{kRows}, {kDepthPast1000, kPaddedAfter, kUnpaddedValues, kDepthPast10000}, {0}})
    ->Args({kRows, kUnpaddedValues, 1})
    ->ArgNames({"rows", "shape", "decimals"})
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);

// A file of state.range(0) curves and 2 rows, loaded and written: the time per curve must not
// grow with the number of curves.
void BM_ManyCurvesLoadAndWrite(benchmark::State& state)
{
    const int curves = static_cast<int>(state.range(0));
    std::string text = Header(curves) + "~A\r\n";
    for (int r = 0; r < 2; ++r) {
        text += std::to_string(1000 + r);
        for (int c = 1; c < curves; ++c)
            text += " " + std::to_string(c % 1000) + ".5";
        text += "\r\n";
    }
    const BenchFile file(("curves" + std::to_string(curves) + ".las").c_str(), text);
    const std::string written = TempPath("curves_written.las");
    double seconds = 0.0;
    for (auto _ : state) {
        seconds += bench::TimesOf([&] {
            TLASFile document(file.path, 2);
            if (document.GetCurvesCount() != curves || !document.WriteLas(written))
                state.SkipWithError("the file was not loaded and written");
        }).thread;
    }
    std::remove(written.c_str());
    state.counters["us_per_curve"] =
        seconds * 1e6 / (static_cast<double>(state.iterations()) * curves);
}
BENCHMARK(BM_ManyCurvesLoadAndWrite)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

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

namespace {

// Header-only files of 300,000 ~C lines of four kinds: short ("C1."), with API codes, with API
// codes and 20-character descriptions, and the same in Cyrillic (CP866).
std::string ManyCurvesHeader(int curves, int kind)
{
    std::string text = "~V\r\n VERS. 2.0 :\r\n~W\r\n NULL. -999.25 :\r\n~C\r\n";
    // "Гамма-каротаж, исправ" in CP866.
    const std::string russian = "\x83\xA0\xAC\xAC\xA0-\xAA\xA0\xE0\xAE\xE2\xA0\xA6, "
                                "\xA8\xE1\xAF\xE0\xA0\xA2";
    for (int c = 0; c < curves; ++c) {
        const std::string name = "C" + std::to_string(c);
        if (kind == 0)
            text += name + ".\r\n";
        else
            text += " " + name + std::string(8 - std::min<size_t>(name.size(), 7), ' ') +
                    ".GAPI   45 310 01 00 : " +
                    (kind == 1 ? name : kind == 2 ? "Gamma ray, corrected" : russian) + "\r\n";
    }
    return text;
}

const char* const kHeaderKinds[] = {"short", "api", "api_desc20", "api_desc20_cp866"};

// Peak memory of reading each header-only file: the header model holds memory in proportion to
// its text.
void BM_HeaderOnlyManyCurvesPeak(benchmark::State& state)
{
    const int curves = static_cast<int>(state.range(0));
    const BenchFile file("header_curves.las", ManyCurvesHeader(curves, static_cast<int>(state.range(1))));
    for (auto _ : state)
        state.counters["peak_MB"] = PeakMegabytesOfOneRead(file.path);
    state.counters["file_MB"] = static_cast<double>(file.size) / (1024.0 * 1024.0);
    state.SetLabel(kHeaderKinds[state.range(1)]);
}
BENCHMARK(BM_HeaderOnlyManyCurvesPeak)
    ->ArgsProduct({{300000}, {0, 1, 2, 3}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Opening the same files (the read ends at the missing ~A): thread CPU time of each open.
void BM_HeaderOnlyManyCurvesOpen(benchmark::State& state)
{
    const int curves = static_cast<int>(state.range(0));
    const BenchFile file("header_open.las", ManyCurvesHeader(curves, static_cast<int>(state.range(1))));
    for (auto _ : state) {
        const double seconds = bench::TimesOf([&] {
            TLASFile document(file.path, 2);
            benchmark::DoNotOptimize(document.GetCurvesCount());
        }).thread;
        state.SetIterationTime(seconds);
    }
    state.SetLabel(kHeaderKinds[state.range(1)]);
}
BENCHMARK(BM_HeaderOnlyManyCurvesOpen)
    ->ArgsProduct({{300000}, {0, 1, 2, 3}})
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace
