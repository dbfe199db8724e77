// Depths of an eight-digit grid as every window shows them, and commands over the range shown.
#include "AppTestSupport.h"

#include "datawin/AddData.h"
#include "datawin/Export.h"
#include "editing/DeptRecalc.h"
#include "editing/DetailStatistics.h"
#include "editing/IntervalLimiter.h"
#include "editing/IntervalManager.h"
#include "editing/ViewValuesAtInterval.h"
#include "ui_AddData.h"
#include "ui_DeptRecalc.h"
#include "ui_Export.h"
#include "ui_IntervalLimiter.h"
#include "ui_MainUnit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <cstdio>
#include <functional>

namespace strativ::test {
namespace {

constexpr int kRows = 6701;

// 3600.0000 .. 4621.0800 by 0.1524, written bottom up; the float of 4621.08 rounds to 4621.0801
// and that of 3600.1524 to 3600.1523. The value of a row is its number from the top, from 1.
std::string WriteUpwardGrid(const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    out << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STRT.M 4621.0800 :\r\n STOP.M 3600.0000 :\r\n"
           " STEP.M -0.1524 :\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n C1. :\r\n~A\r\n";
    for (int row = kRows - 1; row >= 0; --row) {
        char line[64];
        std::snprintf(line, sizeof line, "%.4f %d\r\n", 3600.0 + row * 0.1524, row + 1);
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
        {"add curves over the limit shown",
         [&] {
             runner->PushDialog([&](QDialog& dialog) {
                 Ui::TFormAddData& f = window->FormAddData->Form();
                 seen << f.RxSELimitFrom->text() << f.RxSELimitTo->text() << f.LabelDepthInterval->text();
                 f.CheckListBox->item(0)->setCheckState(Qt::Checked);
                 f.ButtonAdd->click();
                 return dialog.result();
             });
             ASSERT_TRUE(window->AddCurvesFromFile(QString::fromStdString(dir.file("source.las"))));
             seen << rowsAndEnds(2);
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
        {"statistics over the whole range as an interval",
         [&] {
             window->Intervals.SetInterval(Document().GetTopDepth(), Document().GetBottomDepth())->Name = "All";
             window->Form().MMIDetailStat->trigger();
             seen << reportLines({"Кровля", "Подошва", "  All", "\t( ", "\tТочек"});
         },
         {"Кровля: 3600.0000", "Подошва: 4621.0800", "All (3600.0000 - 4621.0800): 3351.0000 3351.0000",
          "All (3600.0000 - 4621.0800): 1934.4120 1934.4120", "All (3600.0000 - 4621.0800): 1.0000 1.0000",
          "All (3600.0000 - 4621.0800): 3600.0000 3600.0000", "All (3600.0000 - 4621.0800): 6701.0000 6701.0000",
          "All (3600.0000 - 4621.0800): 4621.0800 4621.0800", "( 3600.0000 : 4621.0800 ) M",
          "Точек: 6701; Шаг: 0.1524"}},
        {"values of that interval",
         [&] {
             runner->PushDialog([&](QDialog&) {
                 const QAbstractItemModel& grid = *window->FormViewValuesAtInterval->StringGrid->model();
                 seen << QString::number(grid.rowCount()) << grid.index(1, 0).data().toString()
                      << grid.index(grid.rowCount() - 1, 0).data().toString();
                 return int(QDialog::Rejected);
             });
             window->Form().MMIViewValuesAtIntervals->trigger();
         },
         {"6701", "3600.1524", "4621.0800"}},
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
