// Values of chosen curves at every depth sample of one interval, as a table that can be copied
// and saved.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QRect>
#include <set>

class IntervalManager;
class QAction;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTableView;
class TLASFile;

// The table: a depth column, then one column per shown curve in ascending curve order; the
// horizontal header holds the mnemonics. Cells are formatted when shown.
class TValuesAtIntervalModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    void Reset(const TLASFile* document, const std::set<int>& curves, int first, int last);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Row -1 is the header.
    QString Text(int row, int column) const;

private:
    const TLASFile* document_ = nullptr;
    std::vector<int> columns_;  // document curve of each column, 0 = depth
    int first_ = 0;
    int rows_ = 0;
};

class TFormViewValuesAtInterval : public QDialog
{
    Q_OBJECT
public:
    explicit TFormViewValuesAtInterval(QWidget* parent = nullptr);

    // Shows the document's curves at interval `interval` of the manager (-1: the first one, or the
    // whole document without intervals), modally.
    void ShowValues(const TLASFile* document, const IntervalManager* intervals, const std::set<int>& curves,
                    int interval);

    void BuildMenus();
    void SelectInterval(int i);
    void FillGrid();
    // Writes the cells of visual columns left..right and grid rows top..bottom (row 0 the header).
    bool SaveGridRect(const QRect& cells, const QString& path);

    void MMIFileSaveClick();
    void MMISaveSelectedClick();
    void MMIEditCopyClick();
    void MMIEditSelectAllClick();
    // Bounding rectangle of the selection in visual columns and grid rows; empty when nothing is selected.
    QRect SelectedRect() const;
    QString RectText(const QRect& cells, const QString& cellSeparator, const QString& rowEnd, bool endLastRow) const;

    QMenuBar* MainMenu = nullptr;
    QMenu* MMIInterval = nullptr;
    QMenu* MMICurves = nullptr;
    QAction* MMIFileSave = nullptr;
    QAction* MMISaveSelected = nullptr;
    QAction* MMIFileClose = nullptr;
    QAction* MMIEditCopy = nullptr;
    QAction* MMIEditSelectAll = nullptr;
    QTableView* StringGrid = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    int CurrentInterval() const { return currentInterval_; }

private:
    void IntervalItemClick(QAction* item);
    void CurveItemClick(QAction* item);
    QString AskSavePath();

    TValuesAtIntervalModel model_;
    const TLASFile* lasFile_ = nullptr;
    const IntervalManager* intervals_ = nullptr;
    std::set<int> curves_;
    int currentInterval_ = -1;
    int firstIndex_ = 0;
    int lastIndex_ = -1;
};
