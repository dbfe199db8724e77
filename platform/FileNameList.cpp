#include "platform/FileNameList.h"

#include "core/FileUtils.h"
#include "platform/FileNames.h"

#include <QListWidget>

namespace platform {

void AddFileNameItem(QListWidget& list, const QString& name)
{
    auto* item = new QListWidgetItem(ShownFileName(name), &list);
    item->setData(Qt::UserRole, name);
}

void FillFileNameList(QListWidget& list, const QString& folder, const std::string& mask)
{
    list.clear();
    for (const std::string& bytes : GetFileList(FileNameToBytes(folder), mask))
        AddFileNameItem(list, FileNameFromBytes(bytes));
}

QString FileNameOfItem(const QListWidgetItem& item)
{
    return item.data(Qt::UserRole).toString();
}

int RowOfFileName(const QListWidget& list, const QString& name)
{
    for (int row = 0; row < list.count(); ++row)
        if (FileNameOfItem(*list.item(row)) == name)
            return row;
    return -1;
}

}  // namespace platform
