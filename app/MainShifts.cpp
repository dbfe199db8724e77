// Main window: depth shifts typed as a value: of all curves, of one clicked curve (with cut or
// keeping its values) and of the selected group.
#include "app/MainUnit.h"

#include "core/Lasfile.h"
#include "platform/DepthUnit.h"
#include "platform/DialogRunner.h"
#include "platform/NumberText.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kShiftWithCut = 1;
constexpr int kShiftKeeping = 2;

void ShowShiftError(QWidget* owner, const QString& text)
{
    platform::MessageBox(owner, text, QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONWARNING);
}
}  // namespace

void TFormMain::CreateShiftCommands()
{
    Ui::TFormMain& f = *ui;
    PMenuShiftModes = new QMenu(this);
    PMenuShiftModes->setObjectName(QStringLiteral("PMenuShiftModes"));
    PMenuShiftModes->addAction(f.MIShiftAllCurves);
    PMenuShiftModes->addAction(f.MIShiftAndCut);
    PMenuShiftModes->addAction(f.MIShiftAndNull);
    PMenuShiftModes->addSeparator();
    PMenuShiftModes->addAction(f.MIShiftGroup);
    f.TBShiftDept->setMenu(PMenuShiftModes);
    if (auto* button = qobject_cast<QToolButton*>(f.ToolBar1->widgetForAction(f.TBShiftDept)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    PanelShiftValue = new QGroupBox(QStringLiteral("Сдвиг по глубине"), f.PanelCurvesHost);
    PanelShiftValue->setObjectName(QStringLiteral("PanelShiftValue"));
    PanelShiftValue->setToolTip(QStringLiteral("Текущее значение сдвига выбранной группы"));
    LabelShiftValue = new QLabel(PanelShiftValue);
    (new QVBoxLayout(PanelShiftValue))->addWidget(LabelShiftValue);
    f.PanelCurvesHost->layout()->addWidget(PanelShiftValue);
    PanelShiftValue->hide();
    PMenuCurveGroup = new QMenu(this);
    PMenuCurveGroup->setObjectName(QStringLiteral("PMenuCurveGroup"));
    PMenuCurveGroup->addAction(f.MICurveGrShiftByVal);

    const std::pair<QAction*, void (TFormMain::*)()> commands[] = {
        {f.TBShiftDept, &TFormMain::TBShiftDeptClick},      {f.MIShiftAllCurves, &TFormMain::TBShiftDeptClick},
        {f.MIShiftAndCut, &TFormMain::MIShiftAndCutClick},  {f.MIShiftAndNull, &TFormMain::MIShiftAndNullClick},
        {f.MIShiftGroup, &TFormMain::MIShiftGroupClick},    {f.N15, &TFormMain::MIShiftGroupClick},
        {f.MICurveGrShiftByVal, &TFormMain::MIShiftGroupClick},
    };
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this, Command([this, handler = handler] { (this->*handler)(); }));
}

void TFormMain::ShowShiftValue(bool shown, const QString& text)
{
    LabelShiftValue->setText(text);
    PanelShiftValue->setVisible(shown);
}

double TFormMain::InputDepthShift(const QString& caption)
{
    QString text;
    for (;;) {
        text.clear();
        if (!platform::InputQuery(caption, platform::DepthAmountPrompt(*lasFile_), text) || text.trimmed().isEmpty())
            return 0.0;
        // Read in double: the document says why a shift too large for the depths is refused.
        double value = 0.0;
        if (platform::TryStrToFloat(text, value))
            return value;
        platform::ShowMessage(QStringLiteral("Некорректно задано значение\n(десятичный разделитель - '") +
                              platform::DecimalSeparator() + QStringLiteral("')"));
    }
}

void TFormMain::TBShiftDeptClick()
{
    if (!lasFile_)
        return;
    const double d = InputDepthShift(QStringLiteral("Сдвиг всех кривых по глубине"));
    if (d == 0.0)
        return;
    if (const std::string problem = lasFile_->DepthShiftProblem(d); !problem.empty()) {
        ShowShiftError(this, QString::fromStdString(problem));
        return;
    }
    Snapshot("'Сдвиг всех кривых по глубине'");
    lasFile_->ShiftDepth(d);
}

void TFormMain::MIShiftAndCutClick()
{
    FPendingShift = kShiftWithCut;
    statusPanels_[0]->setText(QStringLiteral("Выберите кривую для сдвига по глубине (Esc - отмена)"));
}

void TFormMain::MIShiftAndNullClick()
{
    FPendingShift = kShiftKeeping;
    statusPanels_[0]->setText(
        QStringLiteral("Сдвиг кривой без отсечения значений. Выберите кривую для сдвига по глубине (Esc - отмена)"));
}

// The pending one-curve shift takes the next curve click alone; the current tool stays.
bool TFormMain::TakePendingShift(int curve)
{
    const int mode = FPendingShift;
    if (mode == 0)
        return false;
    FPendingShift = 0;
    ShowModePrompt();
    if (mode == kShiftWithCut)
        ShiftCurveCut(curve);
    else
        ShiftCurveKeep(curve);
    return true;
}

void TFormMain::ShiftCurveCut(int curve)
{
    if (!lasFile_ || curve + 1 >= lasFile_->GetCurvesCount())
        return;
    const double d = InputDepthShift(QStringLiteral("Введите величину смещения для кривой"));
    if (d == 0.0)
        return;
    Snapshot("'Сдвиг кривой с удалением значений'");
    lasFile_->ShiftCurveByDepth(curve + 1, d);
    ReattachView();  // the values moved inside their array
}

void TFormMain::ShiftCurveKeep(int curve)
{
    if (!lasFile_ || curve + 1 >= lasFile_->GetCurvesCount())
        return;
    const double d = InputDepthShift(QStringLiteral("Введите величину смещения для кривой"));
    if (d == 0.0)
        return;
    ChangeAfterSnapshot("'Сдвиг кривой с сохранением значений'",
                        [&] { lasFile_->ShiftCurveByDepthExtending(curve + 1, d); });
    ReattachView();  // also when a shift below half a step left the arrays as they were
}

void TFormMain::MIShiftGroupClick()
{
    if (!lasFile_) {
        ShowShiftError(this, QStringLiteral("Не загружен файл!"));
        return;
    }
    const std::vector<int> selected = GetSelectedCurvesList();
    if (selected.empty()) {
        ShowShiftError(this, QStringLiteral("Не выбрана ни одна кривая!"));
        return;
    }
    const double d = InputDepthShift(QStringLiteral("Введите величину смещения для кривых"));
    if (d == 0.0)
        return;
    ChangeAfterSnapshot("'Сдвиг группы кривых по глубине'", [&] { ShiftCurvesByDepth(selected, d); });
    FPendingShift = 0;
    ReattachView();
}

// The first curve grows the document so that no value of the others, moved after it by the
// same depth, is lost.
void TFormMain::ShiftCurvesByDepth(const std::vector<int>& curves, double d)
{
    lasFile_->ShiftCurveByDepthExtending(curves.front(), d);
    for (std::size_t i = 1; i < curves.size(); ++i)
        lasFile_->ShiftCurveByDepth(curves[i], d);
}
