// The print road of the curve diagram.
#include "printing/DiagramPrint.h"

#include "platform/Printer.h"
#include "platform/PrintProgress.h"
#include "platform/WorkStop.h"
#include "printing/CurveTemplate.h"
#include "printing/PixelMath.h"
#include "printing/PrintedNumbers.h"

#include <algorithm>

PrintArea PrintableArea(const platform::PrinterCaps& caps, const PrintMargins& margins, double correction)
{
    PrintArea a;
    a.pxX = caps.logPixelsX / 2.54;
    const double pyNominal = caps.logPixelsY / 2.54;
    a.pxY = pyNominal * correction;
    if (!(a.pxX > 0.0) || !(a.pxY > 0.0))
        return a;
    a.valid = true;
    a.pageWidth = caps.physicalWidth / a.pxX;
    a.pageHeight = caps.physicalHeight / a.pxY;
    a.leftMin = caps.physicalOffsetX / a.pxX;
    a.topMin = caps.physicalOffsetY / pyNominal;
    // The unprintable borders in nominal cm, as the margin edits show them.
    const double rightMin = a.pageWidth - a.leftMin - caps.horzSizeMm * 0.1;
    const double bottomMin = caps.physicalHeight / pyNominal - a.topMin - caps.vertSizeMm * 0.1;
    a.left = std::max(margins.left, a.leftMin);
    a.right = std::max(margins.right, rightMin);
    a.top = std::max(margins.top, a.topMin);
    a.bottom = std::max(margins.bottom, bottomMin);
    return a;
}

DiagramPrintResult PrintDiagram(TCurveTemplate& diagram, platform::Printer& printer, const PrintMargins& margins,
                                int firstPages, double correction, const PageHead& head)
{
    DiagramPrintResult result;
    UsePlatformDecimalSeparator();
    const PrintArea area = PrintableArea(printer.Caps(), margins, correction);
    if (!area.valid)
        return result;
    const double px = area.pxX;
    const double py = area.pxY;
    diagram.SetPageWidthCm(static_cast<float>(area.Width()));
    diagram.SetPageHeightCm(static_cast<float>(area.Height()));

    platform::PrintJob job(printer);
    result.begun = job.Begun();
    if (!result.begun)
        return result;
    // Positions from the printable area's corner; across with the horizontal factor.
    const double x0 = area.left - area.leftMin;
    const double xr = area.pageWidth - area.right - area.leftMin;
    const double yb = area.pageHeight - area.bottom - area.topMin;
    const double top = area.top - area.topMin;
    const double y = head ? top + head(printer.PageCanvas(), x0, top, xr, yb, px, py) : top;
    const platform::CanvasRect later{TruncToInt(x0 * px), TruncToInt(top * py), TruncToInt(xr * px),
                                     TruncToInt(yb * py)};
    platform::CanvasRect first = later;
    first.top = TruncToInt(y * py);
    diagram.DrawCurvesPage(printer.PageCanvas(), 0, first, static_cast<float>(py), static_cast<float>(px));
    int count = diagram.GetPageCount();
    if (firstPages > 0)
        count = std::min(count, firstPages);
    result.pages = 1;
    platform::PrintProgress& progress = platform::CurrentPrintProgress();
    progress.Begin(count);
    for (int page = 1; page < count; ++page) {
        if (!progress.Page(page + 1, count) || platform::WorkStopRequested()) {
            result.cancelled = true;
            break;
        }
        printer.NewPage();
        diagram.DrawCurvesPage(printer.PageCanvas(), page, later, static_cast<float>(py), static_cast<float>(px));
        ++result.pages;
    }
    progress.End();
    if (result.cancelled) {
        job.Abort();
        return result;
    }
    result.ok = job.End();
    return result;
}
