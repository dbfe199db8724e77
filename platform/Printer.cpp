// The system's printers through QPrinter, and the PDF target through PdfCanvas.
#include "platform/Printer.h"

#include "core/FileUtils.h"
#include "platform/AtomicFileDevice.h"
#include "platform/DialogRunner.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"
#include "platform/PainterCanvas.h"
#include "platform/PdfCanvas.h"
#include "platform/Replaceable.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// The PDF target prints at 600 dpi to the edges of its sheet.
constexpr int PdfDpi = 600;

// The folder the last PDF went to, offered when there is no document.
QString& LastPdfFolder()
{
    static QString folder = QDir::homePath();
    return folder;
}

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
            caps.physicalWidth = caps.horzRes = static_cast<int>(PdfWidthMm / 25.4 * PdfDpi);
            caps.physicalHeight = caps.vertRes = static_cast<int>(PdfHeightMm / 25.4 * PdfDpi);
            caps.horzSizeMm = static_cast<int>(PdfWidthMm);
            caps.vertSizeMm = static_cast<int>(PdfHeightMm);
            caps.sheetWidthMm = PdfWidthMm;
            caps.sheetHeightMm = PdfHeightMm;
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
        written_.clear();
        if (IsPdf()) {
            const QString path =
                AskPdfFile(nullptr, OutputFile.isEmpty() ? DefaultPdfFile(DocumentPath()) : OutputFile);
            declined_ = path.isEmpty();
            if (declined_)
                return false;
            OutputFile = path;
            pdfPath_ = path;
            pdf_ = std::make_unique<PdfCanvas>(FileNameToBytes(path), PdfWidthMm / 10.0, PdfHeightMm / 10.0, PdfDpi,
                                               JobTitle());
            // A file that cannot be made fails the job before anything is drawn.
            error_ = QString::fromStdString(pdf_->Error());
            if (!error_.isEmpty())
                pdf_.reset();
            return error_.isEmpty();
        }
        declined_ = false;
        printer_.setDocName(JobTitle());
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
            if (ok)
                written_ = pdfPath_;
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
    QString WrittenFile() const override { return written_; }

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
    QString pdfPath_;
    QString written_;
    QPrinter printer_;
    QPainter painter_;
    std::unique_ptr<PainterCanvas> canvas_;
    std::unique_ptr<PdfCanvas> pdf_;
};

Replaceable<Printer, SystemPrinter> printers;

}  // namespace

QString Printer::PrinterName() const { return Printers().value(PrinterIndex()); }

void Printer::SetDocument(const QString& path)
{
    if (path == documentPath_)
        return;
    documentPath_ = path;
    OutputFile.clear();
}

QString Printer::JobTitle() const
{
    return documentPath_.isEmpty() ? ApplicationTitle() : ShownFileName(QFileInfo(documentPath_).fileName());
}

void Printer::SetPaper(double widthMm, double heightMm)
{
    if (!(widthMm > 0.0) || !(heightMm > 0.0))
        return;
    PdfWidthMm = widthMm;
    PdfHeightMm = heightMm;
    if (QPrinter* device = Device()) {
        const QSizeF portrait(std::min(widthMm, heightMm), std::max(widthMm, heightMm));
        device->setPageSize(QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch));
        device->setPageOrientation(widthMm > heightMm ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
}

namespace {

// Qt's printer dialog over `device`, its file box offering `suggested`. When it prints to a
// file, `file` is the file named there: a name typed without a folder or extension is taken
// as ResolvePdfName takes it (Qt would put it into the home folder as it stands).
bool ExecPrinterDialog(QPrinter& device, QWidget* owner, const QString& documentPath, const QString& suggested,
                       QString& file)
{
    QPrintDialog dialog(&device, owner);
    dialog.setOption(QAbstractPrintDialog::PrintToFile);
    // The file is asked, with the question before replacing it, when the job begins: OK does
    // not ask it a second time.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly)) {
        QObject::disconnect(buttons, &QDialogButtonBox::accepted, &dialog, nullptr);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    }
    QLineEdit* box = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    if (box)
        box->setText(suggested);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return false;
    if (device.outputFormat() != QPrinter::PdfFormat)
        return true;
    file = device.outputFileName();
    if (box) {
        const QString typed = box->text();
        const QString qtPath = QDir::isRelativePath(typed) ? QDir::homePath() + QLatin1Char('/') + typed : typed;
        if (file == qtPath && !typed.trimmed().isEmpty())
            file = ResolvePdfName(typed.trimmed(), documentPath);
    }
    return true;
}

}  // namespace

bool RunPrinterDialog(Printer& printer, QWidget* owner)
{
    QPrinter own(QPrinter::HighResolution);
    QPrinter& device = printer.Device() ? *printer.Device() : own;
    const bool pdf = printer.PrinterName() == PdfPrinterName;
    if (!pdf)
        device.setPrinterName(printer.PrinterName());
    QString file;
    const QString offered = printer.OutputFile.isEmpty() ? DefaultPdfFile(printer.DocumentPath()) : printer.OutputFile;
    if (!ExecPrinterDialog(device, owner, printer.DocumentPath(), offered, file))
        return false;
    const bool toFile = device.outputFormat() == QPrinter::PdfFormat;
    const QString chosen = toFile ? PdfPrinterName : device.printerName();
    if (toFile) {
        printer.OutputFile = file;
        const QSizeF sheet = device.pageLayout().fullRect(QPageLayout::Millimeter).size();
        if (sheet.width() > 0.0 && sheet.height() > 0.0) {
            printer.PdfWidthMm = sheet.width();
            printer.PdfHeightMm = sheet.height();
        }
    }
    const int index = static_cast<int>(printer.Printers().indexOf(chosen));
    if (index >= 0)
        printer.SetPrinterIndex(index);
    return true;
}

QString DefaultPdfFile(const QString& documentPath)
{
    if (documentPath.isEmpty())
        return FileInFolder(LastPdfFolder(), QStringLiteral("print.pdf"));
    return FileInFolder(FolderOfFile(documentPath), QFileInfo(documentPath).completeBaseName() + QStringLiteral(".pdf"));
}

QString ResolvePdfName(const QString& typed, const QString& documentPath)
{
    const QString folder = FolderOfFile(DefaultPdfFile(documentPath));
    return FileNameFromBytes(ResolveTypedFileName(FileNameToBytes(typed), FileNameToBytes(folder), "pdf"));
}

QString AskPdfFile(QWidget* owner, const QString& suggested)
{
    FileDialogOptions options = FileDialogOptions::StartingAt(suggested);
    options.title = QStringLiteral("Печать в PDF");
    options.filter = QStringLiteral("PDF (*.pdf)");
    options.defaultSuffix = QStringLiteral("pdf");
    options.kind = FileKind::Pdf;
    options.confirmOverwrite = true;
    const QString path = GetSaveFileName(owner, options);
    if (!path.isEmpty())
        LastPdfFolder() = FolderOfFile(path);
    return path;
}

void ReportFileWritten(QWidget* owner, const QString& kind, const QString& path, const QString& title)
{
    MessageBox(owner, kind + QStringLiteral(" файл записан:\n") + ShownFileName(path), title,
               MB_OK | MB_ICONINFORMATION);
}

void ReportPdfWritten(QWidget* owner, const QString& path)
{
    ReportFileWritten(owner, QStringLiteral("PDF"), path, QStringLiteral("Печать"));
}

bool PrintWithDialog(QPrinter& device, QWidget* owner, const QString& documentPath,
                     const std::function<void(QPagedPaintDevice&)>& print)
{
    QString file;
    if (!ExecPrinterDialog(device, owner, documentPath, DefaultPdfFile(documentPath), file))
        return false;
    if (device.outputFormat() != QPrinter::PdfFormat) {
        print(device);
        return true;
    }
    const QString path = AskPdfFile(owner, file);
    if (path.isEmpty())
        return false;
    // Qt's own PDF file reports no failed write: the pages go through a device that does.
    AtomicFileDevice output(FileNameToBytes(path));
    if (output.isOpen()) {
        QPdfWriter pdf(&output);
        pdf.setPageLayout(device.pageLayout());
        pdf.setResolution(device.resolution());
        pdf.setPageRanges(device.pageRanges());
        pdf.setTitle(device.docName());
        pdf.setCreator(device.creator());
        print(pdf);
    }
    if (!output.Commit()) {
        MessageBox(owner, WriteFailureText(path, output.SystemError()), QStringLiteral("Печать"),
                   MB_OK | MB_ICONERROR);
        return false;
    }
    ReportPdfWritten(owner, path);
    return true;
}

Printer& CurrentPrinter() { return printers.Current(); }

Printer* SetPrinter(Printer* printer) { return printers.Set(printer); }

}  // namespace platform
