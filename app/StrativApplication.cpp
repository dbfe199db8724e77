// Application object with the general error report.
#include "app/StrativApplication.h"

#include "app/AppInfo.h"
#include "platform/DialogRunner.h"

#include <exception>

TStrativApplication::TStrativApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromUtf8(appinfo::ProgramName));
    setApplicationVersion(QString::fromUtf8(appinfo::ProgramVersion));
}

bool TStrativApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowExceptionReport(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowExceptionReport(QStringLiteral("Неизвестная ошибка"));
    }
    return false;
}

void ShowExceptionReport(const QString& text)
{
    try {
        platform::MessageBox(nullptr, text, QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
    } catch (...) {
        // Nothing more can be reported; the program goes on.
    }
}
