// Main window: the calculation bar and menus, argument picking for a new curve, and the curve
// group operations (multiply, shift, one-argument scripts over intervals).
#include "app/MainUnit.h"

#include "core/Lasfile.h"
#include "core/Q7mathutils.h"
#include "editing/CalcBarEdit.h"
#include "editing/CalcPickTool.h"
#include "platform/DialogRunner.h"
#include "platform/Folders.h"
#include "platform/NumberText.h"
#include "ui_MainUnit.h"
#include "view/NumberInput.h"
#include "view/PanelWithCurves.h"

#include <QActionGroup>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <filesystem>

namespace {

// Keeps a button without a hint from showing one: an action's tool tip falls back to its text.
class NoToolTip : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::ToolTip; }
};

}  // namespace

void TFormMain::CreateCalcBar()
{
    Ui::TFormMain& f = *ui;
    addToolBarBreak();
    CoolBarExp = new QToolBar(QStringLiteral("Вычисления"), this);
    CoolBarExp->setObjectName(QStringLiteral("CoolBarExp"));
    CoolBarExp->setMovable(false);
    CoolBarExp->setFixedHeight(34);
    CoolBarExp->layout()->setSpacing(2);  // buttons stand 2 pixels apart, the first at 4
    addToolBar(Qt::TopToolBarArea, CoolBarExp);
    PMenuCalcBar = new QMenu(this);
    MICalcBarEdit = PMenuCalcBar->addAction(QStringLiteral("Настройка панели..."));
    CoolBarExp->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(CoolBarExp, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PMenuCalcBar->popup(CoolBarExp->mapToGlobal(at)); });

    MICurveCalculations = PMenuCurves->addMenu(QStringLiteral("Вычисления"));
    PMICurvesOperations = PMenuCurveGroup->addMenu(QStringLiteral("Операции с группой"));
    PMICurvesOperations->setObjectName(QStringLiteral("PMICurvesOperations"));
    PMICurvesOperMult = PMICurvesOperations->addAction(QStringLiteral("Умножение..."));
    PMICurvesOperShift = PMICurvesOperations->addAction(QStringLiteral("Сдвиг..."));
    PMICurveGroupCalc = PMenuCurveGroup->addMenu(QStringLiteral("Вычисления"));
    MMICurvesCalc = f.MICurves->addMenu(QStringLiteral("Вычисления в активных интервалах"));
    MMIIntCalc = f.MMIIntervals->addMenu(QStringLiteral("Вычисления в интервалах"));
    QMenu* operations = f.MICurves->addMenu(QStringLiteral("Операции с группой"));
    operations->setObjectName(QStringLiteral("MMICurvesOperations"));
    operations->addAction(f.MMICurvesOperMult);
    operations->addAction(f.MMICurvesOperShift);
    N1 = f.MICurves->addAction(QStringLiteral("Сценарии обработки..."));
    MainMICalcSettings = f.MMITools->addAction(QStringLiteral("Настройка выражений обработки..."));
    DlgCalcBarEdit = new TDlgCalcBarEdit(this);
    for (QAction* multiply : {f.MMICurvesOperMult, PMICurvesOperMult})
        connect(multiply, &QAction::triggered, this, Command([this] { MMICurvesOperMultClick(); }));
    for (QAction* shift : {f.MMICurvesOperShift, PMICurvesOperShift})
        connect(shift, &QAction::triggered, this, Command([this] { MMICurvesOperShiftClick(); }));
    for (QAction* editor : {MICalcBarEdit, N1, MainMICalcSettings})
        connect(editor, &QAction::triggered, this, Command([this] { MICalcBarEditClick(); }));

    calcTool_ = std::make_unique<TCalcPickTool>(*this, ExprList, [this] { ReleaseCalcButtons(nullptr); });
    // A click on a line picks; a click on its tick only changes the tick.
    connect(ListCurveNames, &QListWidget::itemChanged, this, [this] {
        tickChanged_ = true;
        QTimer::singleShot(0, this, [this] { tickChanged_ = false; });
    });
    connect(ListCurveNames, &QListWidget::itemClicked, this,
            Command([this](QListWidgetItem* item) { ListCurveNamesClick(item); }));

    LoadCalcScripts();
    BuildCalcBar();
    BuildCalcMenus();
}

void TFormMain::LoadCalcScripts()
{
    const std::string folder = platform::ProgramDir() + "calc";
    std::error_code error;
    std::filesystem::create_directory(folder, error);  // a failure leaves an empty list
    ExprList.ScanFolder(folder);
}

void TFormMain::BuildCalcBar()
{
    CoolBarExp->clear();
    calcButtons_.clear();
    for (int i = 0; i < ExprList.Count(); ++i) {
        const TMathExpression& script = *ExprList.Item(i);
        if (!script.GetShow())
            continue;
        auto* action = new QAction(QString::fromStdString(script.GetCaption()), CoolBarExp);
        action->setCheckable(true);
        action->setData(i);
        CoolBarExp->addAction(action);
        auto* button = static_cast<QToolButton*>(CoolBarExp->widgetForAction(action));
        if (!script.GetHint().empty())
            action->setToolTip(QString::fromStdString(script.GetHint()));
        else
            button->installEventFilter(new NoToolTip(button));
        button->setObjectName(QStringLiteral("SpBtnMathExpr") + QString::number(i));
        button->setFixedSize(script.GetButton() > 10 ? script.GetButton() : 27, 25);
        button->setStyleSheet(QStringLiteral("color: #0000ff; font-size: 10pt;"));
        connect(action, &QAction::triggered, this, Command([this, action] { SpBtnMathExprClick(action); }));
        calcButtons_.push_back(action);
    }
    // An empty bar would only be a blank band under the tool bar.
    CoolBarExp->setVisible(!calcButtons_.empty());
}

void TFormMain::BuildCalcMenus()
{
    for (QMenu* menu : {PMICurveGroupCalc, MMICurvesCalc, MMIIntCalc, MICurveCalculations})
        menu->clear();
    for (int i = 0; i < ExprList.Count(); ++i) {
        const TMathExpression& script = *ExprList.Item(i);
        if (script.GetMaxCurveIndex() != 1)
            continue;
        const QString caption = QString::fromStdString(script.GetHint().empty() ? script.GetCaption() : script.GetHint());
        const std::pair<QMenu*, const char*> menus[] = {{MICurveCalculations, "MICalc"},
                                                        {PMICurveGroupCalc, "PMICurveGroupCalc_"},
                                                        {MMICurvesCalc, "MMICurvesCalc_"},
                                                        {MMIIntCalc, "MMIIntCalc_"}};
        for (const auto& [menu, name] : menus) {
            QAction* item = menu->addAction(caption);
            item->setObjectName(QLatin1String(name) + QString::number(i));
            item->setData(i + 1);
            if (menu == MICurveCalculations)
                connect(item, &QAction::triggered, this, Command([this, item] { CurveCalcItemClick(item); }));
            else
                connect(item, &QAction::triggered, this, Command([this, item] { GroupCalcItemClick(item); }));
        }
    }
    // The single-curve windows rebuild their calculation menus from the list after each change.
    SingleWindows.SetExprList(&ExprList);
}

void TFormMain::ReleaseCalcButtons(QAction* except)
{
    for (QAction* button : calcButtons_)
        if (button != except)
            button->setChecked(false);
    if (!except && calcTool_ && calcTool_->Picking()) {
        calcTool_->FCalcPick = 0;
        calcTool_->Cancel();
    }
}

void TFormMain::SpBtnMathExprClick(QAction* button)
{
    if (!lasFile_ || ExprList.Count() == 0) {
        button->setChecked(false);
        return;
    }
    if (!button->isChecked()) {
        statusPanels_[0]->clear();
        CancelMode();
        for (QAction* tool : toolGroup_->actions())
            tool->setChecked(false);
        TBPencilClick();
        HideCurveCoords();
        ReleaseCalcButtons(nullptr);
        return;
    }
    CancelMode();
    for (int i = 1; i < lasFile_->GetCurvesCount(); ++i)
        UnselectCurve(i);
    const int script = button->data().toInt();
    const int count = ExprList.Item(script)->GetMaxCurveIndex();
    if (count == 0) {
        platform::MessageBox(this, QStringLiteral("Выражение не требует аргументов.\nВероятно в нем ошибка"),
                             QStringLiteral("Некорректное выражение"), platform::MB_ICONWARNING);
        ReleaseCalcButtons(nullptr);
        return;
    }
    // The calculation becomes the current tool: every tool button goes up.
    for (QAction* tool : toolGroup_->actions())
        tool->setChecked(false);
    TBPencilClick();
    button->setChecked(true);
    currentTool_ = calcTool_.get();
    calcTool_->Start(script, count);
    ShowModePrompt();
}

void TFormMain::ListCurveNamesClick(QListWidgetItem* item)
{
    if (tickChanged_ || !item || !currentTool_)
        return;
    currentTool_->CurveListClick(ListCurveNames->row(item));
}

void TFormMain::MICalcBarEditClick()
{
    CancelMode();
    DlgCalcBarEdit->SetExprFileList(&ExprList);
    DlgCalcBarEdit->Execute();
    BuildCalcBar();
    BuildCalcMenus();
}

void TFormMain::MMICurvesOperMultClick()
{
    RunCurveGroupOperation(-2, -1, GetSelectedCurvesList());
}

void TFormMain::MMICurvesOperShiftClick()
{
    RunCurveGroupOperation(-1, -1, GetSelectedCurvesList());
}

void TFormMain::GroupCalcItemClick(QAction* item)
{
    const int t = item->data().toInt();
    if (!lasFile_ || t < 1 || t > ExprList.Count() || ExprList.Item(t - 1)->GetMaxCurveIndex() != 1)
        return;
    RunCurveGroupOperation(t - 1, -1, GetSelectedCurvesList());
    CancelMode();
    ReleaseCalcButtons(nullptr);
    UpdateStatusBar();
}

void TFormMain::CurveCalcItemClick(QAction* item)
{
    const int t = item->data().toInt();
    // Only a data curve: without a line under the pop-up there is none.
    const int curve = PopupDataCurve();
    if (!lasFile_ || t < 1 || t > ExprList.Count() || ExprList.Item(t - 1)->GetMaxCurveIndex() != 1 || curve < 1 ||
        curve >= lasFile_->GetCurvesCount())
        return;
    RunCurveGroupOperation(t - 1, ClickIntervals.empty() ? -1 : ClickIntervals.front(), {curve});
}

namespace {

// A changed value that is no longer a float number is no value.
float Finite(double value, float nullValue)
{
    const float result = static_cast<float>(value);
    return std::isfinite(result) ? result : nullValue;
}

}  // namespace

void TFormMain::RunCurveGroupOperation(int op, int preselect, const std::vector<int>& curves)
{
    const QString error = QStringLiteral("Ошибка");
    if (!lasFile_) {
        platform::MessageBox(this, QStringLiteral("Не загружен файл!"), error, platform::MB_ICONWARNING);
        return;
    }
    if (curves.empty()) {
        platform::MessageBox(this, QStringLiteral("Не выбрано кривых!"), error, platform::MB_ICONWARNING);
        return;
    }
    double v = 0.0;
    QString operation;
    TMathExpression* script = nullptr;
    if (op < 0) {
        operation = op < -1 ? QStringLiteral("Умножение значений кривых") : QStringLiteral("Сдвиг значений кривых");
        const QString prompt =
            op < -1 ? QStringLiteral("Введите множитель") : QStringLiteral("Введите величину смещения значений");
        if (!InputNumberBoxEx(4, operation, prompt, -50000000.0, 50000000.0, op < -1 ? 1.0 : 0.0))
            return;
        v = static_cast<double>(NumberInputBox()->GetValue());
    } else {
        if (op >= ExprList.Count()) {
            platform::MessageBox(this, QStringLiteral("Не найдена операция!"), error, platform::MB_ICONWARNING);
            return;
        }
        script = ExprList.Item(op);
        if (script->GetMaxCurveIndex() != 1) {
            platform::MessageBox(this, QStringLiteral("У заданной операции должен быть один аргумент!"), error,
                                 platform::MB_ICONWARNING);
            return;
        }
        if (!script->AskUserConstValues())
            return;
        operation = QString::fromStdString(script->GetName());
    }
    const FloatPairList intervals = SelectOperationIntervals(QStringLiteral("Выбор интервалов для операции"), preselect);
    const float nullValue = lasFile_->GetNullValue();
    const int n = lasFile_->GetPointCount();
    for (const FloatPair& interval : intervals) {
        int first = 0;
        int last = -1;
        if (!GetIndexRangeForDepths(interval.top, interval.bottom, n, lasFile_->GetCurveData(0), first, last) ||
            first > last)
            continue;
        for (std::size_t k = 0; k < curves.size(); ++k) {
            const int c = curves[k];
            const std::string step =
                "'" + operation.toStdString() + "' (" + lasFile_->GetCurveName(c) + ")";
            bool leaveInterval = false;
            if (!script) {
                Snapshot(step);
                float* values = lasFile_->GetCurveData(c);
                for (int i = first; i <= last; ++i)
                    if (values[i] != nullValue)
                        values[i] = Finite(op < -1 ? double(values[i]) * v : double(values[i]) + v, nullValue);
                SetModified();
            } else {
                const float* values = lasFile_->GetCurveData(c);
                FloatVector result(values, values + n);
                bool done = false;
                try {
                    done = script->Calculate({values}, result, first, last, nullValue, lasFile_->GetCurveData(0));
                } catch (const std::exception&) {
                    done = false;
                }
                const QString mnemonic = QString::fromStdString(lasFile_->GetCurveName(c));
                const QString expression = QString::fromStdString(script->GetValue());
                if (done) {
                    const int answer = platform::MessageBox(
                        this,
                        QStringLiteral("Операция \n") + expression + QStringLiteral("\nдля кривой '") + mnemonic +
                            QStringLiteral("'\nв интервале ") + platform::DepthText(*lasFile_, interval.top) +
                            QStringLiteral(" : ") + platform::DepthText(*lasFile_, interval.bottom) +
                            QStringLiteral("\nуспешно выполнена. Применить?"),
                        QStringLiteral("Обработка кривых"), platform::MB_ICONQUESTION | platform::MB_YESNOCANCEL);
                    if (answer == platform::IDYES) {
                        Snapshot(step);
                        std::copy(result.begin(), result.end(), lasFile_->GetCurveData(c));
                        SetModified();
                    } else if (answer != platform::IDNO) {
                        leaveInterval = true;
                    }
                } else {
                    const std::string& lastError = script->GetLastError();
                    QString text = QStringLiteral("При вычислении \n") + expression + QStringLiteral("\nдля кривой '") +
                                   mnemonic + QStringLiteral("'\nПроизошла ошибка:\n") +
                                   (lastError.empty() ? QStringLiteral("Неопознанная ошибка")
                                                      : QString::fromStdString(lastError));
                    if (k + 1 < curves.size()) {
                        text += QStringLiteral("\nПродолжить вычисления с оставшимися кривыми?");
                        leaveInterval = platform::MessageBox(nullptr, text, error,
                                                             platform::MB_ICONWARNING | platform::MB_YESNO) !=
                                        platform::IDYES;
                    } else {
                        platform::MessageBox(nullptr, text, error, platform::MB_ICONWARNING);
                    }
                }
            }
            if (TCurve* shown = PanelCurves->GetCurve(c - 1))
                shown->Update();
            if (leaveInterval)
                break;
        }
    }
    // Values changed in place: the whole view, the overview and the status bar follow.
    ReattachView();
}
