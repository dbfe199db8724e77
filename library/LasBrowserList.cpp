// Library browser: the file list (listing, order, monitored refresh), the hand-back of a file,
// the header panel, header editing, deletion, drag out and the clipboard.
#include "library/LasBrowser.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>

#include "core/FileUtils.h"
#include "core/LasParser2.h"
#include "core/StringUtils.h"
#include "library/DirTreeView.h"
#include "library/DlgLogFileHeaderEditor.h"
#include "library/FileDragData.h"
#include "library/LASFileHeader.h"
#include "library/LibraryErrors.h"
#include "library/LogFileDBManager.h"
#include "platform/FileNames.h"

namespace fs = std::filesystem;

namespace {

// A row of the file list: a folder row has no header; a file row owns the header read from it.
class BrowserRow : public QTreeWidgetItem {
public:
    BrowserRow(const TFormLasBrowser& browser, const QString& caption, std::string path = {},
               std::unique_ptr<TLasParser2Header> header = nullptr)
        : browser_(browser), Path(std::move(path)), Header(std::move(header))
    {
        setText(0, caption);
    }
    bool operator<(const QTreeWidgetItem& other) const override
    {
        return browser_.ListViewCompare(this, &other) < 0;
    }

    const TFormLasBrowser& browser_;
    std::string Path;  // of a file row
    std::unique_ptr<TLasParser2Header> Header;
};

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// Folder entries of the folder: sub-folders and LAS files, each in name order.
void ListFolder(const std::string& folder, std::vector<std::string>& folders, std::vector<std::string>& files)
{
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        std::error_code statError;
        const std::string name = it->path().filename().string();
        if (it->is_directory(statError))
            folders.push_back(name);
        else if (MatchesFileMask(name, "*.las"))
            files.push_back(name);
    }
    const auto byName = [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

const TLasParser2Header* TFormLasBrowser::RowHeader(const QTreeWidgetItem* row)
{
    const auto* browserRow = dynamic_cast<const BrowserRow*>(row);
    return browserRow ? browserRow->Header.get() : nullptr;
}

std::string TFormLasBrowser::RowPath(const QTreeWidgetItem* row)
{
    const auto* browserRow = dynamic_cast<const BrowserRow*>(row);
    return browserRow && browserRow->Header ? browserRow->Path : std::string();
}

void TFormLasBrowser::ForgetHeaders()
{
    InfoTree.SetHeader(nullptr);
    infoHeader_ = nullptr;
    MemoInfo->clear();
}

void TFormLasBrowser::ClearFileList()
{
    ForgetHeaders();
    ListView->clear();
}

int TFormLasBrowser::FillFileList(std::string folder)
{
    ClearFileList();
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error))
        return 0;
    folder = WithSlash(folder);
    std::vector<std::string> folders;
    std::vector<std::string> files;
    ListFolder(folder, folders, files);
    if (folder != "/")
        folders.insert(folders.begin(), "..");
    return FillLibraryFileList(folder, folders, files);
}

int TFormLasBrowser::FillLibraryFileList(const std::string& base, const std::vector<std::string>& folders,
                                         const std::vector<std::string>& files)
{
    ClearFileList();
    static const QFileIconProvider icons;
    QList<QTreeWidgetItem*> rows;
    for (const std::string& name : folders) {
        if (name == ".")
            continue;
        auto* row = new BrowserRow(*this, platform::ShownFileName(name));
        if (name != "..")
            row->setIcon(0, icons.icon(QFileInfo(Text(base + name))));
        rows.append(row);
    }
    QIcon lasIcon;
    for (const std::string& name : files) {
        const std::string path = base.empty() ? name : base + name;
        auto header = std::make_unique<TLasParser2Header>();
        if (!header->ParseFile(path))
            continue;
        if (lasIcon.isNull())
            lasIcon = icons.icon(QFileInfo(Text(path)));
        const QString caption = platform::ShownFileName(ExtractNamePart(path));
        auto* row = new BrowserRow(*this, caption, path, std::move(header));
        row->setIcon(0, lasIcon);
        for (int k = 0; k < ColumnSet.Items.Count(); ++k) {
            std::string value;
            ColumnSet.FindValue(k, *RowHeader(row), value);
            row->setText(k + 1, Text(value));
        }
        rows.append(row);
    }
    ListView->setUpdatesEnabled(false);
    ListView->addTopLevelItems(rows);
    FitColumns();
    if (SortDirection != 0)
        ListView->sortItems(0, Qt::AscendingOrder);
    ListView->setUpdatesEnabled(true);
    return ListView->topLevelItemCount();
}

std::vector<std::string> TFormLasBrowser::GetSelectedFiles() const
{
    std::vector<std::string> files;
    for (int i = 0; i < ListView->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = ListView->topLevelItem(i);
        if (row->isSelected() && RowHeader(row))
            files.push_back(RowPath(row));
    }
    return files;
}

void TFormLasBrowser::ShowFolder(std::string folder)
{
    if (folder.empty())
        folder = DirTreeView->GetCurrentFolder();
    if (PageMode != 2)
        FillFileList(folder);
    WatchFolder(folder);
    setWindowTitle(QStringLiteral("Обзор файлов Las - ") + platform::ShownFileName(folder));
}

void TFormLasBrowser::WatchFolder(const std::string& folder)
{
    if (!RxFolderMonitor->directories().isEmpty())
        RxFolderMonitor->removePaths(RxFolderMonitor->directories());
    monitorFolder_.clear();
    std::error_code error;
    if (!folder.empty() && fs::is_directory(folder, error) && RxFolderMonitor->addPath(Text(folder)))
        monitorFolder_ = folder;
}

void TFormLasBrowser::RxFolderMonitorChange()
{
    // The library page's listing is not the monitored folder's.
    if (monitorFolder_.empty() || PageMode == 2)
        return;
    RememberSelection();
    FillFileList(monitorFolder_);
    RestoreSelection();
}

QTreeWidgetItem* TFormLasBrowser::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = ListView->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    QTreeWidgetItem* current = ListView->currentItem();
    return current && current->isSelected() ? current : selected.first();
}

void TFormLasBrowser::RememberSelection()
{
    const QTreeWidgetItem* row = SelectedRow();
    SelectedCaption = row ? AnsiUpperCase(row->text(0).toStdString()) : std::string();
}

void TFormLasBrowser::RestoreSelection()
{
    ListView->clearSelection();
    if (SelectedCaption.empty())
        return;
    for (int i = 0; i < ListView->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = ListView->topLevelItem(i);
        if (AnsiUpperCase(row->text(0).toStdString()) == SelectedCaption) {
            ListView->setCurrentItem(row);
            return;
        }
    }
}

void TFormLasBrowser::ListViewColumnClick(int column)
{
    if (column != SortColumn) {
        SortColumn = column;
        SortDirection = 1;
    } else {
        SortDirection = SortDirection != 0 ? -SortDirection : 1;
    }
    ListView->sortItems(0, Qt::AscendingOrder);
}

int TFormLasBrowser::ListViewCompare(const QTreeWidgetItem* row1, const QTreeWidgetItem* row2) const
{
    if (row1->text(0) == QStringLiteral(".."))
        return -1;
    if (row2->text(0) == QStringLiteral(".."))
        return 1;
    const bool file1 = RowHeader(row1) != nullptr;
    const bool file2 = RowHeader(row2) != nullptr;
    if (!file1 || !file2) {
        if (file2)
            return -1;
        if (file1)
            return 1;
        return Sign(AnsiUpperCase(row1->text(0).toStdString()).compare(AnsiUpperCase(row2->text(0).toStdString())));
    }
    if (SortDirection == 0 || SortColumn < 0)
        return 0;
    if (SortColumn > 0 && (row1->columnCount() <= SortColumn || row2->columnCount() <= SortColumn))
        return 0;
    const std::string key1 = AnsiUpperCase(row1->text(SortColumn).toStdString());
    const std::string key2 = AnsiUpperCase(row2->text(SortColumn).toStdString());
    return Sign(key1.compare(key2)) * (SortDirection > 0 ? 1 : -1);
}

void TFormLasBrowser::HandBack(const std::string& file, bool add)
{
    const QString path = platform::FileNameFromBytes(file);
    showMinimized();
    if (MainWindowHandle) {
        if (MainWindowHandle->isMinimized())
            MainWindowHandle->showNormal();
        MainWindowHandle->raise();
        MainWindowHandle->activateWindow();
    }
    if (!add)
        OnOpenFile(path);
    else if (OnAddCurves)
        OnAddCurves(path);
}

void TFormLasBrowser::OpenSelected(bool add)
{
    if (PageMode == 2) {
        OpenSelectedLibraryFile(add);
        return;
    }
    QTreeWidgetItem* row = SelectedRow();
    if (ListView->topLevelItemCount() == 0 || !row || !OnOpenFile)
        return;
    if (RowHeader(row)) {
        HandBack(RowPath(row), add);
        return;
    }
    if (row->text(0) == QStringLiteral(".."))
        DirTreeView->LevelUp();
    else
        DirTreeView->SetFolder(DirTreeView->GetCurrentFolder() + row->text(0).toStdString());
    ListView->setFocus();
    if (ListView->topLevelItemCount() > 0)
        ListView->setCurrentItem(ListView->topLevelItem(0));
}

void TFormLasBrowser::OpenSelectedLibraryFile(bool add)
{
    QTreeWidgetItem* row = SelectedRow();
    if (ListView->topLevelItemCount() == 0 || !row || !OnOpenFile || !RowHeader(row))
        return;
    HandBack(RowPath(row), add);
}

void TFormLasBrowser::ListViewChange()
{
    if (ListView->topLevelItemCount() == 0) {
        ForgetHeaders();
        return;
    }
    const QTreeWidgetItem* row = SelectedRow();
    const TLasParser2Header* header = RowHeader(row);
    if (!header || header == infoHeader_)
        return;
    infoHeader_ = header;
    MemoInfo->clear();
    InfoTree.SetHeader(header);
    InfoTree.SetMode(InfoTree.GetMode());
}

void TFormLasBrowser::TVLasInfoChange(QTreeWidgetItem* node)
{
    const TLasParsParsedString* line = TLasTreeViewManage::NodeLine(node);
    int level = 0;
    for (const QTreeWidgetItem* up = node ? node->parent() : nullptr; up; up = up->parent())
        ++level;
    if (line && level == 1)
        return;
    MemoInfo->clear();
    if (!line || level != 2 || !infoHeader_)
        return;
    if (line->GetKind() == kLineComment) {
        MemoInfo->setPlainText(QStringLiteral("Комментарий"));
        return;
    }
    const auto decoded = [this](const char* text) { return Text(infoHeader_->Decode(text)); };
    MemoInfo->appendPlainText(QStringLiteral("Unit = ") + decoded(line->Unit()));
    MemoInfo->appendPlainText(QStringLiteral("-------"));
    MemoInfo->appendPlainText(QStringLiteral("Значение = ") + decoded(line->Value()));
    MemoInfo->appendPlainText(QStringLiteral("Комментарий = ") + decoded(line->Description()));
}

void TFormLasBrowser::MMIFileEditHeaderClick()
{
    const std::string path = RowPath(SelectedRow());
    if (path.empty())
        return;
    LASFileHeader header;
    if (header.Read(path) != 0 || !services_.HeaderEditor || !services_.HeaderEditor->Execute(&header, DBManager))
        return;
    const int result = header.Write(path);
    if (result == LASFileHeader::WriteFailed || result == LASFileHeader::OpenFailed) {
        platform::MessageBox(this, QStringLiteral("Не удалось записать заголовок файла\n") + platform::ShownFileName(path),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    if (result == 0 && DBManager) {
        DBManager->AddFile(path);
        RefreshLibraryTree();
    }
}

void TFormLasBrowser::PMFDeleteClick()
{
    QTreeWidgetItem* row = SelectedRow();
    const std::string path = RowPath(row);
    if (path.empty())
        return;
    std::error_code error;
    const std::string open = OpenDocumentPath ? OpenDocumentPath() : std::string();
    const bool isOpen = !open.empty() && fs::equivalent(path, open, error);
    if (platform::MessageBox(this,
                             QStringLiteral("Вы действительно хотите удалить файл\n'") + platform::ShownFileName(path) + "'?" +
                                 (isOpen ? QStringLiteral("\nЭто документ, открытый в главном окне: он останется открытым, "
                                                          "а файл будет удалён с диска.")
                                         : QString()),
                             QStringLiteral("Удаление файла"),
                             platform::MB_YESNO | platform::MB_ICONWARNING) != platform::IDYES)
        return;
    fs::remove(path, error);
    if (fs::exists(path, error))
        return;
    ForgetHeaders();
    delete row;
}

void TFormLasBrowser::StartFileDrag(int index)
{
    const std::string path = RowPath(ListView->topLevelItem(index));
    if (path.empty())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(MakeFileDragData({platform::FileNameFromBytes(path)}));
    drag->exec(Qt::CopyAction | Qt::MoveAction);
}

void TFormLasBrowser::MMIEditCopyClick()
{
    const std::string path = RowPath(SelectedRow());
    if (!path.empty())
        QApplication::clipboard()->setMimeData(MakeFileDragData({platform::FileNameFromBytes(path)}));
}

bool TFormLasBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListView && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RunLibraryAction(this, [this] { OpenSelected(false); });
            return true;
        }
        if (key == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    if (watched == ListView->viewport()) {
        if (event->type() == QEvent::Resize) {
            ShareColumns();
        } else if (event->type() == QEvent::MouseButtonPress) {
            dragStart_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        } else if (event->type() == QEvent::MouseMove) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const Qt::MouseButtons held = mouse->buttons() & (Qt::LeftButton | Qt::RightButton);
            const bool oneButton = held == Qt::LeftButton || held == Qt::RightButton;
            if (oneButton && SelectedRow() &&
                (mouse->position().toPoint() - dragStart_).manhattanLength() >= QApplication::startDragDistance()) {
                RunLibraryAction(this, [this] { StartFileDrag(ListView->indexOfTopLevelItem(SelectedRow())); });
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
