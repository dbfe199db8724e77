// Application object with the general error report.
#include "app/StrativApplication.h"

#include "app/AppInfo.h"
#include "platform/ErrorReport.h"

TStrativApplication::TStrativApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromUtf8(appinfo::ProgramName));
    setApplicationVersion(QString::fromUtf8(appinfo::ProgramVersion));
}

bool TStrativApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    platform::Guarded(nullptr, [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
