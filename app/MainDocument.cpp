// Main window: opening a file with the choice of its curves, replacing the document, saving.
#include "app/MainUnit.h"

#include "app/ChooseCurves.h"
#include "app/DepthOverview.h"
#include "datawin/SaveToLas.h"
#include "core/Lasfile.h"
#include "platform/DepthUnit.h"
#include "platform/DialogRunner.h"
#include "platform/FileNames.h"
#include "printing/MacroLists.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QFileInfo>
#include <QListWidget>

namespace {
void ShowError(QWidget* owner, const QString& text)
{
    platform::MessageBox(owner, text, QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
}
}  // namespace

bool TFormMain::OpenLasFile(const QString& requested)
{
    QString path = requested;
    if (path.isEmpty()) {
        platform::FileDialogOptions options;
        options.title = QStringLiteral("Открыть LAS файл");
        const QString current = lasFile_ ? DocumentPlace() : recent_.First();
        options.directory = current.isEmpty() ? QString() : platform::FolderOfFile(current);
        options.filter = QStringLiteral("LAS файлы (*.las *.LAS *.Las);;Все файлы (*)");
        path = platform::GetOpenFileName(this, options);
        if (path.isEmpty())
            return false;
    }
    if (platform::KindOfPath(path) != platform::PathKind::File) {
        ShowError(this, QStringLiteral("Файл не найден:\n") + platform::ShownFileName(path));
        return false;
    }
    path = platform::AbsoluteFileName(path);  // the recent list and the caption show full paths
    // Reopening the document's own file: a save the user agrees to must come before the read.
    const bool ownFile = lasFile_ && platform::SameFile(platform::FileNameFromBytes(lasFile_->GetFileName()), path);
    if (ownFile && !AskSaveChanges())
        return false;

    auto document = std::make_unique<TLASFile>(platform::FileNameToBytes(path), 2);
    QString reason;
    if (!document->IsLoaded())
        reason = QString::fromStdString(document->GetLoadError());
    else if (document->GetCurvesCount() < 2 || document->GetPointCount() < 1)
        reason = QStringLiteral("В файле нет данных кривых");
    if (!reason.isEmpty()) {
        ReportUnloadedFile(this, platform::ShownFileName(path), reason);
        return false;
    }
    WarnOmittedData(this, *document, platform::ShownFileName(path));
    LoadedFileInfo loaded = DescribeLoadedFile(*document);
    loaded.omitted = QString::fromStdString(document->GetUnloadedData());
    if (!ChooseCurves(*document))
        return false;
    if (!ownFile && !AskSaveChanges())
        return false;

    ReplaceDocument(std::move(document));
    loadedFrom_ = std::move(loaded);
    recent_.Add(path);
    RebuildRecentMenu();
    return true;
}

bool TFormMain::ChooseCurves(TLASFile& document)
{
    std::vector<int> chosen;
    if (!FormChooseCurves->Execute(document, chosen))
        return false;
    // Every data curve of the document is shown: document index = panel index + 1.
    std::vector<bool> keep(document.GetCurvesCount(), false);
    for (int index : chosen)
        keep[index] = true;
    for (int index = document.GetCurvesCount() - 1; index >= 1; --index)
        if (!keep[index])
            document.DeleteCurve(index);
    return true;
}

bool TFormMain::AskSaveChanges()
{
    if (!lasFile_ || !IsModified())
        return true;
    const QString file = platform::ShownFileName(lasFile_->GetFileName());
    const QString session = DocumentSession();
    const QString subject = !session.isEmpty() ? QStringLiteral("в документе сессии \"%1\"").arg(session)
                            : file.isEmpty()    ? QStringLiteral("в файле\n(без имени)")
                                                : QStringLiteral("в файле\n") + QFileInfo(file).fileName();
    const int answer = platform::MessageBox(this, QStringLiteral("Сохранить изменения ") + subject + "?",
                                            platform::ApplicationTitle(),
                                            platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION);
    if (answer == platform::IDCANCEL)
        return false;
    if (answer == platform::IDYES)
        return SaveDocument();
    return true;
}

bool TFormMain::SaveDocument()
{
    if (!lasFile_)
        return false;
    // A session's copy is never proposed: the file the work came from is, else the session's name.
    const QString file = platform::FileNameFromBytes(lasFile_->GetFileName());
    const bool elsewhere = !workFile_.isEmpty() && !platform::SameFile(workFile_, file);
    const bool sessionCopy = elsewhere || !DocumentSession().isEmpty();
    if (!FormSaveToLas->Execute(lasFile_.get(), &loadedFrom_,
                                elsewhere ? workFile_ : sessionCopy ? DocumentPlace() : QString()))
        return false;
    // Only the whole document written into its own file (or the first file of one that has
    // none, or is a session's copy) is a saved state; a part of it leaves the rest unsaved.
    const QString own = sessionCopy ? QString() : file;
    const QString saved = platform::AbsoluteFileName(FormSaveToLas->SavedPath());
    if (FormSaveToLas->SavedWhole() && (own.isEmpty() || platform::SameFile(own, saved))) {
        if (own.isEmpty()) {
            lasFile_->SetFileName(platform::FileNameToBytes(saved));
            workFile_ = saved;
            UpdateCaption();
        }
        loadedFrom_ = DescribeLoadedFile(*lasFile_);
        SetModified(false);
    }
    return true;
}

void TFormMain::ReplaceDocument(std::unique_ptr<TLASFile> document)
{
    CancelMode();
    // The view and the single-curve windows borrow the old document's arrays: they let them go
    // before the document is freed.
    SingleWindows.SetLasFile(nullptr);
    ClearView();
    ClearTemplateBinding(true);
    UndoStore.SetLasFile(nullptr);
    if (lasFile_)
        ForgetMacroDocument(&lasFile_->GetParser());
    lasFile_ = std::move(document);
    loadedFrom_ = DescribeLoadedFile(*lasFile_);
    workFile_ = platform::FileNameFromBytes(lasFile_->GetFileName());

    AttachDepthAxis();
    const int count = lasFile_->GetCurvesCount();
    const bool captions = ui->MIShowCurveCaptions->isChecked();
    for (int i = 1; i < count; ++i)
        AddCurveToView(i, CurveColors[i % 10], false, -(i - 1) * 100,
                       captions ? QString::fromStdString(lasFile_->GetCurveName(i)) : QString());
    // The leftmost track starts at the left edge of the drawing area.
    PanelCurves->XAxisInfo.SetOffset(-(count - 2) * 100);
    UndoStore.SetLasFile(lasFile_.get());
    SingleWindows.SetLasFile(lasFile_.get());
    // The intervals stay; only their loaded range follows the document, as do the macros'
    // header.
    SetMacroDocument(&lasFile_->GetParser());
    Intervals.SetTopBottom(lasFile_->GetTopDepth(), lasFile_->GetBottomDepth());
    SetModified(false);

    PBoxAllDepth->SetRange(lasFile_->GetTopDepth(), lasFile_->GetBottomDepth());
    PanelCurves->GotoDepth(lasFile_->GetTopDepth());
    UpdateCaption();
    UpdateStatusBar();
    UpdateUndoRedoState();
    PanelCurves->Repaint();
    SyncDepthControls();
}

// Records the generation first: nothing drawn from here on may take the arrays for stale.
void TFormMain::AttachDepthAxis()
{
    attachedGeneration_ = lasFile_->Generation();
    attachedFirstDepth_ = lasFile_->GetTopDepth();
    TAxis& axis = PanelCurves->YAxisInfo;
    axis.ClearDepthArray();
    axis.SetDepthStep(lasFile_->GetStep());
    axis.SetDepthArray(lasFile_->GetCurveData(0), lasFile_->GetPointCount());
    axis.SetScaleFactorValue(DepthScale);
    axis.SetUnitMetres(platform::DepthUnitMetres(*lasFile_));
    axis.Recalculate();
}

void TFormMain::ClearView()
{
    HideCurveCoords();
    while (PanelCurves->GetCurvesCount() > 0)
        PanelCurves->DeleteCurve(PanelCurves->GetCurvesCount() - 1);
    PanelCurves->YAxisInfo.ClearDepthArray();
    PanelCurves->Interval.Clear();
    QSignalBlocker block(ListCurveNames);
    ListCurveNames->clear();
}

void TFormMain::UpdateCaption()
{
    const QString file =
        lasFile_ ? platform::ShownFileName(lasFile_->GetFileName()) : QString();
    const QString session = DocumentSession();
    setWindowTitle(!lasFile_           ? QStringLiteral("Strativ")
                   : !session.isEmpty() ? QStringLiteral("Strativ - сессия \"%1\"").arg(session)
                   : file.isEmpty()     ? QStringLiteral("Strativ - (без имени)")
                                        : QStringLiteral("Strativ - ") + file);
    ui->MMIFileSaveAs->setEnabled(lasFile_ != nullptr);
    ui->TBSave->setEnabled(lasFile_ != nullptr);
}

bool TFormMain::IsModified() const
{
    return lasFile_ && (unrecordedChange_ || UndoStore.StateId() != savedState_);
}

void TFormMain::SetModified(bool modified)
{
    unrecordedChange_ = modified;
    if (!modified)
        savedState_ = UndoStore.StateId();
}
