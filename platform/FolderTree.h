// Folder trees over the file system that never open a file to draw it: a device or a pipe may
// never answer a read, and the window would wait for it for good.
#pragma once

#include <QFileIconProvider>

class QFileSystemModel;
class QObject;
class QTreeView;

namespace platform {

// Icons and type names from the kind of an entry and its name alone.
class NameOnlyIconProvider final : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

// The one provider every file-system view of the program uses.
NameOnlyIconProvider& FileIcons();

// Puts the folders of the whole disk, from "/", into the view (one column); returns the model,
// owned by `owner`.
QFileSystemModel* ShowFolderTree(QTreeView& view, QObject* owner);

}  // namespace platform
