// Export dialog.
#include "datawin/Export.h"

#include "core/LasDepthColumn.h"
#include "core/Lasfile.h"
#include "core/Q7mathutils.h"
#include "datawin/AddCurves.h"
#include "datawin/CurveCheckList.h"
#include "datawin/ExportTable.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"
#include "platform/NumberText.h"
#include "platform/Shell.h"
#include "ui_Export.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

const QString kTitle = QStringLiteral("Экспорт файла");
constexpr double kMaxStep = 10000000;

}  // namespace

TFormExport::TFormExport(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFormExport>())
{
    ui->setupUi(this);
    setFixedSize(size().expandedTo(minimumSizeHint()));
    deptFormat_ = new QButtonGroup(this);
    deptFormat_->addButton(ui->RBDeptSimple, 0);
    deptFormat_->addButton(ui->RBDeptHoursMinutes, 1);
    deptFormat_->addButton(ui->RBDeptMinutesSeconds, 2);
    deptFormat_->addButton(ui->RBDeptHoursMinutesSeconds, 3);
    expType_ = new QButtonGroup(this);
    expType_->addButton(ui->RBExpText, 0);
    expType_->addButton(ui->RBExpLas, 1);
    ConnectCheckButtons(*ui->ListBoxCurves, *ui->ButtonSelectAll, *ui->ButtonUnselectAll);
    connect(ui->ButtonOk, &QPushButton::clicked, this, platform::Guarded([this] { ButtonOkClick(); }));
    connect(ui->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->ButtonReset, &QPushButton::clicked, this, platform::Guarded([this] {
                if (document_)
                    FillDialog();
            }));
    connect(ui->ComboBoxStepMes, &QComboBox::currentIndexChanged, this,
            platform::Guarded([this](int) { ComboBoxStepMesChange(); }));
    connect(expType_, &QButtonGroup::idToggled, this, platform::Guarded([this](int, bool checked) {
                if (checked)
                    RGExpTypeClick();
            }));
}

TFormExport::~TFormExport() = default;

int TFormExport::DeptFormatIndex() const
{
    return deptFormat_->checkedId();
}

int TFormExport::ExpTypeIndex() const
{
    return expType_->checkedId();
}

void TFormExport::Execute(TLASFile* document, const QString& place)
{
    if (!document)
        return;
    document_ = document;
    place_ = place.isEmpty() ? platform::FileNameFromBytes(document->GetFileName()) : place;
    FillDialog();
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    platform::ExecDialog(*this);
    document_ = nullptr;
}

QString TFormExport::FormatDepth(int format, float depth)
{
    return QString::fromStdString(DepthText(format, depth, 2));
}

void TFormExport::FillDialog()
{
    const TLASFile& document = *document_;
    FillCurveCheckList(*ui->ListBoxCurves, document, CurveItemText::Mnemonic);
    const double top = document.DepthAt(0);
    const double bottom = document.DepthAt(document.GetPointCount() - 1);
    const double step = document.GetStep();
    ui->LabelFileInfo->setText(QStringLiteral("Файл ") + platform::ShownFileName(QFileInfo(place_).fileName()) +
                               QStringLiteral(" Интервал глубин: ") +
                               platform::RowRangeText(document, 0, document.GetPointCount() - 1) +
                               QStringLiteral(" с шагом ") +
                               platform::LasNumberText(document.GetStep(), document.GetDepthDecimals()));
    ui->CheckBoxLimitDept->setChecked(false);
    for (TFloatSpinEdit* edit : {ui->EditLimitFrom, ui->EditLimitTo}) {
        edit->SetDisplayDecimals(std::max(2, document.GetDepthDecimals()));
        edit->setRange(top, bottom);
    }
    ui->EditLimitFrom->SetValue(top);
    ui->EditLimitTo->SetValue(bottom);
    {
        const QSignalBlocker block(ui->ComboBoxStepMes);
        ui->ComboBoxStepMes->setCurrentIndex(0);
    }
    SetStepUnit(false);
    ui->EditDeptStep->SetValue(step);
    ui->RBDeptSimple->setChecked(true);
    ui->RBExpText->setChecked(true);
    RGExpTypeClick();
}

void TFormExport::SetStepUnit(bool arrayNumbers)
{
    TFloatSpinEdit& edit = *ui->EditDeptStep;
    const float step = document_->GetStep();
    if (arrayNumbers) {
        edit.SetDisplayDecimals(0);
        edit.setRange(1, kMaxStep);
    } else {
        // Every decimal the step has, at least those of the depths; two to six.
        edit.SetDisplayDecimals(std::clamp(std::max(StepDecimals(step), document_->GetDepthDecimals()), 2, 6));
        edit.setRange(step, kMaxStep);
    }
}

void TFormExport::ComboBoxStepMesChange()
{
    if (!document_)
        return;
    const double step = document_->GetStep();
    const double current = ui->EditDeptStep->Value();
    if (ui->ComboBoxStepMes->currentIndex() == 0) {
        SetStepUnit(false);
        ui->EditDeptStep->SetValue(std::clamp(std::trunc(current), 1.0, kMaxStep) * step);
    } else {
        SetStepUnit(true);
        ui->EditDeptStep->SetValue(step > 0 ? std::clamp(std::round(current / step), 1.0, kMaxStep) : 1.0);
    }
}

void TFormExport::RGExpTypeClick()
{
    const bool las = ExpTypeIndex() == 1;
    if (las)
        ui->RBDeptSimple->setChecked(true);
    ui->RGDeptFormat->setEnabled(!las);
}

bool TFormExport::Validate(int& start, int& k, int& end)
{
    const TLASFile& document = *document_;
    if (CheckedCurves(*ui->ListBoxCurves).empty()) {
        platform::ShowMessage(QStringLiteral("Не выбрано ни одной кривой для экспорта!"));
        return false;
    }
    const double step = document.GetStep();  // 0 only for fewer than two rows
    const int count = document.GetPointCount();
    const auto refuseLimit = [this] {
        platform::MessageBox(this, QStringLiteral("Некорректно задано ограничение интервала глубины"),
                             QStringLiteral("Ошибка задания параметров экспорта"),
                             platform::MB_OK | platform::MB_ICONWARNING);
        ui->EditLimitFrom->setFocus();
        return false;
    };
    const auto refuseStep = [this] {
        platform::MessageBox(this, QStringLiteral("Слишком большой шаг по глубине"),
                             QStringLiteral("Некорректный параметр"), platform::MB_OK | platform::MB_ICONWARNING);
        ui->EditDeptStep->setFocus();
        return false;
    };

    const bool limited = ui->CheckBoxLimitDept->isChecked();
    const double top = document.DepthAt(0);
    const double bottom = document.DepthAt(count - 1);
    double from = top;
    double to = bottom;
    if (limited) {
        from = std::clamp(ui->EditLimitFrom->Value(), top, bottom);
        to = std::clamp(ui->EditLimitTo->Value(), top, bottom);
        if (from > to)
            std::swap(from, to);
        ui->EditLimitFrom->SetValue(from);
        ui->EditLimitTo->SetValue(to);
        // Depths typed with their decimals fall a float's rounding short of a whole step.
        if (step > 0 && to - from < step * (1.0 - StepTolerance(std::max(std::fabs(from), std::fabs(to)), step)))
            return refuseLimit();
    }

    double value = ui->EditDeptStep->Value();
    if (ui->ComboBoxStepMes->currentIndex() == 0) {
        if (!(step > 0))
            return refuseStep();
        const double steps = std::round(value / step);  // halves away from zero
        k = steps > 0 ? static_cast<int>(std::min(steps, 2.0e9)) : 1;
        ui->EditDeptStep->SetValue(k * step);
        if (k >= count)
            return refuseStep();
    } else {
        if (value >= count)
            return refuseStep();
        k = std::max(1, static_cast<int>(value));
    }

    start = 0;
    end = count - 1;
    if (limited && !DepthLimitToIndexes(document, from, to, start, end))
        return refuseLimit();
    // A LAS file of one row holds no step: at least two rows are written.
    if (ExpTypeIndex() == 1 && end - start < k)
        return refuseStep();
    return true;
}

void TFormExport::ButtonOkClick()
{
    if (!document_)
        return;
    int start = 0;
    int k = 1;
    int end = 0;
    if (!Validate(start, k, end))
        return;
    if (ExpTypeIndex() == 1)
        ExportLas(DeptFormatIndex(), start, k, end);
    else
        WriteTextTable(DeptFormatIndex(), start, k, end);
}

QString TFormExport::AskFileName(const QString& name, const QString& filter, const QString& suffix,
                                 platform::FileKind kind)
{
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Введите имя файла для экспорта");
    options.directory = place_.isEmpty() ? QString() : platform::FolderOfFile(place_);
    options.fileName = name;
    options.filter = filter;
    options.defaultSuffix = suffix;
    options.confirmOverwrite = true;
    options.kind = kind;
    return platform::GetSaveFileName(this, options);
}

void TFormExport::ReportWriteFailure(const QString& path, int systemError)
{
    platform::MessageBox(this, platform::WriteFailureText(path, systemError), QStringLiteral("Ошибка"),
                         platform::MB_OK | platform::MB_ICONERROR);
}

void TFormExport::WriteTextTable(int format, int start, int k, int end)
{
    const QString path = AskFileName(QFileInfo(place_).fileName() + QStringLiteral(".txt"),
                                     QStringLiteral("Текстовые файлы (*.txt)"), QStringLiteral("txt"),
                                     platform::FileKind::Text);
    if (path.isEmpty())
        return;
    int error = 0;
    if (!WriteExportTable(*document_, CheckedCurves(*ui->ListBoxCurves), format, start, k, end, platform::FileNameToBytes(path),
                          error)) {
        ReportWriteFailure(path, error);
        return;
    }
    if (platform::MessageBox(this,
                             QStringLiteral("Файл ") + platform::ShownFileName(QFileInfo(path).fileName()) +
                                 QStringLiteral(" экспортирован успешно.\nОткрыть его в текстовом редакторе?"),
                             kTitle, platform::MB_YESNO | platform::MB_ICONQUESTION) == platform::IDYES &&
        !platform::ShellOpenFile(path))
        platform::MessageBox(this, QStringLiteral("Не удалось открыть файл\n") + platform::ShownFileName(path), kTitle,
                             platform::MB_OK | platform::MB_ICONERROR);
}

void TFormExport::ExportLas(int, int start, int k, int end)
{
    const QString path = AskFileName(QFileInfo(place_).fileName() + QStringLiteral("Export.las"),
                                     QStringLiteral("LAS файлы (*.las)"), QStringLiteral("las"),
                                     platform::FileKind::Las);
    if (path.isEmpty())
        return;
    const std::vector<int> curves = CheckedCurves(*ui->ListBoxCurves);
    if (curves.empty())
        return;
    if (document_->WriteLasThinned(static_cast<int>(curves.size()), curves.data(), 0, k, end, start,
                                   platform::FileNameToBytes(path)))
        platform::ShowMessage(QStringLiteral("Файл ") + platform::ShownFileName(QFileInfo(path).fileName()) +
                              QStringLiteral(" сохранен"));
    else
        ReportWriteFailure(path, document_->GetWriteError());
}
