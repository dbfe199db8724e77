// Main window: the data windows it makes at start-up and the commands that show them.
#include "app/MainUnit.h"

#include "datawin/LasEditor.h"
#include "platform/ErrorReport.h"
#include "ui_MainUnit.h"

void TFormMain::SetUpDataWindows()
{
    FormEditor = new TFormEditor(*FormSaveToLas, this);
    MIEditLas = new QAction(QStringLiteral("Редактор LAS файлов"), this);
    ui->MMIFile->insertAction(ui->MMIFileExit, MIEditLas);
    ui->MMIFile->insertSeparator(ui->MMIFileExit);
    connect(MIEditLas, &QAction::triggered, this, platform::Guarded([this] { MIEditLasClick(); }));
}

void TFormMain::MIEditLasClick()
{
    FormEditor->show();
    FormEditor->raise();
    FormEditor->activateWindow();
}

bool TFormMain::QueryCloseDataWindows()
{
    return FormEditor->QueryClose();
}
