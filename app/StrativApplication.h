// The application object: shows an exception that leaves an event handler instead of ending the program.
#pragma once

#include <QApplication>

class TStrativApplication : public QApplication
{
    Q_OBJECT
public:
    TStrativApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
