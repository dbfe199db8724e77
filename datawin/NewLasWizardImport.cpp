// New LAS file wizard: the import pages, the import step and the saved import sets.
#include "datawin/NewLasWizard.h"

#include "core/CodePages.h"
#include "core/FileUtils.h"
#include "core/IniStore.h"
#include "platform/DialogRunner.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"
#include "ui_NewLasWizard.h"


#include <fstream>

void TDlgNewLasWizard::GetImportParams(ImportFromTextParams& params) const
{
    Ui::TDlgNewLasWizard& f = *ui;
    params.SourceFile = sourceFile_;
    params.InColumns = f.RBInColumns->isChecked();
    params.DepthByHand = f.RBDepthByHand->isChecked();
    if (params.DepthByHand) {
        params.StartDepth = params_.StartDepth;
        params.StepGiven = params_.StepGiven;
        params.StepOrEnd = params_.StepOrEnd;
    }
    params.StartLine = std::uint32_t(f.EditStartParse->value());
    params.SkipCount = std::uint32_t(f.EditIgnoreFirst->value());
    params.SkipWords = f.RBSkipWords->isChecked();
    params.Delimiters = f.EditDelimiters->text().toStdString();
    if (params.Delimiters.empty())
        params.Delimiters = " ";
    params.IgnoreErrors = f.RBIgnoreErrors->isChecked();
}

void TDlgNewLasWizard::SetImportControls()
{
    Ui::TDlgNewLasWizard& f = *ui;
    (params_.InColumns ? f.RBInColumns : f.RBInRows)->setChecked(true);
    (params_.DepthByHand ? f.RBDepthByHand : f.RBDepthFromFile)->setChecked(true);
    f.EditStartParse->setValue(int(std::min<std::uint32_t>(params_.StartLine, 1000000)));
    f.EditIgnoreFirst->setValue(int(std::min<std::uint32_t>(params_.SkipCount, 1000000)));
    (params_.SkipWords ? f.RBSkipWords : f.RBSkipChars)->setChecked(true);
    f.EditDelimiters->setText(QString::fromStdString(params_.Delimiters));
    (params_.IgnoreErrors ? f.RBIgnoreErrors : f.RBStopOnErrors)->setChecked(true);
    if (controlsReady_)
        FillSavedImports();
}

bool TDlgNewLasWizard::ValidateImportDepth()
{
    Ui::TDlgNewLasWizard& f = *ui;
    const double v = f.EditStepOrPointsNumber->value();
    const bool step = f.RBStep->isChecked();
    if (v == 0 || (step && v < 0) || (!step && v == f.EditStart->value()))
        return false;
    params_.DepthByHand = true;
    params_.StartDepth = float(f.EditStart->value());
    params_.StepGiven = step;
    params_.StepOrEnd = float(v);
    return true;
}

bool TDlgNewLasWizard::ImportFromText()
{
    GetImportParams(params_);
    // A stopped import throws; the handler's guard shows its text and the page stays.
    switch (::ImportFromText(params_, info_)) {
    case ImportResult::Done:
        valueModes_.assign(info_.Curves.size(), 0);
        return true;
    case ImportResult::TooManyRows:
        Error(nullptr, QStringLiteral("В файле больше 10 000 000 строк данных: такой файл не создается."));
        return false;
    case ImportResult::DepthNotMonotonic:
        Error(nullptr, QStringLiteral("Глубины в первом столбце файла не возрастают и не убывают: файл не создается."));
        return false;
    case ImportResult::NoCurves:
        Error(nullptr, QStringLiteral("В файле не найдено ни одного столбца данных кривых: файл не создается."));
        return false;
    case ImportResult::TooFewDepths:
        Error(nullptr, QStringLiteral("В файле меньше двух значений глубины: файл не создается."));
        return false;
    case ImportResult::TooFewRows:
        Error(nullptr, QStringLiteral("В файле меньше двух строк данных: файл не создается."));
        return false;
    case ImportResult::CannotOpen:
        Error(nullptr, QStringLiteral("Не удалось открыть файл\n") + platform::ShownFileName(sourceFile_));
        return false;
    }
    return false;
}

void TDlgNewLasWizard::FillSavedImports()
{
    QComboBox& combo = *ui->ComboImports;
    controlsReady_ = false;
    savedFiles_.clear();
    combo.clear();
    for (const SavedImport& set : ListSavedImports(services_.ImportsDir)) {
        savedFiles_.push_back(set.FileName);
        combo.addItem(QString::fromStdString(set.Name));
    }
    combo.setCurrentIndex(-1);
    controlsReady_ = true;
}

void TDlgNewLasWizard::ReloadSavedImports()
{
    QComboBox& combo = *ui->ComboImports;
    controlsReady_ = false;
    const int index = combo.currentIndex();
    combo.clear();
    for (const std::string& file : savedFiles_) {
        const std::string path = services_.ImportsDir + file;
        if (!std::ifstream(path))
            continue;
        const std::string name = ReadImportSet(path, nullptr);
        combo.addItem(name.empty() ? QStringLiteral("Ошибка!") : QString::fromStdString(name));
    }
    combo.setCurrentIndex(index < combo.count() ? index : -1);
    controlsReady_ = true;
}

void TDlgNewLasWizard::ButtonSaveImportClick()
{
    QString name;
    if (!platform::InputQuery(QStringLiteral("Сохранение параметров"), QStringLiteral("Введите название:"), name) ||
        name.isEmpty())
        return;
    // The name is the first line of the set's file; it follows the rule of other typed names.
    if (const std::string text = name.toStdString(); !IsValidIniName(text, true) || !IsValidIniName(text, false)) {
        Error(nullptr, QString::fromUtf8(kBadIniNameMessage));
        return;
    }
    ImportFromTextParams params;
    GetImportParams(params);
    if (SaveImportSet(services_.ImportsDir, name.toStdString(), params).empty())
        Error(nullptr, platform::WriteFailureText(platform::FileNameFromBytes(services_.ImportsDir)));
    FillSavedImports();
}

void TDlgNewLasWizard::BtnDeleteSavedImportClick()
{
    const int index = ui->ComboImports->currentIndex();
    if (index < 0 || index >= int(savedFiles_.size()))
        return;
    DeleteFileByName(services_.ImportsDir + savedFiles_[std::size_t(index)]);
    savedFiles_.erase(savedFiles_.begin() + index);
    ReloadSavedImports();
}

void TDlgNewLasWizard::ComboImportsChange(int index)
{
    if (!controlsReady_ || index < 0 || index >= int(savedFiles_.size()))
        return;
    controlsReady_ = false;
    if (!ReadImportSet(services_.ImportsDir + savedFiles_[std::size_t(index)], &params_).empty())
        SetImportControls();
    controlsReady_ = true;
}

void TDlgNewLasWizard::Button1Click()
{
    platform::FileDialogOptions options = platform::FileDialogOptions::StartingAt(ui->EditSourceFileName->text());
    options.title = QStringLiteral("Выбор импортируемого файла");
    options.filter = QStringLiteral("Текстовые файлы (*.txt);;Все файлы (*)");
    const QString path = platform::GetOpenFileName(this, options);
    if (!path.isEmpty())
        ui->EditSourceFileName->setText(path);
}

void TDlgNewLasWizard::EditSourceFileNameChange()
{
    const QString name = ui->EditSourceFileName->text();
    if (platform::KindOfPath(name) != platform::PathKind::File) {
        ui->MnemoSourceView->clear();
        return;
    }
    const std::string lines = ReadTextFileLines(platform::FileNameToBytes(name), 32, "\r\n");
    ui->MnemoSourceView->setPlainText(QString::fromStdString(DecodeText(lines, DetectTextEncoding(lines))));
}
