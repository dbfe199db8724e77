// Main window: the export command (tool button and "Файл" menu item).
#include "app/MainUnit.h"

#include "datawin/Export.h"
#include "platform/ErrorReport.h"
#include "ui_MainUnit.h"

#include <QMenu>
#include <QToolBar>

namespace {

// Inserts `action` into the widget's actions right after `after` (at the end when it is last).
void InsertAfter(QWidget& widget, QAction* after, QAction* action)
{
    const QList<QAction*> actions = widget.actions();
    const qsizetype at = actions.indexOf(after);
    widget.insertAction(at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr, action);
}

}  // namespace

void TFormMain::SetUpExportCommand()
{
    FormExport = new TFormExport(this);
    TBExport = new QAction(QStringLiteral("Экспорт"), this);
    TBExport->setObjectName(QStringLiteral("TBExport"));
    TBExport->setToolTip(QStringLiteral("Экспорт кривых в текстовый или LAS файл"));
    InsertAfter(*ui->ToolBar1, ui->TBSave, TBExport);
    MMIFileExport = new QAction(QStringLiteral("Экспорт..."), this);
    MMIFileExport->setObjectName(QStringLiteral("MMIFileExport"));
    InsertAfter(*ui->MMIFile, ui->MMIFileSaveAs, MMIFileExport);
    for (QAction* action : {TBExport, MMIFileExport})
        connect(action, &QAction::triggered, this, platform::Guarded([this] { TBExportClick(); }));
}

void TFormMain::TBExportClick()
{
    FormExport->Execute(lasFile_.get(), DocumentPlace());
}
