// Dates and file sizes shown to the user: Russian whatever the system locale, the numbers in
// them keeping the locale's decimal separator.
#pragma once

#include <QString>

class QDateTime;
class QFileDialog;

namespace platform {

// "07.12.2026 15:04".
QString DateTimeText(const QDateTime& time);
// "512 байт", "2.00 КБ", "4.77 МБ" (units of 1024).
QString FileSizeText(qint64 bytes);
// Qt's own file dialog shows its size and date columns by the rules above.
void ShowRussianFileDetails(QFileDialog& dialog);

}  // namespace platform
