// Printing the curve diagram page by page on the printer object, with progress and cancel.
#pragma once

#include "platform/Printer.h"
#include "printing/DiagramEmf.h"

#include <functional>
#include <string>

class TCurveTemplate;

struct DiagramPrintResult {
    bool begun = false;  // false: the job could not begin, nothing was printed
    bool ok = false;
    bool cancelled = false;
    int pages = 0;  // pages printed
};

// The printer's sheet and the margins a print uses, in cm: the margins raised to the
// unprintable borders, lengths down the page divided by the correction factor.
struct PrintArea {
    bool valid = false;  // false: the printer reports no resolution
    double pxX = 0.0;    // pixels per cm across and down (corrected)
    double pxY = 0.0;
    double pageWidth = 0.0;
    double pageHeight = 0.0;
    double left = 0.0;
    double right = 0.0;
    double top = 0.0;
    double bottom = 0.0;
    double leftMin = 0.0;  // the unprintable borders at the left and top
    double topMin = 0.0;
    double Width() const { return pageWidth - left - right; }
    double Height() const { return pageHeight - top - bottom; }
};
PrintArea PrintableArea(const platform::PrinterCaps& caps, const PrintMargins& margins, double correction = 1.0);

// What the first page carries above the diagram (the title, the mark block): drawn into the
// area (cm from the canvas origin) with the horizontal and vertical pixels per cm; returns
// the height it took in cm.
using PageHead = std::function<double(platform::Canvas& canvas, double left, double top, double right,
                                      double bottom, double pxX, double pxY)>;

// Lays the diagram out for the printer's sheet less the margins (raised to the unprintable
// borders) and prints its pages: all of them, or the first `firstPages` (0: all). A correction
// factor other than 1 scales only lengths down the page. The page height is measured from the
// printer at every call. A cancelled or failed job is aborted, never ended. `head` draws
// above page 0.
DiagramPrintResult PrintDiagram(TCurveTemplate& diagram, platform::Printer& printer, const PrintMargins& margins,
                                int firstPages = 0, double correction = 1.0, const PageHead& head = {});
