// Header editor: filling the grid, the value list of a cell and confirming the values.
#include "library/DlgLogFileHeaderEditor.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <stdexcept>

#include "library/CppSQLite3Exception.h"
#include "library/LogFileDBManager.h"
#include "library/LogFileHeader.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "ui_DlgLogFileHeaderEditor.h"

namespace {

// Asks the dialog before a value cell's editor opens; no editor when the value list took its place.
class ValueDelegate : public QStyledItemDelegate {
public:
    explicit ValueDelegate(TDlgLogFileHeaderEditor* dialog)
        : QStyledItemDelegate(dialog), dialog_(dialog)
    {
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        bool own = true;
        platform::Guarded(dialog_, [&] { own = dialog_->StringGridGetEditText(index.row()); });
        return own ? QStyledItemDelegate::createEditor(parent, option, index) : nullptr;
    }

private:
    TDlgLogFileHeaderEditor* dialog_;
};

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

TDlgLogFileHeaderEditor::TDlgLogFileHeaderEditor(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TDlgLogFileHeaderEditor>())
{
    ui->setupUi(this);
    setFixedSize(313, 415);
    StringGrid = ui->StringGrid;
    StringGrid->setHorizontalHeaderLabels({QStringLiteral("Поле"), QStringLiteral("Значение")});
    StringGrid->setItemDelegateForColumn(1, new ValueDelegate(this));
    CBVariants = new QComboBox(this);
    CBVariants->setObjectName(QStringLiteral("CBVariants"));
    CBVariants->setEditable(true);
    CBVariants->hide();
    CBVariants->installEventFilter(this);
    connect(CBVariants, &QComboBox::textActivated, this,
            platform::Guarded([this](const QString&) { CBVariantsChange(); }));
    connect(ui->OKBtn, &QPushButton::clicked, this, platform::Guarded([this] {
                if (OKBtnClick())
                    accept();
            }));
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TDlgLogFileHeaderEditor::~TDlgLogFileHeaderEditor() = default;

bool TDlgLogFileHeaderEditor::Execute(ILogFileHeader* header, LogFileDBManager* manager)
{
    header_ = header;
    manager_ = manager;
    Fill();
    return platform::ExecDialog(*this) == QDialog::Accepted;
}

void TDlgLogFileHeaderEditor::Fill()
{
    Tag = -1;
    CBVariants->hide();
    if (!header_)
        return;
    names_ = header_->GetFieldNames();
    StringGrid->clearContents();
    StringGrid->setRowCount(static_cast<int>(names_.size()));
    for (int i = 0; i < static_cast<int>(names_.size()); ++i) {
        auto* caption = new QTableWidgetItem(Text(header_->GetFieldCaption(names_[i])));
        caption->setFlags(Qt::ItemIsEnabled);
        StringGrid->setItem(i, 0, caption);
        StringGrid->setItem(i, 1, new QTableWidgetItem(Text(header_->GetString(names_[i]))));
    }
}

std::vector<std::string> TDlgLogFileHeaderEditor::Variants(const std::string& field)
{
    if (!manager_ || field == "date" || field == "DATE")
        return {};
    QString failure;
    try {
        return manager_->SelectDistinctValues(field, {}, "");
    } catch (const CppSQLite3Exception& error) {
        failure = QString::fromUtf8(error.ErrorMessage());
    } catch (const std::exception& error) {
        failure = QString::fromUtf8(error.what());
    }
    platform::MessageBox(this, failure, QStringLiteral("Ошибка"), platform::MB_OK);
    return {};
}

bool TDlgLogFileHeaderEditor::StringGridGetEditText(int row)
{
    if (Tag != -1) {
        Tag = -1;
        return true;
    }
    if (row < 0 || row >= static_cast<int>(names_.size()))
        return true;
    const std::vector<std::string> values = Variants(names_[static_cast<size_t>(row)]);
    CBVariants->clear();
    if (values.empty())
        return true;
    for (const std::string& value : values)
        CBVariants->addItem(Text(value));
    QTableWidgetItem* cell = StringGrid->item(row, 1);
    const QRect rect = StringGrid->visualItemRect(cell);
    const QPoint topLeft = StringGrid->viewport()->mapTo(this, rect.topLeft());
    CBVariants->setGeometry(topLeft.x(), topLeft.y(), rect.width(), CBVariants->sizeHint().height());
    Tag = row;
    CBVariants->setEditText(cell->text());
    CBVariants->show();
    CBVariants->raise();
    CBVariants->setFocus();
    CBVariants->showPopup();
    return false;
}

void TDlgLogFileHeaderEditor::CBVariantsChange()
{
    if (Tag == -1)
        return;
    StringGrid->item(Tag, 1)->setText(CBVariants->currentText());
    StringGrid->setFocus();
    StringGrid->editItem(StringGrid->item(Tag, 1));
}

void TDlgLogFileHeaderEditor::CBVariantsExit()
{
    if (Tag >= 0 && Tag < StringGrid->rowCount())
        StringGrid->item(Tag, 1)->setText(CBVariants->currentText());
    CBVariants->hide();
}

bool TDlgLogFileHeaderEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == CBVariants && event->type() == QEvent::FocusOut && CBVariants->isVisible() &&
        !CBVariants->view()->isVisible())
        CBVariantsExit();
    return QDialog::eventFilter(watched, event);
}

bool TDlgLogFileHeaderEditor::OKBtnClick()
{
    if (!header_)
        return true;
    if (CBVariants->isVisible())
        CBVariantsExit();
    std::vector<std::string> values;
    for (int i = 0; i < static_cast<int>(names_.size()); ++i)
        values.push_back(StringGrid->item(i, 1)->text().toStdString());
    // Every value is checked before any is stored, so a refused one leaves the header as it was.
    try {
        for (size_t i = 0; i < names_.size(); ++i)
            header_->CheckValue(names_[i], values[i]);
    } catch (const std::exception& error) {
        platform::MessageBox(this, QString::fromUtf8(error.what()), QStringLiteral("Ошибка"),
                             platform::MB_OK | platform::MB_ICONERROR);
        return false;
    }
    for (size_t i = 0; i < names_.size(); ++i)
        header_->SetValue(names_[i], values[i]);
    return true;
}
