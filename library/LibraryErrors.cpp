// Message boxes of library failures.
#include "library/LibraryErrors.h"

void ShowDatabaseError(QWidget* owner, const CppSQLite3Exception& error)
{
    platform::MessageBox(owner,
                         QString::number(error.ErrorCode()) + QStringLiteral(" : ") +
                             QString::fromUtf8(error.ErrorMessage()),
                         QStringLiteral("Ошибка при запросе к базе"), platform::MB_OK | platform::MB_ICONERROR);
}

void ShowLibraryError(QWidget* owner, const QString& text)
{
    platform::MessageBox(owner, text, QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
}
