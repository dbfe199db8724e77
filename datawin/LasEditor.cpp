// LAS editor window: the file panel, the pages and the questions before anything is dropped.
#include "datawin/LasEditor.h"

#include "core/Lasfile.h"
#include "datawin/CopyBuffer.h"
#include "datawin/FindInGrid.h"
#include "datawin/LasGridView.h"
#include "datawin/LasTableModel.h"
#include "datawin/SaveToLas.h"
#include "datawin/TextFind.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNameList.h"
#include "platform/FileNames.h"
#include "platform/FolderTree.h"
#include "platform/PaneWidth.h"
#include "ui_LasEditor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>

namespace {
const QString kSaveQuestion = QStringLiteral("Сохранить изменения в файле?");

bool Inside(const QWidget* widget, const QWidget* area)
{
    return widget && (widget == area || area->isAncestorOf(widget));
}

// The table is as tall as `rows` rows, its header and a scroll bar across.
void ShowCurveRows(QTableWidget& table, int rows)
{
    table.setFixedHeight(table.horizontalHeader()->sizeHint().height() +
                         rows * table.verticalHeader()->defaultSectionSize() +
                         table.horizontalScrollBar()->sizeHint().height() + 2 * table.frameWidth());
}
}  // namespace

TFormEditor::TFormEditor(TFormSaveToLas& saveDialog, QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::TFormEditor>()), saveDialog_(saveDialog)
{
    ui->setupUi(this);
    findWindow_ = new TFormFindInGrid(this);
    textFind_ = new TFormTextFind(this);
    model_ = new LasTableModel(this);
    ui->StringGrid->SetGridModel(model_);
    copyBuffer_ = std::make_unique<TCopyBuffer>(*model_);

    folders_ = platform::ShowFolderTree(*ui->DirectoryListBox, this);

    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    ui->Memo->setFont(font);
    ui->SplitterMain->setStretchFactor(1, 1);
    ui->SplitterMain->setSizes({220, 780});
    platform::KeepCurrentInView(*ui->DirectoryListBox);
    (new platform::PaneWidth(*ui->SplitterMain, *ui->SplitterFiles))->FollowView(*ui->DirectoryListBox);
    ui->SGCurves->setColumnWidth(0, 226);
    ui->SGCurves->setColumnWidth(1, 97);
    ui->SGCurves->setColumnWidth(2, 313);
    ShowCurveRows(*ui->SGCurves, 10);

    CreateMenus();
    ConnectControls();
    ClearGrids();
    UpdateTextButtons();
    SetFolder(QDir::homePath());
}

TFormEditor::~TFormEditor()
{
    disconnect(qApp, nullptr, this, nullptr);  // the children going away move the focus
    findWindow_->ForgetGrid(*model_);
    model_->SetDocument(nullptr);
}

void TFormEditor::ConnectControls()
{
    Ui::TFormEditor& f = *ui;
    connect(f.DirectoryListBox->selectionModel(), &QItemSelectionModel::currentChanged, this,
            platform::Guarded([this](const QModelIndex& current, const QModelIndex&) {
                SetFolder(folders_->filePath(current));
            }));
    connect(f.FileListBox, &QListWidget::currentRowChanged, this, platform::Guarded([this](int) { FileListBoxChange(); }));
    connect(f.TBSaveAs, &QToolButton::clicked, this, platform::Guarded([this] { TBSaveAsClick(); }));
    connect(f.PageControl, &QTabWidget::currentChanged, this, platform::Guarded([this](int page) { PageControlChange(page); }));
    connect(f.BitBtnApplyStep, &QPushButton::clicked, this, platform::Guarded([this] { ApplyStep(); }));
    connect(f.SGCurves, &QTableWidget::cellChanged, this,
            platform::Guarded([this](int row, int column) { SGCurvesChanged(row, column); }));
    f.StringGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(f.StringGrid, &QWidget::customContextMenuRequested, this, platform::Guarded([this](const QPoint& pos) {
        PMenuGridPopup(pos);
        PMenuGrid->popup(ui->StringGrid->viewport()->mapToGlobal(pos));
    }));
    // A text that is not a number is reported once the action that committed it is over.
    connect(f.StringGrid, &LasGridView::EditorClosed, this, platform::Guarded([this] { ShowInvalidCell(); }));
    connect(findWindow_, &TFormFindInGrid::CellsReplaced, this, platform::Guarded([this] { ShowInvalidCell(); }));
    // The grid is taken into the document when the focus leaves it for another control of the window.
    connect(qApp, &QApplication::focusChanged, this, platform::Guarded([this](QWidget* old, QWidget* now) {
        if (Inside(old, ui->StringGrid) && now && !Inside(now, ui->StringGrid) && now->window() == this)
            ApplyGridToDocument();
    }));

    connect(f.Memo, &QWidget::customContextMenuRequested, this, platform::Guarded([this](const QPoint& pos) {
        UpdateTextButtons();
        PMenuSimpleEdit->popup(ui->Memo->mapToGlobal(pos));
    }));
    connect(f.Memo, &QPlainTextEdit::selectionChanged, this, [this] { UpdateTextButtons(); });
    connect(f.Memo, &QPlainTextEdit::textChanged, this, [this] {
        if (textReady_)
            UpdateTextButtons();
    });
    connect(f.Memo, &QPlainTextEdit::undoAvailable, this, [this] { UpdateTextButtons(); });
    connect(textFind_, &TFormTextFind::Find, this, platform::Guarded([this] { TextFound(); }));
    connect(textFind_, &TFormTextFind::Replace, this, platform::Guarded([this] { TextReplace(false); }));
    connect(textFind_, &TFormTextFind::ReplaceAll, this, platform::Guarded([this] { TextReplace(true); }));
}

void TFormEditor::CreateMenus()
{
    auto add = [this](QMenu* menu, const QString& text, auto handler) {
        QAction* action = menu->addAction(text);
        connect(action, &QAction::triggered, this, platform::Guarded(handler));
        return action;
    };
    PMenuGrid = new QMenu(this);
    MICopy = add(PMenuGrid, QStringLiteral("Копировать"), [this] { copyBuffer_->Copy(ui->StringGrid->Selection()); });
    MIPaste = add(PMenuGrid, QStringLiteral("Вставить"), [this] {
        copyBuffer_->Paste(popupCol_, popupRow_);
        ShowInvalidCell();
    });
    MIClearBuffer = add(PMenuGrid, QStringLiteral("Очистить буфер обмена"), [this] { copyBuffer_->Clear(); });
    QMenu* calcs = PMenuGrid->addMenu(QStringLiteral("Вычисления"));
    MIAddToSel = add(calcs, QStringLiteral("Сдвинуть выделенное ..."), [this] { ShiftOrMultiplySelection(1); });
    MIMultToSel = add(calcs, QStringLiteral("Умножить выделенное..."), [this] { ShiftOrMultiplySelection(2); });
    QMenu* search = PMenuGrid->addMenu(QStringLiteral("Поиск и замена"));
    MISearch = add(search, QStringLiteral("Искать..."), [this] { OpenFindWindow(); });
    MIReplace = add(search, QStringLiteral("Заменить..."), [this] { OpenFindWindow(); });
    MISearch->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    MIReplace->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    for (QAction* action : {MISearch, MIReplace}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        ui->StringGrid->addAction(action);
    }
    MIColCaption = add(PMenuGrid, QStringLiteral("Название столбца..."), [this] { RenameColumn(); });
    MIAddColumn = add(PMenuGrid, QStringLiteral("Добавить столбец..."), [this] { AddColumn(); });
    MIDelColumn = add(PMenuGrid, QStringLiteral("Удалить столбец"), [this] { DeleteColumn(); });
    MISetNullCol = add(PMenuGrid, QStringLiteral("Обнулить столбец..."), [this] { SetColumnNull(); });

    PMenuSimpleEdit = new QMenu(this);
    QPlainTextEdit* memo = ui->Memo;
    MISFind = add(PMenuSimpleEdit, QStringLiteral("Найти"), [this] { textFind_->ShowFind(); });
    MISReplace = add(PMenuSimpleEdit, QStringLiteral("Заменить"), [this] { textFind_->ShowReplace(); });
    MISCopy = add(PMenuSimpleEdit, QStringLiteral("Копировать"), [memo] {
        if (memo->textCursor().hasSelection())
            memo->copy();
    });
    MISCut = add(PMenuSimpleEdit, QStringLiteral("Вырезать"), [memo] {
        if (memo->textCursor().hasSelection())
            memo->cut();
    });
    MISPaste = add(PMenuSimpleEdit, QStringLiteral("Вставить"), [memo] {
        if (memo->canPaste())
            memo->paste();
    });
    MISUndo = add(PMenuSimpleEdit, QStringLiteral("Отменить"), [memo] {
        if (memo->document()->isUndoAvailable())
            memo->undo();
    });
    const std::pair<QToolButton*, QAction*> buttons[] = {{ui->TBFind, MISFind}, {ui->TBReplace, MISReplace},
                                                         {ui->TBCopy, MISCopy}, {ui->TBCut, MISCut},
                                                         {ui->TBPaste, MISPaste}, {ui->TBUndo, MISUndo}};
    for (const auto& [button, action] : buttons)
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
}

void TFormEditor::SetFolder(const QString& folder)
{
    const QString path = platform::AbsoluteFileName(folder);
    if (path == folder_)
        return;
    folder_ = path;
    const QModelIndex index = folders_->index(path);
    if (index.isValid() && ui->DirectoryListBox->currentIndex() != index) {
        QSignalBlocker block(ui->DirectoryListBox->selectionModel());
        ui->DirectoryListBox->setCurrentIndex(index);
        ui->DirectoryListBox->scrollTo(index);
    }
    fileIndex_ = previousFileIndex_ = -1;
    RefreshFileList();
}

void TFormEditor::RefreshFileList()
{
    const QString current =
        ui->FileListBox->currentItem() ? platform::FileNameOfItem(*ui->FileListBox->currentItem()) : QString();
    QSignalBlocker block(ui->FileListBox);
    platform::FillFileNameList(*ui->FileListBox, folder_, "*.las");
    const int row = platform::RowOfFileName(*ui->FileListBox, current);
    if (fileIndex_ >= 0)
        fileIndex_ = row;
    ui->FileListBox->setCurrentRow(row);
}

void TFormEditor::SelectFileRow(int row)
{
    restoringFile_ = true;
    ui->FileListBox->setCurrentRow(row);
    restoringFile_ = false;
}

void TFormEditor::FileListBoxChange()
{
    if (restoringFile_)
        return;
    const int row = ui->FileListBox->currentRow();
    if (row == fileIndex_ && row >= 0)
        return;
    const QString path =
        row >= 0 ? platform::FileInFolder(folder_, platform::FileNameOfItem(*ui->FileListBox->item(row))) : QString();
    if (path.isEmpty() || platform::KindOfPath(path) == platform::PathKind::Missing) {
        previousFileIndex_ = fileIndex_;
        fileIndex_ = row;
        return;
    }
    // What the page holds is not replaced before the user has been asked.
    bool keep = false;
    if (ui->PageControl->currentIndex() == 0) {
        keep = IsTableModified() && !AskSaveTable();
    } else if (IsTextModified()) {
        bool written = false;
        const int answer = AskSaveText(&written);
        keep = answer == platform::IDCANCEL || (answer == platform::IDYES && !written);
    }
    if (keep) {
        SelectFileRow(fileIndex_);
        return;
    }
    previousFileIndex_ = fileIndex_;
    fileIndex_ = row;
    if (ui->PageControl->currentIndex() == 0)
        OpenFile(path);
    else
        LoadText(path);
}

bool TFormEditor::SaveDocument()
{
    if (!document_)
        return false;
    ApplyGridToDocument();
    const bool written = saveDialog_.Execute(document_.get(), &loadedFrom_);
    if (written)
        tableChanged_ = false;
    if (written && saveDialog_.SavedWhole() && platform::SameFile(saveDialog_.SavedPath(), loadedFrom_.path))
        loadedFrom_ = DescribeLoadedFile(*document_);
    RefreshFileList();
    return written;
}

bool TFormEditor::AskSaveTable()
{
    ApplyGridToDocument();
    const int answer = platform::MessageBox(this, kSaveQuestion, QStringLiteral("Сохранение файла"),
                                            platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION);
    if (answer == platform::IDCANCEL)
        return false;
    return answer == platform::IDNO || SaveDocument();
}

void TFormEditor::TBSaveAsClick()
{
    if (ui->PageControl->currentIndex() == 0)
        SaveDocument();
    else
        WriteText();
}

void TFormEditor::PageControlChange(int page)
{
    if (restoringPage_ || page == shownPage_)
        return;
    bool stay = false;
    if (shownPage_ == 0) {
        if (document_) {
            ApplyGridToDocument();
            const int answer = platform::MessageBox(this, kSaveQuestion, QStringLiteral("Сохранение файла"),
                                                    platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION);
            stay = answer == platform::IDCANCEL || (answer == platform::IDYES && !SaveDocument());
            if (!stay)
                DeleteDocument();
        }
    } else if (IsTextModified()) {
        bool written = false;
        const int answer = AskSaveText(&written);
        stay = answer == platform::IDCANCEL || (answer == platform::IDYES && !written);
    }
    if (stay) {
        restoringPage_ = true;
        ui->PageControl->setCurrentIndex(shownPage_);
        restoringPage_ = false;
        return;
    }
    if (shownPage_ == 1)
        EmptyText();
    shownPage_ = page;
}

void TFormEditor::DeleteDocument()
{
    findWindow_->ForgetGrid(*model_);
    model_->SetDocument(nullptr);
    document_.reset();
    tableChanged_ = false;
    ClearGrids();
}

bool TFormEditor::IsTableModified() const
{
    return document_ && (tableChanged_ || model_->HasPendingEdits());
}

bool TFormEditor::IsTextModified() const
{
    return ui->Memo->document()->isModified() && !ui->Memo->document()->isEmpty();
}

bool TFormEditor::QueryClose()
{
    if (IsTableModified() && !AskSaveTable())
        return false;
    if (IsTextModified()) {
        bool written = false;
        const int answer = AskSaveText(&written);
        if (answer == platform::IDCANCEL || (answer == platform::IDYES && !written))
            return false;
    }
    return true;
}

void TFormEditor::closeEvent(QCloseEvent* event)
{
    // The table page keeps its document for the next showing; the text page asks.
    bool close = true;
    platform::Guarded(this, [&] {
        if (ui->PageControl->currentIndex() != 1 || !ui->Memo->document()->isModified())
            return;
        bool written = false;
        const int answer = AskSaveText(&written);
        close = answer == platform::IDNO || (answer == platform::IDYES && written);
        if (close)
            EmptyText();
    });
    if (close)
        findWindow_->Button2Click();
    event->setAccepted(close);
}
