// Loaded into the built program (LD_PRELOAD) by tests that use it as a user would: once its event
// loop runs, the steps named in STRATIV_DRIVE (comma-separated) are taken one after another.
// A step is an action's object name, triggered once a shown window offers it, as a click on its
// menu item does; "accept:" and a dialog's object name, accepted once it shows, as its OK button
// does; or "context:" and the object name of a list, whose context menu is asked for over its
// first row once the list has rows, as a right click there does; "select:" with an object name
// and a number, the page of a tab widget or the row of a list made current, as a click on it does;
// "type:" with an object name and a text, the text typed into that widget; "button:" and a
// caption, that button of a shown message box clicked, the box's text written after the step.
// Each step is written to the error output as "driver: " and the step as it is taken, and
// "driver: done" after the last.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTabWidget>
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

// "select:", "type:" and "button:" steps; false while their widget is not shown.
bool TakeInput(const QString& kind, const QString& name, const QString& argument, const QString& step)
{
    if (kind == QLatin1String("button")) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
                for (QAbstractButton* button : box->buttons())
                    if (button->text() == name) {
                        Tell(step + QLatin1Char(' ') + box->text());
                        button->click();
                        return true;
                    }
        return false;
    }
    QWidget* widget = Shown<QWidget>(name);
    if (!widget)
        return false;
    Tell(step);
    if (kind == QLatin1String("type")) {
        for (const QChar c : argument) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        tabs->setCurrentIndex(argument.toInt());
    } else if (auto* list = qobject_cast<QAbstractItemView*>(widget); list && list->model()) {
        list->setCurrentIndex(list->model()->index(argument.toInt(), 0));
    }
    return true;
}

bool Take(const QString& step)
{
    static const QString accept = QStringLiteral("accept:");
    static const QString context = QStringLiteral("context:");
    if (const QStringList parts = step.split(QLatin1Char(':'));
        parts.size() >= 2 && (parts[0] == "select" || parts[0] == "type" || parts[0] == "button"))
        return TakeInput(parts[0], parts[1], parts.mid(2).join(QLatin1Char(':')), step);
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
