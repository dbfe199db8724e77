// Detail columns of the file dialog sized to their texts rather than to Qt's English samples.
#include "platform/FileListingFit.h"

#include "platform/WindowFit.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

namespace platform {

namespace {

// Fits every column to its texts; returns the width they take together.
int FitColumns(QTreeView& view)
{
    const QAbstractItemView& items = view;  // QTreeView hides the hint it overrides
    QHeaderView& header = *view.header();
    int width = 0;
    for (int column = 0; column < header.count(); ++column) {
        if (header.isSectionHidden(column))
            continue;
        view.resizeColumnToContents(column);
        width += std::max(items.sizeHintForColumn(column), header.sectionSizeHint(column));
    }
    return width;
}

}  // namespace

void FitFileListing(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* files = dialog.findChild<QFileSystemModel*>();
    if (!view || !files)
        return;
    // The rows reach the view after the listing is read: fit once they are in. The dialog widens
    // for the first folder shown only, so that a width the user chose stays.
    QObject::connect(files, &QFileSystemModel::directoryLoaded, &dialog,
                     [&dialog, view, widen = true](const QString& path) mutable {
                         if (QDir(path) != dialog.directory())
                             return;
                         QTimer::singleShot(0, &dialog, [&dialog, view, first = std::exchange(widen, false)] {
                             const int missing = FitColumns(*view) + view->verticalScrollBar()->sizeHint().width() -
                                                 view->viewport()->width();
                             if (!first || missing <= 0)
                                 return;
                             dialog.resize(dialog.width() + missing, dialog.height());
                             FitIntoAvailableArea(dialog, dialog.isVisible());
                         });
                     });
}

}  // namespace platform
