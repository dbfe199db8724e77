// The printer object: the printer list and the current printer, its capabilities in the
// manner of GetDeviceCaps, and one job at a time drawn through the canvas. Replaceable, so
// that tests print on a printer of chosen resolution, sheet and borders. Besides the system's
// printers there is always a PDF target named "PDF" (Qt's printer dialog lists it as "Печать
// в файл (PDF)"), which asks the file's name at every job.
#pragma once

#include "platform/Canvas.h"

#include <QString>
#include <QStringList>
#include <memory>

#include <functional>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace platform {

// Device capabilities; pixels unless said otherwise.
struct PrinterCaps {
    int logPixelsX = 600;
    int logPixelsY = 600;
    int physicalWidth = 0;  // the whole sheet
    int physicalHeight = 0;
    int physicalOffsetX = 0;  // the unprintable border at the left and top
    int physicalOffsetY = 0;
    int horzSizeMm = 0;  // the printable area, whole millimetres
    int vertSizeMm = 0;
    int horzRes = 0;  // the printable area
    int vertRes = 0;
    double sheetWidthMm = 0.0;  // the whole sheet as the paper size gives it; 0: unknown
    double sheetHeightMm = 0.0;
};

inline const QString PdfPrinterName = QStringLiteral("PDF");

class Printer {
public:
    virtual ~Printer() = default;

    virtual QStringList Printers() const = 0;
    virtual int PrinterIndex() const = 0;
    virtual void SetPrinterIndex(int index) = 0;
    QString PrinterName() const;
    virtual PrinterCaps Caps() const = 0;

    // The PDF file offered at the next job: the last one chosen for this document; empty: the
    // document's name.
    QString OutputFile;
    // The PDF target's sheet as chosen in the printer dialog, turned as it prints.
    double PdfWidthMm = 210.0;
    double PdfHeightMm = 297.0;
    // The document the jobs print, whose name and folder the PDF file takes by default;
    // another document drops the file chosen for the last one.
    void SetDocument(const QString& path);
    const QString& DocumentPath() const { return documentPath_; }
    // The name of the jobs and of the PDF's title: the document's file name.
    QString JobTitle() const;
    // Chooses the sheet in millimetres as it prints (wider than tall: landscape) for the PDF
    // target and the system printer alike.
    void SetPaper(double widthMm, double heightMm);
    // Begins a job; false when it could not begin (nothing is printed then).
    virtual bool BeginDoc() = 0;
    // The canvas of the current page, its origin at the printable area's corner.
    virtual Canvas& PageCanvas() = 0;
    virtual void NewPage() = 0;
    // Ends the job; false when it failed.
    virtual bool EndDoc() = 0;
    // Drops the job: nothing more is printed, the PDF target leaves no file.
    virtual void Abort() = 0;
    // Whether the last BeginDoc failed only because the user declined its question.
    virtual bool Declined() const { return false; }
    // Why the last BeginDoc or EndDoc failed, when that is known.
    virtual QString Error() const { return {}; }
    // The file the last job wrote (the PDF target), empty for paper or a failed job.
    virtual QString WrittenFile() const { return {}; }
    // The system printer behind the current choice, whose properties the printer dialog
    // edits; null when there is none.
    virtual QPrinter* Device() { return nullptr; }

private:
    QString documentPath_;
};

// The printer in use (the system's unless replaced).
Printer& CurrentPrinter();
// Replaces it (null: back to the system's); returns the previous one.
Printer* SetPrinter(Printer* printer);

// The printer dialog (through the dialog runner) over the printer object: its choice becomes
// the current printer, "print to file" the PDF target with the sheet and the file named there.
// True when it was confirmed.
bool RunPrinterDialog(Printer& printer, QWidget* owner);

// The PDF file offered for a document: its name with ".pdf" in its folder; without a document
// "print.pdf" in the last folder a PDF went to.
QString DefaultPdfFile(const QString& documentPath);
// A name typed for a PDF: one without a folder lies in the document's folder (as for
// DefaultPdfFile), one without an extension gets ".pdf".
QString ResolvePdfName(const QString& typed, const QString& documentPath);
// Asks the PDF's name with `suggested` offered and the question before replacing a file;
// empty when cancelled.
QString AskPdfFile(QWidget* owner, const QString& suggested);
// Tells where a file of `kind` ("PDF", "EMF") was written, in a message titled `title`.
void ReportFileWritten(QWidget* owner, const QString& kind, const QString& path, const QString& title);
// Tells where a PDF was written.
void ReportPdfWritten(QWidget* owner, const QString& path);
// The printer dialog over a device of the caller's, then `print` on it; printing to a file
// asks the name as the PDF target does, prints to a PDF writer with the device's page, written
// as the other files are, and tells where it went or why it failed. True when something was printed.
bool PrintWithDialog(QPrinter& device, QWidget* owner, const QString& documentPath,
                     const std::function<void(QPagedPaintDevice&)>& print);

// A job that is aborted unless it was ended.
class PrintJob {
public:
    explicit PrintJob(Printer& printer) : printer_(printer) { begun_ = printer_.BeginDoc(); }
    ~PrintJob()
    {
        if (begun_ && !done_)
            printer_.Abort();
    }
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    bool Begun() const { return begun_; }
    bool End()
    {
        done_ = true;
        return begun_ && printer_.EndDoc();
    }
    void Abort()
    {
        done_ = true;
        if (begun_)
            printer_.Abort();
    }

private:
    Printer& printer_;
    bool begun_ = false;
    bool done_ = false;
};

}  // namespace platform
