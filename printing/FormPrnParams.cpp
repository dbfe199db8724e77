// The print parameters dialog: controls, margins, the template and title steps, printing.
#include "printing/FormPrnParams.h"

#include "core/KontrOsnMetkaInfo.h"
#include "core/SettingsFile.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/Help.h"
#include "platform/NumberText.h"
#include "platform/Printer.h"
#include "printing/FormCurveTemplate.h"
#include "printing/TemplateSelectMacroValInput.h"
#include "printing/TemplateVariables.h"
#include "printing/TitleTemplate.h"
#include "ui_FormPrnParams.h"

#include <QCloseEvent>
#include <QPainter>
#include <QShortcut>
#include <QSignalBlocker>
#include <algorithm>

namespace {

constexpr int kHelpTopic = 6;
const char* const kSection = "CommonPrnParams";
// Top, left, right, bottom: the order of MarginEdits().
const char* const kMarginKeys[4] = {"TopMargin", "LeftMargin", "RightMargin", "BottomMargin"};
// The sheet as it prints, in millimetres: wider than tall is landscape.
const char* const kPaperKeys[2] = {"PaperWidth", "PaperHeight"};

}  // namespace

TFormPrnParams::TFormPrnParams(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFormPrnParams>())
{
    ui->setupUi(this);
    setFixedSize(size());
    ui->PaintBox->installEventFilter(this);
    for (QDoubleSpinBox* edit : MarginEdits())
        connect(edit, &QDoubleSpinBox::valueChanged, this, platform::Guarded([this](double) { SpETopMarginChange(); }));
    const auto click = [this](QAbstractButton* button, void (TFormPrnParams::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, platform::Guarded([this, handler] { (this->*handler)(); }));
    };
    click(ui->SButtonMinMargins, &TFormPrnParams::SButtonMinMarginsClick);
    click(ui->SButtonPrinter, &TFormPrnParams::ButtonPrinterClick);
    click(ui->RadioBPagesAll, &TFormPrnParams::RadioBPagesAllClick);
    click(ui->RadioBPagesSelected, &TFormPrnParams::RadioBPagesSelectedClick);
    click(ui->BitBtnMetkaEdit, &TFormPrnParams::BitBtnMetkaEditClick);
    click(ui->ButtonCorrectionSettings, &TFormPrnParams::ButtonCorrectionSettingsClick);
    click(ui->BitBtn2, &TFormPrnParams::ButtonTemlatesClick);
    click(ui->ButtonTemlates, &TFormPrnParams::ButtonTemlatesClick);
    click(ui->BitBtnCurveTeml, &TFormPrnParams::ButtonCurvePrnClick);
    click(ui->ButtonCurvePrn, &TFormPrnParams::ButtonCurvePrnClick);
    click(ui->ButtonExportEMF, &TFormPrnParams::ButtonExportEMFClick);
    click(ui->BitBtnHelp, &TFormPrnParams::BitBtnHelpClick);
    click(ui->ButtonPrint, &TFormPrnParams::ButtonPrintClick);
    click(ui->ButtonCancel, &TFormPrnParams::ButtonCancelClick);
    // A state set from code runs the handler as a click does.
    connect(ui->CheckBoxCorrection, &QCheckBox::toggled, this,
            platform::Guarded([this](bool) { CheckBoxCorrectionClick(!correctionFromCode_); }));
    // Counts the preview sets come with the signals blocked: only the user's choice is kept.
    connect(ui->EditPagesTo, &QSpinBox::valueChanged, this, [this](int) { pagesChosen_ = true; });
    connect(ui->CheckBoxMetka, &QCheckBox::toggled, this, platform::Guarded([this](bool) { CheckBoxMetkaClick(); }));
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f1, &QShortcut::activated, this, platform::Guarded([this] { BitBtnHelpClick(); }));
}

TFormPrnParams::~TFormPrnParams() = default;

std::array<QDoubleSpinBox*, 4> TFormPrnParams::MarginEdits() const
{
    return {ui->SpETopMargin, ui->SpELeftMargin, ui->SpERightMargin, ui->SpEBottomMargin};
}

PrintMargins TFormPrnParams::Margins() const
{
    return {ui->SpELeftMargin->value(), ui->SpERightMargin->value(), ui->SpETopMargin->value(),
            ui->SpEBottomMargin->value()};
}

double TFormPrnParams::PrintableWidthCm() const
{
    return PrintableArea(platform::CurrentPrinter().Caps(), Margins()).Width();
}

double TFormPrnParams::DiagramOverflowCm() const
{
    if (!CurveTemplate)
        return 0.0;
    const double overflow = CurveTemplate->Model.DiagramWidth() - PrintableWidthCm();
    // Less than shows in hundredths of a cm is float noise of the widths.
    return overflow >= 0.005 ? overflow : 0.0;
}

bool TFormPrnParams::ConfirmDiagram(const QString& title, bool pages)
{
    if (!CurveTemplate)
        return true;
    const TCurveTemplate& model = CurveTemplate->Model;
    QStringList problems;
    if (const std::vector<int> split = model.SplitHeaderColumns(); pages && !split.empty()) {
        QStringList numbers;
        for (const int column : split)
            numbers << QString::number(column + 1);
        const QString start = QString::number(model.HeaderPages + 1);
        problems << (split.size() == 1
                         ? QStringLiteral("Заголовок столбца %1 не помещается на первой странице: он продолжится на "
                                          "следующих страницах, данные начнутся на странице %2.")
                         : QStringLiteral("Заголовки столбцов %1 не помещаются на первой странице: они продолжатся на "
                                          "следующих страницах, данные начнутся на странице %2."))
                        .arg(numbers.join(QStringLiteral(", ")), start);
    }
    if (!model.HasCurves())
        problems << QStringLiteral("Шаблон кривых не содержит ни одной кривой: будет выведена только шкала глубин.");
    if (const double overflow = DiagramOverflowCm(); overflow > 0.0)
        problems << QStringLiteral("Диаграмма шириной %1 см шире области печати листа (%2 см): не поместятся %3 см "
                                   "справа.")
                        .arg(platform::FloatToStrF(model.DiagramWidth(), 7, 2),
                             platform::FloatToStrF(PrintableWidthCm(), 7, 2), platform::FloatToStrF(overflow, 7, 2));
    if (problems.isEmpty())
        return true;
    return platform::MessageBox(this, problems.join(QStringLiteral("\n")) + QStringLiteral("\nПродолжить?"), title,
                                platform::MB_YESNO | platform::MB_ICONWARNING) == platform::IDYES;
}

void TFormPrnParams::SetMinimum(QDoubleSpinBox& edit, double minimum)
{
    // A border the printer reports as negative or beyond the range never makes a margin so.
    const QSignalBlocker block(edit);
    edit.setMinimum(std::clamp(minimum, 0.0, edit.maximum()));
}

void TFormPrnParams::MeasurePrinter(bool showRule)
{
    const platform::PrinterCaps caps = platform::CurrentPrinter().Caps();
    const double px = caps.logPixelsX / 2.54;
    const double py = caps.logPixelsY / 2.54;
    if (!(px > 0.0) || !(py > 0.0))
        return;
    PageWidthCm = caps.physicalWidth / px;
    PageHeightCm = caps.physicalHeight / py;
    const double left = caps.physicalOffsetX / px;
    const double top = caps.physicalOffsetY / py;
    SetMinimum(*ui->SpELeftMargin, left);
    SetMinimum(*ui->SpETopMargin, top);
    SetMinimum(*ui->SpERightMargin, showRule ? left : PageWidthCm - left - caps.horzSizeMm * 0.1);
    SetMinimum(*ui->SpEBottomMargin, showRule ? top : PageHeightCm - top - caps.vertSizeMm * 0.1);
}

void TFormPrnParams::LoadMargins()
{
    if (!Settings)
        return;
    const auto edits = MarginEdits();
    for (const int i : {1, 2, 0, 3}) {  // left, right, top, bottom
        const double v = Settings->ReadFloat(kSection, kMarginKeys[i], edits[i]->value());
        if (v > edits[i]->minimum())
            edits[i]->setValue(v);
    }
}

void TFormPrnParams::SaveMargins()
{
    if (!Settings)
        return;
    const auto edits = MarginEdits();
    for (int i = 0; i < 4; ++i)
        Settings->WriteFloat(kSection, kMarginKeys[i], edits[i]->value());
}

void TFormPrnParams::LoadPaper()
{
    if (!Settings || paperLoaded_)
        return;
    paperLoaded_ = true;
    platform::CurrentPrinter().SetPaper(Settings->ReadFloat(kSection, kPaperKeys[0], 0.0),
                                        Settings->ReadFloat(kSection, kPaperKeys[1], 0.0));
}

void TFormPrnParams::SavePaper()
{
    const platform::PrinterCaps caps = platform::CurrentPrinter().Caps();
    if (!Settings || !(caps.sheetWidthMm > 0.0) || !(caps.sheetHeightMm > 0.0))
        return;
    Settings->WriteFloat(kSection, kPaperKeys[0], caps.sheetWidthMm);
    Settings->WriteFloat(kSection, kPaperKeys[1], caps.sheetHeightMm);
}

void TFormPrnParams::ShowWithTemplateSetup()
{
    ShowTemplatesOnShow = true;
    FormShow();
    platform::ExecDialog(*this);
}

void TFormPrnParams::FormShow()
{
    platform::CurrentPrinter().SetDocument(DocumentPlace());
    LoadPaper();
    MeasurePrinter(true);
    LoadMargins();
    SetCorrectionChecked(ReadCorrection());
    MarkInfo = MarkRecord;
    if (MarkInfo)
        ui->CheckBoxMetka->setChecked(MarkInfo->Print);
    if (ui->RadioBPagesAll->isChecked())
        pagesChosen_ = false;
    if (ShowTemplatesOnShow) {
        ButtonCurvePrnClick();
        ShowTemplatesOnShow = false;
    }
    RefreshPreview();
}

void TFormPrnParams::FormClose()
{
    SaveMargins();
    MarkInfo = nullptr;
    ClearPrintValueSources();
}

void TFormPrnParams::done(int result)
{
    platform::Guarded(this, [this] { FormClose(); });
    QDialog::done(result);
}

void TFormPrnParams::ButtonCancelClick()
{
    SaveMargins();
    reject();
}

void TFormPrnParams::BitBtnHelpClick() { platform::ShowHelpTopic(kHelpTopic); }

void TFormPrnParams::ButtonCurvePrnClick()
{
    if (CurveTemplate) {
        const PrintMargins m = Margins();
        CurveTemplate->SetPrintWidth(static_cast<float>(PageWidthCm - m.right - m.left),
                                     static_cast<float>(PageHeightCm - m.top - m.bottom));
        platform::ExecDialog(*CurveTemplate);
    }
    if (TitleDialog) {
        TitleDialog->Prepare(false);
        platform::ExecDialog(*TitleDialog);
    }
    RefreshPreview();
}

void TFormPrnParams::ButtonTemlatesClick()
{
    if (!TitleDialog)
        return;
    TitleDialog->Prepare(true);
    platform::ExecDialog(*TitleDialog);
    RefreshPreview();
}

void TFormPrnParams::ButtonPrinterClick()
{
    if (platform::RunPrinterDialog(platform::CurrentPrinter(), this))
        SavePaper();
    RefreshPreview();
}

void TFormPrnParams::SButtonMinMarginsClick()
{
    for (QDoubleSpinBox* edit : {ui->SpETopMargin, ui->SpEBottomMargin, ui->SpELeftMargin, ui->SpERightMargin})
        edit->setValue(edit->minimum());
}

void TFormPrnParams::SpETopMarginChange() { RefreshPreview(); }

void TFormPrnParams::RadioBPagesAllClick()
{
    ui->RadioBPagesAll->setChecked(true);
    ui->RadioBPagesSelected->setChecked(false);
}

void TFormPrnParams::RadioBPagesSelectedClick()
{
    ui->RadioBPagesSelected->setChecked(true);
    ui->RadioBPagesAll->setChecked(false);
}

bool TFormPrnParams::TitleApplied() const { return TitleDialog && TitleDialog->HasAppliedTitle(); }

double TFormPrnParams::DrawPageHead(platform::Canvas& canvas, double left, double top, double right, double bottom,
                                    double pxX, double pxY)
{
    double y = top;
    if (TitleApplied())
        y += TitleDialog->FormTitleResult->DrawTitle(&canvas, static_cast<float>(left), static_cast<float>(y),
                                                     static_cast<float>(right - left), static_cast<float>(bottom),
                                                     pxX, pxY);
    DrawMarkBlock(y, canvas, left, right, pxX, pxY);
    return y - top;
}

void TFormPrnParams::ButtonPrintClick()
{
    if (!CurveTemplate)
        return;
    // The questions rest on the layout of the sheet as it is now.
    LayOutPreview();
    if (!ConfirmDiagram(QStringLiteral("Печать"), true))
        return;
    const int firstPages = ui->RadioBPagesSelected->isChecked() ? ui->EditPagesTo->value() : 0;
    const int total = CurveTemplate->Model.GetPageCount();
    const int pages = firstPages > 0 ? std::min(firstPages, total) : total;
    if (pages > LargePrintPages &&
        platform::MessageBox(this,
                             QStringLiteral("Будет напечатано страниц: %1.\nПечать может занять много времени. "
                                            "Продолжить?")
                                 .arg(pages),
                             QStringLiteral("Печать"),
                             platform::MB_YESNO | platform::MB_ICONWARNING | platform::MB_DEFBUTTON2) != platform::IDYES)
        return;
    platform::Printer& printer = platform::CurrentPrinter();
    const double correction = ui->CheckBoxCorrection->isChecked() ? Correction : 1.0;
    const DiagramPrintResult result =
        PrintDiagram(CurveTemplate->Model, printer, Margins(), firstPages, correction,
                     [this](platform::Canvas& canvas, double left, double top, double right, double bottom,
                            double pxX, double pxY) { return DrawPageHead(canvas, left, top, right, bottom, pxX, pxY); });
    if (!result.begun) {
        if (!printer.Declined())
            ReportPrintFailure(QStringLiteral("Не удалось начать печать"));
        return;
    }
    if (!result.ok && !result.cancelled)
        ReportPrintFailure(QStringLiteral("Не удалось завершить печать"));
    if (result.ok && !printer.WrittenFile().isEmpty())
        platform::ReportPdfWritten(this, printer.WrittenFile());
    SaveMargins();
    // The page layout of the print stays until the preview lays the template out again.
    RefreshPreview();
}

void TFormPrnParams::ReportPrintFailure(const QString& text)
{
    const QString reason = platform::CurrentPrinter().Error();
    platform::MessageBox(this, reason.isEmpty() ? text : text + QStringLiteral("\n") + reason, QStringLiteral("Печать"),
                         platform::MB_OK | platform::MB_ICONERROR);
}

bool TFormPrnParams::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->PaintBox && event->type() == QEvent::Paint) {
        platform::Guarded(this, [this] { PaintBoxPaint(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
