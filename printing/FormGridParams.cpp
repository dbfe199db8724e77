// Grid-line dialog.
#include "printing/FormGridParams.h"

#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "printing/GridParams.h"
#include "ui_FormGridParams.h"

TFormGridParams::TFormGridParams(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFormGridParams>())
{
    ui->setupUi(this);
    connect(ui->OKBtn, &QPushButton::clicked, this, platform::Guarded([this] { OKBtnClick(); }));
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TFormGridParams::~TFormGridParams() = default;

bool TFormGridParams::Execute(TRxIniFile& settings, const std::string& section)
{
    float dashedLineWidth = 0, dashLen = 0, spaceLen = 0, solidWidth = 0, columnSpace = 0;
    int dashColor = 0, solidColor = 0;
    ReadGridParams(settings, section, dashedLineWidth, dashLen, dashColor, spaceLen, solidWidth, solidColor,
                   columnSpace);
    ui->EditDashLW->setValue(dashedLineWidth);
    ui->ColorComboBoxDashed->SetColor(static_cast<platform::ColorRef>(dashColor));
    ui->EditDashLen->setValue(dashLen);
    ui->EditSpaceLen->setValue(spaceLen);
    ui->EditSolidWidth->setValue(solidWidth);
    ui->ColorComboBoxSolid->SetColor(static_cast<platform::ColorRef>(solidColor));
    ui->SpEdColumnSpace->setValue(columnSpace);
    settings_ = &settings;
    section_ = section;
    const bool ok = platform::ExecDialog(*this) == QDialog::Accepted;
    settings_ = nullptr;
    return ok;
}

void TFormGridParams::OKBtnClick()
{
    if (settings_)
        WriteGridParams(*settings_, section_, static_cast<float>(ui->EditDashLW->value()),
                        static_cast<float>(ui->EditDashLen->value()),
                        static_cast<int>(ui->ColorComboBoxDashed->Color()), static_cast<float>(ui->EditSpaceLen->value()),
                        static_cast<float>(ui->EditSolidWidth->value()),
                        static_cast<int>(ui->ColorComboBoxSolid->Color()),
                        static_cast<float>(ui->SpEdColumnSpace->value()));
    accept();
}
