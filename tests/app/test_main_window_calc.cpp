// The main window's smoothing tools, depth step recalculation, new curve from typed values and
// report launchers.
#include "AppTestSupport.h"

#include "core/Lasfile.h"
#include "editing/AntiAliasingDegree.h"
#include "editing/CreateCurveByValues.h"
#include "editing/DeptRecalc.h"
#include "editing/DetailStatistics.h"
#include "editing/ViewValuesAtInterval.h"
#include "editing/SelectIntervalPart.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPrinter.h"
#include "ui_AntiAliasingDegree.h"
#include "ui_CreateCurveByValues.h"
#include "ui_DeptRecalc.h"
#include "ui_MainUnit.h"
#include "ui_SelectIntervalPart.h"
#include "view/PanelWithCurves.h"

#include <QPlainTextEdit>
#include <QTableView>
#include <QTableWidget>
#include <cmath>
#include <map>
#include <sstream>

namespace strativ::test {
namespace {

class MainCalcTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Open(WriteTestLas(dir.file("calc.las"), 3, 401)));  // 100 .. 300 m
    }

    void ClickCurve(int curve) { strativ::test::ClickCurve(Panel(), curve); }
};

TEST_F(MainCalcTest, SpectrumToolSmoothsTheClickedCurveAndGoesUp)
{
    Ui::TFormMain& f = window->Form();
    const std::vector<float> before = Values(2);
    f.TBAntiAlias->trigger();
    EXPECT_FALSE(Panel().CrossMouse);
    // Without intervals the whole curve, no choice dialog.
    runner->PushDialog([&](QDialog& dialog) {
        auto& degree = static_cast<TDlgAADegree&>(dialog);
        EXPECT_EQ(f.MIUndo->text().contains("Сглаживание кривой по спектру"), true);
        degree.Form().RxSlider->setValue(100);
        EXPECT_NE(Values(2), before);  // the preview is in the document's curve
        degree.Form().OKBtn->click();
        return dialog.result();
    });
    ClickCurve(1);
    EXPECT_EQ(runner->PendingAnswers(), 0);
    EXPECT_FALSE(f.TBAntiAlias->isChecked());
    EXPECT_TRUE(Panel().CrossMouse);
    EXPECT_TRUE(window->IsModified());
    const std::vector<float> flat = Values(2);
    EXPECT_EQ(flat.front(), flat.back());
    EXPECT_EQ(Values(1)[0], GeneratedValue(1, 0));  // other curves untouched
    f.TBUndo->trigger();
    EXPECT_EQ(Values(2), before);

    // With intervals: the choice dialog asks; cancelled, no step is taken and the button stays down.
    window->Intervals.SetInterval(150, 200)->Name = "A";
    const QString undoText = f.MIUndo->text();
    f.TBAntiAlias->trigger();
    runner->PushDialog([](QDialog&) { return int(QDialog::Rejected); });
    ClickCurve(0);
    EXPECT_EQ(f.MIUndo->text(), undoText);
    EXPECT_TRUE(f.TBAntiAlias->isChecked());
    // Chosen and then cancelled: the values come back and the button goes up.
    runner->PushDialog([](QDialog& dialog) {
        static_cast<TDlgSelectIntervalPart&>(dialog).Form().OKBtn->click();
        return dialog.result();
    });
    runner->PushDialog([&](QDialog& dialog) {
        static_cast<TDlgAADegree&>(dialog).Form().RxSlider->setValue(70);
        return int(QDialog::Rejected);
    });
    ClickCurve(0);
    EXPECT_EQ(Values(2), before);
    EXPECT_FALSE(f.TBAntiAlias->isChecked());
    // The cancelled smoothing took no step: the undone one can still be redone.
    EXPECT_EQ(f.MIUndo->text(), undoText);
    EXPECT_TRUE(f.MIRedo->isEnabled());
}

TEST_F(MainCalcTest, PointsToolWritesOnlyInsideTheChosenInterval)
{
    Ui::TFormMain& f = window->Form();
    const std::vector<float> before = Values(1);
    window->Intervals.SetInterval(150, 160)->Name = "A";  // samples 100 .. 120
    f.TBAntiAliasByPoints->trigger();
    runner->PushDialog([](QDialog& dialog) {
        static_cast<TDlgSelectIntervalPart&>(dialog).Form().OKBtn->click();
        return dialog.result();
    });
    runner->PushDialog([&](QDialog& dialog) {
        dialog.findChild<QSpinBox*>("RxSpinEdit")->setValue(5);
        dialog.findChild<QPushButton*>("ButtonOk")->click();
        return dialog.result();
    });
    ClickCurve(0);
    const std::vector<float> after = Values(1);
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 103, after.begin()));
    EXPECT_TRUE(std::equal(before.begin() + 120, before.end(), after.begin() + 120));
    EXPECT_NE(after[110], before[110]);
    EXPECT_TRUE(f.MIUndo->text().contains("Сглаживание кривой по точкам"));
    EXPECT_FALSE(f.TBAntiAliasByPoints->isChecked());
}

TEST_F(MainCalcTest, DepthStepRecalculationRestampsAndCancelChangesNothing)
{
    Ui::TFormMain& f = window->Form();
    window->SetDepthScale(500);
    window->Snapshot("'Шаг'");
    f.TBUndo->trigger();
    runner->PushDialog([](QDialog& dialog) {
        auto& depth = static_cast<TDeptRecalcDlg&>(dialog);
        depth.Form().ButtonCalc->click();
        depth.Form().CancelBtn->click();
        return dialog.result();
    });
    f.MenuStepRecalc->trigger();
    EXPECT_EQ(window->LasFile()->GetTopDepth(), 100.0f);
    EXPECT_EQ(window->DepthScale, 500);
    EXPECT_FALSE(f.MIUndo->isEnabled());  // a cancelled dialog takes no step and keeps the one to redo
    EXPECT_EQ(f.MIRedo->text(), "Повторить 'Шаг'");

    runner->PushDialog([](QDialog& dialog) {
        auto& depth = static_cast<TDeptRecalcDlg&>(dialog);
        depth.Form().CheckBoxStop->click();  // step + last value
        depth.Form().SpEdStep->SetValue(0.1);
        depth.Form().SpEdStop->SetValue(1000.0);
        depth.Form().ButtonCalc->click();
        depth.Form().CheckBoxPrecision->click();
        depth.Form().RxSpEdPrecision->setValue(3);
        depth.Form().CheckBoxMnem->setChecked(true);
        depth.Form().EditDeptName->setText("");
        depth.Form().OKBtn->click();  // refused: the dialog stays
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        depth.Form().EditDeptName->setText("MD");
        depth.Form().OKBtn->click();
        return dialog.result();
    });
    f.MenuStepRecalc->trigger();
    TLASFile& document = *window->LasFile();
    EXPECT_EQ(document.GetBottomDepth(), 1000.0f);
    EXPECT_FLOAT_EQ(document.GetTopDepth(), 960.0f);
    EXPECT_FLOAT_EQ(document.GetStep(), 0.1f);
    EXPECT_EQ(document.GetDepthDecimals(), 3);
    EXPECT_EQ(document.GetCurveName(0), "MD");
    EXPECT_TRUE(Messages().contains("Ошибка|Кривая <DEPT>: Не задано имя кривой"));
    EXPECT_EQ(window->DepthScale, 200);
    EXPECT_EQ(Values(1)[0], GeneratedValue(1, 0));  // no value moves
    ExpectViewFollowsDocument(*window, "depth step");

    window.reset();
    runner->Clear();
    CreateWindow();
    window->Form().MenuStepRecalc->trigger();
    EXPECT_EQ(Messages(), QStringList{"Strativ|Не загружен LAS файл"});
}

// The new curve is written with every digit typed for it, on the rows its steps fill too, and
// with the decimals typed.
TEST_F(MainCalcTest, NewCurveFromTypedValuesIsAddedWithItsColour)
{
    Ui::TFormMain& f = window->Form();
    window->Snapshot("'Шаг'");
    runner->PushDialog([](QDialog& dialog) {
        auto& form = static_cast<TFormCreateCurveByValues&>(dialog);
        QTableWidget* grid = form.Form().StringGrid;
        grid->setRowCount(3);
        const char* cells[3][2] = {{"100,0", "2700,1234"}, {"200", "4932,8337"}, {"250", "7,125"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 2; ++c)
                grid->setItem(r, c, new QTableWidgetItem(cells[r][c]));
        form.Form().EditNewCurveName->setText("NEW1");
        form.Form().OKBtn->click();
        return dialog.result();
    });
    runner->PushCancel();  // the colour: black
    f.MMICurvesAddNew->trigger();
    TLASFile& document = *window->LasFile();
    ASSERT_EQ(document.GetCurvesCount(), 5);
    EXPECT_EQ(document.GetCurveName(4), "NEW1");
    EXPECT_EQ(Values(4)[400], 7.125f);
    ASSERT_TRUE(document.WriteLas(dir.file("new.las")));
    std::istringstream rows(ReadFileBytes(dir.file("new.las")));
    for (std::string line; std::getline(rows, line) && line.rfind("~A", 0) != 0;) {
    }
    std::map<std::string, int> written;  // the new curve's texts, how many rows each
    for (std::string line; std::getline(rows, line);)
        ++written[line.substr(line.find_last_of(' ') + 1)];
    EXPECT_EQ(written, (std::map<std::string, int>{{"2700.1234\r", 200}, {"4932.8337\r", 100}, {"7.1250\r", 101}}));
    ASSERT_EQ(Panel().GetCurvesCount(), 4);
    EXPECT_EQ(Panel().GetCurve(3)->Color(), 0u);
    EXPECT_EQ(Panel().GetCurve(3)->XOffset(), -300);
    EXPECT_FALSE(window->UndoStore.CanUndo());  // the undo store was reset
    EXPECT_TRUE(window->IsModified());
}

TEST_F(MainCalcTest, StatisticsReportShowsTheSelectedCurves)
{
    window->ListCurveNames->item(1)->setCheckState(Qt::Checked);
    window->Form().MMIDetailStat->trigger();
    ASSERT_TRUE(window->FormDetailStatistics->isVisible());
    const QString text = window->FormDetailStatistics->RE->toPlainText();
    EXPECT_TRUE(text.contains("Выбрано кривых:\t1"));
    EXPECT_TRUE(text.contains("C2\n"));
    EXPECT_FALSE(text.contains("C1 "));
    EXPECT_TRUE(text.startsWith("1. Общие сведения о файле:\n"));
}

// A statistics PDF over the open document (whatever it holds) or over a LAS file that begins with
// comments names what it would replace and writes nothing unless the user says yes.
TEST_F(MainCalcTest, AStatisticsPdfOverTheOpenDocumentOrALasFileAsksFirst)
{
    const std::string las = ReadFileBytes(dir.file("calc.las"));
    const std::string document = dir.file("commented.las");
    const std::string other = dir.file("other.las");
    WriteFileBytes(document, "# exported by hand\r\n\r\n" + las);
    WriteFileBytes(other, "#--\r\n" + las);
    ASSERT_TRUE(Open(document));
    window->ListCurveNames->item(1)->setCheckState(Qt::Checked);
    window->Form().MMIDetailStat->trigger();
    const std::pair<std::string, QString> cases[] = {{document, "открытый документ"}, {other, "LAS файл"}};
    for (const auto& [path, what] : cases) {
        const std::string bytes = ReadFileBytes(path);
        runner->Clear();
        runner->PushDialog([](QDialog& dialog) { return AnswerPrintToFile(dialog); });
        runner->PushFiles({QString::fromStdString(path)});
        runner->Push(platform::IDNO);
        window->FormDetailStatistics->TBPrintClick();
        EXPECT_EQ(Messages(), QStringList{"Печать в PDF|Файл\n" + QString::fromStdString(path) + "\n- " + what +
                                          ". Записать поверх него?"});
        EXPECT_EQ(ReadFileBytes(path), bytes);
    }
}

}  // namespace
}  // namespace strativ::test

namespace strativ::test {
namespace {

TEST_F(MainCalcTest, ValuesWindowOpensOnTheIntervalUnderThePopUp)
{
    Ui::TFormMain& f = window->Form();
    window->Intervals.SetInterval(110, 120)->Name = "A";
    window->Intervals.SetInterval(150, 160)->Name = "B";
    EXPECT_TRUE(f.MMIIntervals->actions().contains(f.MMIViewValuesAtIntervals));
    window->ListCurveNames->item(2)->setCheckState(Qt::Checked);
    int shown = -2;
    int columns = 0;
    const auto answer = [&] {
        runner->PushDialog([&](QDialog&) {
            shown = window->FormViewValuesAtInterval->CurrentInterval();
            columns = window->FormViewValuesAtInterval->StringGrid->model()->columnCount();
            return int(QDialog::Rejected);
        });
    };
    answer();
    f.MMIViewValuesAtIntervals->trigger();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(columns, 2);  // depth and the ticked C3
    window->ClickIntervals = {1};
    answer();
    f.PMIIntViewValues->trigger();
    EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace strativ::test
