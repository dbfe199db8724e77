// The value grid of the table editor over a LAS document. A cell's text is made from the
// document's value (the text it was typed as, while that reads as it) when it is shown; only the texts the user changed are kept beside the
// document until the grid is taken back into it.
#pragma once

#include "datawin/GridCells.h"

#include <QAbstractTableModel>

#include <string>
#include <unordered_map>
#include <vector>

class TLASFile;

// Grid coordinates: column 0 holds the row numbers and row 0 the mnemonics, so grid cell
// (col, row) of a data value is model index (row - 1, col - 1) and shows sample row - 1 of
// document curve col - 1.
class LasTableModel : public QAbstractTableModel, public GridCells
{
    Q_OBJECT
public:
    explicit LasTableModel(QObject* parent = nullptr);

    // Shows the document (null: nothing), dropping every changed text.
    void SetDocument(TLASFile* document);
    TLASFile* Document() const { return document_; }

    int ColCount() const override;
    int RowCount() const override;
    QString Text(int col, int row) const override;
    // The committed text of a data cell: "Null" for an empty text or the NULL value; a text that
    // is not a number is kept as typed and its cell remembered for TakeInvalidCell.
    void SetText(int col, int row, const QString& text) override;

    // The number in a data cell: its changed text read, else the document's exact value (a depth
    // as its decimal); false for "Null" and for a text that is not a number.
    bool CellValue(int col, int row, double& value) const;
    // A computed value as cell text: the curve's decimals when they hold the value as a float,
    // else the shortest text that does.
    QString NumberText(int curve, double value) const;
    // The column's values with the changed texts read; false when one is not a number or "Null".
    bool ReadColumn(int curve, std::vector<float>& values) const;
    // The depths as decimals (TLASFile::DepthAt) with the changed texts read; false as above.
    bool ReadDepths(std::vector<double>& depths) const;
    // Why the rising `depths` with the typed ones, written with the decimals the column would
    // take, cannot be written (TLASFile::DepthDigitsProblem): a typed depth, else the widest of
    // the first and the last; empty when they can.
    std::string TypedDepthsProblem(const std::vector<double>& depths) const;
    // Takes the changed columns into the document. A column with a text that is not a number,
    // or a depth column that holds NULL or does not strictly rise, is left out and its mnemonic
    // and "\n" added to `refused`; a depth column with a typed depth of more significant digits
    // than the depths may have is left out with the reason in `depthProblem`. True when the
    // document changed.
    bool ApplyToDocument(QString& refused, QString& depthProblem);
    bool HasPendingEdits() const;
    // Drops the changed texts of one column.
    void DropEdits(int col);
    // The cell of the first text that is not a number committed since the last call.
    bool TakeInvalidCell(int& col, int& row);

    // The document gained a last curve, or lost one; changed texts of other columns stay.
    void CurveAdded();
    void CurveDeleted(int curve);
    void CurveRenamed(int curve);

    QModelIndex IndexOf(int col, int row) const { return index(row - 1, col - 1); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Column {
        std::unordered_map<int, QString> texts;  // by grid row
        bool pending = false;                    // changed since last taken into the document
    };
    int Decimals(int curve) const;

    TLASFile* document_ = nullptr;
    std::vector<Column> columns_;  // by document curve
    int invalidCol_ = -1;
    int invalidRow_ = -1;
};
