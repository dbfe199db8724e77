// Message boxes of library failures.
#include "library/LibraryErrors.h"

#include "library/LogFileDBManager.h"

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

bool RefuseScanWithoutLibrary(QWidget* owner, const LogFileDBManager* manager, const QString& title)
{
    if (manager && manager->IsOpen())
        return false;
    platform::MessageBox(owner, QStringLiteral("База данных библиотеки не открыта; сканирование не выполнено"), title,
                         platform::MB_OK | platform::MB_ICONWARNING);
    return true;
}
