// Files handed between windows and other programs by drag and drop or the clipboard: the
// data built for a drag out, the local files of a drop, and the effect a drop offers.
#pragma once

#include <QStringList>
#include <Qt>

class QMimeData;

// A new mime object holding the files as URLs (text/uri-list); the caller owns it.
QMimeData* MakeFileDragData(const QStringList& paths);
// The local files of the data (other URLs, such as web links, are left out).
QStringList DroppedLocalFiles(const QMimeData* data);
// Move; copy with Ctrl; nothing with Ctrl and Shift, for data without local files, or for an
// effect the source does not allow.
Qt::DropAction ChooseDropEffect(const QMimeData* data, Qt::KeyboardModifiers keys,
                                Qt::DropActions allowed);
