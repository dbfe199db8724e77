// The printer object: the printer list and the current printer, its capabilities in the
// manner of GetDeviceCaps, and one job at a time drawn through the canvas. Replaceable, so
// that tests print on a printer of chosen resolution, sheet and borders. Besides the system's
// printers there is always a PDF target named "PDF".
#pragma once

#include "platform/Canvas.h"

#include <QString>
#include <QStringList>
#include <memory>

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

    QString Title;  // of the next job
    // The PDF target's file as chosen in the printer dialog; empty: asked at every job.
    QString OutputFile;
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
    // The system printer behind the current choice, whose properties the printer dialog
    // edits; null when there is none.
    virtual QPrinter* Device() { return nullptr; }
};

// The printer in use (the system's unless replaced).
Printer& CurrentPrinter();
// Replaces it (null: back to the system's); returns the previous one.
Printer* SetPrinter(Printer* printer);

// The printer dialog (through the dialog runner) over the printer object: its choice becomes
// the current printer, "print to file" the PDF target with the file named there. True when it
// was confirmed.
bool RunPrinterDialog(Printer& printer, QWidget* owner);

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
