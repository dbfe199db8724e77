// The program's help: HTML pages compiled in as resources, shown with contents, back and forward.
#pragma once

#include <QMainWindow>

class QTextBrowser;

class THelpWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Shows the page of the topic, or the contents page (topic 0) when it has none.
    void ShowTopic(int topic);
    QTextBrowser* Browser() const { return browser_; }

    // Resource address of a topic's page; the contents page for a topic without one.
    static QString TopicPage(int topic);

private:
    QTextBrowser* browser_;
};

// Opens the help window at the topic (0 contents, 20 main window); registered as the
// platform's help handler, through which every window asks for help.
void ShowHelpWindow(int topic);
