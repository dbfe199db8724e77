// Interval reports and smoothing: the statistics report of 20 curves x 1,000,000 samples with 10
// active intervals, the values window opened on that whole document, smoothing by spectrum of
// 100,000 samples and by points of 1,000,000 samples, against a bare pass over the same samples.
// With many intervals: the report with 1,000 intervals against the same report with 10 (one curve
// of 1,000,000 samples, and 20 curves of 100,000), the values window on the last of 1,000
// intervals, and values shifted in 1,000 intervals against the same pass over ranges found before.
// The report with 10,000 intervals on 20 curves, with the longest stretch without progress.
#include "bench/BenchApplication.h"
#include "bench/PairedRatio.h"
#include "core/Lasfile.h"
#include "core/Q7mathutils.h"
#include "core/Smoothing.h"
#include "editing/DetailStatistics.h"
#include "editing/IntervalManager.h"
#include "editing/ViewValuesAtInterval.h"
#include "platform/RecordingDialogRunner.h"
#include "platform/WorkProgress.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace {

constexpr int kCurves = 20;
constexpr int kSamples = 1000000;
constexpr float kNull = -999.25f;

std::vector<float> Log(int n, int seed)
{
    std::vector<float> values(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        values[std::size_t(i)] = (i + 997 * seed) % 20000 < 500
                                     ? kNull
                                     : float(50 + 30 * std::sin(i * 0.013 + seed) + 10 * std::sin(i * 0.37));
    return values;
}

// A document of `curves` x `samples` built from a two-row file, kept for the program's life.
TLASFile& Document(int curves, int samples)
{
    static std::map<std::pair<int, int>, std::unique_ptr<TLASFile>> documents;
    std::unique_ptr<TLASFile>& document = documents[{curves, samples}];
    if (!document) {
        const std::string path = QDir::tempPath().toStdString() + "/bench_calc.las";
        std::ofstream(path) << "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STRT.M 1000 :\n STOP.M 1000.1 :\n"
                               " STEP.M 0.1 :\n NULL. -999.25 :\n~C\n DEPT.M :\n~A\n1000\n1000.1\n";
        document = std::make_unique<TLASFile>(path, 2);
        std::remove(path.c_str());
        std::vector<float> depths(static_cast<std::size_t>(samples));
        for (int i = 0; i < samples; ++i)
            depths[std::size_t(i)] = 1000.0f + 0.1f * float(i);
        document->SetDepthValues(samples, depths.data());
        for (int c = 0; c < curves; ++c)
            document->AddCurve("C" + std::to_string(c + 1), Log(samples, c).data());
    }
    return *document;
}

TLASFile& SharedDocument()
{
    return Document(kCurves, kSamples);
}

// `count` active intervals in equal parts of the document's range.
IntervalManager EqualIntervals(const TLASFile& document, int count)
{
    IntervalManager intervals;
    const double top = document.GetTopDepth();
    const double part = (double(document.GetBottomDepth()) - top) / count;
    intervals.SetTopBottom(document.GetTopDepth(), document.GetBottomDepth());
    for (int k = 0; k < count; ++k)
        intervals.List.push_back({top + part * k, top + part * (k + 1) - 0.05, 0xFF, "I" + std::to_string(k), true});
    return intervals;
}

IntervalManager TenIntervals()
{
    IntervalManager intervals;
    intervals.SetTopBottom(1000.0f, 1000.0f + 0.1f * (kSamples - 1));
    for (int k = 0; k < 10; ++k)
        intervals.List.push_back({1000.0 + 10000.0 * k, 1000.0 + 10000.0 * (k + 1) - 0.05, 0xFF,
                                  "I" + std::to_string(k), true});
    return intervals;
}

void BM_StatisticsReport(benchmark::State& state)
{
    EnsureApplication();
    TLASFile& document = SharedDocument();
    const IntervalManager intervals = TenIntervals();
    TFormDetailStatistics window;
    for (auto _ : state) {
        window.BuildReport(document, {}, intervals, -1);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_StatisticsReport)->Unit(benchmark::kMillisecond);

// The report with 1,000 intervals against the same report with 10: the ratio of their times
// (args: curves, samples).
void BM_StatisticsReportThousandToTenIntervals(benchmark::State& state)
{
    EnsureApplication();
    const TLASFile& document = Document(int(state.range(0)), int(state.range(1)));
    const IntervalManager ten = EqualIntervals(document, 10);
    const IntervalManager thousand = EqualIntervals(document, 1000);
    TFormDetailStatistics window;
    const auto report = [&](const IntervalManager& intervals) {
        return [&] {
            window.BuildReport(document, {}, intervals, -1);
            QApplication::processEvents();
        };
    };
    bench::RunPaired(state, report(thousand), report(ten));
}
BENCHMARK(BM_StatisticsReportThousandToTenIntervals)
    ->Args({1, kSamples})
    ->Args({kCurves, 100000})
    ->UseManualTime()
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);

// The longest time between two signs of progress (or the start and the end): how long the
// windows could go without repainting.
class GapProgress : public platform::WorkProgress {
public:
    GapProgress() : previous_(platform::SetWorkProgress(this)) {}
    ~GapProgress() override { platform::SetWorkProgress(previous_); }
    void Begin(const QString&) override { clock_.start(); }
    bool Step(double) override
    {
        longest = std::max(longest, clock_.restart());
        return true;
    }
    void End() override { Step(1.0); }

    qint64 longest = 0;

private:
    QElapsedTimer clock_;
    platform::WorkProgress* previous_;
};

// The report with 10,000 intervals on 20 curves of 1,000,000 samples, and the longest stretch
// of it without a sign of progress.
void BM_StatisticsReportTenThousandIntervals(benchmark::State& state)
{
    EnsureApplication();
    const TLASFile& document = SharedDocument();
    const IntervalManager intervals = EqualIntervals(document, 10000);
    TFormDetailStatistics window;
    GapProgress progress;
    for (auto _ : state) {
        window.BuildReport(document, {}, intervals, -1);
        QApplication::processEvents();
    }
    state.counters["longest_gap_ms"] = double(progress.longest);
}
BENCHMARK(BM_StatisticsReportTenThousandIntervals)->Iterations(3)->Unit(benchmark::kMillisecond);

// The two statistics of the report that read every sample of a curve, on one thread.
void BM_NullMeanAndVariance(benchmark::State& state)
{
    const std::vector<float> values = Log(kSamples, 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(NullMean(kSamples, kNull, values.data()));
        benchmark::DoNotOptimize(NullVariance(kSamples, kNull, values.data()));
    }
}
BENCHMARK(BM_NullMeanAndVariance)->Unit(benchmark::kMillisecond);

// What any statistic costs at least: one pass over every sample of every curve, twice (the
// intervals cover the document once and the whole range once more).
void BM_BarePassOverTheReportSamples(benchmark::State& state)
{
    TLASFile& document = SharedDocument();
    for (auto _ : state) {
        double sum = 0;
        for (int pass = 0; pass < 2; ++pass)
            for (int c = 1; c <= kCurves; ++c) {
                const float* v = document.GetCurveData(c);
                for (int i = 0; i < kSamples; ++i)
                    sum += v[i] != kNull ? v[i] : 0.0f;
            }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_BarePassOverTheReportSamples)->Unit(benchmark::kMillisecond);

// The values window shown, painted once and closed, each round.
void ShowValuesWindow(benchmark::State& state, const TLASFile& document, const IntervalManager& intervals,
                      const std::set<int>& curves, int interval)
{
    TFormViewValuesAtInterval window;
    platform::RecordingDialogRunner runner;
    for (auto _ : state) {
        runner.PushDialog([](QDialog& dialog) {
            dialog.show();
            QApplication::processEvents();
            dialog.hide();
            return int(QDialog::Rejected);
        });
        window.ShowValues(&document, &intervals, curves, interval);
    }
}

void BM_ValuesWindowOnWholeDocument(benchmark::State& state)
{
    EnsureApplication();
    TLASFile& document = SharedDocument();
    IntervalManager none;
    std::set<int> curves;
    for (int c = 1; c <= kCurves; ++c)
        curves.insert(c);
    ShowValuesWindow(state, document, none, curves, -1);
}
BENCHMARK(BM_ValuesWindowOnWholeDocument)->Unit(benchmark::kMillisecond);

// The values window of one curve opened on the last of 1,000 intervals.
void BM_ValuesWindowOnTheLastOfThousandIntervals(benchmark::State& state)
{
    EnsureApplication();
    const TLASFile& document = Document(1, kSamples);
    const IntervalManager intervals = EqualIntervals(document, 1000);
    ShowValuesWindow(state, document, intervals, {1}, 999);
}
BENCHMARK(BM_ValuesWindowOnTheLastOfThousandIntervals)->Unit(benchmark::kMillisecond);

// An interval calculation: a constant added to one curve's values in 1,000 intervals, their
// index ranges looked up each time, against the same pass over ranges found beforehand.
void BM_ShiftInThousandIntervalsToBarePass(benchmark::State& state)
{
    TLASFile& document = Document(1, kSamples);
    const IntervalManager intervals = EqualIntervals(document, 1000);
    FloatPairList pairs;
    for (const IntervalItem& item : intervals.List)
        pairs.push_back({float(item.Top), float(item.Bottom)});
    const float* depths = document.GetCurveData(0);
    float* values = document.GetCurveData(1);
    const IntPairVector found = IntervalsToIndexPairs(pairs, depths, kSamples);
    const auto shift = [values](const IntPairVector& ranges) {
        for (const auto& [first, last] : ranges)
            for (int i = first; i <= last; ++i)
                if (values[i] != kNull)
                    values[i] += 0.5f;
    };
    bench::RunPaired(
        state,
        [&] {
            for (const FloatPair& pair : pairs) {
                int first = 0;
                int last = -1;
                if (GetIndexRangeForDepths(pair.top, pair.bottom, kSamples, depths, first, last) && first <= last)
                    shift({{first, last}});
            }
        },
        [&] { shift(found); });
}
BENCHMARK(BM_ShiftInThousandIntervalsToBarePass)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

void BM_SpectrumPreparation100k(benchmark::State& state)
{
    const ListOfFloatValuesWithIndex found = {{0, Log(100000, 3)}};
    for (auto _ : state) {
        SpectrumSmoother smoother(found, kNull);
        benchmark::DoNotOptimize(&smoother);
    }
}
BENCHMARK(BM_SpectrumPreparation100k)->Unit(benchmark::kMillisecond);

void BM_SpectrumMoveToPositionOne100k(benchmark::State& state)
{
    SpectrumSmoother smoother({{0, Log(100000, 3)}}, kNull);
    for (auto _ : state)
        benchmark::DoNotOptimize(smoother.Apply(1).front().values.data());
}
BENCHMARK(BM_SpectrumMoveToPositionOne100k)->Unit(benchmark::kMillisecond);

void BM_PointsW19(benchmark::State& state)
{
    const ListOfFloatValuesWithIndex found = {{0, Log(kSamples, 5)}};
    ListOfFloatValuesWithIndex results;
    const bool recursive = state.range(0) != 0;
    for (auto _ : state) {
        if (recursive)
            SmoothRecursive(19, kNull, found, results);
        else
            SmoothOrdinary(19, kNull, found, results);
        benchmark::DoNotOptimize(results.front().values.data());
    }
}
BENCHMARK(BM_PointsW19)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
