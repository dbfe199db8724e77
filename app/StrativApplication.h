// The application object: shows an exception that leaves an event handler instead of ending the program.
#pragma once

#include <QApplication>

class QTranslator;

// Installs Qt's own Russian texts (file dialog, standard buttons) into the application; the
// translator belongs to the application. Null when the translations are not installed.
QTranslator* InstallQtTranslations(QCoreApplication& app);

class TStrativApplication : public QApplication
{
    Q_OBJECT
public:
    TStrativApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
