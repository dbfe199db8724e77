// Values at intervals window.
#include "editing/ViewValuesAtInterval.h"

#include "core/Lasfile.h"
#include "core/Q7mathutils.h"
#include "editing/IntervalManager.h"
#include "editing/ReportFiles.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/NumberText.h"

#include <QActionGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

void TValuesAtIntervalModel::Reset(const TLASFile* document, const std::set<int>& curves, int first, int last)
{
    beginResetModel();
    document_ = document;
    columns_.assign(1, 0);
    columns_.insert(columns_.end(), curves.begin(), curves.end());
    first_ = first;
    rows_ = std::max(last - first + 1, 0);
    endResetModel();
}

int TValuesAtIntervalModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !document_ ? 0 : rows_;
}

int TValuesAtIntervalModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !document_ ? 0 : static_cast<int>(columns_.size());
}

QString TValuesAtIntervalModel::Text(int row, int column) const
{
    if (!document_ || column < 0 || column >= static_cast<int>(columns_.size()))
        return {};
    if (row < 0)
        return QString::fromStdString(document_->GetCurveName(columns_[column]));
    if (row >= rows_)
        return {};
    if (columns_[column] == 0)
        return platform::RowDepthText(*document_, first_ + row);
    const int curve = columns_[column];
    return platform::CurveValueText(*document_, curve, document_->GetCurveData(curve)[first_ + row]);
}

QVariant TValuesAtIntervalModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return Text(index.row(), index.column());
}

QVariant TValuesAtIntervalModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    return Text(-1, section);
}

TFormViewValuesAtInterval::TFormViewValuesAtInterval(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Просмотр значений кривых в интервале"));
    resize(696, 480);
    QFont font = this->font();
    font.setPixelSize(14);
    setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    MainMenu = new QMenuBar(this);
    layout->setMenuBar(MainMenu);
    QMenu* file = MainMenu->addMenu(QStringLiteral("Файл"));
    MMIFileSave = file->addAction(QStringLiteral("Сохранить все в файл ..."));
    MMISaveSelected = file->addAction(QStringLiteral("Сохранить выбранное в файл .."));
    file->addSeparator();
    MMIFileClose = file->addAction(QStringLiteral("Закрыть окно"));
    QMenu* edit = MainMenu->addMenu(QStringLiteral("Правка"));
    MMIEditCopy = edit->addAction(QStringLiteral("Копировать"));
    MMIEditSelectAll = edit->addAction(QStringLiteral("Выделить все"));
    MMIInterval = MainMenu->addMenu(QStringLiteral("Интервал"));
    MMICurves = MainMenu->addMenu(QStringLiteral("Кривые"));
    StringGrid = new QTableView(this);
    StringGrid->setModel(&model_);
    StringGrid->verticalHeader()->hide();
    StringGrid->verticalHeader()->setDefaultSectionSize(20);
    StringGrid->horizontalHeader()->setSectionsMovable(true);
    StringGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(StringGrid);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setFixedHeight(23);
    layout->addWidget(StatusBar1);
    connect(MMIFileSave, &QAction::triggered, this, platform::Guarded([this] { MMIFileSaveClick(); }));
    connect(MMISaveSelected, &QAction::triggered, this, platform::Guarded([this] { MMISaveSelectedClick(); }));
    connect(MMIFileClose, &QAction::triggered, this, &QDialog::close);
    connect(MMIEditCopy, &QAction::triggered, this, platform::Guarded([this] { MMIEditCopyClick(); }));
    connect(MMIEditSelectAll, &QAction::triggered, this, platform::Guarded([this] { MMIEditSelectAllClick(); }));
}

void TFormViewValuesAtInterval::ShowValues(const TLASFile* document, const IntervalManager* intervals,
                                           const std::set<int>& curves, int interval)
{
    curves_ = curves;
    intervals_ = intervals;
    lasFile_ = document;
    BuildMenus();
    SelectInterval(interval);
    FillGrid();
    platform::ExecDialog(*this);
}

void TFormViewValuesAtInterval::BuildMenus()
{
    MMIInterval->clear();
    MMICurves->clear();
    for (QActionGroup* group : findChildren<QActionGroup*>())
        delete group;
    if (!lasFile_)
        return;
    auto* group = new QActionGroup(this);
    const int count = intervals_ ? static_cast<int>(intervals_->List.size()) : 0;
    for (int i = 0; i < count; ++i) {
        QAction* item = MMIInterval->addAction(QString::fromStdString(intervals_->List[i].Name));
        item->setObjectName(QStringLiteral("MIInt") + QString::number(i));
        item->setData(i);
        item->setCheckable(true);
        group->addAction(item);
        connect(item, &QAction::triggered, this, platform::Guarded([this, item] { IntervalItemClick(item); }));
    }
    for (int i = 1; i < lasFile_->GetCurvesCount(); ++i) {
        QAction* item = MMICurves->addAction(QString::fromStdString(lasFile_->GetCurveName(i)));
        item->setObjectName(QStringLiteral("MICurve") + QString::number(i));
        item->setData(i);
        item->setCheckable(true);
        item->setChecked(curves_.count(i) > 0);
        connect(item, &QAction::triggered, this, platform::Guarded([this, item] { CurveItemClick(item); }));
    }
}

void TFormViewValuesAtInterval::SelectInterval(int i)
{
    for (QAction* item : MMIInterval->actions())
        item->setChecked(false);
    currentInterval_ = -1;
    const int count = intervals_ ? static_cast<int>(intervals_->List.size()) : 0;
    i = std::max(i, 0);
    if (i >= count)
        i = -1;
    firstIndex_ = 0;
    lastIndex_ = lasFile_ ? lasFile_->GetPointCount() - 1 : -1;
    if (i < 0 || !lasFile_)
        return;
    const IntervalItem& item = intervals_->List[i];
    int first = 0;
    int last = -1;
    if (GetIndexRangeForDepths(static_cast<float>(item.Top), static_cast<float>(item.Bottom),
                               lasFile_->GetPointCount(), lasFile_->GetCurveData(0), first, last)) {
        firstIndex_ = first;
        lastIndex_ = last;
        MMIInterval->actions().at(i)->setChecked(true);
        currentInterval_ = i;
    }
}

void TFormViewValuesAtInterval::FillGrid()
{
    model_.Reset(lasFile_, curves_, firstIndex_, lastIndex_);
}

void TFormViewValuesAtInterval::IntervalItemClick(QAction* item)
{
    item->setChecked(true);
    if (item->data().toInt() != currentInterval_) {
        SelectInterval(item->data().toInt());
        FillGrid();
    }
}

void TFormViewValuesAtInterval::CurveItemClick(QAction* item)
{
    if (item->isChecked())
        curves_.insert(item->data().toInt());
    else
        curves_.erase(item->data().toInt());
    FillGrid();
}

QRect TFormViewValuesAtInterval::SelectedRect() const
{
    const QModelIndexList selected = StringGrid->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return {};
    const QHeaderView* header = StringGrid->horizontalHeader();
    int left = INT_MAX, right = -1, top = INT_MAX, bottom = -1;
    for (const QModelIndex& index : selected) {
        const int column = header->visualIndex(index.column());
        left = std::min(left, column);
        right = std::max(right, column);
        top = std::min(top, index.row() + 1);
        bottom = std::max(bottom, index.row() + 1);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QString TFormViewValuesAtInterval::RectText(const QRect& cells, const QString& cellSeparator, const QString& rowEnd,
                                            bool endLastRow) const
{
    const QHeaderView* header = StringGrid->horizontalHeader();
    QString text;
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        for (int column = cells.left(); column <= cells.right(); ++column) {
            text += model_.Text(row - 1, header->logicalIndex(column));
            if (column < cells.right())
                text += cellSeparator;
        }
        if (row < cells.bottom() || endLastRow)
            text += rowEnd;
    }
    return text;
}

void TFormViewValuesAtInterval::MMIEditCopyClick()
{
    const QRect cells = SelectedRect();
    if (!lasFile_ || cells.isEmpty() || (cells.width() == 1 && cells.height() == 1))
        return;
    QGuiApplication::clipboard()->setText(RectText(cells, QStringLiteral("\t"), QStringLiteral("\r"), false));
}

void TFormViewValuesAtInterval::MMIEditSelectAllClick()
{
    if (lasFile_)
        StringGrid->selectAll();
}

QString TFormViewValuesAtInterval::AskSavePath()
{
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Сохранение значений кривых в файл");
    options.defaultSuffix = QStringLiteral("txt");
    options.kind = platform::FileKind::Text;
    options.filter = QStringLiteral("Текстовые файлы (*.txt);;Все файлы (*)");
    return platform::GetSaveFileName(this, options);
}

void TFormViewValuesAtInterval::MMIFileSaveClick()
{
    if (!lasFile_)
        return;
    const QString path = AskSavePath();
    if (!path.isEmpty())
        SaveGridRect(QRect(0, 0, model_.columnCount(), model_.rowCount() + 1), path);
}

void TFormViewValuesAtInterval::MMISaveSelectedClick()
{
    if (!lasFile_)
        return;
    const QRect cells = SelectedRect();
    if (cells.isEmpty() || (cells.width() == 1 && cells.height() == 1)) {
        platform::MessageBox(this, QStringLiteral("Ничего не выбрано!"), QStringLiteral("Ошибка"),
                             platform::MB_ICONWARNING);
        return;
    }
    const QString path = AskSavePath();
    if (!path.isEmpty())
        SaveGridRect(cells, path);
}

bool TFormViewValuesAtInterval::SaveGridRect(const QRect& cells, const QString& path)
{
    return SaveReportText(this, path, RectText(cells, QStringLiteral("\t"), QStringLiteral("\n"), true));
}
