// The print road as the print dialog runs it: the preview paint, printing to the PDF target,
// the EMF export, and the peak resident memory of a short and of a very long PDF print.
#include "printing/FormPrnParams.h"
#include "bench/BenchApplication.h"
#include "bench/PrintBenchData.h"
#include "bench/ProcStatus.h"
#include "platform/EmfCanvas.h"
#include "platform/Printer.h"
#include "platform/PrintProgress.h"
#include "platform/WorkProgress.h"
#include "platform/RecordingDialogRunner.h"
#include "printing/CurveTemplate.h"
#include "printing/DiagramEmf.h"
#include "printing/DiagramPrint.h"
#include "printing/FormCurveTemplate.h"
#include "ui_FormPrnParams.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int CurveCount = 10;
using Document = PrintBenchDocument;

// 10 curves of 100,000 samples every 0.1 m; of 1,000,000 every 0.01 m.
const Document& Data()
{
    static const Document doc(100000, 0.1f, CurveCount);
    return doc;
}
const Document& LongData()
{
    static const Document doc(1000000, 0.01f, CurveCount);
    return doc;
}
// One curve, 7 km every 0.1 m: over 20,000 pages at 1:1.
const Document& ManyPagesData()
{
    static const Document doc(70001, 0.1f, 1);
    return doc;
}

void Compose(TCurveTemplate& t, const Document& doc, double scale)
{
    const int count = static_cast<int>(doc.curves.size());
    doc.Bind(t);
    for (int c = 0; c < count; ++c) {
        int column = c % 2 == 0 ? -1 : c / 2;
        TCurveForPrinting* curve = t.AddCurveToColumn(c, column);
        curve->Color = 0x0000FF * (c % 2);
        // The values (10..99) fit the 3 cm column: no off-scale folds.
        curve->SetLeftValue(0.0f);
        curve->SetScaleValue(35.0f);
        t.Columns[static_cast<size_t>(column)]->SetWidth(count == 1 ? 5.0f : 3.0f);
    }
    t.Dept->SetScale(scale);
}

// The progress window stays away: a benchmark has nobody to click "Отмена".
class QuietProgress : public platform::PrintProgress {
public:
    void Begin(int) override {}
    bool Page(int, int) override { return true; }
    void End() override {}
};

// Nor the busy cursor and the window of long work.
class QuietWork : public platform::WorkProgress {
public:
    void Begin(const QString&) override {}
    bool Step(double) override { return true; }
    void End() override {}
};

// The PDF target with its file question answered.
struct PdfTarget {
    platform::RecordingDialogRunner runner;
    QuietProgress progress;
    platform::PrintProgress* previous = platform::SetPrintProgress(&progress);
    std::string path = (std::filesystem::temp_directory_path() / "bench_print_road.pdf").string();
    platform::Printer& printer = platform::CurrentPrinter();

    PdfTarget() { printer.SetPrinterIndex(static_cast<int>(printer.Printers().indexOf(platform::PdfPrinterName))); }
    ~PdfTarget()
    {
        platform::SetPrintProgress(previous);
        std::filesystem::remove(path);
    }
    DiagramPrintResult Print(TCurveTemplate& t)
    {
        runner.PushFiles({QString::fromStdString(path)});
        return PrintDiagram(t, printer, PrintMargins{});
    }
};

// Resident memory in MB: the peak since the last restart (VmHWM), and now (VmRSS).
double StatusMb(const char* key)
{
    return bench::ProcStatusKb(key) / 1024.0;
}

void BM_PreviewPaint(benchmark::State& state)
{
    EnsureApplication();
    TFormCurveTemplate editor;
    Compose(editor.Model, Data(), 2.0);
    TFormPrnParams dialog;
    dialog.CurveTemplate = &editor;
    dialog.ShowTemplatesOnShow = false;
    dialog.FormShow();
    for (auto _ : state)
        benchmark::DoNotOptimize(dialog.Form().PaintBox->grab());
    state.counters["pages"] = dialog.Form().EditPagesTo->maximum();
}
BENCHMARK(BM_PreviewPaint)->Unit(benchmark::kMillisecond);

void BM_PrintToPdfTarget(benchmark::State& state)
{
    EnsureApplication();
    PdfTarget target;
    int pages = 0;
    for (auto _ : state) {
        TCurveTemplate t;
        Compose(t, Data(), 2.0);
        const DiagramPrintResult r = target.Print(t);
        if (!r.ok)
            state.SkipWithError("the print failed");
        pages = r.pages;
    }
    state.counters["pages"] = pages;
    state.counters["pdf_mb"] = std::filesystem::file_size(target.path) / 1048576.0;
}
BENCHMARK(BM_PrintToPdfTarget)->Unit(benchmark::kMillisecond)->Iterations(3);

// Rounds of the EMF export of `doc` at `scale` to a temporary file of this name.
void ExportEmfRounds(benchmark::State& state, const Document& doc, double scale, const char* name)
{
    EnsureApplication();
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    QuietWork work;
    platform::WorkProgress* previous = platform::SetWorkProgress(&work);
    DiagramEmfSetup setup;
    setup.screen = platform::ScreenReference();
    for (auto _ : state) {
        TCurveTemplate t;
        Compose(t, doc, scale);
        if (!ExportDiagramEmf(t, path, setup).ok)
            state.SkipWithError("the export failed");
    }
    platform::SetWorkProgress(previous);
    state.counters["emf_mb"] = std::filesystem::file_size(path) / 1048576.0;
    std::filesystem::remove(path);
}

void BM_ExportEmf(benchmark::State& state)
{
    ExportEmfRounds(state, Data(), 2.0, "bench_print_road.emf");
}
BENCHMARK(BM_ExportEmf)->Unit(benchmark::kMillisecond)->Iterations(3);

// 1:10000 of 10 curves x 1,000,000 samples: the thinned traces keep the files small.
void BM_TenThousandScalePrintToPdfTarget(benchmark::State& state)
{
    EnsureApplication();
    LongData();
    PdfTarget target;
    for (auto _ : state) {
        TCurveTemplate t;
        Compose(t, LongData(), 100.0);
        if (!target.Print(t).ok)
            state.SkipWithError("the print failed");
    }
    state.counters["pdf_mb"] = std::filesystem::file_size(target.path) / 1048576.0;
}
BENCHMARK(BM_TenThousandScalePrintToPdfTarget)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TenThousandScaleExportEmf(benchmark::State& state)
{
    ExportEmfRounds(state, LongData(), 100.0, "bench_print_road_10000.emf");
}
BENCHMARK(BM_TenThousandScaleExportEmf)->Unit(benchmark::kMillisecond)->Iterations(3);

// Peak resident memory of a PDF print of `pages` pages of one diagram (1:1, one curve),
// measured from a reset of the peak just before the print.
void BM_PdfPrintPeakMemory(benchmark::State& state)
{
    EnsureApplication();
    ManyPagesData();
    PdfTarget target;
    const int wanted = static_cast<int>(state.range(0));
    double peak = 0.0;
    double before = 0.0;
    int pages = 0;
    for (auto _ : state) {
        TCurveTemplate t;
        Compose(t, ManyPagesData(), 0.01);
        // As much depth as the pages asked for: a sheet holds 27.7 cm of strip, 0.277 m at 1:1.
        t.Dept->SetPrintBottom(t.Dept->PrintTop + static_cast<float>(wanted * 0.277));
        before = StatusMb("VmRSS:");
        bench::RestartPeak();
        const DiagramPrintResult r = target.Print(t);
        peak = StatusMb("VmHWM:");
        if (!r.ok)
            state.SkipWithError("the print failed");
        pages = r.pages;
    }
    state.counters["pages"] = pages;
    state.counters["rss_before_mb"] = before;
    state.counters["peak_rss_mb"] = peak;
    state.counters["growth_mb"] = peak - before;
    state.counters["pdf_mb"] = std::filesystem::file_size(target.path) / 1048576.0;
}
BENCHMARK(BM_PdfPrintPeakMemory)->Arg(100)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
