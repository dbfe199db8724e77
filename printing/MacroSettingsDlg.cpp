// The macro settings window.
#include "printing/MacroSettingsDlg.h"

#include "core/Q7mathutils.h"
#include "core/SettingsFile.h"
#include "core/StringUtils.h"
#include "platform/Colors.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "platform/Help.h"
#include "platform/ListWidth.h"
#include "printing/MacroLists.h"
#include "ui_MacroSettingsDlg.h"


namespace {

constexpr int kHelpTopic = 19;
const char* const kMacros = "Macros";
const QString kMacroTitle = QStringLiteral("Макроподстановки");

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void ReportMacroFileState(QWidget* owner)
{
    if (!MacroManager)
        return;
    const QString path = Q(MacroManager->GetPath());
    switch (MacroManager->GetFileState()) {
    case TQ7CustomMacro::FileState::Replaced:
        platform::MessageBox(owner,
                             QStringLiteral("Файл макроподстановок\n") + path +
                                 QStringLiteral("\nне удалось прочитать. Он сохранен как\n") +
                                 Q(MacroManager->BackupPath()),
                             kMacroTitle, platform::MB_OK | platform::MB_ICONWARNING);
        break;
    case TQ7CustomMacro::FileState::Unreadable:
        platform::MessageBox(owner,
                             QStringLiteral("Файл макроподстановок\n") + path +
                                 QStringLiteral("\nне удалось прочитать. Изменения подстановок не будут сохранены"),
                             kMacroTitle, platform::MB_OK | platform::MB_ICONWARNING);
        break;
    default:
        break;
    }
}

void ReportMissingMacroFile(QWidget* owner, const std::string& path)
{
    if (path.empty() || !MacroManager)
        return;
    platform::MessageBox(owner,
                         QStringLiteral("Файл макроподстановок\n") + Q(path) +
                             QStringLiteral("\nне найден. Используется файл\n") + Q(MacroManager->GetPath()),
                         kMacroTitle, platform::MB_OK | platform::MB_ICONWARNING);
}

void SaveMacroFile(QWidget* owner)
{
    if (MacroManager && !MacroManager->Save())
        platform::MessageBox(owner, QStringLiteral("Не удалось сохранить файл макроподстановок\n") +
                                        Q(MacroManager->GetPath()),
                             kMacroTitle, platform::MB_OK | platform::MB_ICONWARNING);
}

void ReleaseMacroManager(QWidget* owner)
{
    SaveMacroFile(owner);
    DeleteMacroManager();  // a failed write was told once
}

TFormMacroSettings::TFormMacroSettings(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormMacroSettings>())
{
    ui->setupUi(this);
    platform::FitWidthToEntries(*ui->ListBox);
    const auto on = [this](auto* sender, auto signal, auto handler) {
        connect(sender, signal, this, platform::Guarded([this, handler] { (this->*handler)(); }));
    };
    on(ui->ListBox, &QListWidget::itemSelectionChanged, &TFormMacroSettings::ListBoxClick);
    for (QLineEdit* edit : {ui->EditMacroName, ui->EditMacroDescription, ui->EditMacroKey, ui->EditMacroValue})
        on(edit, &QLineEdit::textEdited, &TFormMacroSettings::MacroEditChange);
    for (QLineEdit* edit : {ui->EditLDelim, ui->EditRDelim})
        on(edit, &QLineEdit::textEdited, &TFormMacroSettings::DelimEditChange);
    on(ui->BitBtnOkDelims, &QPushButton::clicked, &TFormMacroSettings::BitBtnOkDelimsClick);
    on(ui->BitBtnCancelDelims, &QPushButton::clicked, &TFormMacroSettings::BitBtnCancelDelimsClick);
    on(ui->BitBtnApplyMacroChange, &QPushButton::clicked, &TFormMacroSettings::BitBtnApplyMacroChangeClick);
    on(ui->BitBtnCancelMacroChange, &QPushButton::clicked, &TFormMacroSettings::BitBtnCancelMacroChangeClick);
    on(ui->ButtonAddMacro, &QPushButton::clicked, &TFormMacroSettings::ButtonAddMacroClick);
    on(ui->ButtonDeleteMacro, &QPushButton::clicked, &TFormMacroSettings::ButtonDeleteMacroClick);
    on(ui->Button3, &QPushButton::clicked, &TFormMacroSettings::Button3Click);
    on(ui->ButtonChangeFile, &QPushButton::clicked, &TFormMacroSettings::ButtonChangeFileClick);
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtnHelp, &QPushButton::clicked, this, platform::Guarded([] { platform::ShowHelpTopic(kHelpTopic); }));
    SetMacroButtons(false);
    SetDelimButtons(false);
}

TFormMacroSettings::~TFormMacroSettings() = default;

std::string TFormMacroSettings::GetLeftDelim(const TQ7CustomMacro& manager) { return manager.GetLeftDelim(); }
std::string TFormMacroSettings::GetRightDelim(const TQ7CustomMacro& manager) { return manager.GetRightDelim(); }
void TFormMacroSettings::SetLeftDelim(TQ7CustomMacro& manager, const std::string& text) { manager.SetLeftDelim(text); }
void TFormMacroSettings::SetRightDelim(TQ7CustomMacro& manager, const std::string& text)
{
    manager.SetRightDelim(text);
}
std::string TFormMacroSettings::GetMacroFilePath(const TQ7CustomMacro& manager) { return manager.GetPath(); }

void TFormMacroSettings::Execute()
{
    Prepare();
    platform::ExecDialog(*this);
    SaveSettings();
}

void TFormMacroSettings::Prepare()
{
    if (MacroManager) {
        MacroFileName = MacroFileSetting(MacroManager->GetPath(), TemplatesDir);
    } else {
        std::string missing;
        MacroFileName = CreateMacroManager(Ini(), TemplatesDir, &missing);
        ReportMissingMacroFile(this, missing);
        ReportMacroFileState(this);
    }
    if (TSettingsFile* ini = Ini()) {
        ini->WriteString(kMacros, "FileName", platform::StoredFileNameBytes(MacroFileName));
        int width = 550;
        ini->ReadIntRange(kMacros, "ListBoxW", width, 550, 1024);
        resize(width, height());
    }
    FillMacroList();
}

void TFormMacroSettings::FillMacroList()
{
    Ready = false;
    ui->ListBox->clear();
    if (!MacroManager)
        return;
    for (int n = 0; n < MacroManager->GetCount(); ++n) {
        TQ7MacroRecord r;
        r.Mask = TQ7MacroRecord::MaskName;
        MacroManager->GetMacro(n, r);
        ui->ListBox->addItem(Q(r.Name));
    }
    ui->LabelMacroFile->setText(Q(MacroFileName));
    ui->EditLDelim->setText(Q(GetLeftDelim(*MacroManager)));
    ui->EditRDelim->setText(Q(GetRightDelim(*MacroManager)));
    SetDelimButtons(false);
    for (QLineEdit* edit : {ui->EditMacroName, ui->EditMacroDescription, ui->EditMacroKey, ui->EditMacroValue})
        edit->clear();
    SetMacroButtons(false);
    Ready = true;
}

void TFormMacroSettings::ShowMacro(int n)
{
    for (QLineEdit* edit : {ui->EditMacroName, ui->EditMacroDescription, ui->EditMacroKey, ui->EditMacroValue})
        edit->clear();
    SetMacroButtons(false);
    TQ7MacroRecord r;
    r.Mask = TQ7MacroRecord::MaskAll;
    if (!MacroManager || n < 0 || n >= MacroManager->GetCount())
        return;
    MacroManager->GetMacro(n, r);
    ui->EditMacroName->setText(Q(r.Name));
    ui->EditMacroDescription->setText(Q(r.Description));
    ui->EditMacroKey->setText(Q(r.Key));
    QLineEdit* value = ui->EditMacroValue;
    QPalette palette = value->style()->standardPalette();
    switch (GetMacroKind(*MacroManager, r)) {
    case 1:
        value->setText(QStringLiteral("Определяется системой"));
        palette.setColor(QPalette::Base, platform::ToQColor(0xE0FFE0));
        break;
    case 2:
        value->setText(QStringLiteral("Берется из Las файла"));
        palette.setColor(QPalette::Base, platform::ToQColor(0xFFE0E0));
        break;
    default:
        value->setText(Q(r.Value));
        break;
    }
    value->setReadOnly(GetMacroKind(*MacroManager, r) != 0);
    value->setPalette(palette);
}

int TFormMacroSettings::ApplyMacroChange(int n)
{
    if (!MacroManager || n < 0 || n >= MacroManager->GetCount())
        return -1;
    const std::string key = ui->EditMacroKey->text().toStdString();
    if (Trim(key).empty()) {
        platform::MessageBox(this, QStringLiteral("Не допускается пустое значение ключа!"),
                             QStringLiteral("Неверный параметр"), platform::MB_OK | platform::MB_ICONERROR);
        return 1;
    }
    if (const int other = FindDuplicateKey(*MacroManager, n, key); other >= 0) {
        const QString text = QStringLiteral("Значение ключа не уникально\n(совпадает с '") +
                             ui->ListBox->item(other)->text() + QStringLiteral("', номер в списке: ") +
                             QString::number(other + 1) + QStringLiteral(")\nВсе равно применить?");
        if (platform::MessageBox(this, text, QStringLiteral("Предупреждение"),
                                 platform::MB_YESNO | platform::MB_ICONWARNING) != platform::IDYES)
            return 2;
    }
    TQ7MacroRecord r;
    r.Mask = TQ7MacroRecord::MaskSType;
    MacroManager->GetMacro(n, r);
    r.Mask = TQ7MacroRecord::MaskKey | TQ7MacroRecord::MaskName | TQ7MacroRecord::MaskDescription;
    if (r.SType == 0) {
        r.Mask |= TQ7MacroRecord::MaskValue;
        r.Value = ui->EditMacroValue->text().toStdString();
    }
    r.Key = key;
    r.Name = ui->EditMacroName->text().toStdString();
    r.Description = ui->EditMacroDescription->text().toStdString();
    MacroManager->SetMacro(n, r);
    ui->ListBox->item(n)->setText(Q(r.Name));
    SetMacroButtons(false);
    return 0;
}

void TFormMacroSettings::SaveSettings()
{
    TSettingsFile* ini = Ini();
    if (!ini)
        return;
    ini->WriteInt(kMacros, "ListBoxW", width());
    ini->WriteString(kMacros, "FileName", platform::StoredFileNameBytes(MacroFileName));
}

void TFormMacroSettings::ListBoxClick()
{
    if (!Ready || ui->ListBox->count() == 0 || !MacroManager)
        return;
    Ready = false;
    ShowMacro(ui->ListBox->currentRow());
    Ready = true;
}

void TFormMacroSettings::MacroEditChange()
{
    if (Ready)
        SetMacroButtons(true);
}

void TFormMacroSettings::DelimEditChange() { SetDelimButtons(true); }

void TFormMacroSettings::BitBtnOkDelimsClick()
{
    if (!MacroManager)
        return;
    const QString left = ui->EditLDelim->text();
    const QString right = ui->EditRDelim->text();
    if (left.trimmed().isEmpty() || right.trimmed().isEmpty()) {
        platform::MessageBox(this, QStringLiteral("Пустые разделители недопустимы!"),
                             QStringLiteral("Изменение разделителей"), platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    SetLeftDelim(*MacroManager, left.toStdString());
    SetRightDelim(*MacroManager, right.toStdString());
    SetDelimButtons(false);
}

void TFormMacroSettings::BitBtnCancelDelimsClick()
{
    if (MacroManager) {
        ui->EditLDelim->setText(Q(GetLeftDelim(*MacroManager)));
        ui->EditRDelim->setText(Q(GetRightDelim(*MacroManager)));
    }
    SetDelimButtons(false);
}

void TFormMacroSettings::BitBtnApplyMacroChangeClick() { ApplyMacroChange(ui->ListBox->currentRow()); }

void TFormMacroSettings::BitBtnCancelMacroChangeClick()
{
    Ready = false;
    ShowMacro(ui->ListBox->currentRow());
    Ready = true;
}

void TFormMacroSettings::ButtonAddMacroClick()
{
    if (!MacroManager)
        return;
    const int n = MacroManager->AddMacro();
    Randomize();
    TQ7MacroRecord r;
    r.Mask = TQ7MacroRecord::MaskAll;
    r.Name = "Не определено";
    r.Description = "Не определено";
    r.Key = "key" + std::to_string(RandomInt(10000));
    MacroManager->SetMacro(n, r);
    ui->ListBox->addItem(Q(r.Name));
    Ready = false;
    ui->ListBox->setCurrentRow(n);
    ui->EditMacroName->setFocus();
    ShowMacro(n);
    Ready = true;
}

void TFormMacroSettings::ButtonDeleteMacroClick()
{
    if (!MacroManager)
        return;
    const int n = ui->ListBox->currentRow();
    if (n < 0 || !ui->ListBox->currentItem()->isSelected()) {
        platform::MessageBox(this, QStringLiteral("Не выбран элемент"), QStringLiteral("Удаление"), platform::MB_OK);
        return;
    }
    const QString text = QStringLiteral("Вы подтверждаете удаление '") + ui->ListBox->item(n)->text() + "'?";
    if (platform::MessageBox(this, text, QStringLiteral("Удаление"), platform::MB_YESNO | platform::MB_ICONWARNING) !=
        platform::IDYES)
        return;
    MacroManager->DeleteMacro(n);
    Ready = false;
    delete ui->ListBox->takeItem(n);
    ShowMacro(-1);
    Ready = true;
}

void TFormMacroSettings::Button3Click()
{
    if (!MacroManager)
        return;
    if (platform::MessageBox(this,
                             QStringLiteral("Вы действительно хотите восстановить установки по умолчанию?\n(все "
                                            "текущие подстановки будут утеряны)"),
                             QStringLiteral("Восстановление по умолчанию"),
                             platform::MB_OKCANCEL | platform::MB_ICONQUESTION) != platform::IDOK)
        return;
    RestoreDefaultMacros(*MacroManager);
    FillMacroList();
}

void TFormMacroSettings::ButtonChangeFileClick()
{
    // The dialog starts at the file in use.
    platform::FileDialogOptions options = platform::FileDialogOptions::StartingAt(
        MacroManager ? platform::FileNameFromBytes(MacroManager->GetPath())
                     : platform::FileNameFromBytes(TemplatesDir + MacroFileName));
    options.title = QStringLiteral("Файл подстановок");
    options.filter = QStringLiteral("Файлы макросов (*.mcr)");
    options.defaultSuffix = QStringLiteral("mcr");
    // A name typed here that does not exist yet becomes a new macro file.
    options.confirmOverwrite = false;
    const QString chosen = platform::GetSaveFileName(this, options);
    if (chosen.isEmpty())
        return;
    // Macros would be written over a file of another kind (the open LAS file, say).
    const QString other = platform::OtherKindAt(chosen, platform::FileKind::MacroFile);
    if (platform::KindOfPath(chosen) != platform::PathKind::Missing &&
        !TQ7CustomMacro::IsMacroFile(platform::FileNameToBytes(chosen)) &&
        platform::MessageBox(this,
                             QStringLiteral("Файл\n") + platform::ShownFileName(chosen) + QStringLiteral("\nне является файлом макроподстановок") +
                                 (other.isEmpty() ? QString() : QStringLiteral(" (") + other + QStringLiteral(")")) +
                                 QStringLiteral(". Записать макроподстановки поверх него?"),
                             kMacroTitle, platform::MB_YESNO | platform::MB_ICONWARNING | platform::MB_DEFBUTTON2) !=
            platform::IDYES)
        return;
    ReleaseMacroManager(this);
    MacroFileName = MacroFileSetting(platform::FileNameToBytes(chosen), TemplatesDir);
    CreateMacroManagerAt(platform::FileNameToBytes(chosen));
    ReportMacroFileState(this);
    if (TSettingsFile* ini = Ini())
        ini->WriteString(kMacros, "FileName", platform::StoredFileNameBytes(MacroFileName));
    FillMacroList();
}

void TFormMacroSettings::SetMacroButtons(bool enabled)
{
    ui->BitBtnApplyMacroChange->setEnabled(enabled);
    ui->BitBtnCancelMacroChange->setEnabled(enabled);
}

void TFormMacroSettings::SetDelimButtons(bool enabled)
{
    ui->BitBtnOkDelims->setEnabled(enabled);
    ui->BitBtnCancelDelims->setEnabled(enabled);
}
