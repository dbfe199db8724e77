// Curve choice dialog of the open command.
#include "app/ChooseCurves.h"

#include "datawin/CurveCheckList.h"
#include "core/Lasfile.h"
#include "platform/DialogRunner.h"
#include "platform/FileNames.h"
#include "platform/NumberText.h"
#include "ui_ChooseCurves.h"

TFormChooseCurves::TFormChooseCurves(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFormChooseCurves>())
{
    ui->setupUi(this);
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectCheckButtons(*ui->ListCurves, *ui->ButtonCheckAll, *ui->ButtonUncheckAll);
}

TFormChooseCurves::~TFormChooseCurves() = default;

QListWidget& TFormChooseCurves::CurveList() const
{
    return *ui->ListCurves;
}

bool TFormChooseCurves::Execute(const TLASFile& document, std::vector<int>& chosen)
{
    ui->LabelFile->setText(QStringLiteral("Файл: ") + platform::ShownFileName(document.GetFileName()));
    ui->LabelRange->setText(QStringLiteral("Глубины: ") +
                            platform::RowRangeText(document, 0, document.GetPointCount() - 1));
    FillCurveCheckList(*ui->ListCurves, document);
    while (platform::ExecDialog(*this) == QDialog::Accepted) {
        chosen = CheckedCurves(*ui->ListCurves);
        if (!chosen.empty())
            return true;
        platform::MessageBox(this, QStringLiteral("Не выбрано ни одной кривой!"), QStringLiteral("Ошибка"),
                             platform::MB_OK | platform::MB_ICONWARNING);
    }
    return false;
}
