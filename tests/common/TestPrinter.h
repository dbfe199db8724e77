// A printer of chosen resolution, sheet and borders, and a progress that cancels at a chosen
// page, for tests of the print road.
#pragma once

#include "platform/PrintProgress.h"
#include "platform/Printer.h"
#include "platform/RecordingCanvas.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

namespace strativ::test {

// A printer of chosen resolution, sheet and borders that records what it is asked.
class TestPrinter : public platform::Printer {
public:
    platform::PrinterCaps caps;
    platform::RecordingCanvas canvas{600, 600};
    QString name = QStringLiteral("Test");
    bool refuses = false;  // BeginDoc fails
    int pages = 0;
    int jobs = 0;
    bool ended = false;
    bool aborted = false;
    // Index of the first recorded primitive of each page of the last job.
    std::vector<size_t> pageStarts;

    explicit TestPrinter(int dpi = 600)
    {
        caps.logPixelsX = caps.logPixelsY = dpi;
        caps.physicalWidth = caps.horzRes = static_cast<int>(21.0 / 2.54 * dpi);
        caps.physicalHeight = caps.vertRes = static_cast<int>(29.7 / 2.54 * dpi);
        caps.horzSizeMm = 210;
        caps.vertSizeMm = 297;
        caps.sheetWidthMm = 210.0;
        caps.sheetHeightMm = 297.0;
        canvas = platform::RecordingCanvas(dpi, dpi);
    }
    // No name: the platform offers no printer.
    QStringList Printers() const override { return name.isEmpty() ? QStringList{} : QStringList{name}; }
    int PrinterIndex() const override { return 0; }
    void SetPrinterIndex(int) override {}
    platform::PrinterCaps Caps() const override { return caps; }
    bool BeginDoc() override
    {
        if (refuses)
            return false;
        ++jobs;
        pages = 1;
        ended = aborted = false;
        canvas.Clear();
        pageStarts = {0};
        return true;
    }
    platform::Canvas& PageCanvas() override { return canvas; }
    void NewPage() override
    {
        ++pages;
        pageStarts.push_back(canvas.Ops().size());
    }
    // The texts drawn on page `page` (0-based) of the last job.
    std::vector<std::string> PageTexts(int page) const
    {
        std::vector<std::string> texts;
        const size_t from = pageStarts.at(static_cast<size_t>(page));
        const size_t to = static_cast<size_t>(page) + 1 < pageStarts.size() ? pageStarts[static_cast<size_t>(page) + 1]
                                                                            : canvas.Ops().size();
        for (size_t i = from; i < to; ++i)
            if (canvas.Ops()[i].kind == platform::CanvasOpKind::Text)
                texts.push_back(canvas.Ops()[i].text);
        return texts;
    }
    bool EndDoc() override { return ended = true; }
    void Abort() override { aborted = true; }
};

// Makes a printer the current one while alive.
class PrinterInstalled {
public:
    explicit PrinterInstalled(platform::Printer& printer) : previous_(platform::SetPrinter(&printer)) {}
    ~PrinterInstalled() { platform::SetPrinter(previous_); }
    PrinterInstalled(const PrinterInstalled&) = delete;
    PrinterInstalled& operator=(const PrinterInstalled&) = delete;

private:
    platform::Printer* previous_;
};

// Answers "continue" until the page asked for, then cancels; `seen` runs at every page.
class TestProgress : public platform::PrintProgress {
public:
    int cancelAt = 0;
    std::function<void(int)> seen;
    TestProgress() { previous_ = platform::SetPrintProgress(this); }
    ~TestProgress() override { platform::SetPrintProgress(previous_); }
    void Begin(int) override {}
    bool Page(int page, int) override
    {
        if (seen)
            seen(page);
        return page != cancelAt;
    }
    void End() override {}

private:
    platform::PrintProgress* previous_ = nullptr;
};

// Answers Qt's printer dialog as a user does: "print to file" (the last printer of its list),
// `typed` in its file box unless null, then a click on its OK button.
inline int AnswerPrintToFile(QDialog& dialog, const QString& typed = QString())
{
    dialog.show();  // the dialog adds "print to file" to its list when shown
    auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
    if (!printers || !box || !buttons)
        return QDialog::Rejected;
    printers->setCurrentIndex(printers->count() - 1);
    if (!typed.isNull())
        box->setText(typed);
    buttons->button(QDialogButtonBox::Ok)->click();
    return dialog.result();
}

}  // namespace strativ::test
