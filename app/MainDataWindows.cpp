// Main window: the data windows it makes at start-up and the commands that show them.
#include "app/MainUnit.h"

#include "app/StrativProfileManager.h"
#include "datawin/LasEditor.h"
#include "datawin/NewLasWizard.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "ui_MainUnit.h"

#include <QFileInfo>

void TFormMain::SetUpDataWindows()
{
    FormEditor = new TFormEditor(*FormSaveToLas, this);
    NewLasWizard = new TDlgNewLasWizard(this);
    MMIFileCreateNew = new QAction(QStringLiteral("Создать новый LAS файл..."), this);
    ui->MMIFile->insertAction(ui->MMIFileOpen, MMIFileCreateNew);
    connect(MMIFileCreateNew, &QAction::triggered, this, platform::Guarded([this] { MMIFileCreateNewClick(); }));
    MIEditLas = new QAction(QStringLiteral("Редактор LAS файлов"), this);
    MIEditLas->setObjectName(QStringLiteral("MIEditLas"));
    ui->MMIFile->insertAction(ui->MMIFileExit, MIEditLas);
    ui->MMIFile->insertSeparator(ui->MMIFileExit);
    connect(MIEditLas, &QAction::triggered, this, platform::Guarded([this] { MIEditLasClick(); }));
}

void TFormMain::MIEditLasClick()
{
    // The editor opens in the document's folder unless it holds a file of its own.
    if (!FormEditor->isVisible() && !FormEditor->Document() && !DocumentPlace().isEmpty())
        FormEditor->SetFolder(platform::FolderOfFile(DocumentPlace()));
    FormEditor->show();
    FormEditor->raise();
    FormEditor->activateWindow();
}

bool TFormMain::QueryCloseDataWindows()
{
    return FormEditor->QueryClose();
}

void TFormMain::MMIFileCreateNewClick()
{
    StrativProfileManager& profile = StrativProfileManager::Instance();
    NewLasWizardServices services;
    services.PointDialog = FormCreateCurveByValues;
    services.HeaderEditor = DlgLogFileHeaderEditor;
    services.ImportsDir = profile.GetImportsDir();
    services.LibraryDatabase = profile.GetLibDir() + StrativProfileManager::LibraryDatabaseName;
    services.Library = &profile.GetLogFileDBManager();
    NewLasWizard->SetServices(services);
    const QString name = NewLasWizard->Execute();
    if (!name.isEmpty() &&
        platform::MessageBox(this, QStringLiteral("LAS файл\n") + name + QStringLiteral("\nуспешно создан. Загрузить?"),
                             QStringLiteral("Создание файла"),
                             platform::MB_YESNO | platform::MB_ICONQUESTION) == platform::IDYES)
        OpenLasFile(name);
}
