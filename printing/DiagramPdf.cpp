// PDF output of the curve diagram.
#include "printing/DiagramPdf.h"

#include "platform/PdfCanvas.h"
#include "printing/CurveTemplate.h"

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

    diagram.DrawCurvesPage(canvas, 0, rect, px, px);
    if (onlyPage > 0) {
        canvas.brush = {};
        canvas.FillRect(rect);
        diagram.DrawCurvesPage(canvas, onlyPage, rect, px, px);
    } else if (onlyPage < 0) {
        for (int page = 1; page < diagram.GetPageCount(); ++page) {
            pdf.NewPage();
            diagram.DrawCurvesPage(canvas, page, rect, px, px);
        }
    }
    result.pages = pdf.PageCount();
    result.ok = pdf.Finish();
    result.error = pdf.Error();
    return result;
}
