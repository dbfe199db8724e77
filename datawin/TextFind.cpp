// Find and replace dialogs of the plain-text page.
#include "datawin/TextFind.h"

#include "ui_TextFind.h"

TFormTextFind::TFormTextFind(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFormTextFind>())
{
    ui->setupUi(this);
    setModal(false);
    connect(ui->ButtonFindNext, &QPushButton::clicked, this, &TFormTextFind::Find);
    connect(ui->ButtonReplace, &QPushButton::clicked, this, &TFormTextFind::Replace);
    connect(ui->ButtonReplaceAll, &QPushButton::clicked, this, &TFormTextFind::ReplaceAll);
    connect(ui->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFormTextFind::~TFormTextFind() = default;

void TFormTextFind::Open(bool replace)
{
    setWindowTitle(replace ? QStringLiteral("Заменить") : QStringLiteral("Найти"));
    ui->EditFind->clear();
    ui->EditReplace->clear();
    for (QWidget* w : {static_cast<QWidget*>(ui->LabelReplace), static_cast<QWidget*>(ui->EditReplace),
                       static_cast<QWidget*>(ui->ButtonReplace), static_cast<QWidget*>(ui->ButtonReplaceAll)})
        w->setVisible(replace);
    show();
    raise();
    activateWindow();
    ui->EditFind->setFocus();
}

void TFormTextFind::ShowFind()
{
    Open(false);
}

void TFormTextFind::ShowReplace()
{
    Open(true);
}

QString TFormTextFind::FindText() const
{
    return ui->EditFind->text();
}

QString TFormTextFind::ReplaceText() const
{
    return ui->EditReplace->text();
}

bool TFormTextFind::Backward() const
{
    return ui->RadioUp->isChecked();
}

QTextDocument::FindFlags TFormTextFind::Flags() const
{
    QTextDocument::FindFlags flags;
    if (Backward())
        flags |= QTextDocument::FindBackward;
    if (ui->CheckMatchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (ui->CheckWholeWord->isChecked())
        flags |= QTextDocument::FindWholeWords;
    return flags;
}
