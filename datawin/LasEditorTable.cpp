// LAS editor window: the table page (curve table, step, value grid and its popup commands).
#include "datawin/LasEditor.h"

#include "core/LasDepthColumn.h"
#include "core/Lasfile.h"
#include "datawin/CopyBuffer.h"
#include "datawin/FindInGrid.h"
#include "editing/CurveNameRules.h"
#include "datawin/LasTableModel.h"
#include "platform/DialogRunner.h"
#include "platform/FileNames.h"
#include "platform/NumberText.h"
#include "ui_LasEditor.h"

#include <QMenu>

#include <algorithm>
#include <cmath>

namespace {
const QString kNull = QStringLiteral("Null");
constexpr int kStepDecimals = 4;  // room for a typed step such as 0.1524

QTableWidgetItem* Item(const std::string& text)
{
    return new QTableWidgetItem(QString::fromStdString(text));
}
}  // namespace

void TFormEditor::OpenFile(const QString& path)
{
    findWindow_->ForgetGrid(*model_);
    model_->SetDocument(nullptr);
    document_.reset();
    fileName_ = path;
    tableChanged_ = false;
    // A file that cannot be read leaves the page empty, so that nothing is offered for saving.
    auto document = std::make_unique<TLASFile>(platform::FileNameToBytes(path), 2);
    if (!document->IsLoaded()) {
        ClearGrids();
        ReportUnloadedFile(this, platform::ShownFileName(path), QString::fromStdString(document->GetLoadError()));
        return;
    }
    document_ = std::move(document);
    loadedFrom_ = DescribeLoadedFile(*document_);
    loadedFrom_.omitted = QString::fromStdString(document_->GetUnloadedData());
    FillGrids();
    WarnOmittedData(this, *document_, platform::ShownFileName(path));
}

void TFormEditor::FillGrids()
{
    if (!document_)
        return;
    gridsFilled_ = false;
    FillCurveTable();
    model_->SetDocument(document_.get());
    // STEP whole: a step shown rounded would be applied rounded.
    const float step = document_->GetStep();
    ui->EditDeptStep->setDecimals(std::max(kStepDecimals, StepDecimals(step)));
    ui->EditDeptStep->setValue(step);
    const LasDecimal null = LasDecimal::Of(document_->GetNullValue());
    ui->EditNullValue->setText(platform::DecimalText(null.value, null.decimals));
    gridsFilled_ = true;
}

void TFormEditor::FillCurveTable()
{
    QTableWidget& table = *ui->SGCurves;
    QSignalBlocker block(table);
    const int curves = document_ ? document_->GetCurvesCount() : 0;
    table.setRowCount(std::max(1, curves));
    table.clearContents();
    for (int i = 0; i < curves; ++i) {
        table.setItem(i, 0, Item(document_->GetCurveName(i)));
        table.setItem(i, 1, Item(document_->GetCurveUnit(i)));
        table.setItem(i, 2, Item(document_->GetCurveDescription(i)));
    }
}

void TFormEditor::FillColumn(int curve)
{
    model_->DropEdits(curve + 1);
}

void TFormEditor::ClearGrids()
{
    FillCurveTable();
    model_->SetDocument(document_.get());
}

bool TFormEditor::ReadColumn(int curve, std::vector<float>& values) const
{
    return model_->ReadColumn(curve, values);
}

void TFormEditor::ApplyGridToDocument()
{
    if (!document_)
        return;
    QString refused;
    QString depthProblem;
    if (model_->ApplyToDocument(refused, depthProblem))
        MarkTableChanged();
    if (!refused.isEmpty())
        platform::ShowMessage(QStringLiteral("В столбце (столбцах) : \n") + refused +
                              QStringLiteral("Содержатся некорректные значения"));
    if (!depthProblem.isEmpty())
        platform::ShowMessage(depthProblem);
}

void TFormEditor::ShowInvalidCell()
{
    int col = 0;
    int row = 0;
    if (!model_->TakeInvalidCell(col, row))
        return;
    platform::MessageBox(this, QStringLiteral("Недопустимый формат числа"), QStringLiteral("Ошибочный ввод"),
                         platform::MB_OK | platform::MB_ICONERROR);
    ui->StringGrid->EditCell(col, row);
}

void TFormEditor::SGCurvesChanged(int row, int column)
{
    if (!document_ || !gridsFilled_ || row >= document_->GetCurvesCount())
        return;
    QTableWidgetItem* item = ui->SGCurves->item(row, column);
    const std::string text = item ? item->text().toStdString() : std::string();
    static const int fields[] = {TLasParsParsedString::kMnemonic, TLasParsParsedString::kUnit,
                                 TLasParsParsedString::kDescription};
    if (RefusedCurveText(this, *document_, QString::fromStdString(document_->GetCurveName(row)), fields[column],
                         QString::fromStdString(text))) {
        FillCurveTable();
        return;
    }
    if (column == 0) {
        document_->SetCurveName(row, text);
        model_->CurveRenamed(row);
    } else if (column == 1) {
        document_->SetCurveUnit(row, text);
    } else {
        document_->SetCurveDescription(row, text);
    }
    MarkTableChanged();
}

bool TFormEditor::AskCurveName(const QString& title, const QString& prompt, QString& name)
{
    return platform::InputQuery(title, prompt, name) && !name.isEmpty() &&
           !RefusedCurveText(this, *document_, name, TLasParsParsedString::kMnemonic, name);
}

void TFormEditor::ApplyStep()
{
    if (!document_)
        return;
    const double step = ui->EditDeptStep->value();
    if (step < 0.01 || step > 10000)
        return;
    const QString firstText = model_->Text(1, 1);
    double first = 0;
    if (firstText == kNull || !platform::TryStrToFloat(firstText, first)) {
        platform::MessageBox(this, QStringLiteral("'") + firstText + QStringLiteral("' не является числом"),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    // The depths are written with at least the decimals the step needs.
    const int decimals = StepDecimals(step);
    if (decimals > document_->GetDepthDecimals())
        document_->SetDepthDecimals(decimals);
    // Each depth from the first one, in double, so that a long column keeps the step.
    document_->SetDepthGrid(first, step);
    document_->SetStep(float(step));
    FillColumn(0);
    MarkTableChanged();
}

void TFormEditor::AddColumn()
{
    if (!document_)
        return;
    QString name = QStringLiteral("Col") + QString::number(model_->ColCount());
    if (!AskCurveName(QStringLiteral("Добавление столбца"), QStringLiteral("Введите название нового столбца"), name))
        return;
    const std::vector<float> zeros(std::size_t(document_->GetPointCount()), 0.0f);
    document_->AddCurve(name.toStdString(), zeros.data());
    model_->CurveAdded();
    FillCurveTable();
    MarkTableChanged();
}

void TFormEditor::RenameColumn()
{
    if (!document_ || popupCol_ < 1 || popupCol_ >= model_->ColCount())
        return;
    QString name = model_->Text(popupCol_, 0);
    if (!AskCurveName(QStringLiteral("Изменение названия столбца"), QStringLiteral("Введите новое название"), name))
        return;
    document_->SetCurveName(popupCol_ - 1, name.toStdString());
    FillCurveTable();
    model_->CurveRenamed(popupCol_ - 1);
    MarkTableChanged();
}

void TFormEditor::DeleteColumn()
{
    if (!document_)
        return;
    if (popupCol_ <= 1) {
        platform::MessageBox(this, QStringLiteral("Нельзя удалить столбец глубины"), QStringLiteral("Ошибка удаления"),
                             platform::MB_OK | platform::MB_ICONWARNING);
        return;
    }
    if (popupCol_ >= model_->ColCount())
        return;
    if (platform::MessageBox(this,
                             QStringLiteral("Вы подтверждаете удаление столбца \n   <") + model_->Text(popupCol_, 0) +
                                 QStringLiteral("> ?"),
                             QStringLiteral("Подтверждение удаления"),
                             platform::MB_YESNO | platform::MB_ICONQUESTION) == platform::IDNO)
        return;
    ApplyGridToDocument();
    const int curve = popupCol_ - 1;
    if (!document_->DeleteCurve(curve))
        return;
    model_->CurveDeleted(curve);
    FillCurveTable();
    MarkTableChanged();
}

void TFormEditor::SetColumnNull()
{
    // The depth column never holds NULL.
    if (!document_ || popupCol_ <= 1 || popupCol_ >= model_->ColCount())
        return;
    if (platform::MessageBox(this,
                             QStringLiteral("Вы подтверждаете обнуление столбца \n <") + model_->Text(popupCol_, 0) +
                                 QStringLiteral("> ?"),
                             QStringLiteral("Подтверждение обнуления"),
                             platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
        return;
    for (int row = 1; row < model_->RowCount(); ++row)
        model_->SetText(popupCol_, row, kNull);
}

void TFormEditor::ShiftOrMultiplySelection(int mode)
{
    if (!document_)
        return;
    const bool shift = mode == 1;
    const GridRect rect = ui->StringGrid->Selection();
    QString answer = shift ? QStringLiteral("0") : QStringLiteral("1");
    double x = 0;
    for (;;) {
        if (!platform::InputQuery(shift ? QStringLiteral("Сдвиг выделенного диапазона")
                                        : QStringLiteral("Умножение выделенного диапазона"),
                                  shift ? QStringLiteral("Введите число, на которое следует сдвинуть значения ячеек:")
                                        : QStringLiteral("Введите число, на которое следует умножить значения ячеек:"),
                                  answer) ||
            answer.isEmpty())
            return;
        if (platform::TryStrToFloat(answer, x))
            break;
        if (platform::MessageBox(this,
                                 QStringLiteral("<") + answer +
                                     QStringLiteral("> Не является корректным действительным числом\nЖелаете ввести "
                                                    "число еще раз?"),
                                 QStringLiteral("Ошибка"),
                                 platform::MB_YESNO | platform::MB_ICONERROR) != platform::IDYES)
            return;
    }
    for (int col = rect.Left; col <= rect.Right; ++col)
        for (int row = rect.Top; row <= rect.Bottom; ++row) {
            double value = 0;
            if (model_->CellValue(col, row, value))
                model_->SetText(col, row, model_->NumberText(col - 1, shift ? value + x : value * x));
        }
}

void TFormEditor::OpenFindWindow()
{
    if (!document_)
        return;
    LasGridView& grid = *ui->StringGrid;
    const QString proposed = copyBuffer_->IsEmpty() ? model_->Text(grid.CurrentCol(), grid.CurrentRow())
                                                    : copyBuffer_->FirstItem();
    const GridRect s = grid.Selection();
    if (s.Left == s.Right && s.Top == 1 && s.Bottom == model_->RowCount() - 1)
        findWindow_->ShowForGridPlace(*model_, grid, proposed, 2);
    else if (s.Top == s.Bottom)
        findWindow_->ShowForGrid(*model_, grid, proposed);
    else
        findWindow_->ShowForGridPlace(*model_, grid, proposed, 1);
}

void TFormEditor::PMenuGridPopup(const QPoint& pos)
{
    int col = -1;
    int row = -1;
    ui->StringGrid->CellAt(pos, col, row);
    const bool column = document_ && col >= 1;
    MIColCaption->setEnabled(column);
    MIDelColumn->setEnabled(column && model_->ColCount() > 2);
    MISetNullCol->setEnabled(column && col > 1);
    popupCol_ = col == 0 ? 1 : col;
    popupRow_ = row == 0 ? 1 : row;
    MIPaste->setEnabled(popupCol_ >= 1 && popupRow_ >= 1 && !copyBuffer_->IsEmpty());
    MIClearBuffer->setEnabled(!copyBuffer_->IsEmpty());
}
