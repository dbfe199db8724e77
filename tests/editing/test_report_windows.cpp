// The statistics report and the values window over a small document with intervals.
#include "editing/DetailStatistics.h"
#include "editing/IntervalManager.h"
#include "editing/StatisticsReport.h"
#include "editing/ViewValuesAtInterval.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/common/FileBytes.h"
#include "tests/common/FileSizeLimit.h"
#include "tests/common/ScriptedProgress.h"
#include "tests/common/TestPrinter.h"
#include "tests/editing/EditingFixtures.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace strativ::test;

namespace {
constexpr float N = -999.25f;

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetDecimalSeparator(QChar('.'));
        // Depths 100 .. 102 by 0.5; "error" is NULL throughout 100.5 .. 101.
        document = MakeDocument(dir, {"GR", "error", "SP"},
                                {{1, 2, 3, 4, 5}, {7, N, N, 9, 8}, {-1, -2, -3, -4, -5}}, 100.0, 0.5,
                                " DATE.   2020-01-02 : DATE\n FLD .   Поле : FIELD\n");
        intervals.SetTopBottom(100, 102);
        Add("Верх", 100.5, 101.0, true);
        Add("Off", 101.0, 101.5, false);
        Add("Gap", 101.1, 101.2, true);   // between two samples
        Add("Out", 200.0, 210.0, true);   // outside the depth range
    }
    void Add(const char* name, double top, double bottom, bool active)
    {
        intervals.List.push_back({top, bottom, 0xFF, name, active});
    }
    QString Text(const std::vector<int>& selection, int mask)
    {
        return TStatisticsReport(*document, selection, intervals).Build(mask).join('\n');
    }

    TempDir dir;
    std::unique_ptr<TLASFile> document;
    IntervalManager intervals;
};

std::vector<std::string> Lines(const QString& text)
{
    std::vector<std::string> lines;
    for (const QString& line : text.split('\n'))
        lines.push_back(line.toStdString());
    return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
}  // namespace

TEST_F(ReportTest, SectionsAreNumberedByWhatIsIncluded)
{
    const auto all = Lines(Text({}, -1));
    EXPECT_EQ(all[0], std::string("1. Общие сведения о файле:"));
    EXPECT_EQ(all[3], std::string("Имя файла:\t\tdoc.las"));
    EXPECT_EQ(all[4], std::string("Дата исследований:\t2020-01-02"));
    EXPECT_EQ(all[5], std::string("Площадь:\t\tПоле"));
    EXPECT_EQ(all[8], std::string("Шаг:\t\t\t0.5"));
    EXPECT_EQ(all[9], std::string("NULL:\t\t\t-999.25"));
    EXPECT_EQ(all[12], std::string("Выбрано кривых:\t0"));  // while every curve gets a column
    EXPECT_TRUE(Contains(all, std::string("2. Поинтервальная статистика (сгруппировано по типам значений):")));
    EXPECT_TRUE(Contains(all, std::string("Всего активных интервалов:\t3")));
    EXPECT_TRUE(Contains(all, std::string("2.1. Средние значения кривых в интервалах:")));
    EXPECT_TRUE(Contains(all, std::string("3. Статистика по всему загруженному интервалу:")));
    EXPECT_TRUE(Contains(all, std::string("\t( 100.0 : 102.0 ) M")));

    intervals.List.clear();
    const auto none = Lines(Text({2}, TStatisticsReport::WholeRange | TStatisticsReport::ByInterval));
    EXPECT_EQ(none[0], std::string("1. Статистика по всему загруженному интервалу:"));
    EXPECT_EQ(none[2], std::string("\tТочек: 5;\tШаг: 0.5"));
    EXPECT_EQ(Lines(Text({2}, -1))[12], std::string("Выбрано кривых:\t1"));
}

TEST_F(ReportTest, IntervalTablesAlignColumnsAndShowEmptyRangesAsDashes)
{
    TStatisticsReport report(*document, {}, intervals);
    // Widths are the longest cell + 2, the message row not counted; the curve named "error"
    // keeps its header cell; an interval between two samples has no statistic at all.
    EXPECT_EQ(Lines(report.BuildIntervalTable(ReportStatistics()[0])),
              (std::vector<std::string>{"                             GR  error       SP",
                                        "  Верх (100.5 - 101.0):  2.5000   ----  -2.5000",
                                        "   Gap (101.1 - 101.2):    ----   ----     ----",
                                        "В интервале 'Out' (200.0 - 210.0) значения отсутствуют", ""}));
    EXPECT_EQ(Lines(report.BuildIntervalTable(ReportStatistics()[5]))[1],
              "  Верх (100.5 - 101.0):  101.0   ----  100.5");
    EXPECT_EQ(Lines(report.BuildWholeRangeTable()),
              (std::vector<std::string>{"                          GR   error       SP",
                                        "            Среднее:  3.0000  8.0000  -3.0000",
                                        "  Ср.кв. отклонение:  1.4142  0.8165   1.4142",
                                        "            Минимум:    1.00    7.00    -5.00",
                                        "   Глубина минимума:   100.0   100.0    102.0",
                                        "           Максимум:    5.00    9.00    -1.00",
                                        "  Глубина максимума:   102.0   101.5    100.0", ""}));

    // Inactive intervals only: six tables of header lines.
    for (IntervalItem& item : intervals.List)
        item.Active = false;
    const auto off = Lines(Text({1}, TStatisticsReport::ByInterval));
    EXPECT_TRUE(Contains(off, "Всего активных интервалов:\t0"));
    EXPECT_EQ(std::count(off.begin(), off.end(), "    GR"), 6);
}

TEST_F(ReportTest, ReportTellsItsProgressAndACancelLeavesNoHalfReport)
{
    TFormDetailStatistics window;
    std::size_t steps = 0;
    {
        ScriptedProgress whole(0);
        window.BuildReport(*document, {}, intervals, -1);
        EXPECT_EQ(window.RE->toPlainText(), Text({}, -1));
        EXPECT_TRUE(std::is_sorted(whole.parts.begin(), whole.parts.end()));
        EXPECT_GT(whole.parts.size(), 8u);
        steps = whole.parts.size();
    }
    // Cancelled while the tables are computed, the window keeps its text; while the text enters
    // it, the text is left empty. The window is not shown either way.
    for (const auto& [step, text] : {std::pair{std::size_t(1), QString("old")}, std::pair{steps, QString()}}) {
        window.hide();
        window.RE->setPlainText("old");
        ScriptedProgress cancelling(step);
        window.BuildReport(*document, {}, intervals, -1);
        EXPECT_EQ(window.RE->toPlainText(), text) << step;
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(cancelling.ended, 1);
    }
}

TEST_F(ReportTest, WindowSavesTheEditedTextAndRefusesAnEmptySelection)
{
    platform::RecordingDialogRunner runner;
    TFormDetailStatistics window;
    window.BuildReport(*document, {1}, intervals, TStatisticsReport::Summary);
    EXPECT_TRUE(window.isVisible());
    window.RE->appendPlainText(QStringLiteral("правка"));
    const std::string path = dir.file("stat.txt");
    runner.PushFiles({QString::fromStdString(path)});
    runner.Push(platform::IDOK);
    window.TBSaveClick();
    EXPECT_EQ(runner.Last().text, "Файл \n'" + QString::fromStdString(path) + "'\nуспешно сохранен");
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.rfind("1. Общие сведения о файле:\r\n", 0), 0u);
    EXPECT_NE(bytes.find("\r\nправка"), std::string::npos);
    EXPECT_EQ(bytes.find("\n\n"), std::string::npos);

    runner.Clear();
    window.TBSaveSelectionClick();
    EXPECT_EQ(runner.Requests().size(), 1u);
    EXPECT_EQ(runner.Last().text, QStringLiteral("Ничего не выбрано!"));

    // A failed write is told and never confirmed.
    runner.Clear();
    window.RE->selectAll();
    runner.PushFiles({QString::fromStdString(dir.file("missing/stat.txt"))});
    runner.Push(platform::IDOK);
    window.TBSaveSelectionClick();
    EXPECT_EQ(runner.Last().text,
              "Не удалось записать файл\n" + QString::fromStdString(dir.file("missing/stat.txt")) + "\nПапка не существует");
    EXPECT_EQ(runner.Last().title, QStringLiteral("Ошибка"));

    runner.PushDialog([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().isEmpty(), false);
        return int(QDialog::Rejected);
    });
    window.TBPrintClick();
    EXPECT_EQ(runner.PendingAnswers(), 0);

    // A name typed bare for the PDF lands beside the document with ".pdf", told where.
    runner.Clear();
    const QString pdf = QString::fromStdString(dir.file("ГК.pdf"));
    runner.PushDialog([](QDialog& dialog) { return strativ::test::AnswerPrintToFile(dialog, "ГК"); });
    runner.PushFiles({pdf});
    window.TBPrintClick();
    ASSERT_EQ(runner.Requests().size(), 3u);
    EXPECT_EQ(runner.Requests()[1].file.directory + "/" + runner.Requests()[1].file.fileName, pdf);
    EXPECT_EQ(runner.Last().text, "PDF файл записан:\n" + pdf);
    const std::string written = ReadFileBytes(pdf.toStdString());
    ASSERT_GT(written.size(), 8192u);
    const auto files = std::distance(std::filesystem::directory_iterator(dir.path()), {});

    // A disk that fills up after 8 kB: the old PDF stays and the message says why.
    runner.Clear();
    runner.PushDialog([](QDialog& dialog) { return strativ::test::AnswerPrintToFile(dialog, "ГК"); });
    runner.PushFiles({pdf});
    WithFileSizeLimit(8192, [&] { window.TBPrintClick(); });
    EXPECT_EQ(runner.Last().text, "Не удалось записать файл\n" + pdf + "\nФайл больше, чем допускает система");
    EXPECT_EQ(runner.Last().title, QStringLiteral("Печать"));
    EXPECT_TRUE(ReadFileBytes(pdf.toStdString()) == written) << "the old PDF was changed";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), files);
}

TEST_F(ReportTest, ValuesWindowOpensOnTheFirstIntervalAndCopiesInVisualOrder)
{
    platform::RecordingDialogRunner runner;
    TFormViewValuesAtInterval window;
    intervals.List[0].Active = false;  // opened whatever its mark
    runner.PushDialog([&](QDialog&) {
        QTableView* grid = window.StringGrid;
        EXPECT_EQ(window.CurrentInterval(), 0);
        EXPECT_EQ(grid->model()->rowCount(), 2);
        EXPECT_EQ(grid->model()->columnCount(), 3);
        EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("GR"));  // ascending
        EXPECT_EQ(grid->model()->index(0, 0).data().toString(), QStringLiteral("100.5"));
        EXPECT_EQ(window.MMICurves->actions().size(), 3);
        EXPECT_FALSE(window.MMICurves->actions()[1]->isChecked());
        window.MMICurves->actions()[1]->trigger();  // "error" joins between GR and SP
        EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("error"));
        grid->horizontalHeader()->moveSection(0, 3);  // depth moved to the right end
        window.MMIEditSelectAllClick();
        window.MMIEditCopyClick();
        EXPECT_EQ(QGuiApplication::clipboard()->text(),
                  QStringLiteral("2.00\t-999.25\t-2.00\t100.5\r3.00\t-999.25\t-3.00\t101.0"));
        runner.PushFiles({QString::fromStdString(dir.file("all.txt"))});
        window.MMIFileSaveClick();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        runner.Push(platform::IDOK);
        window.MMISaveSelectedClick();
        EXPECT_EQ(runner.Last().text, QStringLiteral("Ничего не выбрано!"));
        window.MMIInterval->actions()[2]->trigger();  // between two samples: header only
        EXPECT_EQ(grid->model()->rowCount(), 0);
        return int(QDialog::Rejected);
    });
    window.ShowValues(document.get(), &intervals, {3, 1}, -1);
    EXPECT_EQ(ReadFileBytes(dir.file("all.txt")),
              "GR\terror\tSP\tDEPT\r\n2.00\t-999.25\t-2.00\t100.5\r\n3.00\t-999.25\t-3.00\t101.0\r\n");

    intervals.List.clear();
    runner.PushDialog([&](QDialog&) {
        EXPECT_EQ(window.StringGrid->model()->rowCount(), 5);  // the whole document
        EXPECT_EQ(window.StringGrid->model()->columnCount(), 1);
        return int(QDialog::Rejected);
    });
    window.ShowValues(document.get(), &intervals, {}, -1);
}
