// The system's printers through QPrinter, and the PDF target through PdfCanvas.
#include "platform/Printer.h"

#include "platform/DialogRunner.h"
#include "platform/PainterCanvas.h"
#include "platform/PdfCanvas.h"
#include "platform/Replaceable.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

namespace platform {

namespace {

// The sheet of the PDF target: A4 at 600 dpi, printable to the edges.
constexpr int PdfDpi = 600;
constexpr double PdfWidthCm = 21.0;
constexpr double PdfHeightCm = 29.7;

class SystemPrinter : public Printer {
public:
    SystemPrinter() : printer_(QPrinter::HighResolution)
    {
        names_ = QPrinterInfo::availablePrinterNames();
        names_ << PdfPrinterName;
        const QString preferred = QPrinterInfo::defaultPrinterName();
        index_ = std::max(0, static_cast<int>(names_.indexOf(preferred)));
        SelectPrinter();
    }

    QStringList Printers() const override { return names_; }
    int PrinterIndex() const override { return index_; }
    void SetPrinterIndex(int index) override
    {
        if (index >= 0 && index < names_.size()) {
            index_ = index;
            SelectPrinter();
        }
    }

    PrinterCaps Caps() const override
    {
        PrinterCaps caps;
        if (IsPdf()) {
            caps.logPixelsX = caps.logPixelsY = PdfDpi;
            caps.physicalWidth = caps.horzRes = static_cast<int>(PdfWidthCm / 2.54 * PdfDpi);
            caps.physicalHeight = caps.vertRes = static_cast<int>(PdfHeightCm / 2.54 * PdfDpi);
            caps.horzSizeMm = static_cast<int>(PdfWidthCm * 10);
            caps.vertSizeMm = static_cast<int>(PdfHeightCm * 10);
            caps.sheetWidthMm = PdfWidthCm * 10;
            caps.sheetHeightMm = PdfHeightCm * 10;
            return caps;
        }
        const int dpi = printer_.resolution();
        const QRect paper = printer_.paperRect(QPrinter::DevicePixel).toRect();
        const QRect page = printer_.pageRect(QPrinter::DevicePixel).toRect();
        caps.logPixelsX = caps.logPixelsY = dpi;
        caps.physicalWidth = paper.width();
        caps.physicalHeight = paper.height();
        caps.physicalOffsetX = page.left() - paper.left();
        caps.physicalOffsetY = page.top() - paper.top();
        caps.horzRes = page.width();
        caps.vertRes = page.height();
        caps.horzSizeMm = static_cast<int>(page.width() * 25.4 / dpi);
        caps.vertSizeMm = static_cast<int>(page.height() * 25.4 / dpi);
        const QSizeF sheet = printer_.paperRect(QPrinter::Millimeter).size();
        caps.sheetWidthMm = sheet.width();
        caps.sheetHeightMm = sheet.height();
        return caps;
    }

    bool BeginDoc() override
    {
        error_.clear();
        if (IsPdf()) {
            QString path = OutputFile;
            if (path.isEmpty()) {
                FileDialogOptions options;
                options.title = QStringLiteral("Печать в PDF");
                options.filter = QStringLiteral("PDF (*.pdf)");
                options.defaultSuffix = QStringLiteral("pdf");
                path = GetSaveFileName(nullptr, options);
            }
            declined_ = path.isEmpty();
            if (declined_)
                return false;
            pdf_ = std::make_unique<PdfCanvas>(path.toStdString(), PdfWidthCm, PdfHeightCm, PdfDpi, Title);
            // A file that cannot be made fails the job before anything is drawn.
            error_ = QString::fromStdString(pdf_->Error());
            if (!error_.isEmpty())
                pdf_.reset();
            return error_.isEmpty();
        }
        declined_ = false;
        printer_.setDocName(Title);
        if (!painter_.begin(&printer_))
            return false;
        canvas_ = std::make_unique<PainterCanvas>(painter_, printer_.resolution(), printer_.resolution());
        return true;
    }

    Canvas& PageCanvas() override { return pdf_ ? pdf_->Page() : *canvas_; }

    void NewPage() override
    {
        if (pdf_) {
            pdf_->NewPage();
            return;
        }
        canvas_->Flush();
        printer_.newPage();
    }

    bool EndDoc() override
    {
        if (pdf_) {
            const bool ok = pdf_->Finish();
            error_ = QString::fromStdString(pdf_->Error());
            pdf_.reset();
            return ok;
        }
        canvas_.reset();
        return painter_.end();
    }

    void Abort() override
    {
        if (pdf_) {
            pdf_->Cancel();
            pdf_.reset();
            return;
        }
        canvas_.reset();
        printer_.abort();
        if (painter_.isActive())
            painter_.end();
    }

    QPrinter* Device() override { return &printer_; }
    bool Declined() const override { return declined_; }
    QString Error() const override { return error_; }

private:
    bool IsPdf() const { return names_.value(index_) == PdfPrinterName; }
    void SelectPrinter()
    {
        if (!IsPdf())
            printer_.setPrinterName(names_.value(index_));
    }

    QStringList names_;
    int index_ = 0;
    bool declined_ = false;
    QString error_;
    QPrinter printer_;
    QPainter painter_;
    std::unique_ptr<PainterCanvas> canvas_;
    std::unique_ptr<PdfCanvas> pdf_;
};

Replaceable<Printer, SystemPrinter> printers;

}  // namespace

QString Printer::PrinterName() const { return Printers().value(PrinterIndex()); }

bool RunPrinterDialog(Printer& printer, QWidget* owner)
{
    QPrinter own(QPrinter::HighResolution);
    QPrinter& device = printer.Device() ? *printer.Device() : own;
    const bool pdf = printer.PrinterName() == PdfPrinterName;
    if (!pdf)
        device.setPrinterName(printer.PrinterName());
    QPrintDialog dialog(&device, owner);
    dialog.setOption(QAbstractPrintDialog::PrintToFile);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return false;
    const bool toFile = device.outputFormat() == QPrinter::PdfFormat;
    const QString chosen = toFile ? PdfPrinterName : device.printerName();
    printer.OutputFile = toFile ? device.outputFileName() : QString();
    const int index = static_cast<int>(printer.Printers().indexOf(chosen));
    if (index >= 0)
        printer.SetPrinterIndex(index);
    return true;
}

Printer& CurrentPrinter() { return printers.Current(); }

Printer* SetPrinter(Printer* printer) { return printers.Set(printer); }

}  // namespace platform
