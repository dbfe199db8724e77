// Drag data of files and the effect rule of drops.
#include "library/FileDragData.h"

#include "platform/FileNames.h"

#include <QMimeData>
#include <QUrl>

QMimeData* MakeFileDragData(const QStringList& paths)
{
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(platform::UrlOfLocalFile(path));
    data->setUrls(urls);
    return data;
}

QStringList DroppedLocalFiles(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    QStringList files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files.append(platform::LocalFileOfUrl(url));
    return files;
}

Qt::DropAction ChooseDropEffect(const QMimeData* data, Qt::KeyboardModifiers keys,
                                Qt::DropActions allowed)
{
    if (DroppedLocalFiles(data).isEmpty())
        return Qt::IgnoreAction;
    const bool ctrl = keys & Qt::ControlModifier;
    if (ctrl && (keys & Qt::ShiftModifier))
        return Qt::IgnoreAction;
    const Qt::DropAction effect = ctrl ? Qt::CopyAction : Qt::MoveAction;
    return allowed & effect ? effect : Qt::IgnoreAction;
}
