// Writing the text files of the report windows, with the failure told to the user.
#pragma once

#include <QString>

class QWidget;

// Writes `text` (lines ending with "\n") as UTF-8 with CR LF line ends through a temporary file.
// On failure shows "Не удалось записать файл" with the file and the reason, titled "Ошибка", and
// returns false.
bool SaveReportText(QWidget* owner, const QString& path, const QString& text);
