// Loaded into the built program (LD_PRELOAD) by tests that use it as a user would: once its event
// loop runs, the steps named in STRATIV_DRIVE (comma-separated) are taken one after another.
// A step is an action's object name, triggered once a shown window offers it, as a click on its
// menu item does; "accept:" and a dialog's object name, accepted once it shows, as its OK button
// does; or "context:" and the object name of a list, whose context menu is asked for over its
// first row once the list has rows, as a right click there does. Each step is written to the
// error output as "driver: " and the step as it is taken, and "driver: done" after the last.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

template <typename T>
T* Shown(const QString& name)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            if (auto* object = window->findChild<T*>(name))
                return object;
    return nullptr;
}

void Tell(const QString& step)
{
    std::fprintf(stderr, "driver: %s\n", qPrintable(step));
}

bool Take(const QString& step)
{
    static const QString accept = QStringLiteral("accept:");
    static const QString context = QStringLiteral("context:");
    if (step.startsWith(accept)) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(window);
                dialog && dialog->isVisible() && dialog->objectName() == step.mid(accept.size())) {
                Tell(step);
                dialog->accept();
                return true;
            }
        return false;
    }
    if (!step.startsWith(context)) {
        QAction* action = Shown<QAction>(step);
        if (action) {
            Tell(step);
            action->trigger();
        }
        return action;
    }
    auto* list = Shown<QAbstractItemView>(step.mid(context.size()));
    if (!list || !list->model() || list->model()->rowCount() == 0)
        return false;
    const QPoint at = list->visualRect(list->model()->index(0, 0)).center();
    Tell(step);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
    return true;
}

void Drive()
{
    QStringList steps = qEnvironmentVariable("STRATIV_DRIVE").split(QLatin1Char(','), Qt::SkipEmptyParts);
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(100);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, steps]() mutable {
        if (steps.isEmpty()) {
            timer->stop();
            return;
        }
        if (QThread::currentThread()->loopLevel() > 0 && Take(steps.first()))
            steps.removeFirst();
        if (steps.isEmpty())
            Tell(QStringLiteral("done"));
    });
    timer->start();
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Drive)
