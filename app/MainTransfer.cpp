// Main window: adding curves of another LAS file to the document.
#include "app/MainUnit.h"

#include "core/Lasfile.h"
#include "datawin/AddData.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QFileInfo>

void TFormMain::SetUpTransferCommands()
{
    FormAddData = new TFormAddData(this);
    auto* addCurves = new QAction(QStringLiteral("Добавить кривые из файла..."), this);
    addCurves->setObjectName(QStringLiteral("MMIAddCurves"));
    ui->MMIFile->insertAction(ui->MMIFileSaveAs, addCurves);
    connect(addCurves, &QAction::triggered, this, platform::Guarded([this] { AddCurvesFromFile({}); }));
}

bool TFormMain::AddCurvesFromFile(const QString& path)
{
    if (!lasFile_) {
        platform::MessageBox(this, QStringLiteral("Не загружен файл.\nНе к чему добавлять данные"),
                             QStringLiteral("Добавление кривых"), platform::MB_OK | platform::MB_ICONINFORMATION);
        return false;
    }
    CancelMode();
    const double top = lasFile_->DepthAt(0);
    const double bottom = lasFile_->DepthAt(lasFile_->GetPointCount() - 1);
    const double step = lasFile_->GetStep();
    if (path.isEmpty())
        FormAddData->PrepareForFolder(platform::FolderOfFile(DocumentPlace()), lasFile_.get(), top, bottom, step);
    else
        FormAddData->PrepareForFile(platform::FolderOfFile(path), QFileInfo(path).fileName(), top, bottom, step,
                                    lasFile_.get());
    const int formerCount = PanelCurves->GetCurvesCount() + 1;
    if (platform::ExecDialog(*FormAddData) != QDialog::Accepted)
        return false;
    // The document's arrays were reallocated with the new point count.
    SetModified();
    ReattachView();
    const bool captions = ui->MIShowCurveCaptions->isChecked();
    for (int i = formerCount; i < lasFile_->GetCurvesCount(); ++i)
        AddCurveToView(i, CurveColors[i % 10], false, -(i - 1) * 100,
                       captions ? QString::fromStdString(lasFile_->GetCurveName(i)) : QString());
    PanelCurves->Repaint();
    SyncDepthControls();
    return true;
}
