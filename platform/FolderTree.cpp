#include "platform/FolderTree.h"

#include <QFileSystemModel>
#include <QMimeDatabase>
#include <QTreeView>

namespace platform {

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const
{
    return icon(info.isDir() ? Folder : File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const
{
    if (info.isDir())
        return QFileIconProvider::type(info);
    return QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension).comment();
}

NameOnlyIconProvider& FileIcons()
{
    static NameOnlyIconProvider icons;
    return icons;
}

QFileSystemModel* ShowFolderTree(QTreeView& view, QObject* owner)
{
    auto* folders = new QFileSystemModel(owner);
    folders->setIconProvider(&FileIcons());
    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders->setRootPath(QDir::rootPath());
    view.setModel(folders);
    for (int column = 1; column < folders->columnCount(); ++column)
        view.hideColumn(column);
    return folders;
}

}  // namespace platform
