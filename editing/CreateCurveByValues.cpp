// New curve from typed values.
#include "editing/CreateCurveByValues.h"

#include "core/LasNumbers.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/Help.h"
#include "platform/NumberText.h"
#include "ui_CreateCurveByValues.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <algorithm>
#include <map>
#include <string>

TFormCreateCurveByValues::TFormCreateCurveByValues(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormCreateCurveByValues>())
{
    ui->setupUi(this);
    connect(ui->BitBtnAddPoint, &QPushButton::clicked, this, platform::Guarded([this] { BitBtnAddPointClick(); }));
    connect(ui->BitBtnDeletePoint, &QPushButton::clicked, this,
            platform::Guarded([this] { BitBtnDeletePointClick(); }));
    connect(ui->BitBtnDeleteAllPoints, &QPushButton::clicked, this,
            platform::Guarded([this] { BitBtnDeleteAllPointsClick(); }));
    connect(ui->BitBtnPaste, &QPushButton::clicked, this, platform::Guarded([this] { ButtonPasteFromClpbClick(); }));
    connect(ui->OKBtn, &QPushButton::clicked, this, &TFormCreateCurveByValues::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->BitBtnHelp, &QPushButton::clicked, this, [] { platform::ShowHelpTopic(18); });
    BitBtnDeleteAllPointsClick();
}

TFormCreateCurveByValues::~TFormCreateCurveByValues() = default;

int TFormCreateCurveByValues::SetPoints(FloatVector& values, QString& name, float nullValue, const FloatVector& depths,
                                        const QString& firstDepth)
{
    if (depths.size() < 2)
        return 0;
    values_ = values;
    depths_ = depths;
    name_ = name;
    ui->EditNewCurveName->setText(name);
    nullValue_ = nullValue;
    values_.resize(depths_.size());
    BitBtnDeleteAllPointsClick();
    SetCell(0, 0, firstDepth);
    if (platform::ExecDialog(*this) != QDialog::Accepted)
        return 0;
    values = values_;
    name = name_;
    return 1;
}

QString TFormCreateCurveByValues::Cell(int row, int column) const
{
    const QTableWidgetItem* item = ui->StringGrid->item(row, column);
    return item ? item->text() : QString();
}

void TFormCreateCurveByValues::SetCell(int row, int column, const QString& text)
{
    ui->StringGrid->setItem(row, column, new QTableWidgetItem(text));
}

void TFormCreateCurveByValues::BitBtnAddPointClick()
{
    const int row = ui->StringGrid->rowCount();
    ui->StringGrid->insertRow(row);
    ui->StringGrid->setCurrentCell(row, 0);
    ui->StringGrid->setFocus();
}

void TFormCreateCurveByValues::BitBtnDeletePointClick()
{
    QTableWidget* grid = ui->StringGrid;
    if (grid->rowCount() <= 1) {
        delete grid->takeItem(0, 0);
        delete grid->takeItem(0, 1);
        return;
    }
    const int row = grid->currentRow();
    if (row >= 0)
        grid->removeRow(row);
}

void TFormCreateCurveByValues::BitBtnDeleteAllPointsClick()
{
    ui->StringGrid->clearContents();
    ui->StringGrid->setRowCount(1);
    ui->StringGrid->setCurrentCell(0, 0);
}

void TFormCreateCurveByValues::ButtonPasteFromClpbClick()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty() || !PastePoints(text))
        platform::MessageBox(this, QStringLiteral("В буфере обмена содержатся некорректные данные"),
                             QStringLiteral("Вставка из буфера обмена"), platform::MB_ICONERROR);
}

bool TFormCreateCurveByValues::PastePoints(const QString& text)
{
    PointTexts points;
    if (!ParsePointsText(text.toStdString(), points))
        return false;
    if (points.empty())
        return true;
    QTableWidget* grid = ui->StringGrid;
    const int row = std::max(grid->currentRow(), 0);
    for (std::size_t i = 0; i < points.size(); ++i) {
        grid->insertRow(row + static_cast<int>(i));
        SetCell(row + static_cast<int>(i), 0, QString::fromStdString(points[i].first));
        SetCell(row + static_cast<int>(i), 1, QString::fromStdString(points[i].second));
    }
    return true;
}

int TFormCreateCurveByValues::ComputeValues()
{
    values_.assign(depths_.size(), nullValue_);
    typedDecimals_ = 0;
    valueTexts_.clear();
    std::map<float, std::string> typedTexts;  // by value
    for (int row = 0; row < ui->StringGrid->rowCount(); ++row) {
        float depth = 0.0f;
        float value = 0.0f;
        if (!platform::TryStrToFloat(Cell(row, 0), depth))
            return 2;
        if (!platform::TryStrToFloat(Cell(row, 1), value))
            return 1;
        const int index = SampleIndexForDepth(depths_, depth);
        if (index < 0)
            return 2;
        values_[index] = value;
        std::string typed;
        if (platform::TypedNumberText(Cell(row, 1), typed)) {
            typedDecimals_ = std::max(typedDecimals_, LasDecimals(typed));
            typedTexts[value] = std::move(typed);
        }
    }
    ConnectType type = ConnectType::Steps;
    if (ui->RadioSpline->isChecked())
        type = ConnectType::Spline;
    else if (ui->RadioLines->isChecked())
        type = ConnectType::Lines;
    FillBetweenPoints(type, depths_, values_, nullValue_);
    for (size_t i = 0; i < values_.size(); ++i)
        if (const auto typed = typedTexts.find(values_[i]); typed != typedTexts.end() && values_[i] != nullValue_)
            valueTexts_.emplace_back(static_cast<int>(i), typed->second);
    return 0;
}

QString TFormCreateCurveByValues::FilterCurveName(const QString& name)
{
    QString kept;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_' || u == '$' ||
            (u >= 0x0410 && u <= 0x044F))
            kept += c;
    }
    return kept;
}

void TFormCreateCurveByValues::accept()
{
    const int code = ComputeValues();
    if (code != 0) {
        const QString text = code == 1   ? QStringLiteral("Некорректное значение в таблице")
                             : code == 2 ? QStringLiteral("Некорректное значение глубины в таблице")
                                         : QStringLiteral("Неопознанная ошибка");
        platform::MessageBox(this, text, QStringLiteral("Ошибка"), platform::MB_ICONERROR);
        return;
    }
    const QString name = FilterCurveName(ui->EditNewCurveName->text());
    if (name != ui->EditNewCurveName->text())
        ui->EditNewCurveName->setText(name);
    if (name.isEmpty()) {
        platform::MessageBox(this, QStringLiteral("Введите имя кривой"), QStringLiteral("Ошибка"),
                             platform::MB_ICONWARNING);
        ui->EditNewCurveName->setFocus();
        return;
    }
    name_ = name;
    QDialog::accept();
}

void TFormCreateCurveByValues::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        platform::ShowHelpTopic(18);
        return;
    }
    QDialog::keyPressEvent(event);
}
