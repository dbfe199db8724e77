// The print dialog's preview of the first sheet and its EMF export of the whole diagram.
#include "printing/FormPrnParams.h"

#include "platform/DepthUnit.h"
#include "platform/DialogRunner.h"
#include "platform/EmfCanvas.h"
#include "platform/FileNames.h"
#include "platform/NumberText.h"
#include "platform/PainterCanvas.h"
#include "platform/Printer.h"
#include "printing/FormCurveTemplate.h"
#include "printing/PixelMath.h"
#include "printing/PrintedNumbers.h"
#include "printing/TemplateSelectMacroValInput.h"
#include "printing/TemplateVariables.h"
#include "printing/TitleTemplate.h"
#include "ui_FormPrnParams.h"

#include <QFileInfo>
#include <QPainter>
#include <QSignalBlocker>

namespace {

QRect FromEdges(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

// The text whole: in the dialog's font, or one narrowed (to 6 points at least) where the label is
// too short for it.
void ShowWhole(QLabel& label, const QString& text)
{
    QFont font = label.parentWidget()->font();
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(text) > label.contentsRect().width())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label.setFont(font);
    label.setText(text);
}

}  // namespace

double TFormPrnParams::DrawPreviewPage(platform::Canvas& canvas, double left, double top, double right,
                                       double bottom, double scrX, double scrY, double sx, double sy)
{
    if (!(sx > 0.0) || !(sy > 0.0))
        return 0.0;
    UsePlatformDecimalSeparator();
    canvas.Save();
    canvas.Scale(sx / scrX, sy / scrY);
    const double y = top + DrawPageHead(canvas, left, top, right, bottom, scrX, scrY);
    if (CurveTemplate)
        CurveTemplate->Model.DrawCurvesPage(canvas, 0,
                                            {TruncToInt(left * scrX), TruncToInt(y * scrY), TruncToInt(right * scrX),
                                             TruncToInt(bottom * scrY)},
                                            static_cast<float>(scrY), static_cast<float>(scrX));
    canvas.Restore();
    return y - top;
}

QImage TFormPrnParams::PreviewImage(double* extra)
{
    const int boxW = ui->PaintBox->width();
    const int boxH = ui->PaintBox->height();
    QImage image(boxW, boxH, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (extra)
        *extra = 0.0;
    // A sheet of no size (a printer reporting none) leaves the preview empty.
    if (!(PageWidthCm > 0.0) || !(PageHeightCm > 0.0))
        return image;
    const double ratio = PageHeightCm / PageWidthCm;
    int w = boxW - 10;
    int h = boxH - 10;
    if (h >= w * ratio)
        h = TruncToInt(w * ratio);
    else
        w = TruncToInt(h / ratio);
    if (w <= 0 || h <= 0)
        return image;
    const double cmPerPxX = PageWidthCm / w;
    const double cmPerPxY = PageHeightCm / h;
    const int left = boxW / 2 - w / 2;
    const int right = boxW / 2 + w / 2;
    const int top = boxH / 2 - h / 2;
    const int bottom = boxH / 2 + h / 2;

    const PrintMargins m = Margins();
    const int marginTop = TruncToInt(top + m.top / cmPerPxY);
    const int marginBottom = TruncToInt(bottom - m.bottom / cmPerPxY);
    const int marginLeft = TruncToInt(left + m.left / cmPerPxX);
    const int marginRight = TruncToInt(right - m.right / cmPerPxX);
    QPainter painter(&image);
    {
        platform::PainterCanvas sheet(painter);
        sheet.pen = {0x808080, 1, platform::PenStyle::Solid};
        sheet.brush = {0x808080, platform::BrushStyle::Solid};
        sheet.FillRect({left + 5, top + 5, right + 5, bottom + 5});
        sheet.brush = {0xFFFFFF, platform::BrushStyle::Solid};
        sheet.pen.color = 0;
        sheet.Rectangle({left, top, right, bottom});
        sheet.pen.style = platform::PenStyle::Dash;
        // Dashed lines at the margins that are enabled and above 0.
        const auto line = [&sheet](const QDoubleSpinBox* edit, int x0, int y0, int x1, int y1) {
            if (!edit->isEnabled() || !(edit->value() > 0.0))
                return;
            sheet.MoveTo(x0, y0);
            sheet.LineTo(x1, y1);
        };
        line(ui->SpETopMargin, left, marginTop, right, marginTop);
        line(ui->SpEBottomMargin, left, marginBottom, right, marginBottom);
        line(ui->SpELeftMargin, marginLeft, top, marginLeft, bottom);
        line(ui->SpERightMargin, marginRight, top, marginRight, bottom);
    }

    // The sheet drawn whole off-screen; only the part inside the margins is copied, so the
    // dashed lines stay visible one pixel outside it.
    QImage page(w, h, QImage::Format_RGB32);
    page.fill(Qt::white);
    const double sx = w / PageWidthCm;
    const double sy = h / PageHeightCm;
    {
        QPainter pagePainter(&page);
        const int dpiX = ui->PaintBox->logicalDpiX();
        const int dpiY = ui->PaintBox->logicalDpiY();
        platform::PainterCanvas canvas(pagePainter, dpiX, dpiY);
        const double taken = DrawPreviewPage(canvas, m.left, m.top, PageWidthCm - m.right, PageHeightCm - m.bottom,
                                             dpiX / 2.54, dpiY / 2.54, sx, sy);
        if (extra)
            *extra = taken;
    }
    const QRect source = FromEdges(TruncToInt(m.left * sx), TruncToInt(m.top * sy),
                                   TruncToInt((PageWidthCm - m.right) * sx), TruncToInt((PageHeightCm - m.bottom) * sy));
    const QRect target = FromEdges(marginLeft + 1, marginTop + 1, marginRight, marginBottom);
    if (source.isValid() && target.isValid())
        painter.drawImage(target, page, source);
    // A diagram cut at the printable width shows where the sheet ends it.
    if (DiagramOverflowCm() > 0.0) {
        platform::PainterCanvas sheet(painter);
        sheet.pen = {0x0000FF, 2, platform::PenStyle::Solid};
        sheet.MoveTo(marginRight, top);
        sheet.LineTo(marginRight, bottom);
    }
    return image;
}

void TFormPrnParams::PaintBoxPaint()
{
    QPainter painter(ui->PaintBox);
    painter.drawImage(0, 0, PreviewImage());
}

double TFormPrnParams::LayOutPreview()
{
    MeasurePrinter(false);
    const PrintMargins m = Margins();
    // The layout of the current printable area, whatever the last export or template step left.
    if (CurveTemplate) {
        CurveTemplate->Model.SetPageWidthCm(static_cast<float>(PageWidthCm - m.right - m.left));
        CurveTemplate->Model.SetPageHeightCm(static_cast<float>(PageHeightCm - m.top - m.bottom));
    }
    double extra = 0.0;
    PreviewImage(&extra);  // drawing page 0 fixes the first page's length
    return extra;
}

void TFormPrnParams::RefreshPreview()
{
    const double extra = LayOutPreview();
    TCurveTemplate* model = CurveTemplate ? &CurveTemplate->Model : nullptr;
    float width = 0.0f;
    float length = 0.0f;
    const int pages = model ? model->GetPrintSize(width, length) : 0;
    length += static_cast<float>(extra);
    {
        const QSignalBlocker block(ui->EditPagesTo);
        // A count above the pages there are comes down to them, in sight.
        ui->EditPagesTo->setMaximum(std::max(1, pages));
        if (!pagesChosen_)
            ui->EditPagesTo->setValue(pages);
    }
    ui->GroupBoxPages->setTitle(QStringLiteral("Страницы (всего %1)").arg(pages));
    ShowWhole(*ui->LabelPrintSize, QStringLiteral("(Размер: ") + platform::FloatToStrF(width, 7, 2) + QStringLiteral("x") +
                                       platform::FloatToStrF(length, 7, 2) + QStringLiteral(" см)"));
    const QString note =
        model && model->Dept ? platform::DepthScaleNote(QString::fromStdString(model->DepthUnit)) : QString();
    ui->LabelDepthUnit->setText(note);
    ui->LabelDepthUnit->setVisible(!note.isEmpty());
    setFixedHeight(ui->PanelPreview->height() + (note.isEmpty() ? 0 : ui->LabelDepthUnit->height() + 2));
    ui->PaintBox->update();
}

DiagramEmfSetup TFormPrnParams::EmfSetup() const
{
    const platform::PrinterCaps caps = platform::CurrentPrinter().Caps();
    DiagramEmfSetup setup;
    setup.screen = platform::ScreenReference();
    setup.sheetWidthCm = caps.sheetWidthMm > 0.0 ? caps.sheetWidthMm / 10.0 : PageWidthCm;
    setup.sheetHeightCm = caps.sheetHeightMm > 0.0 ? caps.sheetHeightMm / 10.0 : PageHeightCm;
    setup.margins = Margins();
    if (TitleApplied()) {
        TFormTitleTemplate* result = TitleDialog->FormTitleResult;
        setup.title.height = [result](double pxY) { return result->GetTitleHeight(pxY); };
        setup.title.draw = [result](platform::Canvas& canvas, double left, double top, double width, double bottom,
                                    double pxX, double pxY) {
            return result->DrawTitle(&canvas, static_cast<float>(left), static_cast<float>(top),
                                     static_cast<float>(width), static_cast<float>(bottom), pxX, pxY);
        };
    }
    return setup;
}

void TFormPrnParams::ButtonExportEMFClick()
{
    if (!CurveTemplate || !ConfirmDiagram(QStringLiteral("Экспорт")))
        return;
    // The picture is measured before anything is asked or written.
    const DiagramEmfPlan plan = PlanDiagramEmf(CurveTemplate->Model, EmfSetup());
    const double megabytes = static_cast<double>(plan.bytes) / (1024.0 * 1024.0);
    const QString size = QStringLiteral("%1 стр., около %2 МБ")
                             .arg(plan.pages)
                             .arg(platform::FloatToStrF(std::max(0.1, megabytes), 7, 1));
    const QString title = QStringLiteral("Экспорт");
    if (plan.bytes > platform::EmfCanvas::MaxBytes) {
        platform::MessageBox(this,
                             QStringLiteral("Рисунок всей диаграммы занял бы ") + size +
                                 QStringLiteral(": формат EMF не вмещает файлы больше 4 ГБ.\nУменьшите вертикальный "
                                                "масштаб или интервал глубин в шаблоне кривых."),
                             title, platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    if (megabytes > LargeEmfMegabytes &&
        platform::MessageBox(this,
                             QStringLiteral("Рисунок всей диаграммы займет ") + size +
                                 QStringLiteral(".\nЗапись может занять много времени. Продолжить?"),
                             title, platform::MB_YESNO | platform::MB_ICONWARNING) != platform::IDYES)
        return;
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Экспорт диаграммы в EMF (") + size + QStringLiteral(")");
    options.directory = StartFolder();
    if (const QString document = DocumentPlace(); !document.isEmpty())
        options.fileName = QFileInfo(document).completeBaseName() + QStringLiteral(".emf");
    options.filter = QStringLiteral("Рисунки EMF (*.emf)");
    options.defaultSuffix = QStringLiteral("emf");
    options.kind = platform::FileKind::Emf;
    options.confirmOverwrite = true;
    const QString path = platform::GetSaveFileName(this, options);
    if (!path.isEmpty() && ExportToEMF(path))
        platform::ReportFileWritten(this, QStringLiteral("EMF"), path, title);
}

bool TFormPrnParams::ExportToEMF(const QString& path)
{
    if (!CurveTemplate)
        return false;
    const DiagramEmfResult result = ExportDiagramEmf(CurveTemplate->Model, platform::FileNameToBytes(path), EmfSetup());
    if (!result.ok && !result.cancelled)
        platform::MessageBox(this, QString::fromStdString(result.error), QStringLiteral("Экспорт"),
                             platform::MB_OK | platform::MB_ICONERROR);
    return result.ok;
}
