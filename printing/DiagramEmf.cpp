// EMF export of the curve diagram.
#include "printing/DiagramEmf.h"

#include "platform/PainterCanvas.h"
#include "platform/WorkProgress.h"
#include "printing/CurveTemplate.h"
#include "printing/PixelMath.h"
#include "printing/PrintedNumbers.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// Where the picture's parts lie (cm from its corner) and the screen's pixels per cm. The
// strip is drawn a sheet's printable height at a time, so that a long one shows progress.
struct EmfLayout {
    bool valid = false;
    double cX = 0.0;
    double cY = 0.0;
    double width = 0.0;  // the diagram, at least the printable width
    double titleHeight = 0.0;
    double header = 0.0;
    double strip = 0.0;
    double sheet = 0.0;    // the length of strip one page holds
    double pageTop = 0.0;  // below the title, once it is drawn
    platform::CanvasRect frame;
};

EmfLayout LayOut(TCurveTemplate& diagram, const DiagramEmfSetup& setup)
{
    EmfLayout l;
    const platform::EmfReference& screen = setup.screen;
    const PrintMargins& m = setup.margins;
    if (!diagram.Dept || screen.widthMm <= 0 || screen.heightMm <= 0 || screen.widthPx <= 0 || screen.heightPx <= 0)
        return l;
    UsePlatformDecimalSeparator();
    // Screen pixels per cm from its physical size.
    l.cX = 10.0 * screen.widthPx / screen.widthMm;
    l.cY = 10.0 * screen.heightPx / screen.heightMm;

    // The header band, measured with the metrics the picture is written with.
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    platform::PainterCanvas measure(painter, screen.dpiX, screen.dpiY);
    for (const auto& column : diagram.Columns)
        l.header = std::max(l.header, static_cast<double>(column->GetHeaderHeight(measure, static_cast<float>(l.cY))));
    const TPrintingDept& dept = *diagram.Dept;
    l.strip = (dept.PrintBottom - dept.PrintTop) / dept.Scale;
    l.titleHeight = setup.title.draw && setup.title.height ? setup.title.height(l.cY) : 0.0;
    l.width = std::max(static_cast<double>(diagram.DiagramWidth()), setup.sheetWidthCm - m.left - m.right);
    const double printable = setup.sheetHeightCm - m.top - m.bottom;
    l.sheet = printable >= 1.0 ? printable : l.strip;
    const double height = l.titleHeight + l.header + l.strip;
    // The frame in 0.01 mm, rounded: a sheet of 21 cm is 21000, never 20999.
    l.frame = {0, 0, static_cast<int>(std::lround((l.width + m.left + m.right) * 1000.0)),
               static_cast<int>(std::lround((height + m.top + m.bottom) * 1000.0))};
    diagram.SetPageWidthCm(static_cast<float>(l.width));
    diagram.SetPageHeightCm(static_cast<float>(l.sheet));
    l.pageTop = m.top;
    l.valid = true;
    return l;
}

void DrawTitle(platform::Canvas& canvas, EmfLayout& l, const DiagramEmfSetup& setup)
{
    const PrintMargins& m = setup.margins;
    if (l.titleHeight > 0.0)
        l.pageTop = m.top + setup.title.draw(canvas, m.left, m.top, l.width,
                                             l.titleHeight + l.header + l.strip + m.top, l.cX, l.cY);
}

// Page 0 holds the header and a sheet of the strip (all of it when shorter); later pages
// follow it without a gap. One pixel more than a page needs, so that truncation never
// leaves a sliver between pages or of a further page.
platform::CanvasRect PageRect(const EmfLayout& l, const TCurveTemplate& diagram, const PrintMargins& m, int page)
{
    const int left = TruncToInt(m.left * l.cX);
    const int right = TruncToInt((m.left + l.width) * l.cX);
    const double data = l.pageTop + l.header;
    if (page == 0)
        return {left, TruncToInt(l.pageTop * l.cY), right, TruncToInt((data + std::min(l.sheet, l.strip)) * l.cY) + 1};
    const double top = data + diagram.Dept->FirstPageHeight + (page - 1.0) * l.sheet;
    return {left, TruncToInt(top * l.cY), right, TruncToInt((top + l.sheet) * l.cY) + 1};
}

void DrawPage(platform::Canvas& canvas, TCurveTemplate& diagram, const EmfLayout& l, const PrintMargins& m,
              int page)
{
    diagram.DrawCurvesPage(canvas, page, PageRect(l, diagram, m, page), static_cast<float>(l.cY),
                           static_cast<float>(l.cX));
}

// Pages drawn to measure the picture: the first one and a few spread over the rest.
constexpr int SampledPages = 4;

}  // namespace

DiagramEmfPlan PlanDiagramEmf(TCurveTemplate& diagram, const DiagramEmfSetup& setup)
{
    DiagramEmfPlan plan;
    EmfLayout l = LayOut(diagram, setup);
    if (!l.valid)
        return plan;
    plan.frame = l.frame;
    platform::EmfCanvas canvas(setup.screen);
    DrawTitle(canvas, l, setup);
    DrawPage(canvas, diagram, l, setup.margins, 0);
    plan.pages = diagram.GetPageCount();
    const std::uint64_t first = canvas.Bytes();
    double rest = 0.0;
    if (plan.pages > 1) {
        const int samples = std::min(plan.pages - 1, SampledPages);
        std::uint64_t sampled = 0;
        for (int i = 0; i < samples; ++i) {
            const std::uint64_t before = canvas.Bytes();
            DrawPage(canvas, diagram, l, setup.margins, 1 + static_cast<int>(static_cast<long long>(i) * (plan.pages - 1) / samples));
            sampled += canvas.Bytes() - before;
        }
        rest = static_cast<double>(sampled) / samples * (plan.pages - 1);
    }
    plan.bytes = first + static_cast<std::uint64_t>(rest);
    return plan;
}

DiagramEmfResult ExportDiagramEmf(TCurveTemplate& diagram, const std::string& path, const DiagramEmfSetup& setup)
{
    DiagramEmfResult result;
    EmfLayout l = LayOut(diagram, setup);
    if (!l.valid) {
        result.error = "Нет диаграммы для экспорта";
        return result;
    }
    result.frame = l.frame;
    platform::EmfCanvas canvas(path, setup.screen, l.frame);
    DrawTitle(canvas, l, setup);
    DrawPage(canvas, diagram, l, setup.margins, 0);
    const int count = diagram.GetPageCount();
    {
        platform::WorkProgressScope progress(QStringLiteral("Экспорт диаграммы в EMF"));
        for (int page = 1; page < count && canvas.Error().empty(); ++page) {
            if (!progress.Step(static_cast<double>(page) / count)) {
                result.cancelled = true;
                break;
            }
            DrawPage(canvas, diagram, l, setup.margins, page);
        }
    }
    // The template is left laid out as the one page the picture shows.
    diagram.SetPageHeightCm(static_cast<float>(l.header + l.strip));
    diagram.Dept->SetFirstPageHeight(static_cast<float>(l.strip));
    if (result.cancelled)
        return result;  // the unfinished picture leaves no file
    result.ok = canvas.Finish();
    result.error = canvas.Error();
    return result;
}
