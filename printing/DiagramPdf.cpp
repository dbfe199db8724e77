// PDF output of the curve diagram.
#include "printing/DiagramPdf.h"

#include "platform/PdfCanvas.h"
#include "printing/CurveTemplate.h"

#include <string>

DiagramPdfResult WriteDiagramPdf(TCurveTemplate& diagram, const std::string& path, double pageWidthCm,
                                 double pageHeightCm, int dpi, int onlyPage)
{
    DiagramPdfResult result;
    platform::PdfCanvas pdf(path, pageWidthCm, pageHeightCm, dpi);
    platform::Canvas& canvas = pdf.Page();
    const platform::CanvasRect rect = pdf.PageRect();
    const float px = static_cast<float>(dpi / 2.54);
    diagram.SetPageWidthCm(static_cast<float>(pageWidthCm));
    diagram.SetPageHeightCm(static_cast<float>(pageHeightCm));

    // The page count rests on page 0's layout, which is fixed without drawing it, so that a
    // single later page carries nothing of page 0 under its own.
    diagram.LayOutFirstPage(canvas, rect, px);
    const int count = diagram.GetPageCount();
    if (onlyPage >= count) {
        result.error = "page " + std::to_string(onlyPage) + " does not exist: the diagram has " +
                       std::to_string(count) + " page(s)";
        return result;
    }
    const int first = onlyPage < 0 ? 0 : onlyPage;
    const int last = onlyPage < 0 ? count - 1 : onlyPage;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            pdf.NewPage();
        diagram.DrawCurvesPage(canvas, page, rect, px, px);
    }
    result.pages = pdf.PageCount();
    result.ok = pdf.Finish();
    result.error = pdf.Error();
    return result;
}
