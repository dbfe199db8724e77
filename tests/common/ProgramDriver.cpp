// Loaded into the built program (LD_PRELOAD) by tests that use it as a user would: once its event
// loop runs, the actions named in STRATIV_DRIVE (object names, comma-separated) are triggered one
// after another, each once a shown window offers it, as a click on its menu item does.
#include <QAction>
#include <QApplication>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace {

QAction* ShownAction(const QString& name)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            if (auto* action = window->findChild<QAction*>(name))
                return action;
    return nullptr;
}

void Drive()
{
    QStringList names = qEnvironmentVariable("STRATIV_DRIVE").split(QLatin1Char(','), Qt::SkipEmptyParts);
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(100);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, names]() mutable {
        if (names.isEmpty()) {
            timer->stop();
            return;
        }
        if (QThread::currentThread()->loopLevel() == 0)
            return;
        if (QAction* action = ShownAction(names.first())) {
            names.removeFirst();
            action->trigger();
        }
    });
    timer->start();
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Drive)
