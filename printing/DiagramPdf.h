// Writing the pages of a curve diagram into a PDF document, one diagram page per sheet.
#pragma once

#include <string>

class TCurveTemplate;

struct DiagramPdfResult {
    bool ok = false;
    int pages = 0;  // sheets written
    std::string error;
};

// Sheets of pageWidthCm × pageHeightCm at `dpi`, the diagram filling each. Page 0 is drawn
// first (it fixes the page count); with onlyPage ≥ 0 just that page is written.
DiagramPdfResult WriteDiagramPdf(TCurveTemplate& diagram, const std::string& path, double pageWidthCm,
                                 double pageHeightCm, int dpi, int onlyPage = -1);
