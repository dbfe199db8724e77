// Help window over the compiled-in pages.
#include "app/HelpWindow.h"

#include "platform/ToolIcons.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QToolBar>

// Pulls the pages of the static library into the program (outside any namespace, as Qt needs).
static void InitHelpResources()
{
    Q_INIT_RESOURCE(help);
}

namespace {
QPointer<THelpWindow> helpWindow;
}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    InitHelpResources();
    setWindowTitle(QStringLiteral("Справка"));
    resize(640, 560);
    setCentralWidget(browser_);
    browser_->setOpenExternalLinks(true);
    QToolBar* bar = addToolBar(QStringLiteral("Справка"));
    bar->setMovable(false);
    bar->addAction(QStringLiteral("Содержание"), this, [this] { ShowTopic(0); })->setObjectName(QStringLiteral("TBContents"));
    QAction* back = bar->addAction(QStringLiteral("Назад"), browser_, &QTextBrowser::backward);
    QAction* forward = bar->addAction(QStringLiteral("Вперед"), browser_, &QTextBrowser::forward);
    back->setObjectName(QStringLiteral("TBBack"));
    forward->setObjectName(QStringLiteral("TBForward"));
    platform::ShowToolIcons(*bar);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(QStringLiteral("Справка - ") + browser_->documentTitle()); });
}

QString THelpWindow::TopicPage(int topic)
{
    InitHelpResources();
    const QString page = QStringLiteral(":/help/%1.html").arg(topic);
    return QFile::exists(page) ? page : QStringLiteral(":/help/0.html");
}

void THelpWindow::ShowTopic(int topic)
{
    browser_->setSource(QUrl(QStringLiteral("qrc") + TopicPage(topic)));
}

void ShowHelpWindow(int topic)
{
    if (!helpWindow)
        helpWindow = new THelpWindow(QApplication::activeWindow());
    helpWindow->ShowTopic(topic);
    helpWindow->show();
    helpWindow->raise();
    helpWindow->activateWindow();
}
