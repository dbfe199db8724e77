// Value grid model of the table editor.
#include "datawin/LasTableModel.h"

#include "core/LasNumbers.h"
#include "core/Lasfile.h"
#include "core/StringUtils.h"
#include "platform/NumberText.h"

namespace {
const QString kNull = QStringLiteral("Null");
}  // namespace

LasTableModel::LasTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void LasTableModel::SetDocument(TLASFile* document)
{
    beginResetModel();
    document_ = document;
    columns_.assign(document ? std::size_t(document->GetCurvesCount()) : 0, Column{});
    invalidCol_ = invalidRow_ = -1;
    endResetModel();
}

int LasTableModel::ColCount() const
{
    return int(columns_.size()) + 1;
}

int LasTableModel::RowCount() const
{
    return document_ && !columns_.empty() ? document_->GetPointCount() + 1 : 1;
}

int LasTableModel::Decimals(int curve) const
{
    return curve == 0 ? document_->GetDepthDecimals() : document_->GetCurveDecimals(curve);
}

QString LasTableModel::Text(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        return {};
    if (col == 0)
        return row == 0 ? QString() : QString::number(row);
    const int curve = col - 1;
    if (row == 0)
        return QString::fromStdString(document_->GetCurveName(curve));
    const auto& texts = columns_[std::size_t(curve)].texts;
    if (auto it = texts.find(row); it != texts.end())
        return it->second;
    // A depth is the decimal the document holds for it, as it is saved.
    if (curve == 0)
        return platform::DecimalText(document_->DepthAt(row - 1), Decimals(0));
    const float value = document_->GetCurveData(curve)[row - 1];
    return value == document_->GetNullValue() ? kNull : platform::SampleValueText(*document_, curve, row - 1);
}

void LasTableModel::SetText(int col, int row, const QString& typed)
{
    if (col < 1 || row < 1 || col >= ColCount() || row >= RowCount())
        return;
    QString text = typed;
    bool valid = true;
    if (text.trimmed().isEmpty()) {
        text = kNull;
    } else if (text.toUpper() != QStringLiteral("NULL")) {
        float value = 0;
        valid = platform::TryStrToFloat(text, value);
        if (valid && value == document_->GetNullValue())
            text = kNull;
    }
    if (!valid && invalidCol_ < 0) {
        invalidCol_ = col;
        invalidRow_ = row;
    }
    if (text == Text(col, row))
        return;
    Column& column = columns_[std::size_t(col - 1)];
    column.texts[row] = text;
    column.pending = true;
    const QModelIndex cell = IndexOf(col, row);
    emit dataChanged(cell, cell);
}

bool LasTableModel::CellValue(int col, int row, double& value) const
{
    if (col < 1 || row < 1 || col >= ColCount() || row >= RowCount())
        return false;
    const auto& texts = columns_[std::size_t(col - 1)].texts;
    if (auto it = texts.find(row); it != texts.end())
        return it->second != kNull && platform::TryStrToFloat(it->second, value);
    if (col == 1) {
        value = document_->DepthAt(row - 1);
        return true;
    }
    const float stored = document_->GetCurveData(col - 1)[row - 1];
    if (stored == document_->GetNullValue())
        return false;
    value = stored;
    return true;
}

QString LasTableModel::NumberText(int curve, double value) const
{
    const float target = float(value);
    QString text = platform::LasNumberText(target, Decimals(curve));
    float back = 0;
    if (platform::TryStrToFloat(text, back) && back == target)
        return text;
    text = QString::fromStdString(ShortestNumberText(target));
    text.replace(QLatin1Char('.'), platform::DecimalSeparator());
    return text;
}

bool LasTableModel::TakeInvalidCell(int& col, int& row)
{
    col = invalidCol_;
    row = invalidRow_;
    invalidCol_ = invalidRow_ = -1;
    return col >= 0;
}

bool LasTableModel::ReadColumn(int curve, std::vector<float>& values) const
{
    if (!document_ || curve < 0 || curve >= int(columns_.size()))
        return false;
    const float* data = document_->GetCurveData(curve);
    values.assign(data, data + document_->GetPointCount());
    for (const auto& [row, text] : columns_[std::size_t(curve)].texts) {
        if (text == kNull) {
            values[std::size_t(row - 1)] = document_->GetNullValue();
        } else if (!platform::TryStrToFloat(text, values[std::size_t(row - 1)])) {
            return false;
        }
    }
    return true;
}

bool LasTableModel::ReadDepths(std::vector<double>& depths) const
{
    depths.resize(std::size_t(document_->GetPointCount()));
    for (std::size_t i = 0; i < depths.size(); ++i)
        depths[i] = document_->DepthAt(static_cast<long long>(i));
    for (const auto& [row, text] : columns_[0].texts)
        if (text == kNull || !platform::TryStrToFloat(text, depths[std::size_t(row - 1)]))
            return false;
    return true;
}

std::string LasTableModel::TypedDepthsProblem(const std::vector<double>& depths) const
{
    std::vector<std::string> numbers;
    int decimals = document_->GetDepthDecimals();
    for (const auto& [row, text] : columns_[0].texts)
        if (std::string number; platform::TypedNumberText(text, number)) {
            decimals = std::max(decimals, LasDecimals(number));
            numbers.push_back(std::move(number));
        }
    for (const std::string& number : numbers) {
        double depth = 0.0;
        ParseLasNumber(number, depth);
        if (std::string problem = document_->DepthDigitsProblem(number, depth, decimals); !problem.empty())
            return problem;
    }
    // The depths not typed take the decimals too.
    if (depths.empty())
        return {};
    for (const double depth : {depths.front(), depths.back()})
        if (std::string problem = document_->DepthDigitsProblem(depth, decimals); !problem.empty())
            return problem;
    return {};
}

namespace {
// As the floats the document holds them in.
bool StrictlyRising(const std::vector<double>& depths)
{
    for (std::size_t i = 1; i < depths.size(); ++i)
        if (!(float(depths[i]) > float(depths[i - 1])))
            return false;
    return true;
}
}  // namespace

bool LasTableModel::ApplyToDocument(QString& refused, QString& depthProblem)
{
    refused.clear();
    depthProblem.clear();
    if (!document_)
        return false;
    bool changed = false;
    std::vector<float> values;
    std::vector<double> depths;
    for (int curve = 0; curve < int(columns_.size()); ++curve) {
        Column& column = columns_[std::size_t(curve)];
        if (!column.pending)
            continue;
        const int points = document_->GetPointCount();
        const bool ok = curve == 0 ? ReadDepths(depths) && StrictlyRising(depths) : ReadColumn(curve, values);
        if (!ok) {
            refused += QString::fromStdString(document_->GetCurveName(curve)) + QStringLiteral("\n");
            continue;
        }
        // Typed depths are kept as the decimals typed, typed values with the texts typed.
        if (curve == 0) {
            if (const std::string problem = TypedDepthsProblem(depths); !problem.empty()) {
                depthProblem = QString::fromStdString(problem);
                depthProblem[0] = depthProblem[0].toUpper();
                continue;
            }
            document_->SetDepths(depths);
        } else {
            document_->SetCurveValues(values.data(), 0, curve, points);
            std::string number;
            for (const auto& [row, text] : column.texts)
                if (platform::TypedNumberText(text, number))
                    document_->SetTypedText(curve, row - 1, number);
        }
        column.pending = false;
        changed = true;
    }
    return changed;
}

bool LasTableModel::HasPendingEdits() const
{
    for (const Column& column : columns_)
        if (column.pending)
            return true;
    return false;
}

void LasTableModel::DropEdits(int col)
{
    if (col < 1 || col >= ColCount())
        return;
    columns_[std::size_t(col - 1)] = Column{};
    emit dataChanged(index(0, col - 1), index(rowCount() - 1, col - 1));
}

void LasTableModel::CurveAdded()
{
    const int col = int(columns_.size());
    beginInsertColumns({}, col, col);
    columns_.emplace_back();
    endInsertColumns();
}

void LasTableModel::CurveDeleted(int curve)
{
    beginRemoveColumns({}, curve, curve);
    columns_.erase(columns_.begin() + curve);
    endRemoveColumns();
}

void LasTableModel::CurveRenamed(int curve)
{
    emit headerDataChanged(Qt::Horizontal, curve, curve);
}

int LasTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount() - 1;
}

int LasTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColCount() - 1;
}

QVariant LasTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return Text(index.column() + 1, index.row() + 1);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

bool LasTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    SetText(index.column() + 1, index.row() + 1, value.toString());
    return true;
}

Qt::ItemFlags LasTableModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant LasTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return orientation == Qt::Horizontal ? Text(section + 1, 0) : QVariant(section + 1);
}
