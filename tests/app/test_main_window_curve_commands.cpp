// The curve pop-up commands, the curve names dialog, the interval commands and the intervals
// window of the main window.
#include "AppTestSupport.h"

#include "app/CurveNameDlg.h"
#include "editing/DlgCurveNames.h"
#include "editing/FormIntervals.h"
#include "editing/IntervalParams.h"
#include "ui_CurveNameDlg.h"
#include "ui_DlgCurveNames.h"
#include "ui_FormIntervals.h"
#include "ui_IntervalParams.h"
#include "ui_MainUnit.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

namespace strativ::test {
namespace {

constexpr float kNull = -999.25f;

class CurveCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Open(WriteTestLas(dir.file("commands.las"), 3, 401)));  // 100 .. 300 m
    }


    // A right click: the menu opens where the button is released.
    void RightClick(QPoint at)
    {
        QTest::mouseMove(&Panel(), at);
        QTest::mouseClick(&Panel(), Qt::RightButton, Qt::NoModifier, at);
    }
    void ClosePopups()
    {
        for (QMenu* menu : {window->PMenuCurves, window->PMenuBound, window->PMenuAddInterval})
            menu->hide();
    }
};

TEST_F(CurveCommandsTest, RightClickOnACurveOpensItsMenuAndTheMenuCutsThere)
{
    RightClick(PointOf(1, 12));
    EXPECT_TRUE(window->PMenuCurves->isVisible());
    EXPECT_EQ(window->FPopupCurve, 2);
    EXPECT_EQ(window->FPopupDepthIndex, 12);
    ClosePopups();
    F().MICutTop->trigger();
    const std::vector<float> cut = Values(2);
    EXPECT_TRUE(std::all_of(cut.begin(), cut.begin() + 13, [](float v) { return v == kNull; }));
    EXPECT_EQ(cut[13], GeneratedValue(2, 13));
    EXPECT_EQ(F().MIUndo->text(), "Отменить 'Удаление верхней части кривой'");
    F().MICutBottom->trigger();
    EXPECT_EQ(Values(2)[12], kNull);
    EXPECT_EQ(Values(2)[400], kNull);
    EXPECT_EQ(Values(2)[11], kNull);

    // Over the curve list: the list's line, and the cuts do nothing (the list has no depth).
    window->ListCurveNames->setCurrentRow(0);
    window->PMenuCurvesPopup(true, QPoint());
    ClosePopups();
    EXPECT_EQ(window->FPopupCurve, 1);
    const std::vector<float> listed = Values(1);
    F().MICutTop->trigger();
    EXPECT_EQ(Values(1), listed);
    // Over no curve, or the list without a line: nothing at all.
    window->ListCurveNames->setCurrentRow(-1);
    window->PMenuCurvesPopup(true, QPoint());
    ClosePopups();
    const std::vector<float> depths = Values(0);
    F().MIInverseCurve->trigger();
    F().MIEnlargeCurveWidth->trigger();
    EXPECT_EQ(Values(0), depths);
}

TEST_F(CurveCommandsTest, InversionPenWidthAndRename)
{
    float* c1 = window->LasFile()->GetCurveData(1);
    c1[3] = kNull;
    c1[4] = 0.0f;
    window->FPopupCurve = 1;
    F().MIInverseCurve->trigger();
    EXPECT_EQ(c1[3], kNull);
    EXPECT_TRUE(std::signbit(c1[4]));
    EXPECT_EQ(c1[5], -GeneratedValue(1, 5));
    EXPECT_EQ(Panel().GetCurve(0)->Minimum(), -16.0f);  // the statistics follow
    EXPECT_EQ(F().TBUndo->toolTip(), "Отменить 'Инверсия значений'");

    for (int i = 0; i < 6; ++i)
        F().MIEnlargeCurveWidth->trigger();
    EXPECT_EQ(Panel().GetCurve(0)->LineWidth(), 5);
    for (int i = 0; i < 6; ++i)
        F().MIDecrCurveWidth->trigger();
    EXPECT_EQ(Panel().GetCurve(0)->LineWidth(), 1);

    runner->Clear();
    EXPECT_TRUE(window->RenameCurve(1, "G K.1:x"));
    EXPECT_EQ(window->LasFile()->GetCurveName(1), "GK1x");
    EXPECT_EQ(window->ListCurveNames->item(0)->text(), "GK1x");
    EXPECT_EQ(Panel().GetCurve(0)->Caption(), "GK1x");
    EXPECT_FALSE(window->RenameCurve(1, " .:"));
    EXPECT_FALSE(window->RenameCurve(1, ""));
    EXPECT_EQ(window->LasFile()->GetCurveName(1), "GK1x");
    EXPECT_EQ(Messages(), (QStringList{
                              "Strativ|В имени кривой присутствуют недопустимые символы:\n ' ', '.', ':'\nОни будут удалены из имени",
                              "Strativ|В имени кривой присутствуют недопустимые символы:\n ' ', '.', ':'\nОни будут удалены из имени",
                              "Strativ|Не допускается пустое имя кривой\nИмя кривой не будет изменено",
                              "Strativ|Не допускается пустое имя кривой\nИмя кривой не будет изменено"}));
    EXPECT_TRUE(window->IsModified());
}

TEST_F(CurveCommandsTest, PropertiesAreWrittenAndSaved)
{
    window->FPopupCurve = 2;
    runner->PushDialog([](QDialog& dialog) {
        Ui::TCurveNameFields& f = static_cast<TCurveNameDlg&>(dialog).Fields();
        EXPECT_EQ(f.EditName->text(), "C2");
        f.EditName->setText("RHOB");
        f.EditUnit->setText("G/C3");
        f.EditDescription->setText("Плотность");
        f.SpinDecimals->setValue(4);
        return int(QDialog::Accepted);
    });
    F().MICurveName->trigger();
    const TLASFile& document = *window->LasFile();
    EXPECT_EQ(document.GetCurveName(2), "RHOB");
    EXPECT_EQ(document.GetCurveUnit(2), "G/C3");
    ASSERT_TRUE(document.WriteLas(dir.file("saved.las")));
    TLASFile saved(dir.file("saved.las"), 2);
    EXPECT_EQ(saved.GetCurveName(2), "RHOB");
    EXPECT_EQ(saved.GetCurveUnit(2), "G/C3");
    EXPECT_EQ(saved.GetCurveDescription(2), "Плотность");
    EXPECT_EQ(saved.GetCurveDecimals(2), 4);
    EXPECT_TRUE(window->IsModified());

    // The colour lives on the panel curve (a LAS file keeps none).
    runner->PushDialog([](QDialog& dialog) {
        auto& properties = static_cast<TCurveNameDlg&>(dialog);
        properties.Fields().ButtonColor->click();
        return int(QDialog::Accepted);
    });
    runner->PushColor(0x00AA00);
    F().MICurveName->trigger();
    EXPECT_EQ(Panel().GetCurve(1)->Color(), 0x00AA00u);
}

TEST_F(CurveCommandsTest, CurveNamesDialogRenamesEveryCurve)
{
    runner->PushDialog([](QDialog& dialog) {
        auto& names = static_cast<TDialogCurveNames&>(dialog);
        QTableWidget& grid = *names.Form().SGNames;
        EXPECT_EQ(grid.rowCount(), 3);
        EXPECT_EQ(grid.item(1, 0)->text(), "C2");
        grid.item(0, 1)->setText("G R.x");  // cleaned as the cell is committed
        EXPECT_EQ(grid.item(0, 1)->text(), "GRx");
        grid.item(1, 1)->setText("");  // an empty cell keeps the name
        grid.item(2, 1)->setText("NPHI");
        names.Form().OKBtn->click();
        return dialog.result();
    });
    F().MICurveNames->trigger();
    EXPECT_EQ(window->LasFile()->GetCurveName(1), "GRx");
    EXPECT_EQ(window->LasFile()->GetCurveName(2), "C2");
    EXPECT_EQ(window->LasFile()->GetCurveName(3), "NPHI");

    // Only the depth curve: one disabled empty row, and OK gives no names.
    TDialogCurveNames names;
    runner->PushDialog([](QDialog& dialog) {
        auto& d = static_cast<TDialogCurveNames&>(dialog);
        EXPECT_EQ(d.Form().SGNames->rowCount(), 1);
        EXPECT_FALSE(d.Form().SGNames->isEnabled());
        d.Form().OKBtn->click();
        return dialog.result();
    });
    EXPECT_TRUE(names.Execute());
    EXPECT_TRUE(names.NewNames.isEmpty());
}

// The file is CP866: '€' cannot be written in it. Each refusal names the curve and the reason, keeps
// the dialog open (or asks again) and changes nothing.
TEST_F(CurveCommandsTest, TextsTheFileCannotHoldAreRefusedWithTheReason)
{
    const QString euro = "Символ '€' нельзя записать в кодировке файла";
    const auto clickOk = [](QDialog& dialog) { dialog.findChild<QPushButton*>("OKBtn")->click(); };
    window->FPopupCurve = 1;
    runner->PushDialog([&](QDialog& dialog) {
        Ui::TCurveNameFields& f = static_cast<TCurveNameDlg&>(dialog).Fields();
        f.EditUnit->setText("G C3");
        clickOk(dialog);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        f.EditUnit->setText("G/C3");
        f.EditDescription->setText("Плотность: г/см3");
        clickOk(dialog);
        f.EditDescription->setText("Плотность");
        f.EditName->setText("R€");
        clickOk(dialog);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        return int(QDialog::Rejected);  // Cancel after the refusals
    });
    F().MICurveName->trigger();
    TLASFile& document = *window->LasFile();
    EXPECT_EQ(document.GetCurveName(1), "C1");
    EXPECT_EQ(document.GetCurveUnit(1), "U1");
    EXPECT_EQ(document.GetCurveDescription(1), "CURVE 1");

    runner->PushDialog([&](QDialog& dialog) {
        QTableWidget& grid = *static_cast<TDialogCurveNames&>(dialog).Form().SGNames;
        grid.item(0, 1)->setText("GR");
        grid.item(1, 1)->setText("N€");
        clickOk(dialog);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(grid.currentRow(), 1);
        return int(QDialog::Rejected);
    });
    F().MICurveNames->trigger();
    EXPECT_EQ(document.GetCurveName(1), "C1");

    runner->PushText("K€");
    runner->Push(platform::IDOK);  // the refusal
    runner->PushCancel();          // asked again
    F().PMenuCurveClone->trigger();
    EXPECT_EQ(document.GetCurvesCount(), 4);
    EXPECT_EQ(runner->Requests().back().value, "K€");  // the refused name offered again

    EXPECT_FALSE(window->RenameCurve(2, "C€"));
    EXPECT_EQ(document.GetCurveName(2), "C2");
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(Messages(), (QStringList{
                              "Ошибка|Кривая <C1>: Единица измерения не может содержать пробел, двоеточие или перевод строки",
                              "Ошибка|Кривая <C1>: Описание кривой не может содержать двоеточие или перевод строки",
                              "Ошибка|Кривая <C1>: " + euro,
                              "Ошибка|Кривая <C2>: " + euro,
                              "Ошибка|Кривая <K€>: " + euro,
                              "Ошибка|Кривая <C2>: " + euro}));
}

TEST_F(CurveCommandsTest, CloneAddsACurveAndLeavesNoStepToUndo)
{
    window->FPopupCurve = 1;
    F().MIInverseCurve->trigger();
    EXPECT_TRUE(F().TBUndo->isEnabled());
    window->LasFile()->GetCurveData(1)[7] = kNull;
    runner->PushText("COPY");
    runner->PushColor(0x0000AA);
    F().PMenuCurveClone->trigger();
    ASSERT_EQ(window->LasFile()->GetCurvesCount(), 5);
    EXPECT_EQ(Values(4), Values(1));
    EXPECT_EQ(window->LasFile()->GetCurveName(4), "COPY");
    EXPECT_EQ(Panel().GetCurve(3)->XOffset(), -300);
    EXPECT_EQ(Panel().GetCurve(3)->Color(), 0x0000AAu);
    EXPECT_EQ(window->StatusText(1), "Кривых: 4");
    for (QAction* action : {F().TBUndo, F().TBRedo, F().MIUndo, F().MIRedo})
        EXPECT_FALSE(action->isEnabled());
    EXPECT_EQ(F().MIUndo->text(), "Отмена изменений - нет доступных");
    EXPECT_EQ(F().MIRedo->text(), "Повтор изменений - нет доступных");
    EXPECT_TRUE(window->IsModified());
    ExpectViewFollowsDocument(*window, "clone");
    // Cancel in the name box ends the clone.
    runner->PushCancel();
    F().PMenuCurveClone->trigger();
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 5);
}

TEST_F(CurveCommandsTest, UndoTakesBackTheSidewaysMoveOfAStroke)
{
    F().TBPencilLine->trigger();
    TCurve& curve = *Panel().GetCurve(0);
    const int before = curve.XOffset();
    const QPoint start = PointOf(0, 4);
    const QPoint below(int(std::lround(curve.ColumnOf(curve.Minimum() - 4, Panel().Coordinates()))),
                       PointOf(0, 10).y());
    QTest::mouseMove(&Panel(), start);
    QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&Panel(), below);
    QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, below);
    const int stroke = curve.XOffset();
    ASSERT_NE(stroke, before);
    curve.SetXOffset(curve.XOffset() + 25);  // a sideways drag after the stroke is kept
    F().TBUndo->trigger();
    EXPECT_EQ(Panel().GetCurve(0)->XOffset(), before + 25);
    F().TBRedo->trigger();
    EXPECT_EQ(Panel().GetCurve(0)->XOffset(), stroke + 25);
}

TEST_F(CurveCommandsTest, IntervalsFromTheToolTheGapMenuAndTheIntervalMenu)
{
    const PanelCoordinates c = Panel().Coordinates();
    const QPoint empty(Panel().DrawingArea().right() - 5, 0);
    const auto drag = [&](double from, double to) {
        QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, QPoint(empty.x(), c.RowOf(from)));
        QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, QPoint(empty.x(), c.RowOf(to)));
    };
    const auto answerParams = [&](const std::string& name) {
        runner->PushDialog([name](QDialog& dialog) {
            auto& params = static_cast<TFormIntervalParams&>(dialog);
            params.Form().EditName->setText(QString::fromStdString(name));
            return int(QDialog::Accepted);
        });
    };
    // Upward and downward drags propose the same interval; the tool acts once.
    F().TBPutBoundary->trigger();
    runner->PushDialog([](QDialog& dialog) {
        auto& params = static_cast<TFormIntervalParams&>(dialog);
        EXPECT_EQ(params.Form().EditName->text(), "New");
        EXPECT_NEAR(params.Form().RxSpinEditTop->value(), 105.0, 0.2);
        EXPECT_NEAR(params.Form().RxSpinEditBottom->value(), 110.0, 0.2);
        EXPECT_EQ(params.Form().RxSpinEditTop->minimum(), 100.0);
        EXPECT_EQ(params.Form().RxSpinEditTop->maximum(), 300.0);
        // The name box takes no more UTF-8 bytes than a session keeps (127).
        params.Form().EditName->clear();
        for (int i = 0; i < 64; ++i)
            QTest::sendKeyEvent(QTest::Click, params.Form().EditName, Qt::Key_unknown, QString(QChar(0x0416)),
                                Qt::NoModifier);
        QTest::keyClicks(params.Form().EditName, "ab");
        EXPECT_EQ(params.Form().EditName->text(), QString(63, QChar(0x0416)) + "a");
        return int(QDialog::Rejected);
    });
    drag(110.0, 105.0);
    EXPECT_FALSE(F().TBPutBoundary->isChecked());
    EXPECT_TRUE(window->Intervals.List.empty());
    F().TBPutBoundary->trigger();
    answerParams("A");
    drag(105.0, 110.0);
    ASSERT_EQ(window->Intervals.List.size(), 1u);
    EXPECT_EQ(window->Intervals.List[0].Name, "A");
    EXPECT_NEAR(window->Intervals.List[0].Top, 105.0, 0.2);

    // A drag shorter than one depth step: the warning, no dialog.
    F().TBPutBoundary->trigger();
    runner->Clear();
    drag(112.0, 112.1);
    EXPECT_EQ(Messages(), QStringList{"Добавление интервала|Длина интервала должна быть не меньше текущего шага по "
                                      "глубине!\nИнтервал не будет добавлен."});
    EXPECT_EQ(runner->Requests().size(), 1u);

    // The gap below A up to the document's end, from the gap menu.
    window->Intervals.SetInterval(130.0f, 140.0f)->Name = "B";
    RightClick(QPoint(empty.x(), c.RowOf(120.0)));
    EXPECT_TRUE(window->PMenuAddInterval->isVisible());
    ClosePopups();
    answerParams("GAP");
    F().PMIAddFillInterval->trigger();
    ASSERT_EQ(window->Intervals.List.size(), 3u);
    EXPECT_EQ(window->Intervals.List[1].Name, "GAP");
    EXPECT_EQ(window->Intervals.List[1].Top, window->Intervals.List[0].Bottom);
    EXPECT_EQ(window->Intervals.List[1].Bottom, 130.0);

    // The interval menu: properties keep the Active mark; merge; remove.
    window->Intervals.List[0].Active = false;
    RightClick(QPoint(empty.x(), c.RowOf(107.0)));
    EXPECT_TRUE(window->PMenuBound->isVisible());
    ClosePopups();
    answerParams("A2");
    F().PMIIntervalSet->trigger();
    EXPECT_EQ(window->Intervals.List[0].Name, "A2");
    EXPECT_FALSE(window->Intervals.List[0].Active);
    F().PMIMergeCurrentIntWithNext->trigger();
    ASSERT_EQ(window->Intervals.List.size(), 2u);
    EXPECT_EQ(window->Intervals.List[0].Bottom, 130.0);
    F().MIRemoveInterval->trigger();
    ASSERT_EQ(window->Intervals.List.size(), 1u);
    EXPECT_EQ(window->Intervals.List[0].Name, "B");
}

TEST_F(CurveCommandsTest, IntervalsWindowFollowsEveryChangeWhileVisible)
{
    IntervalManager& intervals = window->Intervals;
    intervals.SetInterval(120, 150)->Name = "A";
    intervals.SetInterval(200, 250)->Name = "B";
    F().MMIIntervalsShow->trigger();
    TFormIntervals& form = *window->FormIntervals;
    QListWidget& list = *form.Form().ListBoxIntervals;
    const auto rows = [&] {
        QStringList out;
        for (int i = 0; i < list.count(); ++i)
            out << list.item(i)->text() + (list.item(i)->checkState() == Qt::Checked ? "+" : "-");
        return out;
    };
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(rows(), (QStringList{"A+", "B+"}));

    list.item(0)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(intervals.List[0].Active);

    // Moving A below B reorders the list; each row shows its own interval.
    list.setCurrentRow(0);
    runner->PushDialog([](QDialog& dialog) {
        auto& params = static_cast<TFormIntervalParams&>(dialog);
        params.Form().RxSpinEditTop->setValue(260);
        // Typed beyond the loaded range: taken, and shown held at the range's end.
        QDoubleSpinBox& bottom = *params.Form().RxSpinEditBottom;
        bottom.selectAll();
        QTest::keyClicks(&bottom, "400");
        EXPECT_EQ(bottom.text(), "400");
        QTest::keyClick(&bottom, Qt::Key_Return);
        EXPECT_EQ(bottom.text(), "300.0");
        return int(QDialog::Accepted);
    });
    form.ButtonEditClick();
    EXPECT_EQ(rows(), (QStringList{"B+", "A-"}));
    EXPECT_EQ(intervals.List[1].Bottom, 300.0);

    // A change from the main window reaches the visible window.
    window->ClickIntervals = {0};
    F().MIRemoveInterval->trigger();
    EXPECT_EQ(rows(), (QStringList{"A-"}));
    list.setCurrentRow(0);
    form.ButtonMergeClick();  // the last row has no next interval
    EXPECT_EQ(rows(), (QStringList{"A-"}));
    form.ButtonDeleteClick();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(intervals.List.empty());
}

}  // namespace
}  // namespace strativ::test
