// EMF export of the curve diagram.
#include "printing/DiagramEmf.h"

#include "platform/PainterCanvas.h"
#include "printing/CurveTemplate.h"
#include "printing/PixelMath.h"
#include "printing/PrintedNumbers.h"

#include <QImage>
#include <QPainter>
#include <cmath>

DiagramEmfResult ExportDiagramEmf(TCurveTemplate& diagram, const std::string& path,
                                  const platform::EmfReference& screen, double sheetWidthCm,
                                  const PrintMargins& margins, const DiagramEmfTitle& title)
{
    DiagramEmfResult result;
    if (!diagram.Dept || screen.widthMm <= 0 || screen.heightMm <= 0 || screen.widthPx <= 0 || screen.heightPx <= 0) {
        result.error = "Нет диаграммы для экспорта";
        return result;
    }
    UsePlatformDecimalSeparator();
    // Screen pixels per cm from its physical size.
    const double mX = static_cast<double>(screen.widthMm) / screen.widthPx;
    const double mY = static_cast<double>(screen.heightMm) / screen.heightPx;
    const double cX = 10.0 / mX;
    const double cY = 10.0 / mY;

    // The header band, measured with the metrics the picture is written with.
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    platform::PainterCanvas measure(painter, screen.dpiX, screen.dpiY);
    double header = 0.0;
    for (const auto& column : diagram.Columns)
        header = std::max(header, static_cast<double>(column->GetHeaderHeight(measure, static_cast<float>(cY))));
    const TPrintingDept& dept = *diagram.Dept;
    const double strip = (dept.PrintBottom - dept.PrintTop) / dept.Scale;
    const double titleHeight = title.draw && title.height ? title.height(cY) : 0.0;

    double w = diagram.DiagramWidth();
    const double printable = sheetWidthCm - margins.left - margins.right;
    if (printable > w)
        w = printable;
    const double h = titleHeight + header + strip;
    // The frame in 0.01 mm, rounded: a sheet of 21 cm is 21000, never 20999.
    result.frame = {0, 0, static_cast<int>(std::lround((w + margins.left + margins.right) * 1000.0)),
                    static_cast<int>(std::lround((h + margins.top + margins.bottom) * 1000.0))};
    diagram.SetPageWidthCm(static_cast<float>(w));
    diagram.SetPageHeightCm(static_cast<float>(header + strip));

    platform::EmfCanvas canvas(path, screen, result.frame);
    double y = margins.top;
    if (titleHeight > 0.0)
        y += title.draw(canvas, margins.left, margins.top, w, h + margins.top, cX, cY);
    // One pixel more than the strip needs, so that truncation never leaves a sliver of a
    // second page.
    const platform::CanvasRect rect{TruncToInt(margins.left * cX), TruncToInt(y * cY),
                                    TruncToInt((margins.left + w) * cX),
                                    TruncToInt((y + header + strip) * cY) + 1};
    diagram.DrawCurvesPage(canvas, 0, rect, static_cast<float>(cY), static_cast<float>(cX));
    result.ok = canvas.Finish();
    result.error = canvas.Error();
    return result;
}
