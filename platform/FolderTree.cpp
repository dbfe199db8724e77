#include "platform/FolderTree.h"

#include <QFileSystemModel>
#include <QTreeView>

namespace platform {

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const
{
    return icon(info.isDir() ? Folder : File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const
{
    // The system's type descriptions come in the system locale's language; the program speaks Russian.
    if (info.isDir())
        return QStringLiteral("Папка");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("Файл") : QStringLiteral("Файл ") + suffix.toUpper();
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
