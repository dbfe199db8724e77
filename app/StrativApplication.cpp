// Application object with the general error report.
#include "app/StrativApplication.h"

#include "app/AppInfo.h"
#include "platform/ErrorReport.h"

#include <QLibraryInfo>
#include <QTranslator>

QTranslator* InstallQtTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

TStrativApplication::TStrativApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromUtf8(appinfo::ProgramName));
    setApplicationVersion(QString::fromUtf8(appinfo::ProgramVersion));
    InstallQtTranslations(*this);
}

bool TStrativApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    platform::Guarded(nullptr, [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
