// Choice of curves to shift.
#include "editing/SelectCurvesDlg.h"

#include "core/Lasfile.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "ui_SelectCurvesDlg.h"

#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>

TSelectCurvesDlg::TSelectCurvesDlg(QWidget* parent)
    : TGradientDialog(parent), ui(std::make_unique<Ui::TSelectCurvesDlg>())
{
    ui->setupUi(this);
    ui->BitBtnCheckAll->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    ui->BitBtnUncheckAll->setIcon(style()->standardIcon(QStyle::SP_DialogDiscardButton));
    connect(ui->BitBtnCheckAll, &QToolButton::clicked, this, platform::Guarded([this] { CheckAll(true); }));
    connect(ui->BitBtnUncheckAll, &QToolButton::clicked, this, platform::Guarded([this] { CheckAll(false); }));
    connect(ui->CheckListCurves, &QListWidget::itemChanged, this,
            platform::Guarded([this](QListWidgetItem* item) { ItemChanged(item); }));
    connect(ui->OKBtn, &QPushButton::clicked, this, platform::Guarded([this] { OKBtnClick(); }));
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TSelectCurvesDlg::~TSelectCurvesDlg() = default;

bool TSelectCurvesDlg::Execute(const TLASFile& document, const std::vector<int>& excluded, int helpTopic,
                               std::vector<bool>& flags)
{
    excluded_ = excluded;
    SetHelpTopic(helpTopic);
    flags_ = &flags;
    QListWidget& list = *ui->CheckListCurves;
    {
        const QSignalBlocker block(&list);
        list.clear();
        for (int i = 1; i < document.GetCurvesCount(); ++i) {
            auto* item = new QListWidgetItem(QString::fromStdString(document.GetCurveName(i)), &list);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    return platform::ExecDialog(*this) == QDialog::Accepted;
}

bool TSelectCurvesDlg::Excluded(int row) const
{
    return std::find(excluded_.begin(), excluded_.end(), row + 1) != excluded_.end();
}

void TSelectCurvesDlg::CheckAll(bool checked)
{
    QListWidget& list = *ui->CheckListCurves;
    for (int row = 0; row < list.count(); ++row)
        list.item(row)->setCheckState(checked && !Excluded(row) ? Qt::Checked : Qt::Unchecked);
}

void TSelectCurvesDlg::ItemChanged(QListWidgetItem* item)
{
    if (item->checkState() != Qt::Unchecked && Excluded(ui->CheckListCurves->row(item)))
        item->setCheckState(Qt::Unchecked);
}

void TSelectCurvesDlg::OKBtnClick()
{
    QListWidget& list = *ui->CheckListCurves;
    std::vector<bool> flags(static_cast<std::size_t>(list.count()));
    for (int row = 0; row < list.count(); ++row)
        flags[static_cast<std::size_t>(row)] = list.item(row)->checkState() == Qt::Checked && !Excluded(row);
    if (std::none_of(flags.begin(), flags.end(), [](bool f) { return f; })) {
        platform::MessageBox(this, QStringLiteral("Не выбрано ни одной кривой!"),
                             QStringLiteral("Выбор кривых для сдвига"), platform::MB_OK | platform::MB_ICONWARNING);
        return;
    }
    *flags_ = std::move(flags);
    accept();
}

bool ShowSelectCurvesDialog(TSelectCurvesDlg& dialog, const TLASFile& document, const std::vector<int>& excluded,
                            int helpTopic, std::vector<bool>& flags)
{
    return dialog.Execute(document, excluded, helpTopic, flags);
}
