// Intervals window.
#include "editing/FormIntervals.h"

#include "editing/IntervalManager.h"
#include "editing/IntervalParams.h"
#include "platform/ErrorReport.h"
#include "ui_FormIntervals.h"

#include <QSignalBlocker>

TFormIntervals::TFormIntervals(QWidget* owner, TFormIntervalParams& params)
    : QWidget(owner, Qt::Tool), ui(std::make_unique<Ui::TFormIntervals>()), params_(params)
{
    ui->setupUi(this);
    QListWidget* list = ui->ListBoxIntervals;
    connect(list, &QListWidget::itemChanged, this, platform::Guarded([this](QListWidgetItem*) {
                ListBoxIntervalsClickCheck();
            }));
    connect(list, &QListWidget::itemDoubleClicked, this,
            platform::Guarded([this](QListWidgetItem*) { ButtonEditClick(); }));
    connect(ui->ButtonEdit, &QToolButton::clicked, this, platform::Guarded([this] { ButtonEditClick(); }));
    connect(ui->ButtonDelete, &QToolButton::clicked, this, platform::Guarded([this] { ButtonDeleteClick(); }));
    connect(ui->ButtonMerge, &QToolButton::clicked, this, platform::Guarded([this] { ButtonMergeClick(); }));
}

TFormIntervals::~TFormIntervals() = default;

void TFormIntervals::SetManager(IntervalManager* manager)
{
    Manager = manager;
    FillList();
}

void TFormIntervals::FillList()
{
    QListWidget* list = ui->ListBoxIntervals;
    const QSignalBlocker block(list);
    list->clear();
    if (!Manager)
        return;
    for (const IntervalItem& item : Manager->List) {
        auto* row = new QListWidgetItem(QString::fromStdString(item.Name), list);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(item.Active ? Qt::Checked : Qt::Unchecked);
    }
}

void TFormIntervals::Changed()
{
    if (OnIntervalsChanged)
        OnIntervalsChanged();
}

void TFormIntervals::ListBoxIntervalsClickCheck()
{
    const QListWidget* list = ui->ListBoxIntervals;
    if (!Manager || list->count() != static_cast<int>(Manager->List.size()))
        return;
    for (int i = 0; i < list->count(); ++i)
        Manager->List[static_cast<std::size_t>(i)].Active = list->item(i)->checkState() == Qt::Checked;
    Changed();
}

int TFormIntervals::SelectedInterval() const
{
    const QListWidget* list = ui->ListBoxIntervals;
    const int i = list->currentRow();
    if (!Manager || list->count() != static_cast<int>(Manager->List.size()) || i < 0 || i >= list->count())
        return -1;
    return i;
}

void TFormIntervals::ButtonEditClick()
{
    const int i = SelectedInterval();
    if (i < 0)
        return;
    IntervalItem& item = Manager->List[static_cast<std::size_t>(i)];
    IntervalItem result = item;
    if (!params_.Execute(item, Manager->GetTop(), Manager->GetBottom(), result, Document ? Document() : nullptr))
        return;
    item.Color = result.Color;
    item.Name = result.Name;
    Manager->ChangeInterval(i, static_cast<float>(result.Top), static_cast<float>(result.Bottom));
    FillList();
    Changed();
}

void TFormIntervals::ButtonDeleteClick()
{
    const int i = SelectedInterval();
    if (i < 0)
        return;
    Manager->DeleteInterval(i);
    {
        const QSignalBlocker block(ui->ListBoxIntervals);
        delete ui->ListBoxIntervals->takeItem(i);
    }
    Changed();
}

void TFormIntervals::ButtonMergeClick()
{
    const int i = SelectedInterval();
    if (i < 0 || i + 1 >= static_cast<int>(Manager->List.size()))
        return;
    Manager->MergeWithNext(i);
    {
        const QSignalBlocker block(ui->ListBoxIntervals);
        delete ui->ListBoxIntervals->takeItem(i + 1);
    }
    Changed();
}
