// Main window: the library commands.
#include "app/MainUnit.h"

#include "app/StrativProfileManager.h"
#include "core/Lasfile.h"
#include "core/StringUtils.h"
#include "library/FormSQLiteEditor.h"
#include "library/LasBrowser.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "platform/Folders.h"
#include "ui_MainUnit.h"

void TFormMain::SetUpLibraryCommands()
{
    auto* browse = new QAction(QStringLiteral("Обзор файлов Las..."), this);
    browse->setObjectName(QStringLiteral("MILasBrowse"));
    ui->MMIFile->insertAction(ui->MMIFileSessions, browse);
    connect(browse, &QAction::triggered, this, platform::Guarded([this] { MILasBrowseClick(); }));
    auto* editor = new QAction(QStringLiteral("Редактор базы"), this);
    editor->setObjectName(QStringLiteral("MMIFileSQliteEdit"));
    editor->setVisible(false);
    ui->MMIFile->insertAction(ui->MMIFileSessions, editor);
    connect(editor, &QAction::triggered, this, platform::Guarded([this] { MMIFileSQliteEditClick(); }));
}

void TFormMain::MMIFileSQliteEditClick()
{
    FormSQLiteEditor->show();
    FormSQLiteEditor->raise();
    FormSQLiteEditor->activateWindow();
}

void TFormMain::MILasBrowseClick()
{
    if (LasBrowser) {
        if (LasBrowser->isMinimized())
            LasBrowser->showNormal();
        LasBrowser->show();
        LasBrowser->raise();
        LasBrowser->activateWindow();
        return;
    }
    StrativProfileManager& profile = StrativProfileManager::Instance();
    LasBrowserServices services;
    services.DBManager = &profile.GetLogFileDBManager();
    services.DatabasePath = profile.GetLibDir() + StrativProfileManager::LibraryDatabaseName;
    services.HeaderEditor = DlgLogFileHeaderEditor;
    services.ColumnsEditor = FormLasBrowserColumns;
    LasBrowser = std::make_unique<TFormLasBrowser>(services);
    LasBrowser->OnOpenFile = [this](const QString& path) { OpenLasFile(path); };
    LasBrowser->OnAddCurves = [this](const QString& path) { AddCurvesFromFile(path); };
    LasBrowser->OpenDocumentPath = [this] { return lasFile_ ? lasFile_->GetFileName() : std::string(); };
    LasBrowser->MainWindowHandle = this;
    std::string folder;
    if (lasFile_)
        folder = ExtractDirPart(platform::FileNameToBytes(DocumentPlace()));
    else if (!RecentFiles().First().isEmpty())
        folder = ExtractDirPart(platform::FileNameToBytes(RecentFiles().First()));
    if (folder.empty())
        folder = platform::ProgramDir();
    LasBrowser->ShowForPath(folder);
}
