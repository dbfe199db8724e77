// List boxes of file names: each shown readable, its bytes kept for opening.
#pragma once

#include <QString>
#include <string>

class QListWidget;
class QListWidgetItem;

namespace platform {

// Adds an item standing for the file `name`.
void AddFileNameItem(QListWidget& list, const QString& name);
// Fills `list` with the names of the files in `folder` matching `mask` ("*.las").
void FillFileNameList(QListWidget& list, const QString& folder, const std::string& mask);
// The name an item of such a list stands for (not its shown text), as FileNameFromBytes gives it.
QString FileNameOfItem(const QListWidgetItem& item);
// The row of the item standing for `name`; -1 when none does.
int RowOfFileName(const QListWidget& list, const QString& name);

}  // namespace platform
