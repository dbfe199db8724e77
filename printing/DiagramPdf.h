// Writing the pages of a curve diagram into a PDF document, one diagram page per sheet.
#pragma once

#include <string>

class TCurveTemplate;

struct DiagramPdfResult {
    bool ok = false;
    int pages = 0;  // sheets written
    std::string error;
};

// Sheets of pageWidthCm × pageHeightCm at `dpi`, the diagram filling each: every page, or
// with onlyPage ≥ 0 just that one (an error when the diagram has no such page). Nothing is
// written on failure.
DiagramPdfResult WriteDiagramPdf(TCurveTemplate& diagram, const std::string& path, double pageWidthCm,
                                 double pageHeightCm, int dpi, int onlyPage = -1);
