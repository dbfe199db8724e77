// Handlers of the library windows run their work through this guard, so that database errors
// (which are no std::exception) and other errors are shown as the library shows them.
#pragma once

#include <QString>
#include <QWidget>
#include <exception>

#include "library/CppSQLite3Exception.h"
#include "platform/DialogRunner.h"

class LogFileDBManager;

// A database error as code + " : " + message under "Ошибка при запросе к базе".
void ShowDatabaseError(QWidget* owner, const CppSQLite3Exception& error);
// Any other error as its text under "Ошибка", error icon.
void ShowLibraryError(QWidget* owner, const QString& text);
// True when the manager holds no open library; the user is then told that nothing was scanned.
bool RefuseScanWithoutLibrary(QWidget* owner, const LogFileDBManager* manager, const QString& title);

// Runs the action; false when it failed and the failure was shown.
template <class Action>
bool RunLibraryAction(QWidget* owner, Action&& action) noexcept
{
    try {
        action();
        return true;
    } catch (const CppSQLite3Exception& error) {
        ShowDatabaseError(owner, error);
    } catch (const std::exception& error) {
        ShowLibraryError(owner, QString::fromUtf8(error.what()));
    } catch (...) {
        ShowLibraryError(owner, QStringLiteral("Неопознанная ошибка"));
    }
    return false;
}
