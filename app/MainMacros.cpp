// Main window: the macro manager of title templates, its settings window and the title windows.
#include "app/MainUnit.h"

#include "core/SettingsFile.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "printing/MacroLists.h"
#include "printing/MacroSettingsDlg.h"
#include "printing/Q7MacroManager.h"
#include "printing/TemplateSelectMacroValInput.h"
#include "printing/TitleTemplate.h"
#include "ui_MainUnit.h"

void TFormMain::SetUpMacroManager()
{
    std::string missing;
    const std::string name = CreateMacroManager(TemplatesIni.get(), TemplatesDir, &missing);
    if (TemplatesIni)
        TemplatesIni->WriteString("Macros", "FileName", platform::StoredFileNameBytes(name));
    ReportMissingMacroFile(this, missing);
    // A macro file kept as a backup is named with the damaged settings files, in one message.
    if (MacroManager && MacroManager->GetFileState() == TQ7CustomMacro::FileState::Replaced)
        damagedSettings_.emplace_back(MacroManager->GetPath(), MacroManager->BackupPath());
    else
        ReportMacroFileState(this);
    FormMacroSettings->TemplatesDir = TemplatesDir;
    FormMacroSettings->TemplatesIni = &TemplatesIni;
    connect(ui->MMIToolsMacro, &QAction::triggered, this, platform::Guarded([this] { MMIToolsMacroClick(); }));

    FormTitleTemplate->TemplatesDir = TemplatesDir;
    FormTitleTemplate->TitleFileName = &TitleFileName;
    FormTemplSelMacroValInput->TemplatesDir = TemplatesDir;
    FormTemplSelMacroValInput->TitleFileName = &TitleFileName;
    FormTemplSelMacroValInput->TemplatesIni = &TemplatesIni;
    FormTemplSelMacroValInput->FormTitleTemplate = FormTitleTemplate;
    connect(ui->MMITilteTmplate, &QAction::triggered, this, platform::Guarded([this] { MMITilteTmplateClick(); }));
}

void TFormMain::MMIToolsMacroClick()
{
    FormMacroSettings->Execute();
}

void TFormMain::MMITilteTmplateClick()
{
    FormTitleTemplate->Open(0, true);
    if (TemplatesIni)
        TemplatesIni->WriteString("Macros", "TitleFile", platform::StoredFileNameBytes(TitleFileName));
}
