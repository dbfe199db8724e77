// "Параметры печати": margins, printer, pages, page-height correction, the title and mark
// blocks of the first page, the preview of that page, EMF export and printing.
#pragma once

#include "printing/DiagramPrint.h"

#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <memory>

namespace Ui { class TFormPrnParams; }
namespace platform { class Canvas; }
class QDoubleSpinBox;
class TFormCurveTemplate;
struct TKontrOsnMetkaInfo;
class TFormTemplSelMacroValInput;
class TRxIniFile;

class TFormPrnParams : public QDialog
{
    Q_OBJECT
public:
    explicit TFormPrnParams(QWidget* parent = nullptr);
    ~TFormPrnParams() override;

    Ui::TFormPrnParams& Form() const { return *ui; }

    // Set by the main window before each show (not owned); null: nothing read or written.
    TRxIniFile* Settings = nullptr;
    // The printer's sheet in cm, measured on show and on every change of the preview's inputs.
    double PageHeightCm = 29.7;
    double PageWidthCm = 21.0;
    // Page-height correction factor; 1.0 while the correction is off.
    double Correction = 1.0;
    bool ShowTemplatesOnShow = true;
    // The template editor and the title dialog of the main window (not owned).
    TFormCurveTemplate* CurveTemplate = nullptr;
    TFormTemplSelMacroValInput* TitleDialog = nullptr;
    // The perforation-mark record of the main window (not owned) and its dialog, which edits the
    // record and returns true on OK.
    TKontrOsnMetkaInfo* MarkRecord = nullptr;
    std::function<bool()> EditMarks;
    // The record while shown: attached on show, let go on close.
    TKontrOsnMetkaInfo* MarkInfo = nullptr;

    void LoadMargins();
    void SaveMargins();
    // The sheet chosen in the printer dialog, kept in the settings from one start to the next;
    // loaded once.
    void LoadPaper();
    void SavePaper();
    // Runs the template step first, then the dialog, modally.
    void ShowWithTemplateSetup();
    void FormShow();
    void FormClose();

    void ButtonCurvePrnClick();
    void ButtonTemlatesClick();
    void ButtonPrinterClick();
    void SButtonMinMarginsClick();
    void SpETopMarginChange();
    void RadioBPagesAllClick();
    void RadioBPagesSelectedClick();
    void ButtonPrintClick();
    void ButtonCancelClick();
    void BitBtnHelpClick();

    // The stored factor of the current printer: true, with `Correction` set, when it is
    // within 0.5..1.5; otherwise false and `Correction` = 1.0.
    bool ReadCorrection();
    // `fromBox`: the user clicked the box (only then the calibration is offered).
    void CheckBoxCorrectionClick(bool fromBox);
    void ButtonCorrectionSettingsClick();
    QString GetPrinterName() const;

    // Preview: the page count and size follow the current inputs, then the picture repaints;
    // below it, a note when the depths are taken for metres for want of a length unit.
    void RefreshPreview();
    // Lays the diagram out on the current sheet as the preview shows it; the height in cm
    // the blocks above the diagram take.
    double LayOutPreview();
    // Draws the title and page 0 of the diagram into the printable area (cm from the sheet's
    // corner) at screen pixels per cm, shrunk to the preview's; returns the height in cm the
    // blocks above the diagram took.
    double DrawPreviewPage(platform::Canvas& canvas, double left, double top, double right, double bottom,
                           double scrX, double scrY, double sx, double sy);
    // The paint box's picture of the sheet; `extra`: the height of the blocks above the diagram.
    QImage PreviewImage(double* extra = nullptr);
    // States the picture's size, refuses one the format cannot hold and asks before a large
    // one, then asks for the file.
    void ButtonExportEMFClick();
    // Writes the title and the whole diagram as one EMF picture; a failure is reported.
    bool ExportToEMF(const QString& path);
    // Pictures above this many MB are written only when the user agrees.
    static constexpr double LargeEmfMegabytes = 100.0;
    // Prints of more pages than this begin only when the user agrees.
    static constexpr int LargePrintPages = 100;

    // Mark block: a record is attached and its four depths are above 0.
    bool IsMarkDataValid() const;
    // Draws the block when "Выводить" is checked and moves `y` (cm) below it.
    void DrawMarkBlock(double& y, platform::Canvas& canvas, double left, double right, double kx, double ky);
    void CheckBoxMetkaClick();
    void BitBtnMetkaEditClick();

    // The blocks printed above page 0 (title, marks) into the area, in cm; the height taken.
    double DrawPageHead(platform::Canvas& canvas, double left, double top, double right, double bottom, double pxX,
                        double pxY);
    // What the print and the preview use of the margin spin edits.
    PrintMargins Margins() const;
    // The width in cm the current printer's sheet leaves the diagram within the margins.
    double PrintableWidthCm() const;
    // How far in cm the diagram reaches beyond that width; 0 when it fits.
    double DiagramOverflowCm() const;
    // Asks whether to go on with a diagram that holds no curve, is wider than the printable
    // width or, with `pages`, has headers taller than the first page; true when there is
    // nothing to ask or the user goes on.
    bool ConfirmDiagram(const QString& title, bool pages = false);

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Top, left, right, bottom.
    std::array<QDoubleSpinBox*, 4> MarginEdits() const;
    // Sheet size and margin minimums from the printer; `showRule`: the minimums of the show
    // (right = left, bottom = top), else those of the preview.
    void MeasurePrinter(bool showRule);
    void SetMinimum(QDoubleSpinBox& edit, double minimum);
    bool TitleApplied() const;
    DiagramEmfSetup EmfSetup() const;
    void PaintBoxPaint();
    void SetCorrectionChecked(bool checked);
    // "Печать" error message: `text`, and the printer's reason when it gives one.
    void ReportPrintFailure(const QString& text);

    std::unique_ptr<Ui::TFormPrnParams> ui;
    bool correctionFromCode_ = false;
    // The user set the first-N count: the preview keeps it, lowering it only to the page count.
    bool pagesChosen_ = false;
    bool paperLoaded_ = false;
};
