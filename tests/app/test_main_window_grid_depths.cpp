// Depths and eight-digit values of an upward grid as every window shows them, and commands over the
// range shown.
#include "AppTestSupport.h"

#include "datawin/AddData.h"
#include "datawin/Export.h"
#include "datawin/SingleCurve.h"
#include "datawin/SynchSingleWindows.h"
#include "editing/CreateCurveByValues.h"
#include "editing/DeptRecalc.h"
#include "editing/DetailStatistics.h"
#include "editing/IntervalLimiter.h"
#include "editing/IntervalManager.h"
#include "editing/IntervalParams.h"
#include "editing/SelectIntervalPart.h"
#include "editing/ViewValuesAtInterval.h"
#include "ui_AddData.h"
#include "ui_CreateCurveByValues.h"
#include "ui_DeptRecalc.h"
#include "ui_Export.h"
#include "ui_IntervalLimiter.h"
#include "ui_IntervalParams.h"
#include "ui_MainUnit.h"
#include "ui_SelectIntervalPart.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QToolTip>
#include <cstdio>
#include <functional>

namespace strativ::test {
namespace {

constexpr int kRows = 6701;

// 3600.0000 .. 4621.0800 by 0.1524, written bottom up; the float of 4621.08 rounds to 4621.0801
// and that of 3600.1524 to 3600.1523. C1 of a row is its number from the top, from 1; C2 holds
// eight-digit values, 2692.7075 on even rows from the top and 7273.4951 on odd ones, whose floats
// rounded to seven digits would read 2692.708 and 7273.495.
std::string WriteUpwardGrid(const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    out << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 4621.0800 :\r\n STOP.M 3600.0000 :\r\n"
           " STEP.M -0.1524 :\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n C1. :\r\n C2. :\r\n~A\r\n";
    for (int row = kRows - 1; row >= 0; --row) {
        char line[64];
        std::snprintf(line, sizeof line, "%.4f %d %s\r\n", 3600.0 + row * 0.1524, row + 1,
                      row % 2 ? "7273.4951" : "2692.7075");
        out << line;
    }
    return path;
}

TEST_F(MainWindowTest, WindowsShowTheGridsDecimalDepthsAndTheRangeShownTakesEveryRow)
{
    const std::string path = WriteUpwardGrid(dir.file("grid.las"));
    WriteUpwardGrid(dir.file("source.las"));
    const auto rowsAndEnds = [&](int curve) {
        const float* values = Document().GetCurveData(curve);
        const int n = Document().GetPointCount();
        return QStringLiteral("%1 rows, %2 .. %3").arg(n).arg(values[0]).arg(values[n - 1]);
    };
    const auto reportLines = [&](const QStringList& starts) {
        QStringList found;
        for (const QString& line : window->FormDetailStatistics->RE->toPlainText().split('\n'))
            for (const QString& start : starts)
                if (line.startsWith(start))
                    found << line.simplified();
        return found;
    };
    QStringList seen;
    const struct {
        const char* window;
        std::function<void()> run;
        QStringList expected;
    } cases[] = {
        {"open",
         [&] {
             runner->PushDialog([&](QDialog& dialog) {
                 seen << dialog.findChild<QLabel*>("LabelRange")->text();
                 return int(QDialog::Accepted);
             });
             ASSERT_TRUE(window->OpenLasFile(QString::fromStdString(path)));
             seen << window->StatusText(2);
         },
         {"Глубины: 3600.0000 - 4621.0800", "Глубины: 3600.0000 - 4621.0800 M"}},
        {"curve panel: the hint over a sample and the range above the track",
         [&] {
             QTest::mouseMove(&Panel(), Panel().DrawingArea().topLeft());
             QTest::mouseMove(&Panel(), PointOf(1, 1));
             seen << (QToolTip::isVisible() ? QToolTip::text() : QString());
             QToolTip::hideText();
             for (const auto& entry : Panel().ValueStripLayout().entries)
                 if (entry.curve == 1)
                     seen << entry.minimumText << entry.maximumText;
         },
         {"C2: 7273.4951 (3600.1524)", "2692.7075", "7273.4951"}},
        {"add curves over the limit shown",
         [&] {
             runner->PushDialog([&](QDialog& dialog) {
                 Ui::TFormAddData& f = window->FormAddData->Form();
                 seen << f.RxSELimitFrom->text() << f.RxSELimitTo->text() << f.LabelDepthInterval->text();
                 f.CheckListBox->item(1)->setCheckState(Qt::Unchecked);  // C1 alone
                 f.ButtonAdd->click();
                 return dialog.result();
             });
             ASSERT_TRUE(window->AddCurvesFromFile(QString::fromStdString(dir.file("source.las"))));
             seen << rowsAndEnds(3);
         },
         {"3600.0000", "4621.0800", "Начальная глубина: 3600.0000 Конечная глубина: 4621.0800",
          "6701 rows, 1 .. 6701"}},
        {"cut to the whole range shown",
         [&] {
             Panel().Interval.SetRange(0, kRows - 1);
             runner->PushDialog([&](QDialog& dialog) {
                 auto& limiter = static_cast<TDlgIntervalLimiter&>(dialog);
                 seen << limiter.Form().LabelMinMax->text() << limiter.Form().SpEdFrom->text()
                      << limiter.Form().SpEdTo->text();
                 limiter.Form().OKBtn->click();
                 return dialog.result();
             });
             window->MMIIntervalOnlyInterval->trigger();
             seen << rowsAndEnds(1);
         },
         {"3600.0000 * 4621.0800", "3600.0000", "4621.0800", "6701 rows, 1 .. 6701"}},
        {"depth step recalculated from the first value and step shown",
         [&] {
             runner->PushDialog([&](QDialog& dialog) {
                 Ui::TDeptRecalcDlg& f = window->DeptRecalcDlg->Form();
                 seen << f.LabelStep->text() << f.LabelInterval->text() << f.SpEdStart->text() << f.SpEdStop->text();
                 f.ButtonCalc->click();
                 seen << f.SpEdStop->text();
                 f.OKBtn->click();
                 return dialog.result();
             });
             window->Form().MenuStepRecalc->trigger();
             seen << window->StatusText(2) << platform::RowDepthText(Document(), 1);
         },
         {"Шаг = 0.1524; Отсчетов = 6701", "Интервал: 3600.0000 - 4621.0800", "3600.0000", "4621.0800", "4621.0800",
          "Глубины: 3600.0000 - 4621.0800 M", "3600.1524"}},
        {"an interval proposed over the whole range, taken as shown",
         [&] {
             runner->PushDialog([&](QDialog&) {
                 Ui::TFormIntervalParams& f = window->FormIntervalParams->Form();
                 seen << f.RxSpinEditTop->text() << f.RxSpinEditBottom->text();
                 f.EditName->setText("All");
                 f.ButtonOk->click();
                 return int(QDialog::Accepted);
             });
             window->AddInterval(Document().GetTopDepth(), Document().GetBottomDepth());
         },
         {"3600.0000", "4621.0800"}},
        {"interval choice",
         [&] {
             runner->PushDialog([&](QDialog&) {
                 Ui::TDlgSelectIntervalPart& f = window->DlgSelectIntervalPart->Form();
                 seen << f.LabelAllInterval->text() << f.ComboBoxOneInterval->itemText(0);
                 return int(QDialog::Rejected);
             });
             window->SelectOperationIntervals("", -1);
         },
         {"3600.0000 -:- 4621.0800", "All (3600.0000:4621.0800)"}},
        {"statistics over the whole range as that interval",
         [&] {
             window->Form().MMIDetailStat->trigger();
             seen << reportLines({"Кровля", "Подошва", "  All", "\t( ", "\tТочек"});
         },
         {"Кровля: 3600.0000", "Подошва: 4621.0800", "All (3600.0000 - 4621.0800): 3351.0000 4982.7590 3351.0000",
          "All (3600.0000 - 4621.0800): 1934.4120 2290.3940 1934.4120",
          "All (3600.0000 - 4621.0800): 1.00 2692.7075 1.00",
          "All (3600.0000 - 4621.0800): 3600.0000 3600.0000 3600.0000",
          "All (3600.0000 - 4621.0800): 6701.00 7273.4951 6701.00",
          "All (3600.0000 - 4621.0800): 4621.0800 3600.1524 4621.0800", "( 3600.0000 : 4621.0800 ) M",
          "Точек: 6701; Шаг: 0.1524"}},
        {"values of that interval",
         [&] {
             runner->PushDialog([&](QDialog&) {
                 const QAbstractItemModel& grid = *window->FormViewValuesAtInterval->StringGrid->model();
                 seen << QString::number(grid.rowCount()) << grid.index(1, 0).data().toString()
                      << grid.index(grid.rowCount() - 1, 0).data().toString() << grid.index(0, 1).data().toString()
                      << grid.index(1, 1).data().toString();
                 return int(QDialog::Rejected);
             });
             Panel().GetCurve(1)->SetSelected(true);  // C2
             window->Form().MMIViewValuesAtIntervals->trigger();
             Panel().GetCurve(1)->SetSelected(false);
         },
         {"6701", "3600.1524", "4621.0800", "2692.7075", "7273.4951"}},
        {"export",
         [&] {
             runner->PushDialog([&](QDialog&) {
                 Ui::TFormExport& f = window->FormExport->Form();
                 seen << f.LabelFileInfo->text() << f.EditLimitFrom->text() << f.EditLimitTo->text();
                 return int(QDialog::Rejected);
             });
             window->TBExport->trigger();
         },
         {"Файл grid.las Интервал глубин: 3600.0000 - 4621.0800 с шагом 0.1524", "3600.0000", "4621.0800"}},
        {"single-curve window's information",
         [&] {
             const int count = window->SingleWindows.OpenWindow(2, 0xFF, 200);
             window->SingleWindows.Window(count - 1)->TBInfoClick();
             for (const QString& line : runner->Requests().back().text.split('\n'))
                 if (line.startsWith("Весь") || line.startsWith("Мин") || line.startsWith("Макс") ||
                     line.startsWith("с шагом"))
                     seen << line;
             window->SingleWindows.CloseAll();
         },
         {"Весь интервал кривой: 3600.0000  -  4621.0800 :",
          "Минимальное значение: 2692.7075 достигается на отметке 3600.0000 M",
          "Максимальное значение: 7273.4951 достигается на отметке 3600.1524 M", "с шагом 0.1524 M"}},
        {"new curve from typed values",
         [&] {
             runner->PushDialog([&](QDialog&) {
                 seen << window->FormCreateCurveByValues->Form().StringGrid->item(0, 0)->text();
                 return int(QDialog::Rejected);
             });
             window->Form().MMICurvesAddNew->trigger();
         },
         {"3600.0000"}},
        {"manual binding by three rows",
         [&] {
             window->Form().TBCurveBinding->trigger();
             for (const auto& [curve, row] : {std::pair{0, 10}, {1, 13}}) {
                 QTest::mouseMove(&Panel(), Panel().DrawingArea().topLeft());
                 QTest::mouseMove(&Panel(), PointOf(curve, row));
                 QTest::mouseClick(&Panel(), Qt::LeftButton, Qt::NoModifier, PointOf(curve, row));
             }
             seen << runner->Requests().back().text;
         },
         {"Кривая C2\nсдвинута на -0.4572 м."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        seen.clear();
        c.run();
        EXPECT_EQ(seen, c.expected) << seen.join("|").toStdString();
    }
}

}  // namespace
}  // namespace strativ::test
