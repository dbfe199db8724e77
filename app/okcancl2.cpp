// Empty OK/Cancel dialog with the buttons on the right.
#include "app/okcancl2.h"

#include "ui_okcancl2.h"

TOKRightDlg::TOKRightDlg(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TOKRightDlg>())
{
    ui->setupUi(this);
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TOKRightDlg::~TOKRightDlg() = default;

QFrame* TOKRightDlg::Bevel() const
{
    return ui->Bevel1;
}
