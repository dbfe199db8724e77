// The calculation bar: buttons and menus from a folder of scripts, argument picking into a new
// curve, and the group operations over intervals.
#include "AppTestSupport.h"

#include "core/Lasfile.h"
#include "editing/SelectIntervalPart.h"
#include "tests/common/FileBytes.h"
#include "ui_MainUnit.h"
#include "ui_SelectIntervalPart.h"
#include "view/NumberInput.h"
#include "view/PanelWithCurves.h"

#include <QDoubleSpinBox>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <cmath>
#include <filesystem>

namespace strativ::test {
namespace {

class CalcBarTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(dir.file("calc"));
        Script("a_sum", "sum", "S", "Сумма", 5, "x[0] + x[1]");
        Script("b_twice", "twice", "T2", "", 40, "x[0] * 2");
        Script("c_hidden", "hidden", "H", "Плюс один", 0, "x[0] + 1", "Show=0\n");
        Script("d_div", "div", "D", "", 0, "1 / (x[0] - 10)");
        Script("e_gap", "gap", "G", "", 0, "x[0] + x[2]");
        Script("f_none", "none", "N", "", 0, "1 + 2");
        Script("g_subst", "subst", "U", "", 0, "x[0] + 1", "", "NullType=2\nNullSubst=100\n");
        Script("h_root", "root", "R", "", 0, "sqrt(x[0] - 50)");
        MainWindowTest::SetUp();
        ASSERT_TRUE(Open(WriteTestLas(dir.file("calc.las"), 3, 41)));  // 100 .. 120 m
    }

    void Script(const std::string& file, const std::string& name, const std::string& caption,
                const std::string& hint, int button, const std::string& expression, const std::string& info = "",
                const std::string& more = "")
    {
        WriteFileBytes(dir.file("calc/" + file + ".exp"),
                       "[Info]\nVersion=1\nName=" + name + "\nCaption=" + caption + "\nHint=" + hint +
                           "\nButton=" + std::to_string(button) + "\n" + info + "[Expression]\nValue=" + expression +
                           "\n" + more);
    }


    QAction* Button(const QString& caption) const
    {
        for (QAction* action : window->CalcButtons())
            if (action->text() == caption)
                return action;
        return nullptr;
    }

    void ClickCurve(int curve) { strativ::test::ClickCurve(Panel(), curve); }

    void ClickListLine(int row)
    {
        QListWidget* list = window->ListCurveNames;
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center() + QPoint(20, 0));
    }

    std::vector<float> Curve(int index) const
    {
        const float* values = window->LasFile()->GetCurveData(index);
        return {values, values + window->LasFile()->GetPointCount()};
    }

    // The name, the colour and the closing message of a new curve.
    void AnswerNewCurve(const QString& name)
    {
        runner->PushText(name);
        runner->PushCancel();
        runner->Push(platform::IDOK);
    }
};

TEST_F(CalcBarTest, BarAndMenusFollowTheScripts)
{
    ASSERT_EQ(window->ExprList.Count(), 8);
    const std::vector<QAction*>& buttons = window->CalcButtons();
    ASSERT_EQ(buttons.size(), 7u);  // the hidden script has no button
    // 27 pixels for a width up to 10, the first at 4, 2 pixels apart.
    const auto geometry = [&](QAction* action) { return window->CoolBarExp->widgetForAction(action)->geometry(); };
    EXPECT_EQ(geometry(Button("S")), QRect(4, 4, 27, 25));
    EXPECT_EQ(geometry(Button("T2")), QRect(33, 4, 40, 25));
    EXPECT_EQ(geometry(Button("D")).left(), 75);
    // The hint is the tool tip; without a hint there is none.
    const auto tip = [&](QAction* action) {
        QWidget* button = window->CoolBarExp->widgetForAction(action);
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tip(Button("T2")), "");
    EXPECT_EQ(tip(Button("S")), "Сумма");
    QToolTip::hideText();
    // One-argument scripts, hidden or not, in the four submenus; the caption is the hint when set.
    for (QMenu* menu : {window->MMICurvesCalc, window->MMIIntCalc, window->PMICurveGroupCalc,
                        window->MICurveCalculations}) {
        QStringList captions;
        for (QAction* item : menu->actions())
            captions << item->text();
        EXPECT_EQ(captions, (QStringList{"T2", "Плюс один", "D", "U", "R"}));
    }
    EXPECT_EQ(window->MMICurvesCalc->actions()[1]->objectName(), "MMICurvesCalc_2");
    // The group pop-up: its shift, the group operations and the calculations.
    QStringList group;
    for (QAction* item : window->PMenuCurveGroup->actions())
        group << item->text();
    EXPECT_EQ(group, (QStringList{"Сдвинуть по глубине", "Операции с группой", "Вычисления"}));
    EXPECT_EQ(window->PMenuCurveGroup->actions()[1]->menu(), window->PMICurvesOperations);
    EXPECT_EQ(window->PMenuCurveGroup->actions()[2]->menu(), window->PMICurveGroupCalc);
    EXPECT_EQ(window->PMICurvesOperations->actions(),
              (QList<QAction*>{window->PMICurvesOperMult, window->PMICurvesOperShift}));
    // A bar without buttons leaves no blank band under the tool bar.
    EXPECT_FALSE(window->CoolBarExp->isHidden());
    for (int i = 0; i < window->ExprList.Count(); ++i)
        window->ExprList.Item(i)->SetShow(false);
    runner->PushCancel();
    window->MICalcBarEdit->trigger();
    EXPECT_TRUE(window->CoolBarExp->isHidden());
}

TEST_F(CalcBarTest, PicksFromThePanelAndTheListMakeANewCurve)
{
    Ui::TFormMain& f = window->Form();
    f.TBPencil->trigger();
    Button("S")->trigger();
    EXPECT_FALSE(f.TBPencil->isChecked());  // the calculation raises the tools
    EXPECT_TRUE(Button("S")->isChecked());
    EXPECT_TRUE(window->StatusText(0).startsWith("Всего аргументов: 2"));
    AnswerNewCurve("");
    ClickCurve(0);
    ClickCurve(0);  // the same curve twice
    ASSERT_EQ(window->LasFile()->GetCurvesCount(), 5);
    EXPECT_EQ(window->LasFile()->GetCurveName(4), "NewC");
    EXPECT_EQ(Curve(4)[3], 2 * GeneratedValue(1, 3));
    EXPECT_FALSE(Button("S")->isChecked());
    EXPECT_EQ(Messages().last(), "Вычисление закончено|Кривая NewC была успешно добавлена");

    // x[0] and x[2]: three picks from the list; a tick change picks nothing.
    Button("G")->trigger();
    window->ListCurveNames->item(0)->setCheckState(Qt::Checked);
    QCoreApplication::processEvents();
    AnswerNewCurve("G 1");
    ClickListLine(1);
    // A click on the tick box of a line only ticks it.
    QListWidget* list = window->ListCurveNames;
    const QRect line = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(line.left() + 10, line.center().y()));
    EXPECT_EQ(list->item(1)->checkState(), Qt::Checked);
    QCoreApplication::processEvents();
    ClickListLine(0);
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 5);
    ClickListLine(2);
    ASSERT_EQ(window->LasFile()->GetCurvesCount(), 6);
    EXPECT_EQ(window->LasFile()->GetCurveName(5), "G1");  // the rename rules apply
    EXPECT_EQ(Curve(5)[0], GeneratedValue(2, 0) + GeneratedValue(3, 0));

    // A name the file cannot hold is refused and asked again; the result is kept meanwhile.
    Button("S")->trigger();
    runner->PushText("N€");
    runner->Push(platform::IDOK);
    AnswerNewCurve("NEWX");
    ClickCurve(1);
    ClickCurve(1);
    ASSERT_EQ(window->LasFile()->GetCurvesCount(), 7);
    EXPECT_EQ(window->LasFile()->GetCurveName(6), "NEWX");
    EXPECT_TRUE(Messages().contains("Ошибка|Кривая <N€>: Символ '€' нельзя записать в кодировке файла"));
}

TEST_F(CalcBarTest, EscAnotherButtonAndUndoAbandonThePicks)
{
    Ui::TFormMain& f = window->Form();
    Button("S")->trigger();
    ClickCurve(0);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(Button("S")->isChecked());
    EXPECT_FALSE(window->CalcPickTool()->Picking());

    Button("S")->trigger();
    ClickCurve(0);
    Button("G")->trigger();  // another button starts afresh
    EXPECT_FALSE(Button("S")->isChecked());
    EXPECT_EQ(window->CalcPickTool()->FCalcPick, (3u << 16) + 5u);

    window->Snapshot("'Шаг'");
    ClickCurve(1);
    f.TBUndo->trigger();
    EXPECT_FALSE(window->CalcPickTool()->Picking());
    ClickCurve(0);
    ClickCurve(0);
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 4);  // no curve from stale picks

    // A pressed tool button ends the calculation.
    Button("T2")->trigger();
    f.TBPencil->trigger();
    EXPECT_FALSE(Button("T2")->isChecked());
    EXPECT_FALSE(window->CalcPickTool()->Picking());
}

TEST_F(CalcBarTest, NullsDivisionByZeroAndErrors)
{
    TLASFile& document = *window->LasFile();
    float* c1 = document.GetCurveData(1);
    c1[0] = document.GetNullValue();
    c1[1] = 10.0f;  // 1 / 0
    Button("D")->trigger();
    AnswerNewCurve("div");
    ClickCurve(0);
    EXPECT_EQ(Curve(4)[0], document.GetNullValue());
    EXPECT_EQ(Curve(4)[1], document.GetNullValue());
    EXPECT_FLOAT_EQ(Curve(4)[2], 1.0f / (GeneratedValue(1, 2) - 10));

    Button("U")->trigger();  // NullType 2: NullSubst in place of a NULL argument
    AnswerNewCurve("u");
    ClickCurve(0);
    EXPECT_EQ(Curve(5)[0], 101.0f);

    Button("R")->trigger();  // sqrt of a negative number: no curve, the error told
    runner->Push(platform::IDOK);
    ClickCurve(0);
    EXPECT_EQ(document.GetCurvesCount(), 6);
    EXPECT_TRUE(Messages().last().startsWith("Ошибка|При вычислении \nsqrt(x[0] - 50)\nПроизошла ошибка:\n"));

    Button("N")->trigger();
    EXPECT_EQ(Messages().last(), "Некорректное выражение|Выражение не требует аргументов.\nВероятно в нем ошибка");
    EXPECT_FALSE(Button("N")->isChecked());
}

TEST_F(CalcBarTest, GroupMultiplyAndShiftOverIntervals)
{
    Ui::TFormMain& f = window->Form();
    TLASFile& document = *window->LasFile();
    window->ListCurveNames->item(0)->setCheckState(Qt::Checked);
    window->ListCurveNames->item(2)->setCheckState(Qt::Checked);
    document.GetCurveData(1)[4] = document.GetNullValue();
    const std::vector<float> c1 = Curve(1), c2 = Curve(2), c3 = Curve(3);
    // No intervals: the whole document, no interval dialog.
    runner->PushDialog([](QDialog& dialog) {
        auto& box = static_cast<TNumberInputBox&>(dialog);
        EXPECT_EQ(box.SpinEdit()->value(), 1.0);
        box.SpinEdit()->setValue(2);
        return int(QDialog::Accepted);
    });
    f.MMICurvesOperMult->trigger();
    EXPECT_EQ(Curve(1)[0], 2 * c1[0]);
    EXPECT_EQ(Curve(1)[4], document.GetNullValue());  // NULL stays NULL
    EXPECT_EQ(Curve(2), c2);
    EXPECT_EQ(Curve(3)[40], 2 * c3[40]);
    EXPECT_EQ(f.MIUndo->text(), "Отменить 'Умножение значений кривых' (C3)");

    // Shift by 1 over the interval 110 .. 111 only: one undo step per curve.
    f.TBUndo->trigger();
    f.TBUndo->trigger();
    window->Intervals.SetInterval(110, 111)->Name = "A";
    runner->PushDialog([](QDialog& dialog) {
        static_cast<TNumberInputBox&>(dialog).SpinEdit()->setValue(1);
        return int(QDialog::Accepted);
    });
    runner->PushDialog([](QDialog& dialog) {
        static_cast<TDlgSelectIntervalPart&>(dialog).Form().OKBtn->click();
        return dialog.result();
    });
    window->PMICurvesOperShift->trigger();  // the same command from the group pop-up
    const std::vector<float> shifted = Curve(1);
    for (int i = 0; i < 41; ++i)
        EXPECT_EQ(shifted[i], i >= 20 && i <= 22 ? c1[i] + 1 : c1[i]) << i;
    EXPECT_EQ(f.MIUndo->text(), "Отменить 'Сдвиг значений кривых' (C3)");
    f.TBUndo->trigger();
    EXPECT_EQ(f.MIUndo->text(), "Отменить 'Сдвиг значений кривых' (C1)");
}

TEST_F(CalcBarTest, GroupScriptAsksPerCurveAndInterval)
{
    Ui::TFormMain& f = window->Form();
    for (int row = 0; row < 3; ++row)
        window->ListCurveNames->item(row)->setCheckState(Qt::Checked);
    window->Intervals.SetInterval(100, 101)->Name = "A";  // samples 0 .. 2
    window->Intervals.SetInterval(110, 111)->Name = "B";  // samples 20 .. 22
    const std::vector<float> c1 = Curve(1), c2 = Curve(2), c3 = Curve(3);
    runner->PushDialog([](QDialog& dialog) {
        auto& choice = static_cast<TDlgSelectIntervalPart&>(dialog);
        choice.Form().RadioAll->setChecked(true);
        choice.Form().OKBtn->click();
        return dialog.result();
    });
    // A: C1 yes, C2 cancel (C3 skipped); B: C1 no, C2 yes, C3 yes.
    for (int answer : {platform::IDYES, platform::IDCANCEL, platform::IDNO, platform::IDYES, platform::IDYES})
        runner->Push(answer);
    window->MMICurvesCalc->actions()[0]->trigger();  // x[0] * 2
    EXPECT_EQ(runner->PendingAnswers(), 0);
    EXPECT_TRUE(Messages().contains("Обработка кривых|Операция \nx[0] * 2\nдля кривой 'C1'\nв интервале 100.0 : "
                                    "101.0\nуспешно выполнена. Применить?"));
    EXPECT_EQ(Curve(1)[1], 2 * c1[1]);
    EXPECT_EQ(Curve(1)[21], c1[21]);
    EXPECT_EQ(Curve(2)[1], c2[1]);
    EXPECT_EQ(Curve(2)[21], 2 * c2[21]);
    EXPECT_EQ(Curve(3)[1], c3[1]);
    EXPECT_EQ(Curve(3)[22], 2 * c3[22]);
    EXPECT_EQ(Curve(3)[23], c3[23]);  // outside the interval never changes
    EXPECT_EQ(f.MIUndo->text(), "Отменить 'twice' (C3)");

    // A failing script: the question to go on for a middle curve, OK alone for the last.
    runner->Clear();
    window->Intervals.List.clear();
    for (int answer : {platform::IDYES, platform::IDYES, platform::IDOK})
        runner->Push(answer);
    window->MMICurvesCalc->actions()[4]->trigger();  // sqrt(x[0] - 50) fails on every curve
    ASSERT_EQ(Messages().size(), 3);
    EXPECT_TRUE(Messages()[0].endsWith("\nПродолжить вычисления с оставшимися кривыми?"));
    EXPECT_FALSE(Messages()[2].endsWith("?"));
}

TEST_F(CalcBarTest, CurveMenuRunsOnTheCurveUnderItWithTheIntervalUnderTheClick)
{
    window->Intervals.SetInterval(100, 101)->Name = "A";
    window->Intervals.SetInterval(110, 111)->Name = "B";
    window->ClickIntervals = {1};
    window->ListCurveNames->setCurrentRow(1);
    window->PMenuCurvesPopup(true, window->mapToGlobal(QPoint(10, 10)));
    window->PMenuCurves->hide();
    const std::vector<float> c1 = Curve(1), c2 = Curve(2);
    runner->PushDialog([](QDialog& dialog) {
        auto& choice = static_cast<TDlgSelectIntervalPart&>(dialog);
        EXPECT_TRUE(choice.Form().RadioOne->isChecked());
        EXPECT_EQ(choice.Form().ComboBoxOneInterval->currentIndex(), 1);
        choice.Form().OKBtn->click();
        return dialog.result();
    });
    runner->Push(platform::IDYES);
    window->MICurveCalculations->actions()[0]->trigger();  // x[0] * 2 on C2 only
    EXPECT_EQ(Curve(2)[21], 2 * c2[21]);
    EXPECT_EQ(Curve(2)[1], c2[1]);
    EXPECT_EQ(Curve(1), c1);

    // Without a line under the pop-up nothing runs: never the depth curve.
    window->ListCurveNames->setCurrentRow(-1);
    window->PMenuCurvesPopup(true, window->mapToGlobal(QPoint(10, 10)));
    window->PMenuCurves->hide();
    runner->Clear();
    const std::vector<float> depth = Curve(0);
    window->MICurveCalculations->actions()[0]->trigger();
    EXPECT_TRUE(runner->Requests().empty());
    EXPECT_EQ(Curve(0), depth);
}

}  // namespace
}  // namespace strativ::test
