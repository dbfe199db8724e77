// The print dialog's page-height correction: the stored factor per printer and its calibration.
#include "printing/FormPrnParams.h"

#include "core/SettingsFile.h"
#include "platform/DialogRunner.h"
#include "platform/Printer.h"
#include "printing/PixelMath.h"
#include "ui_FormPrnParams.h"
#include "view/NumberInput.h"

namespace {

const char* const kSection = "CommonPrnParams";
// Equals no printer name.
const char* const kNoPrinter = "???";
const QString kCorrectionTitle = QStringLiteral("Выбор корректирующего коэффициента");
const QString kCalibrationCaption = QStringLiteral("Калибровка принтера");

}  // namespace

QString TFormPrnParams::GetPrinterName() const { return platform::CurrentPrinter().PrinterName(); }

bool TFormPrnParams::ReadCorrection()
{
    Correction = 1.0;
    if (!Settings)
        return false;
    if (Settings->ReadString(kSection, "PrinterName", kNoPrinter) != GetPrinterName().toStdString())
        return false;
    const double v = Settings->ReadFloat(kSection, "Correction", 0.0);
    if (!(v >= 0.5 && v <= 1.5))
        return false;
    Correction = v;
    return true;
}

void TFormPrnParams::SetCorrectionChecked(bool checked)
{
    const bool fromCode = correctionFromCode_;
    correctionFromCode_ = true;
    ui->CheckBoxCorrection->setChecked(checked);
    correctionFromCode_ = fromCode;
}

void TFormPrnParams::CheckBoxCorrectionClick(bool fromBox)
{
    if (!ui->CheckBoxCorrection->isChecked()) {
        Correction = 1.0;
        return;
    }
    if (ReadCorrection())
        return;
    SetCorrectionChecked(false);
    platform::MessageBox(this, QStringLiteral("Не задан или неправильно задан корректирующий коэффициент!"),
                         kCorrectionTitle, platform::MB_OK | platform::MB_ICONERROR);
    if (fromBox && platform::MessageBox(this, QStringLiteral("Хотите рассчитать коррекцию размеров для текущего принтера?"),
                                        kCorrectionTitle, platform::MB_YESNO | platform::MB_ICONQUESTION) ==
                       platform::IDYES)
        ButtonCorrectionSettingsClick();
}

void TFormPrnParams::ButtonCorrectionSettingsClick()
{
    if (!InputNumberBoxEx(0, kCalibrationCaption, QStringLiteral("Длина тестовой линии в см"), 10, 25, 20))
        return;
    const double length = static_cast<double>(NumberInputBox()->GetValue());

    platform::Printer& printer = platform::CurrentPrinter();
    const platform::PrinterCaps caps = printer.Caps();
    {
        platform::PrintJob job(printer);
        if (!job.Begun()) {
            if (!printer.Declined())
                ReportPrintFailure(QStringLiteral("Не удалось начать печать"));
            return;
        }
        platform::Canvas& canvas = printer.PageCanvas();
        canvas.pen = {0, 5, platform::PenStyle::Solid};
        const int x = TruncToInt(3.0 * caps.logPixelsX / 2.54);
        const int y0 = TruncToInt(2.0 * caps.logPixelsY / 2.54);
        canvas.MoveTo(x, y0);
        canvas.LineTo(x, y0 + TruncToInt(length * caps.logPixelsY / 2.54));
        if (!job.End()) {
            ReportPrintFailure(QStringLiteral("Не удалось завершить печать"));
            return;
        }
    }

    if (!InputNumberBoxEx(3, kCalibrationCaption, QStringLiteral("Длина реальной линии"), 5.0, 30.0, length))
        return;
    const double real = static_cast<double>(NumberInputBox()->GetValue());
    if (platform::MessageBox(this, QStringLiteral("Произведен расчет параметров калибровки\nПрименить полученный результат?"),
                             QStringLiteral("Подтверждение изменения корректировки"),
                             platform::MB_OKCANCEL | platform::MB_ICONQUESTION) != platform::IDOK)
        return;
    const double factor = length / real;
    if (!Settings)
        return;
    const QString name = GetPrinterName();
    if (name.isEmpty()) {
        platform::MessageBox(this, QStringLiteral("Ошибка при получении имени принтера"), QStringLiteral("Ошибка"),
                             platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    Settings->WriteFloat(kSection, "Correction", factor);
    Settings->WriteString(kSection, "PrinterName", name.toStdString());
    // Checking the box loads the factor again; when it was already checked, run the check anew.
    if (ui->CheckBoxCorrection->isChecked())
        CheckBoxCorrectionClick(false);
    else
        SetCorrectionChecked(true);
}
