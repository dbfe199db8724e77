// Main window: the print command and the print parameters dialog it opens.
#include "app/MainUnit.h"

#include "app/AppInfo.h"
#include "editing/MetkaInfo.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/Printer.h"
#include "printing/FormCurveTemplate.h"
#include "printing/FormPrnParams.h"
#include "printing/TemplateVariables.h"
#include "ui_MainUnit.h"

void TFormMain::SetUpPrintCommands()
{
    SetProgramValues(QString::fromUtf8(appinfo::ProgramVersion), QString::fromUtf8(appinfo::DeveloperMail),
                     QString::fromUtf8(appinfo::DeveloperWeb));
    FormPrnParams = new TFormPrnParams(this);
    FormPrnParams->CurveTemplate = FormCurveTemplate;
    FormPrnParams->TitleDialog = FormTemplSelMacroValInput;
    FormPrnParams->MarkRecord = &DlgMetkaInfo->Info();
    FormPrnParams->EditMarks = [this] { return DlgMetkaInfo->Execute(); };

    MIPrint = new QAction(QStringLiteral("Печать..."), this);
    MIPrint->setObjectName(QStringLiteral("MIPrint"));
    MIPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    ui->MMIFile->insertAction(ui->MMIFileSessions, MIPrint);
    TBPrint = new QAction(QStringLiteral("Печать"), this);
    TBPrint->setObjectName(QStringLiteral("TBPrint"));
    TBPrint->setToolTip(QStringLiteral("Печать"));
    const QList<QAction*> bar = ui->ToolBar1->actions();
    ui->ToolBar1->insertAction(bar.value(bar.indexOf(ui->TBSave) + 1), TBPrint);
    for (QAction* action : {MIPrint, TBPrint})
        connect(action, &QAction::triggered, this, platform::Guarded([this] { MIPrintClick(); }));
}

void TFormMain::MIPrintClick()
{
    if (!LasFile()) {
        platform::MessageBox(this, QStringLiteral("Файл не загружен.\nНечего печатать"), QStringLiteral("Печать файла"),
                             platform::MB_OK | platform::MB_ICONINFORMATION);
        return;
    }
    if (platform::CurrentPrinter().Printers().isEmpty()) {
        platform::MessageBox(
            this,
            QStringLiteral("Видимо в вашей системе не установлен принтер.Установите принтер и попробуйте снова."),
            QStringLiteral("Печать"), platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    // The margins first: the curves added below take the room they leave.
    FormPrnParams->Settings = &Settings();
    FormPrnParams->LoadMargins();
    if (GetSelectedCurveCount() > 0 && FormCurveTemplate->Bound == 0 &&
        platform::MessageBox(this, QStringLiteral("Добавить выбранные кривые в шаблон кривых?"),
                             QStringLiteral("Подготовка печати"),
                             platform::MB_YESNO | platform::MB_ICONQUESTION) == platform::IDYES)
        AddSelectedCurvesToTemplate(false);
    if (FormCurveTemplate->Bound == 0)
        BindCurveTemplate();
    FormPrnParams->ShowWithTemplateSetup();
}
