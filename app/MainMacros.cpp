// Main window: the macro manager of title templates and its settings window.
#include "app/MainUnit.h"

#include "app/MacroSettingsDlg.h"
#include "core/SettingsFile.h"
#include "platform/ErrorReport.h"
#include "printing/MacroLists.h"
#include "ui_MainUnit.h"

void TFormMain::SetUpMacroManager()
{
    const std::string name = CreateMacroManager(TemplatesIni.get(), TemplatesDir);
    if (TemplatesIni)
        TemplatesIni->WriteString("Macros", "FileName", name);
    ReportMacroFileState(this);
    FormMacroSettings->TemplatesDir = TemplatesDir;
    FormMacroSettings->TemplatesIni = &TemplatesIni;
    connect(ui->MMIToolsMacro, &QAction::triggered, this, platform::Guarded([this] { MMIToolsMacroClick(); }));
}

void TFormMain::MMIToolsMacroClick()
{
    FormMacroSettings->Execute();
}
