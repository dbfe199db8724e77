// The print road on a test printer and on the PDF target: page counts, the first-N choice,
// cancelling with the progress object, the page-height correction and the streamed PDF.
#include "core/SettingsFile.h"
#include "platform/Printer.h"
#include "platform/PrintProgress.h"
#include "platform/RecordingCanvas.h"
#include "platform/RecordingDialogRunner.h"
#include "printing/CurveTemplate.h"
#include "printing/DiagramPrint.h"
#include "printing/GridParams.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"
#include "tests/common/TestPrinter.h"

#include <filesystem>
#include <functional>
#include <set>
#include <gtest/gtest.h>

namespace {

using strativ::test::TestPrinter;
using strativ::test::TestProgress;

// Scenario of the print road: DEPT 1000..1100 by 0.1 (or longer), GR 0..150, one 5 cm column,
// depth track 2 cm, 1:100.
struct Diagram {
    std::vector<float> depth, gr;
    TCurveTemplate t;
    explicit Diagram(float metres = 100.0f)
    {
        GridLineValues() = TGridLineValues{};
        const int n = static_cast<int>(metres * 10) + 1;
        for (int i = 0; i < n; ++i) {
            depth.push_back(1000.0f + i * 0.1f);
            gr.push_back(static_cast<float>(i % 151));
        }
        t.ReadCurvePrnSettings();
        t.SetSource({gr.data()}, {"GR", "API", ""}, depth.data(), -999.25f, 0.1f, depth.back(), depth.front(), n);
        int column = -1;
        t.AddCurveToColumn(0, column);
        t.Columns[0]->ColumnSpace = 0.1f;
        t.Dept->SetScale(1.0);
    }
};

TEST(PrintRoad, AllOrTheFirstPagesAreEndedAndACancelAborts)
{
    Diagram d;
    TestProgress progress;
    for (const int dpi : {300, 600}) {
        TestPrinter printer(dpi);
        DiagramPrintResult r = PrintDiagram(d.t, printer, PrintMargins{});
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.pages, 4) << dpi;  // 100 cm of strip on pages of 27.7 cm less the header
        EXPECT_EQ(printer.pages, 4);
        EXPECT_TRUE(printer.ended);
    }
    TestPrinter firstTwo;
    EXPECT_EQ(PrintDiagram(d.t, firstTwo, PrintMargins{}, 2).pages, 2);
    TestPrinter beyond;
    EXPECT_EQ(PrintDiagram(d.t, beyond, PrintMargins{}, 50).pages, 4);  // the pages there are

    Diagram longer(600.0f);
    TestPrinter cancelled;
    progress.cancelAt = 5;
    const DiagramPrintResult r = PrintDiagram(longer.t, cancelled, PrintMargins{});
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(cancelled.pages, 4);
    EXPECT_TRUE(cancelled.aborted);
    EXPECT_FALSE(cancelled.ended);
}

TEST(PrintRoad, CorrectionScalesOnlyLengthsDownThePageAndDoesNotAccumulate)
{
    Diagram d;
    const auto columnEdges = [](const platform::RecordingCanvas& canvas) {
        std::set<int> xs;  // x of the vertical black lines
        for (const auto& op : canvas.OpsOf(platform::CanvasOpKind::Line))
            if (op.points[0].x == op.points[1].x && op.pen.color == 0)
                xs.insert(op.points[0].x);
        return xs;
    };
    TestPrinter plain;
    PrintDiagram(d.t, plain, PrintMargins{});
    TestPrinter first;
    TestPrinter second;
    const DiagramPrintResult a = PrintDiagram(d.t, first, PrintMargins{}, 0, 1.1);
    const DiagramPrintResult b = PrintDiagram(d.t, second, PrintMargins{}, 0, 1.1);
    EXPECT_EQ(a.pages, b.pages);
    EXPECT_EQ(first.canvas.Ops().size(), second.canvas.Ops().size());
    EXPECT_EQ(columnEdges(first.canvas), columnEdges(plain.canvas));
    EXPECT_GT(a.pages, 4);  // each page holds less of the strip

    // On a printer with 0.5 cm borders the 1 cm bottom margin holds under any factor: a later
    // page reaches down to the sheet less that margin, measured with the corrected factor.
    for (const double factor : {0.9, 1.1}) {
        TestPrinter bordered(600);
        bordered.caps.physicalOffsetY = 118;
        bordered.caps.vertSizeMm = 287;
        bordered.caps.vertRes = 6779;
        PrintDiagram(d.t, bordered, PrintMargins{}, 0, factor);
        int lowest = 0;
        for (size_t i = bordered.pageStarts.at(1); i < bordered.pageStarts.at(2); ++i)
            if (bordered.canvas.Ops()[i].kind == platform::CanvasOpKind::Line)
                for (const auto& p : bordered.canvas.Ops()[i].points)
                    lowest = std::max(lowest, p.y);
        const double py = 600 / 2.54 * factor;
        EXPECT_NEAR(lowest, (bordered.caps.physicalHeight / py - 1.0 - 118 / (600 / 2.54)) * py, 2.0) << factor;
    }
}

TEST(PrintRoad, PdfTargetStreamsItsPagesAndACancelLeavesTheOldFile)
{
    platform::Printer& printer = platform::CurrentPrinter();
    const int pdf = static_cast<int>(printer.Printers().indexOf(platform::PdfPrinterName));
    ASSERT_GE(pdf, 0);
    printer.SetPrinterIndex(pdf);
    EXPECT_EQ(printer.PrinterName(), "PDF");
    strativ::test::TempDir dir;
    platform::RecordingDialogRunner runner;
    TestProgress progress;
    const auto temporary = [&dir] {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            if (entry.path().filename().string().rfind(".strativ-", 0) == 0)
                return static_cast<std::uintmax_t>(entry.file_size());
        return std::uintmax_t{0};
    };
    Diagram d(550.0f);  // 20 pages
    const std::string path = dir.file("print.pdf");
    std::uintmax_t atTwo = 0;
    progress.seen = [&](int page) {
        if (page == 2)
            atTwo = temporary();
        if (page == 11) {
            EXPECT_GT(temporary(), atTwo);
        }
        EXPECT_FALSE(std::filesystem::exists(path));
    };
    runner.PushFiles({QString::fromStdString(path)});
    const DiagramPrintResult r = PrintDiagram(d.t, printer, PrintMargins{});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.pages, 20);
    EXPECT_TRUE(std::filesystem::exists(path));

    strativ::test::WriteFileBytes(path, "older print");
    progress.seen = {};
    progress.cancelAt = 5;
    runner.PushFiles({QString::fromStdString(path)});
    EXPECT_TRUE(PrintDiagram(d.t, printer, PrintMargins{}).cancelled);
    EXPECT_EQ(strativ::test::ReadFileBytes(path), "older print");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    // No file chosen: the job does not begin.
    runner.PushCancel();
    EXPECT_FALSE(PrintDiagram(d.t, printer, PrintMargins{}).begun);
}

}  // namespace
