#include "datawin/AddData.h"

#include "core/Lasfile.h"
#include "datawin/AddCurves.h"
#include "datawin/CurveCheckList.h"
#include "datawin/SaveToLas.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNameList.h"
#include "platform/FileNames.h"
#include "platform/FolderTree.h"
#include "platform/Help.h"
#include "platform/ListWidth.h"
#include "platform/NumberText.h"
#include "ui_AddData.h"

#include <QDir>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <algorithm>

TFormAddData::TFormAddData(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFormAddData>())
{
    ui->setupUi(this);
    platform::FitWidthToEntries(*ui->FileListBox);
    folders_ = platform::ShowFolderTree(*ui->DirectoryListBox, this);
    connect(ui->DirectoryListBox, &QTreeView::clicked, this,
            platform::Guarded([this](const QModelIndex& index) { SetFolder(folders_->filePath(index)); }));
    connect(ui->FileListBox, &QListWidget::currentRowChanged, this, platform::Guarded([this](int) { LoadSource(); }));
    ConnectCheckButtons(*ui->CheckListBox, *ui->ButtonSelectAll, *ui->ButtonUncheckAll);
    connect(ui->ButtonAdd, &QPushButton::clicked, this, platform::Guarded([this] { ButtonAddClick(); }));
    connect(ui->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->BitBtnHelp, &QPushButton::clicked, this, platform::Guarded([] { platform::ShowHelpTopic(kHelpTopic); }));
}

TFormAddData::~TFormAddData() = default;

// The limits keep the depths given, unrounded, so a default limit takes the target's own first
// and last rows whatever decimals its depths have.
void TFormAddData::SetLimits(double top, double bottom)
{
    const int decimals = std::max(2, target_ ? target_->GetDepthDecimals() : 0);
    for (TFloatSpinEdit* edit : {ui->RxSELimitFrom, ui->RxSELimitTo})
        edit->SetDisplayDecimals(decimals);
    ui->RxSELimitFrom->SetValue(top);
    ui->RxSELimitTo->SetValue(bottom);
    ui->CheckBoxLimitDept->setChecked(!(top == 0 && bottom == 0));
}

void TFormAddData::PrepareForFile(const QString& folder, const QString& fileName, double top, double bottom, double,
                                  TLASFile* target)
{
    PrepareForFolder(folder, target, top, bottom, 0);
    for (int row = 0; row < ui->FileListBox->count(); ++row)
        if (platform::FileNameOfItem(*ui->FileListBox->item(row)).compare(fileName, Qt::CaseInsensitive) == 0) {
            ui->FileListBox->setCurrentRow(row);  // loads it
            break;
        }
}

void TFormAddData::PrepareForFolder(const QString& folder, TLASFile* target, double top, double bottom, double)
{
    target_ = target;
    SetLimits(top, bottom);
    SetFolder(folder);
}

void TFormAddData::SetFolder(const QString& folder)
{
    folder_ = folder;
    ui->DirectoryListBox->setCurrentIndex(folders_->index(folder));
    QSignalBlocker block(ui->FileListBox);
    platform::FillFileNameList(*ui->FileListBox, folder, "*.las");
    ui->FileListBox->setCurrentRow(-1);
}

void TFormAddData::LoadSource()
{
    ui->CheckListBox->clear();
    source_.reset();
    const QListWidgetItem* item = ui->FileListBox->currentItem();
    if (!item) {
        ui->LabelDepthInterval->clear();
        return;
    }
    const QString path = platform::FileInFolder(folder_, platform::FileNameOfItem(*item));
    auto source = std::make_unique<TLASFile>(platform::FileNameToBytes(path), 2);
    if (!source->IsLoaded()) {
        ui->LabelDepthInterval->clear();
        ReportUnloadedFile(this, platform::ShownFileName(path), QString::fromStdString(source->GetLoadError()));
        return;
    }
    WarnOmittedData(this, *source, platform::ShownFileName(path));
    source_ = std::move(source);
    ui->LabelDepthInterval->setText(QStringLiteral("Начальная глубина: ") + platform::RowDepthText(*source_, 0) +
                                    QStringLiteral(" Конечная глубина: ") +
                                    platform::RowDepthText(*source_, source_->GetPointCount() - 1));
    FillCurveCheckList(*ui->CheckListBox, *source_, CurveItemText::Mnemonic);
}

void TFormAddData::ButtonAddClick()
{
    if (!target_) {
        platform::ShowMessage(QStringLiteral("Не открыт LAS файл, в который надо добавлять данные"));
        reject();
        return;
    }
    if (!source_) {
        platform::ShowMessage(QStringLiteral("Не выбран файл"));
        return;
    }
    const std::vector<int> curves = CheckedCurves(*ui->CheckListBox);
    if (curves.empty()) {
        platform::ShowMessage(QStringLiteral("Не выбрано ни одной кривой для добавления"));
        return;
    }
    DepthLimit limit{ui->CheckBoxLimitDept->isChecked(), ui->RxSELimitFrom->Value(), ui->RxSELimitTo->Value()};
    std::string error;
    if (!AddCheckedCurves(*target_, *source_, curves, limit, error)) {
        platform::MessageBox(this, QString::fromStdString(error), QStringLiteral("Добавление кривых"),
                             platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    accept();
}

void TFormAddData::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        platform::ShowHelpTopic(kHelpTopic);
        return;
    }
    QDialog::keyPressEvent(event);
}

// Closing by any button lets the source go: the next showing needs a file picked.
void TFormAddData::done(int result)
{
    source_.reset();
    ui->CheckListBox->clear();
    QDialog::done(result);
}
