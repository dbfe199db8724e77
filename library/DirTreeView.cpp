// Folder tree: lazy filling, folder lookup by path, drops with their menu and file operations.
#include "library/DirTreeView.h"

#include <QDragEnterEvent>
#include <QFileIconProvider>
#include <QMenu>
#include <QMimeData>
#include <algorithm>
#include <filesystem>

#include "core/FileUtils.h"
#include "core/StringUtils.h"
#include "library/FileDragData.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPathRole = Qt::UserRole;

std::string NodePath(const QTreeWidgetItem* node)
{
    return node ? platform::FileNameToBytes(node->data(0, kPathRole).toString()) : std::string();
}

// A child without a path: it only gives its parent an expand button until the parent is filled.
bool IsPlaceholder(const QTreeWidgetItem* node)
{
    return !node->data(0, kPathRole).isValid();
}

std::vector<std::string> SubFolders(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        std::error_code statError;
        if (it->is_directory(statError))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
    return names;
}

} // namespace

TDirTreeView::TDirTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemExpanded, this,
            platform::Guarded([this](QTreeWidgetItem* node) { NodeExpanding(node); }));
    DropMenu = new QMenu(this);
    PMICopy = DropMenu->addAction(QStringLiteral("Копировать сюда"));
    PMIMove = DropMenu->addAction(QStringLiteral("Переместить сюда"));
    DropMenu->addSeparator()->setObjectName(QStringLiteral("PMISEP"));
    PMICancel = DropMenu->addAction(QStringLiteral("Отмена"));
    PMICopy->setObjectName(QStringLiteral("PMICopy"));
    PMIMove->setObjectName(QStringLiteral("PMIMove"));
    PMICancel->setObjectName(QStringLiteral("PMICancel"));
    menuRunner_ = [](QMenu& menu, const QPoint& pos) { return menu.exec(pos); };
}

QTreeWidgetItem* TDirTreeView::AddFolderNode(QTreeWidgetItem* parent, const QString& name,
                                             const std::string& path)
{
    static const QFileIconProvider icons;
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    node->setText(0, name);
    node->setIcon(0, icons.icon(QFileIconProvider::Folder));
    node->setData(0, kPathRole, platform::FileNameFromBytes(path));
    new QTreeWidgetItem(node);  // placeholder
    return node;
}

void TDirTreeView::ReadInitial()
{
    highlight_ = dropNode_ = nullptr;
    clear();
    QTreeWidgetItem* root = AddFolderNode(nullptr, QStringLiteral("/"), "/");
    root->setExpanded(true);
}

void TDirTreeView::UpdateNodeFolders(QTreeWidgetItem* node)
{
    if (!node)
        return;
    highlight_ = dropNode_ = nullptr;
    qDeleteAll(node->takeChildren());
    std::string folder = NodePath(node);
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    for (const std::string& name : SubFolders(folder))
        AddFolderNode(node, platform::ShownFileName(name), folder + name);
}

void TDirTreeView::NodeExpanding(QTreeWidgetItem* node)
{
    if (node->childCount() != 1 || !IsPlaceholder(node->child(0)))
        return;
    UpdateNodeFolders(node);
    if (node->childCount() == 0)
        node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void TDirTreeView::SetFolder(const std::string& path)
{
    std::error_code error;
    if (path.empty() || !fs::is_directory(path, error) || topLevelItemCount() == 0)
        return;
    const fs::path target = fs::absolute(path, error).lexically_normal();
    QTreeWidgetItem* node = topLevelItem(0);
    for (const fs::path& part : target.relative_path()) {
        if (part.empty())
            continue;
        node->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < node->childCount() && !next; ++i)
            if (fs::path(NodePath(node->child(i))).filename() == part)
                next = node->child(i);
        if (!next)
            break;
        node = next;
    }
    setCurrentItem(node);
    scrollToItem(node);
}

std::string TDirTreeView::GetNodeFolder(const QTreeWidgetItem* node) const
{
    std::string folder = NodePath(node);
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

std::string TDirTreeView::GetCurrentFolder() const
{
    return GetNodeFolder(currentItem());
}

QTreeWidgetItem* TDirTreeView::LevelUp()
{
    QTreeWidgetItem* node = currentItem();
    if (node && node->parent())
        setCurrentItem(node->parent());
    return currentItem();
}

void TDirTreeView::SetAcceptDropFiles(bool accept)
{
    acceptDropFiles_ = accept;
    setAcceptDrops(accept);
    viewport()->setAcceptDrops(accept);
    SetHighlight(nullptr);
}

void TDirTreeView::SetHighlight(QTreeWidgetItem* node)
{
    if (node == highlight_)
        return;
    if (highlight_) {
        highlight_->setData(0, Qt::BackgroundRole, QVariant());
        highlight_->setData(0, Qt::ForegroundRole, QVariant());
    }
    highlight_ = node;
    if (highlight_) {
        highlight_->setBackground(0, QColor(0, 0, 255));
        highlight_->setForeground(0, QColor(255, 255, 255));
    }
}

void TDirTreeView::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void TDirTreeView::dragMoveEvent(QDragMoveEvent* event)
{
    const Qt::DropAction effect =
        ChooseDropEffect(event->mimeData(), event->modifiers(), event->possibleActions());
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    if (!acceptDropFiles_ || effect == Qt::IgnoreAction || !node) {
        SetHighlight(nullptr);
        event->ignore();
        return;
    }
    SetHighlight(node);
    event->setDropAction(effect);
    event->accept();
}

void TDirTreeView::dragLeaveEvent(QDragLeaveEvent* event)
{
    SetHighlight(nullptr);
    event->accept();
}

void TDirTreeView::dropEvent(QDropEvent* event)
{
    const Qt::DropAction effect =
        ChooseDropEffect(event->mimeData(), event->modifiers(), event->possibleActions());
    QTreeWidgetItem* node = highlight_;
    SetHighlight(nullptr);
    if (!acceptDropFiles_ || effect == Qt::IgnoreAction || !node) {
        event->ignore();
        return;
    }
    // The files are copied or moved here, not by the source.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    const QStringList files = DroppedLocalFiles(event->mimeData());
    const QPoint pos = viewport()->mapToGlobal(event->position().toPoint());
    platform::Guarded(this, [&] { DropFiles(node, files, pos); });
}

void TDirTreeView::DropFiles(QTreeWidgetItem* node, const QStringList& files, const QPoint& globalPos)
{
    if (!node || files.isEmpty())
        return;
    droppedFiles_ = files;
    dropNode_ = node;
    if (OnDropFiles) {
        OnDropFiles(*this, node, droppedFiles_);
        return;
    }
    QAction* chosen = menuRunner_(*DropMenu, globalPos);
    if (chosen == PMICopy)
        OnClickCopyFile();
    else if (chosen == PMIMove)
        OnClickMoveFile();
}

void TDirTreeView::OnClickCopyFile()
{
    bool allow = true;
    if (OnDropCopy)
        OnDropCopy(*this, dropNode_, allow, droppedFiles_);
    if (allow)
        defCopyFiles(false);
}

void TDirTreeView::OnClickMoveFile()
{
    bool allow = true;
    if (OnDropMove)
        OnDropMove(*this, dropNode_, allow, droppedFiles_);
    if (allow)
        defCopyFiles(true);
}

void TDirTreeView::defCopyFiles(bool move)
{
    const std::string folder = GetNodeFolder(dropNode_);
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error))
        return;
    QStringList failed;
    for (const QString& file : droppedFiles_) {
        const std::string source = platform::FileNameToBytes(file);
        const std::string target = folder + fs::path(source).filename().string();
        const bool done = move ? MoveFileNoReplace(source, target) : CopyFileNoReplace(source, target);
        if (!done)
            failed.append(platform::ShownFileName(file));
    }
    if (!failed.isEmpty())
        platform::MessageBox(this,
                             QStringLiteral("Не удалось скопировать или переместить файлы:\n") + failed.join('\n'),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONWARNING);
}
