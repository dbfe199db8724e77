// Find and replace dialogs of the plain-text page: search text, replacement, direction,
// letter case and whole words. Modeless; the page acts on its signals.
#pragma once

#include <QDialog>
#include <QTextDocument>
#include <memory>

namespace Ui { class TFormTextFind; }

class TFormTextFind : public QDialog
{
    Q_OBJECT
public:
    explicit TFormTextFind(QWidget* parent = nullptr);
    ~TFormTextFind() override;

    Ui::TFormTextFind& Form() const { return *ui; }

    // Opens as the find dialog, or as the replace dialog, with empty texts.
    void ShowFind();
    void ShowReplace();

    QString FindText() const;
    QString ReplaceText() const;
    bool Backward() const;
    QTextDocument::FindFlags Flags() const;

signals:
    void Find();
    void Replace();
    void ReplaceAll();

private:
    void Open(bool replace);

    std::unique_ptr<Ui::TFormTextFind> ui;
};
