// The calculation script editor.
#include "editing/CalcBarEdit.h"

#include "core/ExprList.h"
#include "core/MParser.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "platform/Help.h"
#include "platform/NumberText.h"
#include "ui_CalcBarEdit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <filesystem>

namespace {

const QString kNullTypes[] = {QStringLiteral("Не вычислять Null"), QStringLiteral("Заменить на константу"),
                              QStringLiteral("Заменить на первый не Null")};
enum Row { FileRow, NameRow, CaptionRow, HintRow, NullTypeRow, NullSubstRow };

QString FileNamePart(const std::string& path)
{
    return platform::FileNameFromBytes(std::filesystem::path(path).filename().string());
}

// The items of the expression's pop-up: each inserts the text in its caption's parentheses.
struct MenuGroup {
    const char* title;
    std::vector<const char*> items;
};
const std::vector<MenuGroup>& ExpressionMenu()
{
    static const std::vector<MenuGroup> groups = {
        {"Тригонометрические функции",
         {"Синус (sin)", "Косинус (cos)", "Тангенс (tg)", "Котангенс (ctg)", "Арксинус (arcsin)",
          "Арккосинус (arccos)", "Арктангенс (arctg)", "Арккотангенс (arcctg)"}},
        {"Логарифмические",
         {"Гиперболический синус (sh)", "Гиперболический косинус (ch)", "Гиперболический тангенс (th)",
          "Гиперболический котангенс (cth)", "", "Десятичный логарифм (lg)", "Натуральный логарифм (ln)",
          "Экспонента (exp)", "Квадратный корень (sqrt)"}},
        {"Глубина",
         {"Глубина точки (depth)", "Начальная глубина интервала (startd)", "Конечная глубина интервала (stopd)",
          "Глубина минимума кривой (mind_x[])", "Глубина максимума кривой (maxd_x[])"}},
        {"Кривая",
         {"Значение кривой в начале интервала (startx[])", "Значение кривой в конце интервала (stopx[])",
          "Значение кривой в середине интервала (middlex[])", "Среднее значение кривой (averx[])",
          "Минимум кривой (min_x[])", "Максимум кривой (max_x[])"}},
        {"Операции",
         {"Плюс (+)", "Минус (-)", "Умножить (*)", "Разделить (/)", "Остаток от деления (%)", "Степень (^)"}},
        {"Константы", {"Число пи (pi)", "Число e (e)"}},
        {"Разное", {"Максимум (max)", "Минимум (min)", "Среднее (aver)"}},
    };
    return groups;
}

}  // namespace

TDlgCalcBarEdit::TDlgCalcBarEdit(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TDlgCalcBarEdit>())
{
    ui->setupUi(this);
    QTableWidget* grid = ui->StringGrid;
    const char* labels[] = {"Файл", "Название", "Надпись на кнопке", "Подсказка", "При встрече Null",
                            "Константа для замены NULL"};
    for (int row = 0; row < 6; ++row) {
        auto* label = new QTableWidgetItem(QString::fromUtf8(labels[row]));
        label->setFlags(Qt::ItemIsEnabled);
        grid->setItem(row, 0, label);
        grid->setItem(row, 1, new QTableWidgetItem);
    }
    // The file is typed or browsed for; the NULL policy is chosen from a list.
    auto* fileHolder = new QWidget(grid);
    auto* fileLayout = new QHBoxLayout(fileHolder);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    FilenameEdit = new QLineEdit(fileHolder);
    FilenameEdit->setObjectName(QStringLiteral("FilenameEdit"));
    auto* browse = new QToolButton(fileHolder);
    browse->setText(QStringLiteral("..."));
    fileLayout->addWidget(FilenameEdit);
    fileLayout->addWidget(browse);
    grid->setCellWidget(FileRow, 1, fileHolder);
    FilenameEdit->installEventFilter(this);
    ComboBoxNullType = new QComboBox(grid);
    ComboBoxNullType->setObjectName(QStringLiteral("ComboBoxNullType"));
    for (const QString& text : kNullTypes)
        ComboBoxNullType->addItem(text);
    grid->setCellWidget(NullTypeRow, 1, ComboBoxNullType);

    PMenuExpr = new QMenu(this);
    for (const MenuGroup& group : ExpressionMenu()) {
        QMenu* sub = PMenuExpr->addMenu(QString::fromUtf8(group.title));
        for (const char* caption : group.items) {
            if (!*caption) {
                sub->addSeparator();
                continue;
            }
            QAction* item = sub->addAction(QString::fromUtf8(caption));
            connect(item, &QAction::triggered, this, [this, item] { InsertFromMenu(item->text()); });
        }
    }
    connect(PMenuExpr->addAction(QStringLiteral("Справка...")), &QAction::triggered, this,
            [] { platform::ShowHelpTopic(12); });
    // Headers and row captions show whole; the parameter grid shows every row without scrolling.
    for (QTableWidget* table : {grid, ui->StringGridUserConsts, ui->GridVars})
        table->resizeColumnsToContents();
    ui->GridVars->setColumnWidth(0, std::max(75, ui->GridVars->columnWidth(0)));
    grid->setFixedHeight(grid->horizontalHeader()->sizeHint().height() + grid->verticalHeader()->length() +
                         2 * grid->frameWidth());
    ui->EditExpr->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->EditExpr, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PMenuExpr->popup(ui->EditExpr->mapToGlobal(at)); });

    auto guarded = [this](auto handler) { return platform::Guarded([this, handler] { (this->*handler)(); }); };
    connect(ui->ListBoxBtns, &QListWidget::currentRowChanged, this, guarded(&TDlgCalcBarEdit::ListBoxBtnsClick));
    connect(FilenameEdit, &QLineEdit::editingFinished, this, guarded(&TDlgCalcBarEdit::FilenameEditExit));
    connect(browse, &QToolButton::clicked, this, guarded(&TDlgCalcBarEdit::BrowseFile));
    connect(ComboBoxNullType, &QComboBox::activated, this, platform::Guarded([this](int index) {
                if (TMathExpression* script = Current())
                    script->SetNullType(index);
            }));
    connect(grid, &QTableWidget::cellChanged, this,
            platform::Guarded([this](int row, int column) { StringGridSetEditText(row, column); }));
    connect(ui->StringGridUserConsts, &QTableWidget::cellChanged, this,
            platform::Guarded([this](int row, int column) { StringGridUserConstsSetEditText(row, column); }));
    connect(ui->GridVars, &QTableWidget::cellChanged, this,
            platform::Guarded([this](int row, int column) { GridVarsSetEditText(row, column); }));
    connect(ui->EditExpr, &QLineEdit::textChanged, this, platform::Guarded([this](const QString& text) {
                TMathExpression* script = Current();
                if (!script) {
                    ui->EditVarCount->clear();
                    return;
                }
                script->SetValue(text.toStdString());
                ui->EditVarCount->setText(QString::number(script->GetMaxCurveIndex()));
            }));
    connect(ui->EditBtnWidth, &QSpinBox::valueChanged, this, platform::Guarded([this](int width) {
                if (TMathExpression* script = Current())
                    script->SetButton(width);
                UpdatePreview();
            }));
    connect(ui->BitBtn1, &QPushButton::clicked, this, guarded(&TDlgCalcBarEdit::BitBtn1Click));
    connect(ui->BtnAddExpr, &QPushButton::clicked, this, guarded(&TDlgCalcBarEdit::BtnAddExprClick));
    connect(ui->BtnDelete, &QPushButton::clicked, this, guarded(&TDlgCalcBarEdit::BtnDeleteClick));
    connect(ui->BitBtnAddUserConst, &QPushButton::clicked, this, guarded(&TDlgCalcBarEdit::BitBtnAddUserConstClick));
    connect(ui->BitBtnRemoveUserConst, &QPushButton::clicked, this,
            guarded(&TDlgCalcBarEdit::BitBtnRemoveUserConstClick));
    connect(ui->ButtonAddVar, &QPushButton::clicked, this, guarded(&TDlgCalcBarEdit::ButtonAddVarClick));
    connect(ui->ButtonDeleteVar, &QPushButton::clicked, this, guarded(&TDlgCalcBarEdit::ButtonDeleteVarClick));
    connect(ui->OKBtn, &QPushButton::clicked, this, &TDlgCalcBarEdit::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &TDlgCalcBarEdit::reject);
    connect(ui->BitBtnHelp, &QPushButton::clicked, this, [] { platform::ShowHelpTopic(11); });
}

TDlgCalcBarEdit::~TDlgCalcBarEdit() = default;

int TDlgCalcBarEdit::Execute()
{
    FormShow();
    const int result = platform::ExecDialog(*this);
    ClearControls();
    return result;
}

TMathExpression* TDlgCalcBarEdit::Current() const
{
    return FExprList && shown_ >= 0 && shown_ < FExprList->Count() ? FExprList->Item(shown_) : nullptr;
}

void TDlgCalcBarEdit::ClearControls()
{
    shown_ = -1;
    for (int row = 0; row < 6; ++row) {
        QSignalBlocker block(ui->StringGrid);
        ui->StringGrid->item(row, 1)->setText(QString());
    }
    FilenameEdit->clear();
    {
        QSignalBlocker block(ui->EditExpr);
        ui->EditExpr->clear();
    }
    QSignalBlocker block(ui->EditBtnWidth);
    ui->EditBtnWidth->setValue(0);
    ui->StringGridUserConsts->setRowCount(0);
    ui->GridVars->setRowCount(0);
}

void TDlgCalcBarEdit::FormShow()
{
    ClearControls();
    QListWidget* list = ui->ListBoxBtns;
    {
        QSignalBlocker block(list);
        list->clear();
    }
    if (!FExprList || FExprList->Count() == 0) {
        platform::MessageBox(this, QStringLiteral("Список выражений пуст!"),
                             QStringLiteral("Настройка панели сценариев обработки"), platform::MB_ICONWARNING);
        ui->EditBtnWidth->setEnabled(false);
        list->setEnabled(false);
        ui->SpeedButton->hide();
        return;
    }
    ui->EditBtnWidth->setEnabled(true);
    list->setEnabled(true);
    ui->SpeedButton->show();
    QSignalBlocker block(list);
    for (int i = 0; i < FExprList->Count(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(FExprList->Item(i)->GetName()), list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(FExprList->Item(i)->GetShow() ? Qt::Checked : Qt::Unchecked);
    }
    list->setCurrentRow(-1);
    UpdatePreview();
}

void TDlgCalcBarEdit::ListBoxBtnsClick()
{
    const int row = ui->ListBoxBtns->currentRow();
    if (FExprList && row >= 0 && row < FExprList->Count())
        ShowScript(row);
}

void TDlgCalcBarEdit::ShowScript(int index)
{
    shown_ = -1;
    const TMathExpression& script = *FExprList->Item(index);
    {
        QSignalBlocker block(ui->StringGrid);
        FilenameEdit->setText(FileNamePart(script.GetFileName()));
        ui->StringGrid->item(NameRow, 1)->setText(QString::fromStdString(script.GetName()));
        ui->StringGrid->item(CaptionRow, 1)->setText(QString::fromStdString(script.GetCaption()));
        ui->StringGrid->item(HintRow, 1)->setText(QString::fromStdString(script.GetHint()));
        const int type = script.GetNullType();
        ComboBoxNullType->setCurrentIndex(type >= 0 && type <= 2 ? type : 0);
        ui->StringGrid->item(NullSubstRow, 1)->setText(platform::FloatToStrF(script.GetNullSubst(), 7, 2));
    }
    {
        QSignalBlocker block(ui->EditExpr);
        ui->EditExpr->setText(QString::fromStdString(script.GetValue()));
    }
    ui->EditVarCount->setText(QString::number(script.GetMaxCurveIndex()));
    {
        QSignalBlocker block(ui->EditBtnWidth);
        ui->EditBtnWidth->setValue(script.GetButton());
    }
    shown_ = index;
    FillGrids();
    UpdatePreview();
}

void TDlgCalcBarEdit::FillGrids()
{
    TMathExpression* script = Current();
    if (!script)
        return;
    const TMParser& parser = script->GetParser();
    {
        QTableWidget* grid = ui->StringGridUserConsts;
        QSignalBlocker block(grid);
        grid->setRowCount(parser.GetConstantCount());
        for (int i = 0; i < parser.GetConstantCount(); ++i) {
            const TUserConst& constant = parser.GetConstant(i);
            grid->setItem(i, 0, new QTableWidgetItem(QString::fromStdString(constant.Name)));
            grid->setItem(i, 1, new QTableWidgetItem(platform::FloatToStrF(constant.Value, 7, 3)));
            grid->setItem(i, 2, new QTableWidgetItem(QString::fromStdString(constant.Descr)));
        }
        grid->setEnabled(parser.GetConstantCount() > 0);
    }
    QTableWidget* grid = ui->GridVars;
    QSignalBlocker block(grid);
    grid->setRowCount(parser.GetVariableCount());
    for (int i = 0; i < parser.GetVariableCount(); ++i) {
        grid->setItem(i, 0, new QTableWidgetItem(QString::fromStdString(parser.GetVariable(i).Name)));
        grid->setItem(i, 1, new QTableWidgetItem(QString::fromStdString(parser.GetVariable(i).Expr)));
    }
    grid->setEnabled(parser.GetVariableCount() > 0);
}

int TDlgCalcBarEdit::PreviewWidth() const
{
    return ui->SpeedButton->isHidden() ? 0 : ui->SpeedButton->width();
}

void TDlgCalcBarEdit::UpdatePreview()
{
    QToolButton* preview = ui->SpeedButton;
    const TMathExpression* script = Current();
    if (!script) {
        preview->setText(QString());
        preview->setFixedWidth(25);
        return;
    }
    preview->setText(QString::fromStdString(script->GetCaption()));
    const int value = ui->EditBtnWidth->value();
    if (value <= 0) {
        preview->hide();
        return;
    }
    const int width = value >= 10 ? value : preview->fontMetrics().horizontalAdvance(preview->text()) + 4;
    preview->setFixedWidth(width);
    preview->move((ui->Bevel->width() - width) / 2, preview->y());
    preview->show();
}

void TDlgCalcBarEdit::StringGridSetEditText(int row, int column)
{
    TMathExpression* script = Current();
    if (!script || column != 1)
        return;
    const QString text = ui->StringGrid->item(row, 1)->text();
    switch (row) {
    case NameRow:
        script->SetName(text.toStdString());
        if (QListWidgetItem* line = ui->ListBoxBtns->item(shown_)) {
            QSignalBlocker block(ui->ListBoxBtns);
            line->setText(text);
        }
        break;
    case CaptionRow:
        script->SetCaption(text.toStdString());
        UpdatePreview();
        break;
    case HintRow:
        script->SetHint(text.toStdString());
        break;
    case NullSubstRow: {
        float value = 0.0f;
        if (platform::TryStrToFloat(text, value)) {
            script->SetNullSubst(value);
        } else {
            QSignalBlocker block(ui->StringGrid);
            ui->StringGrid->item(row, 1)->setText(platform::FloatToStrF(script->GetNullSubst(), 7, 2));
        }
        break;
    }
    default:
        break;
    }
}

bool TDlgCalcBarEdit::FileUsedByOther(const std::string& path, const TMathExpression* self) const
{
    for (int i = 0; i < FExprList->Count(); ++i) {
        const TMathExpression* other = FExprList->Item(i);
        std::error_code error;
        if (other != self &&
            (other->GetFileName() == path || std::filesystem::equivalent(other->GetFileName(), path, error)))
            return true;
    }
    return false;
}

void TDlgCalcBarEdit::BrowseFile()
{
    if (!Current())
        return;
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Сохранение файла сценария");
    options.directory = platform::FileNameFromBytes(FExprList->GetFolder());
    options.fileName = FilenameEdit->text();
    options.filter = QStringLiteral("Файлы сценария (*.exp)");
    options.defaultSuffix = QStringLiteral("exp");
    const QString path = platform::GetSaveFileName(this, options);
    if (path.isEmpty())
        return;
    FilenameEdit->setText(FileNamePart(platform::FileNameToBytes(path)));
    FilenameEditExit();
}

// The script moves to the file named in the edit, in the list's folder: written there first, the
// old file removed only after that write and only when it is another file.
void TDlgCalcBarEdit::FilenameEditExit()
{
    TMathExpression* script = Current();
    if (!script)
        return;
    const std::string old = script->GetFileName();
    QString name = FileNamePart(platform::FileNameToBytes(FilenameEdit->text().trimmed()));
    if (name.isEmpty() || name == FileNamePart(old)) {
        FilenameEdit->setText(FileNamePart(old));
        return;
    }
    if (!name.endsWith(QStringLiteral(".exp"), Qt::CaseInsensitive))
        name += QStringLiteral(".exp");
    const std::string path = FExprList->GetFolder() + platform::FileNameToBytes(name);
    if (FileUsedByOther(path, script)) {
        platform::MessageBox(this, QStringLiteral("Файл '") + platform::ShownFileName(name) +
                                 QStringLiteral("' уже принадлежит другому сценарию"),
                             QStringLiteral("Ошибка"), platform::MB_ICONWARNING);
        FilenameEdit->setText(FileNamePart(old));
        return;
    }
    script->SetFileName(path);
    if (!script->Save()) {
        platform::MessageBox(this, QStringLiteral("Не удалось записать файл\n'") +
                                 platform::ShownFileName(path) + "'",
                             QStringLiteral("Ошибка"), platform::MB_ICONERROR);
        script->SetFileName(old);
        FilenameEdit->setText(FileNamePart(old));
        return;
    }
    std::error_code error;
    if (!old.empty() && !std::filesystem::equivalent(old, path, error))
        std::filesystem::remove(old, error);
    FilenameEdit->setText(name);
}

void TDlgCalcBarEdit::BitBtn1Click()
{
    TMathExpression* script = Current();
    if (!script)
        return;
    if (ui->EditExpr->text().trimmed().isEmpty()) {
        platform::MessageBox(this, QStringLiteral("Выражение не задано"), QStringLiteral("Проверка выражения"),
                             platform::MB_ICONWARNING);
        ui->EditExpr->setFocus();
        return;
    }
    TMParser parser;
    const TMParser& own = script->GetParser();
    for (int i = 0; i < own.GetConstantCount(); ++i)
        parser.AddConstant(own.GetConstant(i).Name, own.GetConstant(i).Value, own.GetConstant(i).Descr);
    for (int i = 0; i < own.GetVariableCount(); ++i)
        parser.AddConstant(own.GetVariable(i).Name, 0.0);
    try {
        parser.Parse(ui->EditExpr->text().toStdString());
        platform::MessageBox(this, QStringLiteral("Выражение не содержит ошибок"), QStringLiteral("Проверка выражения"),
                             platform::MB_ICONINFORMATION);
    } catch (const TError& error) {
        ui->EditVarCount->clear();
        platform::MessageBox(this, QStringLiteral("Ошибка в выражении, позиция: ") + QString::number(error.GetPosition()),
                             QStringLiteral("Проверка выражения"), platform::MB_ICONWARNING);
        ui->EditExpr->setCursorPosition(error.GetPosition());
        ui->EditExpr->setFocus();
    }
}

void TDlgCalcBarEdit::BtnAddExprClick()
{
    if (!FExprList)
        return;
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Введите имя файла");
    options.directory = platform::FileNameFromBytes(FExprList->GetFolder());
    options.fileName = QStringLiteral("новый");
    options.filter = QStringLiteral("Файлы сценария (*.exp)");
    options.defaultSuffix = QStringLiteral("exp");
    QString path = platform::GetSaveFileName(this, options);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".exp"), Qt::CaseInsensitive))
        path += QStringLiteral(".exp");
    if (FileUsedByOther(platform::FileNameToBytes(path), nullptr)) {
        platform::MessageBox(this, QStringLiteral("Файл '") + platform::ShownFileName(path) +
                                 QStringLiteral("' уже принадлежит другому сценарию"),
                             QStringLiteral("Ошибка"), platform::MB_ICONWARNING);
        return;
    }
    auto script = std::make_unique<TMathExpression>();
    script->SetName("новый");
    script->SetCaption("...");
    script->SetHint("подсказка");
    script->SetNullType(0);
    script->SetButton(25);
    script->SetNullSubst(1.0f);
    script->SetShow(true);
    script->SetFileName(platform::FileNameToBytes(path));
    if (!script->Save()) {
        platform::MessageBox(this, QStringLiteral("Не удалось записать файл\n'") + platform::ShownFileName(path) + "'",
                             QStringLiteral("Ошибка"),
                             platform::MB_ICONERROR);
        return;
    }
    FExprList->Add(std::move(script));
    FormShow();
    ui->ListBoxBtns->setCurrentRow(FExprList->Count() - 1);
}

void TDlgCalcBarEdit::BtnDeleteClick()
{
    const int row = ui->ListBoxBtns->currentRow();
    if (!FExprList || row < 0 || row >= FExprList->Count()) {
        platform::MessageBox(this, QStringLiteral("Не выбран элемент для удаления!"), QStringLiteral("Ошибка удаления"),
                             platform::MB_ICONWARNING);
        return;
    }
    if (platform::MessageBox(this,
                             QStringLiteral("Вы действительно хотите удалить: \n'") + ui->ListBoxBtns->item(row)->text() +
                                 QStringLiteral("' ?"),
                             QStringLiteral("Подтверждение удаления"),
                             platform::MB_ICONQUESTION | platform::MB_OKCANCEL) != platform::IDOK)
        return;
    StoreTicks();
    if (FExprList->CheckItem(row, true))
        FormShow();
}

QString TDlgCalcBarEdit::AskName(const QString& title)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    const bool constant = title == QStringLiteral("Константа");
    QString answer;
    for (;;) {
        answer = lastName_;
        if (!platform::InputQuery(title, QStringLiteral("Введите имя"), answer))
            return {};
        lastName_ = answer;
        const bool valid = identifier.match(answer).hasMatch() && !TMParser::IsReservedWord(answer.toStdString()) &&
                           (!constant || static_cast<std::size_t>(answer.size()) <= TUserConst::MaxNameLength);
        if (valid)
            return answer;
        if (platform::MessageBox(this,
                                 QStringLiteral("Имя \n'") + answer +
                                     QStringLiteral("'\nНе является допустимым идентификатором или конфликтует с "
                                                    "существующими\n (Допустимыми являются имена, начинающиеся с "
                                                    "латинской буквы и содержащие \n только латинские буквы или "
                                                    "цифры. Пробелы недопустимы)"),
                                 QStringLiteral("Ошибка ввода имени"),
                                 platform::MB_ICONERROR | platform::MB_OKCANCEL) != platform::IDOK)
            return {};
    }
}

void TDlgCalcBarEdit::BitBtnAddUserConstClick()
{
    TMathExpression* script = Current();
    if (!script)
        return;
    const QString name = AskName(QStringLiteral("Константа"));
    if (name.isEmpty())
        return;
    script->GetParser().AddConstant(name.toStdString(), 1.0, "...");
    FillGrids();
    ui->StringGridUserConsts->setFocus();
    ui->StringGridUserConsts->setCurrentCell(ui->StringGridUserConsts->rowCount() - 1, 0);
}

void TDlgCalcBarEdit::StringGridUserConstsSetEditText(int row, int column)
{
    TMathExpression* script = Current();
    if (!script || row < 0 || row >= script->GetParser().GetConstantCount())
        return;
    TMParser& parser = script->GetParser();
    const TUserConst constant = parser.GetConstant(row);
    const QString text = ui->StringGridUserConsts->item(row, column)->text();
    if (column == 0 || column == 2) {
        // The record holds names and descriptions up to its limits; the cell shows what it kept.
        const QString kept = text.left(column == 0 ? TUserConst::MaxNameLength : TUserConst::MaxDescrLength);
        if (column == 0)
            parser.SetConstant(row, kept.toStdString(), constant.Descr, constant.Value);
        else
            parser.SetConstant(row, constant.Name, kept.toStdString(), constant.Value);
        if (kept != text) {
            QSignalBlocker block(ui->StringGridUserConsts);
            ui->StringGridUserConsts->item(row, column)->setText(kept);
        }
    } else if (column == 1) {
        double value = 0.0;
        if (!text.isEmpty() && text != QStringLiteral("+") && text != QStringLiteral("-") &&
            platform::TryStrToFloat(text, value)) {
            parser.SetConstantValue(row, value);
        } else {
            QSignalBlocker block(ui->StringGridUserConsts);
            ui->StringGridUserConsts->item(row, 1)->setText(platform::FloatToStrF(constant.Value, 7, 3));
        }
    }
}

void TDlgCalcBarEdit::BitBtnRemoveUserConstClick()
{
    TMathExpression* script = Current();
    const int row = ui->StringGridUserConsts->currentRow();
    if (!script || row < 0 || row >= script->GetParser().GetConstantCount())
        return;
    if (platform::MessageBox(this,
                             QStringLiteral("Вы действительно хотите удалить константу '") +
                                 ui->StringGridUserConsts->item(row, 0)->text() +
                                 QStringLiteral("' из списка констант?"),
                             QStringLiteral("Подтверждение удаления"),
                             platform::MB_ICONQUESTION | platform::MB_YESNO) != platform::IDYES)
        return;
    script->GetParser().RemoveConstant(row);
    FillGrids();
}

void TDlgCalcBarEdit::ButtonAddVarClick()
{
    TMathExpression* script = Current();
    if (!script)
        return;
    const QString name = AskName(QStringLiteral("Промежуточная переменная"));
    if (name.isEmpty())
        return;
    script->GetParser().AddVariable(name.toStdString(), "");
    FillGrids();
    ui->GridVars->setFocus();
    ui->GridVars->setCurrentCell(ui->GridVars->rowCount() - 1, 1);
}

void TDlgCalcBarEdit::GridVarsSetEditText(int row, int column)
{
    TMathExpression* script = Current();
    if (!script || row < 0 || row >= script->GetParser().GetVariableCount())
        return;
    TMParser& parser = script->GetParser();
    const TUserVar variable = parser.GetVariable(row);
    const std::string text = ui->GridVars->item(row, column)->text().toStdString();
    if (column == 0)
        parser.SetVariable(row, text, variable.Expr);
    else
        parser.SetVariable(row, variable.Name, text);
    ui->EditVarCount->setText(QString::number(script->GetMaxCurveIndex()));
}

void TDlgCalcBarEdit::ButtonDeleteVarClick()
{
    TMathExpression* script = Current();
    const int row = ui->GridVars->currentRow();
    if (!script || row < 0 || row >= script->GetParser().GetVariableCount())
        return;
    if (platform::MessageBox(this,
                             QStringLiteral("Вы действительно хотите удалить переменную '") +
                                 ui->GridVars->item(row, 0)->text() + QStringLiteral("'?"),
                             QStringLiteral("Подтверждение удаления"),
                             platform::MB_ICONQUESTION | platform::MB_YESNO) != platform::IDYES)
        return;
    script->GetParser().RemoveVariable(row);
    FillGrids();
}

void TDlgCalcBarEdit::InsertFromMenu(const QString& caption)
{
    const qsizetype open = caption.indexOf(QLatin1Char('('));
    const qsizetype close = caption.indexOf(QLatin1Char(')'), open + 1);
    if (open >= 0 && close > open)
        ui->EditExpr->insert(caption.mid(open + 1, close - open - 1));
}

void TDlgCalcBarEdit::StoreTicks()
{
    if (!FExprList || ui->ListBoxBtns->count() != FExprList->Count())
        return;
    for (int i = 0; i < FExprList->Count(); ++i) {
        const bool show = ui->ListBoxBtns->item(i)->checkState() == Qt::Checked;
        if (FExprList->Item(i)->GetShow() != show)
            FExprList->Item(i)->SetShow(show);
    }
}

bool TDlgCalcBarEdit::EveryExpressionGiven()
{
    for (int i = 0; FExprList && i < FExprList->Count(); ++i) {
        const TMathExpression& script = *FExprList->Item(i);
        if (!QString::fromStdString(script.GetValue()).trimmed().isEmpty())
            continue;
        ui->ListBoxBtns->setCurrentRow(i);
        platform::MessageBox(this,
                             QStringLiteral("В сценарии \"%1\" не задано выражение.\nВведите выражение или удалите "
                                            "сценарий.")
                                 .arg(QString::fromStdString(script.GetName())),
                             QStringLiteral("Настройка панели сценариев обработки"), platform::MB_ICONWARNING);
        ui->EditExpr->setFocus();
        return false;
    }
    return true;
}

bool TDlgCalcBarEdit::SaveScripts()
{
    StoreTicks();
    if (!EveryExpressionGiven())
        return false;
    if (!FExprList || FExprList->SaveAll())
        return true;
    platform::MessageBox(this, QStringLiteral("Не удалось записать все файлы сценариев"), QStringLiteral("Ошибка"),
                         platform::MB_ICONERROR);
    return false;
}

void TDlgCalcBarEdit::accept()
{
    if (SaveScripts())
        QDialog::accept();
}

void TDlgCalcBarEdit::reject()
{
    if (FExprList) {
        FExprList->Clear();
        FExprList->Reload();
    }
    QDialog::reject();
}

void TDlgCalcBarEdit::closeEvent(QCloseEvent* event)
{
    StoreTicks();
    if (!FExprList || !FExprList->IsModified()) {
        QDialog::reject();
        return;
    }
    const int answer = platform::MessageBox(this, QStringLiteral("Сохранить произведенные изменения?"),
                                            QStringLiteral("Закрытие диалога"),
                                            platform::MB_ICONQUESTION | platform::MB_YESNOCANCEL);
    if (answer == platform::IDYES && SaveScripts())
        QDialog::accept();
    else if (answer == platform::IDNO)
        reject();
    else
        event->ignore();
}

// In the file edit Enter takes the name and Esc restores the script's own; both return to the
// grid instead of ending the dialog.
bool TDlgCalcBarEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != FilenameEdit || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    platform::Guarded(this, [&] {
        if (key == Qt::Key_Escape) {
            const TMathExpression* script = Current();
            FilenameEdit->setText(script ? FileNamePart(script->GetFileName()) : QString());
        } else {
            FilenameEditExit();
        }
        ui->StringGrid->setFocus();
    });
    return true;
}

void TDlgCalcBarEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        platform::ShowHelpTopic(11);
        return;
    }
    QDialog::keyPressEvent(event);
}
