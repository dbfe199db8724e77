// Library browser: the library page (grouped tree, search, node files) and the "Библиотека" menu.
#include "library/LasBrowser.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTreeWidget>

#include "core/StringUtils.h"
#include "library/CppSQLite3Buffer.h"
#include "library/DirTreeView.h"
#include "library/LibScanner.h"
#include "library/LibraryErrors.h"
#include "library/LogFileDBManager.h"
#include "platform/DialogRunner.h"
#include "platform/FileNames.h"

namespace {

// Every text placed into SQL is a quoted literal, apostrophes doubled.
std::string Quoted(const std::string& text)
{
    CppSQLite3Buffer buffer;
    return buffer.Format("%Q", text.c_str());
}

int Level(const QTreeWidgetItem* node)
{
    int level = 0;
    for (const QTreeWidgetItem* up = node ? node->parent() : nullptr; up; up = up->parent())
        ++level;
    return level;
}

std::string NodeText(const QTreeWidgetItem* node)
{
    return node->text(0).toStdString();
}

// A child with an empty text: its parent shows an expand button before its children are read.
void AddPlaceholder(QTreeWidgetItem* node)
{
    new QTreeWidgetItem(node);
}

} // namespace

QIcon TFormLasBrowser::LibraryNodeIcon(bool expanded)
{
    return QApplication::style()->standardIcon(expanded ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
}

void TFormLasBrowser::ComboLibGroupByChange()
{
    const std::string caption = ComboLibGroupBy->currentData().toString().toStdString();
    if (caption.empty())
        return;
    GroupByColumns.clear();
    for (size_t open = caption.find('<'); open != std::string::npos; open = caption.find('<', open + 1)) {
        const size_t close = caption.find('>', open + 1);
        if (close == std::string::npos)
            break;
        if (close > open + 1)
            GroupByColumns.push_back(caption.substr(open + 1, close - open - 1));
        open = close;
    }
    RefreshLibraryTree();
}

std::string TFormLasBrowser::BuildSearchCondition(const std::string& text) const
{
    std::vector<std::string> pieces;
    for (const std::string& column : GroupByColumns)
        pieces.push_back(column + " LIKE " + Quoted("%" + text + "%") + " ");
    return JoinStrings(pieces, " OR ");
}

std::string TFormLasBrowser::LibrarySearchCondition() const
{
    return BuildSearchCondition(RemoveChars(EditLibSearch->text().toStdString(), " \t'"));
}

void TFormLasBrowser::AddLibraryLevel(QTreeWidgetItem* parent, const std::string& column,
                                      const std::string& condition)
{
    std::vector<std::string> values;
    try {
        values = DBManager ? DBManager->SelectDistinctValues(column, GroupByColumns, condition)
                           : std::vector<std::string>();
    } catch (const std::exception& error) {
        platform::MessageBox(this,
                             QStringLiteral("Во время запроса к базе произошла ошибка:\n") +
                                 QString::fromUtf8(error.what()),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONINFORMATION);
        return;
    }
    for (const std::string& value : values) {
        auto* node = new QTreeWidgetItem(parent, {QString::fromStdString(value)});
        node->setIcon(0, LibraryNodeIcon(false));
        AddPlaceholder(node);
    }
}

void TFormLasBrowser::ShowLibraryCompleteness()
{
    LabelLibIncomplete->setVisible(DBManager && !DBManager->GetUnfinishedScans().empty());
}

void TFormLasBrowser::RefreshLibraryTree()
{
    StoreLibrarySelection();
    {
        const QSignalBlocker quiet(TreeViewLib);
        TreeViewLib->clear();
        auto* root = new QTreeWidgetItem(TreeViewLib, {QStringLiteral("/")});
        root->setIcon(0, LibraryNodeIcon(true));
        if (!GroupByColumns.empty())
            AddLibraryLevel(root, GroupByColumns[0], LibrarySearchCondition());
        root->setExpanded(true);
    }
    RestoreLibrarySelection();
}

void TFormLasBrowser::TreeViewLibExpanding(QTreeWidgetItem* node)
{
    node->setIcon(0, LibraryNodeIcon(true));
    const int level = Level(node);
    if (level <= 0)
        return;
    // Filled once: later expansions keep what was read.
    if (node->childCount() != 1 || !node->child(0)->text(0).isEmpty())
        return;
    qDeleteAll(node->takeChildren());
    if (level >= static_cast<int>(GroupByColumns.size()))
        return;
    // Only the node's own column is constrained, not its ancestors'.
    std::string condition = GroupByColumns[static_cast<size_t>(level) - 1] + " = " + Quoted(NodeText(node));
    const std::string search = LibrarySearchCondition();
    if (!search.empty())
        condition += " AND (" + search + ")";
    AddLibraryLevel(node, GroupByColumns[static_cast<size_t>(level)], condition);
}

std::string TFormLasBrowser::BuildNodeCondition(const QTreeWidgetItem* node) const
{
    const int level = Level(node);
    if (level <= 0)
        return {};
    if (level > static_cast<int>(GroupByColumns.size()))
        return "logfiles.file ISNULL";
    std::string condition;
    for (int k = level; k >= 1 && node; --k, node = node->parent()) {
        if (!condition.empty())
            condition += " AND ";
        condition += GroupByColumns[static_cast<size_t>(k) - 1] + " = " + Quoted(NodeText(node));
    }
    return condition;
}

std::vector<std::string> TFormLasBrowser::GetNodeFiles(const std::string& condition)
{
    return DBManager ? DBManager->SelectDistinctValues("file", GroupByColumns, condition)
                     : std::vector<std::string>();
}

void TFormLasBrowser::TreeViewLibChange(QTreeWidgetItem* node)
{
    // The library lists files only while its page is shown.
    if (PageMode != 2)
        return;
    if (!node || Level(node) == 0) {
        ClearFileList();
        return;
    }
    try {
        FillLibraryFileList({}, {}, GetNodeFiles(BuildNodeCondition(node)));
    } catch (const std::exception& error) {
        ClearFileList();
        ShowLibraryError(this, QString::fromUtf8(error.what()));
    }
}

void TFormLasBrowser::StoreLibrarySelection()
{
    SelectedLibraryPath.clear();
    for (const QTreeWidgetItem* node = TreeViewLib->currentItem(); node && Level(node) >= 1; node = node->parent())
        SelectedLibraryPath.push_back(NodeText(node));
}

void TFormLasBrowser::RestoreLibrarySelection()
{
    QTreeWidgetItem* node = TreeViewLib->topLevelItem(0);
    if (!node)
        return;
    for (auto text = SelectedLibraryPath.rbegin(); text != SelectedLibraryPath.rend(); ++text) {
        node->setExpanded(true);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < node->childCount() && !next; ++i)
            if (NodeText(node->child(i)) == *text)
                next = node->child(i);
        if (!next)
            break;
        node = next;
    }
    node->setExpanded(true);
    {
        const QSignalBlocker quiet(TreeViewLib);
        TreeViewLib->setCurrentItem(node);
    }
    TreeViewLibChange(node);
}

void TFormLasBrowser::UpdateLibraryMenus()
{
    const std::vector<std::string> paths = DBManager ? DBManager->GetLookupPaths() : std::vector<std::string>();
    const std::vector<std::string> groups = DBManager ? DBManager->GetGroupNames() : std::vector<std::string>();
    const auto clear = [](QMenu* menu, QAction* keep) {
        const QList<QAction*> items = menu->actions();
        for (auto item = items.rbegin(); item != items.rend(); ++item)
            if (*item != keep) {
                menu->removeAction(*item);
                delete *item;
            }
    };
    clear(MMILibPathesToDelete, nullptr);
    clear(MMILibRemoveGroup, nullptr);
    clear(MMILibAddFilesToGroup, MMIAddFilesToGroupNew);
    clear(PMFAddToGroup, PMFAddToGroupNew);
    const auto add = [this](QMenu* menu, const QString& caption, const QString& name, auto handler) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(name);
        connect(item, &QAction::triggered, this, [this, item, handler] {
            RunLibraryAction(this, [&] { handler(item); });
        });
    };
    for (size_t i = 0; i < paths.size(); ++i)
        add(MMILibPathesToDelete, platform::ShownFileName(paths[i]),
            QStringLiteral("MILibRemovePathItem_%1").arg(i),
            [this, path = platform::FileNameFromBytes(paths[i])](QAction*) { MMILibRemovePathItemClick(path); });
    for (size_t i = 0; i < groups.size(); ++i) {
        const QString group = QString::fromStdString(groups[i]);
        add(MMILibRemoveGroup, group, QStringLiteral("MILibRemoveGroupItem_%1").arg(i),
            [this](QAction* item) { MMILibRemoveGroupItemClick(item->text()); });
        add(MMILibAddFilesToGroup, group, QStringLiteral("MILibAddToGroupItem_%1").arg(i),
            [this](QAction* item) { MMIAddFilesToGroupNewClick(item); });
        add(PMFAddToGroup, group, QStringLiteral("PMFAddToGroupItem_%1").arg(i),
            [this](QAction* item) { MMIAddFilesToGroupNewClick(item); });
    }
}

void TFormLasBrowser::ScanLibrary(const std::string& folderToAdd)
{
    TLibScanner scanner(DBManager, folderToAdd);
    scanner.RunWithProgress(QStringLiteral("Сканирование каталогов"));
    const QString scanned = QStringLiteral("\nПросканировано ") +
                            QString::fromStdString(LexicalCast(scanner.ScannedCount())) + QStringLiteral(" файлов");
    if (!scanner.Failure().empty())
        platform::MessageBox(this,
                             QStringLiteral("Сканирование каталогов прервано из-за ошибки:\n") +
                                 QString::fromStdString(scanner.Failure()) + scanned,
                             QStringLiteral("Библиотека"), platform::MB_OK | platform::MB_ICONERROR);
    else if (scanner.FolderWasListed())
        platform::MessageBox(this,
                             QStringLiteral("Каталог уже есть в библиотеке:\n") +
                                 platform::ShownFileName(folderToAdd) +
                                 QStringLiteral("\nОн просканирован заново.") + scanned,
                             QStringLiteral("Библиотека"), platform::MB_OK | platform::MB_ICONINFORMATION);
    else if (folderToAdd.empty() && !scanner.Stopped())
        platform::MessageBox(this, QStringLiteral("Сканирование каталогов закончено!") + scanned,
                             QStringLiteral("Библиотека"), platform::MB_OK | platform::MB_ICONINFORMATION);
    ShowLibraryCompleteness();
    RefreshLibraryTree();
}

void TFormLasBrowser::MMILibAddFolderClick()
{
    if (RefuseScanWithoutLibrary(this, DBManager, QStringLiteral("Библиотека")))
        return;
    if (const std::string folder = DirTreeView->GetNodeFolder(DirTreeView->currentItem()); !folder.empty())
        ScanLibrary(folder);
}

void TFormLasBrowser::MMILibSelectAndAddPathClick()
{
    if (RefuseScanWithoutLibrary(this, DBManager, QStringLiteral("Библиотека")))
        return;
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Добавление каталога в библиотеку");
    if (const std::string folder = platform::FileNameToBytes(platform::GetExistingDirectory(this, options));
        !folder.empty())
        ScanLibrary(folder);
}

void TFormLasBrowser::MMILibRescanClick()
{
    if (RefuseScanWithoutLibrary(this, DBManager, QStringLiteral("Библиотека")))
        return;
    ScanLibrary({});
}

void TFormLasBrowser::MMILibRemoveMissingFilesClick()
{
    const int removed = DBManager ? DBManager->RemoveMissingFiles() : 0;
    if (removed != 0)
        platform::MessageBox(this,
                             QStringLiteral("Удалено из базы ") + QString::number(removed) + QStringLiteral(" записей."),
                             QStringLiteral("Очистка базы"), platform::MB_OK | platform::MB_ICONINFORMATION);
}

void TFormLasBrowser::MMILibRemovePathItemClick(const QString& path)
{
    if (DBManager)
        DBManager->DeleteLookupPaths({platform::FileNameToBytes(path)});
    ShowLibraryCompleteness();
    UpdateLibraryMenus();
}

void TFormLasBrowser::MMILibRemoveGroupItemClick(const QString& group)
{
    if (DBManager)
        DBManager->DeleteGroups({group.toStdString()});
    UpdateLibraryMenus();
    RefreshLibraryTree();
}

void TFormLasBrowser::MMIAddFilesToGroupNewClick(QAction* item)
{
    const std::vector<std::string> files = GetSelectedFiles();
    if (files.empty()) {
        platform::MessageBox(this, QStringLiteral("Не выбраны файлы!"), QStringLiteral("Добавление в группу"),
                             platform::MB_OK | platform::MB_ICONWARNING);
        return;
    }
    std::string name;
    if (item == MMIAddFilesToGroupNew || item == PMFAddToGroupNew) {
        QString typed;
        platform::InputQuery(QStringLiteral("Добавление группы"), QStringLiteral("Введите название новой группы"),
                             typed);
        name = RemoveChars(typed.toStdString(), " \t\n\r'");
        if (name.empty())
            return;
    } else {
        name = item->text().toStdString();
    }
    if (DBManager)
        DBManager->AddFilesToGroup(files, name);
    if (item == MMIAddFilesToGroupNew)
        UpdateLibraryMenus();
    RefreshLibraryTree();
}
