// The print road of the curve diagram.
#include "printing/DiagramPrint.h"

#include "platform/Printer.h"
#include "platform/PrintProgress.h"
#include "printing/CurveTemplate.h"
#include "printing/PixelMath.h"
#include "printing/PrintedNumbers.h"

#include <algorithm>

DiagramPrintResult PrintDiagram(TCurveTemplate& diagram, platform::Printer& printer, const PrintMargins& margins,
                                int firstPages, double correction, const PageHead& head)
{
    DiagramPrintResult result;
    UsePlatformDecimalSeparator();
    const platform::PrinterCaps caps = printer.Caps();
    const double px = caps.logPixelsX / 2.54;
    const double pyNominal = caps.logPixelsY / 2.54;
    const double py = pyNominal * correction;
    if (!(px > 0.0) || !(py > 0.0))
        return result;
    const double pageWidth = caps.physicalWidth / px;
    const double pageHeight = caps.physicalHeight / py;
    const double leftMin = caps.physicalOffsetX / px;
    const double topMin = caps.physicalOffsetY / pyNominal;
    // The unprintable borders in nominal cm, as the margin edits show them.
    const double rightMin = pageWidth - leftMin - caps.horzSizeMm * 0.1;
    const double bottomMin = caps.physicalHeight / pyNominal - topMin - caps.vertSizeMm * 0.1;
    const double l = std::max(margins.left, leftMin);
    const double r = std::max(margins.right, rightMin);
    const double t = std::max(margins.top, topMin);
    const double b = std::max(margins.bottom, bottomMin);
    diagram.SetPageWidthCm(static_cast<float>(pageWidth - r - l));
    diagram.SetPageHeightCm(static_cast<float>(pageHeight - t - b));

    printer.Title = QStringLiteral("Strativ document");
    platform::PrintJob job(printer);
    result.begun = job.Begun();
    if (!result.begun)
        return result;
    // Positions from the printable area's corner; across with the horizontal factor.
    const double x0 = l - leftMin;
    const double xr = pageWidth - r - leftMin;
    const double yb = pageHeight - b - topMin;
    const double top = t - topMin;
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
        if (!progress.Page(page + 1, count)) {
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
