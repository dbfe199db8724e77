// Printed logs read at the resolutions devices have: scale ends and tick positions, scale
// numbers, depth labels over many pages read back from the PDF, and damaged templates.
#include "platform/RecordingCanvas.h"
#include "printing/CurveTemplate.h"
#include "printing/DiagramPdf.h"
#include "printing/GridParams.h"
#include "printing/LabelText.h"
#include "tests/common/CommandOutput.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <regex>
#include <set>
#include <sstream>

namespace {

using platform::CanvasOp;
using platform::CanvasOpKind;
using platform::RecordingCanvas;

constexpr float Null = -999.25f;

struct Header {
    std::vector<std::string> texts;
    std::vector<CanvasOp> textOps;
    std::vector<int> majorX;  // ticks 0.2 cm high
    int minorCount = 0;       // ticks 0.1 cm high
};

// The scale of one curve in a column `widthCm` wide, drawn at `px` pixels per cm.
Header DrawScale(TCurveForPrinting& curve, TPrintingColumn& column, double px, int dpi)
{
    RecordingCanvas canvas(dpi, dpi);
    const int xL = 100;
    const int xR = xL + static_cast<int>(std::lround(column.Width * px));
    curve.ShowTitle = false;
    const int base = curve.DrawHeader(canvas, 0, static_cast<float>(px), xR, xL, static_cast<float>(px));
    Header h;
    for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Text)) {
        h.texts.push_back(op.text);
        h.textOps.push_back(op);
    }
    for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Line)) {
        if (op.points[0].y != base || op.points[0].x != op.points[1].x)
            continue;
        if (op.points[1].y == static_cast<int>(base - 0.2 * px))
            h.majorX.push_back(op.points[0].x - xL);
        else
            ++h.minorCount;
    }
    return h;
}

TEST(PrintReading, ScaleEndsAreLabelledAndTicksSitWhereTheyBelongAtEveryResolution)
{
    const float samples[] = {0.0f, 1.0f};
    for (const double px : {96 / 2.54, 150 / 2.54, 300 / 2.54, 600 / 2.54, 47.3}) {
        const int dpi = static_cast<int>(std::lround(px * 2.54));
        for (int width = 3; width <= 8; ++width) {
            TPrintingColumn column;
            column.SetWidth(static_cast<float>(width));
            SCOPED_TRACE("px/cm " + std::to_string(px) + ", " + std::to_string(width) + " cm");

            TCurveForPrinting gr(samples, &column, Null, 2);
            gr.SetLeftValue(0.0f);
            gr.SetScaleValue(150.0f / static_cast<float>(width));
            const Header linear = DrawScale(gr, column, px, dpi);
            ASSERT_GE(linear.texts.size(), 2u);
            // 0 and 150, with the decimals the inner numbers share (37.5 gives "150.0")
            EXPECT_EQ(std::stod(linear.texts.front()), 0.0);
            EXPECT_EQ(std::stod(linear.texts.back()), 150.0);
            std::vector<double> marks;
            for (int i = 0; 2 * i <= width; ++i)
                marks.push_back(2.0 * i);
            if (width % 2 != 0)
                marks.push_back(width);
            ASSERT_EQ(linear.majorX.size(), marks.size());
            for (size_t i = 0; i < marks.size(); ++i)
                EXPECT_LE(std::fabs(linear.majorX[i] - marks[i] * px), 0.5 + 1e-9) << marks[i];
            EXPECT_EQ(linear.minorCount, 2 * width + 1);  // every 0.5 cm, the right end included

            TCurveForPrinting res(samples, &column, Null, 2);
            res.LogarithmicScale = true;
            res.LogLeftValue = 0.2f;
            const Header log = DrawScale(res, column, px, dpi);
            ASSERT_GE(log.texts.size(), 2u);
            EXPECT_EQ(log.texts.front(), "0.2");
            const double right = 0.2 * std::pow(10.0, width / 2.0);
            EXPECT_EQ(log.texts.back(), FormatShortestLabel(right));
            for (size_t i = 0; i < log.majorX.size(); ++i) {
                const double cm = std::min(2.0 * static_cast<double>(i), static_cast<double>(width));
                EXPECT_LE(std::fabs(log.majorX[i] - cm * px), 0.5 + 1e-9) << i;
            }
        }
    }
}

TEST(PrintReading, ScaleNumbersShowTheirDecimalsAndKeepClearOfTheFrame)
{
    const float samples[] = {0.0f, 1.0f};
    // left value, scale per cm, width, the numbers shown
    const std::tuple<float, float, float, std::vector<std::string>> cases[] = {
        {1.95f, 0.25f, 4.0f, {"1.95", "2.45", "2.95"}},
        {-0.15f, 0.1f, 6.0f, {"-0.15", "0.05", "0.25", "0.45"}},
        {0.24f, 0.06f, 4.0f, {"0.24", "0.36", "0.48"}},
        {0.0f, 30.0f, 5.0f, {"0", "60", "120", "150"}},
        {150.1f, 10.0f, 2.0f, {"150.1", "170.1"}},
    };
    for (const auto& [left, scale, width, expected] : cases) {
        TPrintingColumn column;
        column.SetWidth(width);
        TCurveForPrinting c(samples, &column, Null, 2);
        c.SetLeftValue(left);
        c.SetScaleValue(scale);
        const double px = 300 / 2.54;
        const Header h = DrawScale(c, column, px, 300);
        EXPECT_EQ(h.texts, expected) << left;
        const int xR = 100 + static_cast<int>(std::lround(width * px));
        const int gap = static_cast<int>(0.05 * px);
        RecordingCanvas metrics(300, 300);
        metrics.font = c.UnitsFont;
        EXPECT_GE(h.textOps.front().at.x, 100 + gap) << left;
        EXPECT_LE(h.textOps.back().at.x + metrics.TextWidth(h.texts.back()), xR - gap) << left;
    }
}

// A curve diagram over `top`..`bottom` at 1:`n`, its pages written as PDF and read back.
struct LabelRun {
    std::vector<float> depths, values;
    TCurveTemplate t;

    LabelRun(double top, double bottom, int n)
    {
        const int count = 2001;
        for (int i = 0; i < count; ++i) {
            depths.push_back(static_cast<float>(top + (bottom - top) * i / (count - 1)));
            values.push_back(static_cast<float>(i % 37));
        }
        t.SetSource({values.data()}, {"GR", "API", ""}, depths.data(), Null,
                    static_cast<float>((bottom - top) / (count - 1)), depths.back(), depths.front(), count);
        t.Dept->SetScale(n * 0.01);
        int column = -1;
        t.AddCurveToColumn(0, column);
    }
};

TEST(PrintReading, EveryDepthLineCarriesOneWholeNumberOnExactlyOnePage)
{
    if (strativ::test::CommandOutput("command -v pdftotext").empty())
        GTEST_SKIP() << "pdftotext is not installed";
    strativ::test::TempDir dir;
    // scale 1:N, depth range (metres or feet alike: labels are in the file's unit)
    const std::tuple<int, double, double> cases[] = {
        {1, 6915.6, 6916.3},  {2, 6915.63, 6917.1}, {30, 198.45, 220.0},  {200, 1003.4, 1300.0},
        {240, 6914.0, 7300.0}, {10000, 6915.0, 40000.0},
    };
    for (const auto& [n, top, bottom] : cases) {
        SCOPED_TRACE("1:" + std::to_string(n));
        LabelRun run(top, bottom, n);
        const std::string pdf = dir.file("labels" + std::to_string(n) + ".pdf");
        const DiagramPdfResult r = WriteDiagramPdf(run.t, pdf, 19.0, 27.7, 300);
        ASSERT_TRUE(r.ok) << r.error;
        ASSERT_GE(r.pages, 3);
        const TPrintingDept::DepthLines lines = run.t.Dept->GetDepthLines(0);
        const double step = lines.stepMantissa * std::pow(10.0, lines.stepExponent);

        // Words left of the first column (2 cm = 56.7 pt) are the depth numbers.
        const std::string html = strativ::test::CommandOutput("pdftotext -bbox '" + pdf + "' -");
        const std::regex page(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
        const std::regex word(R"re(<word xMin="([\d.-]+)" yMin="([\d.-]+)" xMax="([\d.-]+)" yMax="([\d.-]+)">([^<]*)</word>)re");
        std::vector<double> labels;
        int pages = 0;
        double pageHeight = 0;
        std::istringstream in(html);
        for (std::string line; std::getline(in, line);) {
            std::smatch m;
            if (std::regex_search(line, m, page)) {
                ++pages;
                pageHeight = std::stod(m[2]);
                continue;
            }
            if (!std::regex_search(line, m, word) || std::stod(m[1]) > 56.0)
                continue;
            EXPECT_GE(std::stod(m[2]), 0.0) << m[5];
            EXPECT_LE(std::stod(m[4]), pageHeight) << m[5];
            const std::string text = m[5];
            const size_t point = text.find('.');
            const int decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
            EXPECT_EQ(decimals, std::max(0, -lines.stepExponent)) << text;
            labels.push_back(std::stod(text));
        }
        EXPECT_EQ(pages, r.pages);
        ASSERT_GE(labels.size(), 3u);
        for (size_t i = 0; i < labels.size(); ++i) {
            const double multiple = labels[i] / step;
            EXPECT_NEAR(multiple, std::round(multiple), 1e-6) << labels[i];
            if (i > 0) {
                EXPECT_NEAR(labels[i] - labels[i - 1], step, step * 1e-6) << "after " << labels[i - 1];
            }
        }
        EXPECT_LT(labels.front() - top, step + 1e-9);  // the first multiple inside the strip
    }
}

TEST(PrintReading, EveryPageWritesItsDepthNumbersInTheSameFont)
{
    LabelRun run(1000.0, 1100.0, 200);
    run.t.Columns[0]->Curves[0]->UnitsFont.size = 7.0;
    RecordingCanvas canvas(300, 300);
    const platform::CanvasRect rect{0, 0, 2244, 3271};
    std::set<double> sizes;
    for (int page = 0; page < 3; ++page) {
        canvas.Clear();
        run.t.DrawCurvesPage(canvas, page, rect, 300 / 2.54f, 300 / 2.54f);
        for (const CanvasOp& op : canvas.OpsOf(CanvasOpKind::Text))
            if (op.at.x < 2 * 300 / 2.54)
                sizes.insert(op.font.size);
    }
    EXPECT_EQ(sizes.size(), 1u);
}

TEST(PrintReading, RandomTemplatesNeverDrawFromNumbersThatOverflowTheDrawing)
{
    strativ::test::TempDir dir;
    LabelRun run(1000.0, 1100.0, 200);
    const char* columnKeys[] = {"Width", "ColumnSpace"};
    const char* curveKeys[] = {"LeftValue", "ScaleValue", "Color", "Width", "BlikScale", "BlikTitleType",
                               "BlikTitle", "LogarithmicScale", "LogScaleModule", "LogLeftValue"};
    const char* numbers[] = {"-1e30", "1e30", "3e38", "-3e38", "0", "-1", "1", "2", "11", "2147483648",
                             "-2147483649", "nan", "inf", "0.5", "1e-40", "5", "abc", ""};
    std::mt19937 random(7);
    const auto pick = [&](auto& list) { return list[random() % std::size(list)]; };
    const std::string path = dir.file("random.ctl");
    for (int round = 0; round < 300; ++round) {
        std::ostringstream ctl;
        ctl << "[TemlateInfo]\nVersion=1\nColumnCount=2\n";
        for (int c = 0; c < 2; ++c) {
            ctl << "[Col" << c << "]\n" << pick(columnKeys) << '=' << pick(numbers) << "\nCol" << c << "Curve0=GR\n";
            ctl << "[Col" << c << "Curve0]\n";
            for (int k = 0; k < 3; ++k)
                ctl << pick(curveKeys) << '=' << pick(numbers) << '\n';
        }
        strativ::test::WriteFileBytes(path, ctl.str());
        const size_t before = run.t.Columns.size();
        const std::string message = run.t.LoadTemplate(path);
        EXPECT_EQ(run.t.Columns.size(), message.empty() ? 2u : before) << ctl.str();
        RecordingCanvas canvas(600, 600);
        for (int page = 0; page < 2; ++page)
            run.t.DrawCurvesPage(canvas, page, {0, 0, 4488, 6543}, 600 / 2.54f, 600 / 2.54f);
    }
}

}  // namespace
