// A dialog painted with the light-red-to-grey gradient below a given line, optionally with a
// help topic shown by F1 and by its help button.
#pragma once

#include <QDialog>

class QAbstractButton;

class TGradientDialog : public QDialog {
    Q_OBJECT
public:
    // Topic 0: no help.
    explicit TGradientDialog(QWidget* parent = nullptr, int helpTopic = 0);

protected:
    void SetHelpTopic(int topic) { helpTopic_ = topic; }
    // The button shows the topic current at the click.
    void ConnectHelpButton(QAbstractButton* button);
    // The gradient fills the dialog from this line down.
    virtual int GradientTop() const { return 0; }

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int helpTopic_ = 0;
};
