// About box.
#include "app/AboutBox.h"

#include "app/AppInfo.h"
#include "ui_AboutBox.h"

#include <QSysInfo>

namespace {
// A link line, hidden while the address is not configured.
void ShowLink(QLabel* label, const QString& caption, const QString& url)
{
    label->setVisible(!url.isEmpty());
    label->setText(caption + QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(),
                                                                         url.section(':', -1).toHtmlEscaped()));
}
}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>())
{
    ui->setupUi(this);
    ui->ProductName->setText(QString::fromUtf8(appinfo::ProgramName));
    ui->Version->setText(QStringLiteral("Версия ") + QString::fromUtf8(appinfo::ProgramVersion));
    ui->OSInfo->setText(QSysInfo::prettyProductName());
    const QString mail = QString::fromUtf8(appinfo::DeveloperMail);
    ShowLink(ui->LabelMail, QStringLiteral("Почта: "), mail.isEmpty() ? mail : QStringLiteral("mailto:") + mail);
    ShowLink(ui->LabelWeb, QStringLiteral("Сайт: "), QString::fromUtf8(appinfo::DeveloperWeb));
    connect(ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

TAboutBox::~TAboutBox() = default;
