// Interval choice dialog.
#include "editing/SelectIntervalPart.h"

#include "editing/IntervalManager.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/NumberText.h"
#include "ui_SelectIntervalPart.h"

#include <QButtonGroup>

namespace {
enum { kAllActive = 0, kAll = 1, kOne = 2 };
}  // namespace

TDlgSelectIntervalPart::TDlgSelectIntervalPart(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TDlgSelectIntervalPart>())
{
    ui->setupUi(this);
    radio_ = new QButtonGroup(this);
    radio_->addButton(ui->RadioAllActive, kAllActive);
    radio_->addButton(ui->RadioAll, kAll);
    radio_->addButton(ui->RadioOne, kOne);
    connect(ui->CheckBox1, &QCheckBox::toggled, this, platform::Guarded([this](bool) { CheckBox1Click(); }));
    connect(radio_, &QButtonGroup::idToggled, this, platform::Guarded([this](int, bool) { RadioGroup1Click(); }));
    connect(ui->OKBtn, &QPushButton::clicked, this, platform::Guarded([this] {
                if (BuildResult())
                    accept();
            }));
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TDlgSelectIntervalPart::~TDlgSelectIntervalPart() = default;

void TDlgSelectIntervalPart::SetTopMessage(const QString& text)
{
    ui->LabelTopMessage->setText(text);
}

bool TDlgSelectIntervalPart::HasIntervals() const
{
    return Manager && !Manager->List.empty();
}

bool TDlgSelectIntervalPart::Execute(const TLASFile& document, IntervalManager* manager, FloatPairList& answer,
                                     int preselect)
{
    Manager = manager;
    Result.clear();
    bool accepted = false;
    if (Manager) {
        LoadedTop = Manager->GetTop();
        LoadedBottom = Manager->GetBottom();
        if (LoadedTop < LoadedBottom) {
            Preselect = preselect;
            FillControls(document);
            accepted = platform::ExecDialog(*this) == QDialog::Accepted;
        }
    }
    if (accepted)
        answer = Result;
    Manager = nullptr;
    return accepted;
}

void TDlgSelectIntervalPart::FillControls(const TLASFile& document)
{
    Ui::TDlgSelectIntervalPart& f = *ui;
    const int count = static_cast<int>(Manager->List.size());
    if (count == 0) {
        f.CheckBox1->setChecked(true);
        f.RadioGroup1->setEnabled(false);
        Preselect = -1;
    }
    if (Preselect >= 0 && Preselect < count) {
        f.RadioGroup1->setEnabled(true);
        f.CheckBox1->setChecked(false);
        f.RadioOne->setChecked(true);
    } else {
        Preselect = -1;
    }
    const int kept = f.ComboBoxOneInterval->currentIndex();
    f.ComboBoxOneInterval->clear();
    for (const IntervalItem& item : Manager->List)
        f.ComboBoxOneInterval->addItem(QString::fromStdString(item.Name) + QStringLiteral(" (") +
                                       platform::DepthText(document, item.Top) + QStringLiteral(":") +
                                       platform::DepthText(document, item.Bottom) + QStringLiteral(")"));
    const bool one = f.RadioGroup1->isEnabled() && radio_->checkedId() == kOne && count > 0;
    f.ComboBoxOneInterval->setEnabled(one);
    if (one)
        f.ComboBoxOneInterval->setCurrentIndex(Preselect >= 0 ? Preselect : (kept >= 0 && kept < count ? kept : 0));
    f.LabelAllInterval->setText(platform::DepthText(document, LoadedTop) + QStringLiteral(" -:- ") +
                                platform::DepthText(document, LoadedBottom));
}

void TDlgSelectIntervalPart::CheckBox1Click()
{
    Ui::TDlgSelectIntervalPart& f = *ui;
    if (!f.CheckBox1->isChecked() && !HasIntervals() && Manager) {
        f.CheckBox1->setChecked(true);
        return;  // the tick's own handler has run for it
    }
    f.RadioGroup1->setEnabled(!f.CheckBox1->isChecked());
    f.ComboBoxOneInterval->setEnabled(f.RadioGroup1->isEnabled() && radio_->checkedId() == kOne && HasIntervals());
}

void TDlgSelectIntervalPart::RadioGroup1Click()
{
    Ui::TDlgSelectIntervalPart& f = *ui;
    const bool one = f.RadioGroup1->isEnabled() && radio_->checkedId() == kOne && HasIntervals();
    f.ComboBoxOneInterval->setEnabled(one);
    if (one && f.ComboBoxOneInterval->currentIndex() < 0)
        f.ComboBoxOneInterval->setCurrentIndex(0);
}

bool TDlgSelectIntervalPart::BuildResult()
{
    Ui::TDlgSelectIntervalPart& f = *ui;
    Result.clear();
    if (f.CheckBox1->isChecked()) {
        Result.push_back({LoadedTop, LoadedBottom});
        return true;
    }
    if (!Manager)
        return false;
    const IntervalParts& list = Manager->List;
    switch (radio_->checkedId()) {
    case kAllActive:
        for (const IntervalItem& item : list)
            if (item.Active)
                Result.push_back({static_cast<float>(item.Top), static_cast<float>(item.Bottom)});
        return true;
    case kAll:
        for (const IntervalItem& item : list)
            Result.push_back({static_cast<float>(item.Top), static_cast<float>(item.Bottom)});
        return true;
    default:
        break;
    }
    const int k = f.ComboBoxOneInterval->currentIndex();
    if (k >= 0 && k < static_cast<int>(list.size())) {
        const IntervalItem& item = list[static_cast<std::size_t>(k)];
        Result.push_back({static_cast<float>(item.Top), static_cast<float>(item.Bottom)});
        return true;
    }
    platform::MessageBox(this, QStringLiteral("Некорректно задан единственный интервал!"), QStringLiteral("Ошибка"),
                         platform::MB_OK | platform::MB_ICONWARNING);
    return false;
}
