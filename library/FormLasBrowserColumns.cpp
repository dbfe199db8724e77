// Column editor: the predefined and current lists, their buttons and the selected column's details.
#include "library/FormLasBrowserColumns.h"

#include <QKeyEvent>

#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/Help.h"
#include "ui_FormLasBrowserColumns.h"

namespace {

constexpr int kHelpTopic = 14;
// The sections of ComboBoxSection's items, in order.
constexpr int kSectionOfItem[] = {1, 2, 3, 4, 5, 7};

int ItemOfSection(int section)
{
    for (int i = 0; i < static_cast<int>(std::size(kSectionOfItem)); ++i)
        if (kSectionOfItem[i] == section)
            return i;
    return -1;
}

} // namespace

TFormLasBrowserColumns::TFormLasBrowserColumns(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormLasBrowserColumns>())
{
    ui->setupUi(this);
    predefined_.Items.Clear();
    for (int code = TLasListColSet::FirstPredefinedCode; code <= TLasListColSet::LastPredefinedCode; ++code)
        predefined_.AddPredefined(code).Width = 100;
    using platform::Guarded;
    connect(ui->ButtonAddPredefined, &QPushButton::clicked, this, Guarded([this] { ButtonAddPredefinedClick(); }));
    connect(ui->ButtonAddCustom, &QPushButton::clicked, this, Guarded([this] { ButtonAddCustomClick(); }));
    connect(ui->ButtonRemove, &QPushButton::clicked, this, Guarded([this] { ButtonRemoveClick(); }));
    connect(ui->ButtonRemoveAll, &QPushButton::clicked, this, Guarded([this] { ButtonRemoveAllClick(); }));
    connect(ui->BitBtnMoveUp, &QToolButton::clicked, this, Guarded([this] { BitBtnMoveUpClick(); }));
    connect(ui->BitBtnMoveDown, &QToolButton::clicked, this, Guarded([this] { BitBtnMoveDownClick(); }));
    connect(ui->ListBoxCurrent, &QListWidget::currentRowChanged, this, Guarded([this](int) { ListBoxCurrentClick(); }));
    connect(ui->EditCaption, &QLineEdit::textEdited, this, Guarded([this](const QString& t) { CaptionEdited(t); }));
    connect(ui->SpinEditWidth, &QSpinBox::valueChanged, this, Guarded([this](int w) { WidthEdited(w); }));
    connect(ui->EditName, &QLineEdit::textEdited, this, Guarded([this](const QString& t) { NameEdited(t); }));
    connect(ui->ComboBoxSection, &QComboBox::activated, this, Guarded([this](int i) { SectionChosen(i); }));
    connect(ui->BitBtnHelp, &QToolButton::clicked, this, [] { platform::ShowHelpTopic(kHelpTopic); });
    connect(ui->HelpBtn, &QPushButton::clicked, this, [] { platform::ShowHelpTopic(kHelpTopic); });
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TFormLasBrowserColumns::~TFormLasBrowserColumns() = default;

bool TFormLasBrowserColumns::Execute(TLasListColSet* set)
{
    if (!set)
        return false;
    set_ = set;
    FillLists();
    const bool ok = platform::ExecDialog(*this) == QDialog::Accepted;
    set_ = nullptr;
    return ok;
}

void TFormLasBrowserColumns::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        platform::ShowHelpTopic(kHelpTopic);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormLasBrowserColumns::FillLists()
{
    reacting_ = false;
    EnableDetails(false);
    ui->ListBoxPredefined->clear();
    for (int i = 0; i < predefined_.Items.Count(); ++i)
        ui->ListBoxPredefined->addItem(QString::fromStdString(predefined_.Items.Item(i).Caption));
    ui->ListBoxCurrent->clear();
    for (int i = 0; set_ && i < set_->Items.Count(); ++i)
        ui->ListBoxCurrent->addItem(QString::fromStdString(set_->Items.Item(i).Caption));
    EnableDetails(true);
    reacting_ = true;
}

void TFormLasBrowserColumns::EnableDetails(bool enabled)
{
    ui->SpinEditWidth->setEnabled(enabled);
    ui->ComboBoxSection->setEnabled(enabled);
    ui->EditName->setEnabled(enabled);
}

TLasColSetItem* TFormLasBrowserColumns::SelectedColumn()
{
    const int row = ui->ListBoxCurrent->currentRow();
    return set_ && row >= 0 && row < set_->Items.Count() ? &set_->Items.Item(row) : nullptr;
}

void TFormLasBrowserColumns::AppendColumn(const TLasColSetItem& item)
{
    TLasColSetItem& added = set_->Items.Item(set_->Items.AddNew());
    added.Assign(item);
    added.FitsContents = true;  // until a width is set for it
    ui->ListBoxCurrent->addItem(QString::fromStdString(item.Caption));
    ui->ListBoxCurrent->setCurrentRow(ui->ListBoxCurrent->count() - 1);
}

void TFormLasBrowserColumns::ButtonAddPredefinedClick()
{
    const int row = ui->ListBoxPredefined->currentRow();
    if (set_ && row >= 0 && row < predefined_.Items.Count())
        AppendColumn(predefined_.Items.Item(row));
}

void TFormLasBrowserColumns::ButtonAddCustomClick()
{
    if (!set_)
        return;
    TLasColSetItem item;
    item.SearchType = 1;
    item.Caption = "-?-";
    item.Name = "---";
    item.LASSection = 2;
    item.Mnem = 0;
    item.Width = 100;
    AppendColumn(item);
    ListBoxCurrentClick();
}

void TFormLasBrowserColumns::ButtonRemoveClick()
{
    const int row = ui->ListBoxCurrent->currentRow();
    if (!SelectedColumn())
        return;
    delete ui->ListBoxCurrent->takeItem(row);
    set_->Items.Delete(row);
}

void TFormLasBrowserColumns::ButtonRemoveAllClick()
{
    if (!set_)
        return;
    ui->ListBoxCurrent->clear();
    set_->Items.Clear();
}

void TFormLasBrowserColumns::MoveSelected(int step)
{
    const int row = ui->ListBoxCurrent->currentRow();
    const int other = row + step;
    if (!SelectedColumn() || other < 0 || other >= set_->Items.Count())
        return;
    set_->Items.Exchange(row, other);
    QListWidgetItem* item = ui->ListBoxCurrent->takeItem(row);
    ui->ListBoxCurrent->insertItem(other, item);
    ui->ListBoxCurrent->setCurrentRow(other);
}

void TFormLasBrowserColumns::BitBtnMoveUpClick()
{
    MoveSelected(-1);
}

void TFormLasBrowserColumns::BitBtnMoveDownClick()
{
    MoveSelected(1);
}

void TFormLasBrowserColumns::ListBoxCurrentClick()
{
    const TLasColSetItem* item = SelectedColumn();
    if (!item)
        return;
    const bool wasReacting = reacting_;
    reacting_ = false;
    ui->SpinEditWidth->setValue(item->Width);
    ui->EditCaption->setText(QString::fromStdString(item->Caption));
    ui->EditName->setText(QString::fromStdString(item->Name));
    ui->ComboBoxSection->setCurrentIndex(ItemOfSection(item->LASSection));
    const bool byMnemonic = item->SearchType == 1;
    ui->EditName->setEnabled(byMnemonic);
    ui->ComboBoxSection->setEnabled(byMnemonic);
    reacting_ = wasReacting;
}

void TFormLasBrowserColumns::CaptionEdited(const QString& text)
{
    TLasColSetItem* item = SelectedColumn();
    if (!reacting_ || !item)
        return;
    item->SetCaption(text.toStdString());
    ui->ListBoxCurrent->currentItem()->setText(QString::fromStdString(item->Caption));
}

void TFormLasBrowserColumns::WidthEdited(int width)
{
    TLasColSetItem* item = SelectedColumn();
    if (reacting_ && item && width >= 5 && width <= 500) {
        item->Width = width;
        item->FitsContents = false;
    }
}

void TFormLasBrowserColumns::NameEdited(const QString& text)
{
    TLasColSetItem* item = SelectedColumn();
    if (reacting_ && item && item->SearchType == 1)
        item->SetName(text.toStdString());
}

void TFormLasBrowserColumns::SectionChosen(int index)
{
    TLasColSetItem* item = SelectedColumn();
    if (reacting_ && item && item->SearchType == 1 && index >= 0 &&
        index < static_cast<int>(std::size(kSectionOfItem)))
        item->LASSection = static_cast<std::uint8_t>(kSectionOfItem[index]);
}
