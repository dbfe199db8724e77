// The new LAS file wizard driven from the main window's command, in a temporary profile.
#include "ui_CreateCurveByValues.h"
#include "ui_DlgLogFileHeaderEditor.h"
#include "ui_NewLasWizard.h"

#include "AppTestSupport.h"
#include "app/StrativProfileManager.h"
#include "core/IniStore.h"
#include "core/LasNumbers.h"
#include "core/Lasfile.h"
#include "datawin/ExportTable.h"
#include "datawin/NewLasWizard.h"
#include "editing/CreateCurveByValues.h"
#include "library/DlgLogFileHeaderEditor.h"
#include "library/LASFileHeader.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <QTableWidget>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace strativ::test {
namespace {

class NewLasWizardTest : public MainWindowTest {
protected:
    // Runs the command with `drive` working the wizard's pages; returns what the wizard gave back.
    void Run(std::function<void(TDlgNewLasWizard&, Ui::TDlgNewLasWizard&)> drive)
    {
        runner->PushDialog([drive](QDialog& dialog) {
            auto& wizard = static_cast<TDlgNewLasWizard&>(dialog);
            drive(wizard, wizard.Form());
            return dialog.result() == QDialog::Accepted ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
        window->MMIFileCreateNew->trigger();
    }
    static void Depths(Ui::TDlgNewLasWizard& f, double start, double stop, double stepOrCount, bool count, int curves)
    {
        f.EditStart->setValue(start);
        f.EditStop->setValue(stop);
        (count ? f.RBPoints : f.RBStep)->setChecked(true);
        f.EditStepOrPointsNumber->setValue(stepOrCount);
        f.EditManualCurveCount->setValue(curves);
    }
    // The header editor confirmed, the first field's value set to `value` unless empty.
    void PushHeader(const QString& value)
    {
        runner->PushDialog([value](QDialog& dialog) {
            auto& editor = static_cast<TDlgLogFileHeaderEditor&>(dialog);
            if (!value.isEmpty())
                editor.StringGrid->item(0, 1)->setText(value);
            if (editor.OKBtnClick())
                editor.accept();
            return editor.result();
        });
    }
    std::string Page(Ui::TDlgNewLasWizard& f) const { return f.PageControl->currentWidget()->objectName().toStdString(); }
};

TEST_F(NewLasWizardTest, ByHandFileIsWrittenEnteredInTheLibraryAndOpened)
{
    const std::string path = dir.file("made.las");
    Run([&](TDlgNewLasWizard&, Ui::TDlgNewLasWizard& f) {
        EXPECT_EQ(f.PanelTop->text(), "Выбор способа создания файла");
        f.ButtonNext->click();
        ASSERT_EQ(Page(f), "TSManual1");
        Depths(f, 1000, 1000.5, 0.125, false, 2);
        f.ButtonNext->click();
        ASSERT_EQ(Page(f), "TSManual2");
        f.ListBoxCurvesParams->setCurrentRow(0);
        f.EditCurveName->setText("GR");
        f.EditCurveUnits->setText("API");
        f.EditCurveDecimal->setValue(3);
        f.ListBoxCurvesParams->setCurrentRow(1);
        EXPECT_TRUE(f.RGCurveValues->isEnabled());
        f.EditCurveName->setText("PS");
        f.RBByPoints->setChecked(true);
        runner->PushDialog([](QDialog& dialog) {
            auto& points = static_cast<TFormCreateCurveByValues&>(dialog);
            QTableWidget& grid = *points.Form().StringGrid;
            grid.setRowCount(2);
            const char* cells[2][2] = {{"1000", "2700,1234"}, {"1000.5", "4932,8337"}};
            for (int r = 0; r < 2; ++r)
                for (int c = 0; c < 2; ++c)
                    grid.setItem(r, c, new QTableWidgetItem(cells[r][c]));
            points.Form().RadioGroupConnectType->findChildren<QRadioButton*>()[2]->setChecked(true);
            points.accept();
            return points.result();
        });
        runner->PushFiles({QString::fromStdString(path)});
        PushHeader("W-7");
        runner->Push(platform::IDYES);  // the main window's question, then the file opened
        PushCurveChoice();
        f.ButtonNext->click();
    });
    EXPECT_TRUE(Messages().contains("Создание файла|LAS файл\n" + QString::fromStdString(path) +
                                    "\nуспешно создан. Загрузить?"));
    ASSERT_NE(window->LasFile(), nullptr) << Messages().join("\n").toStdString() << runner->PendingAnswers();
    EXPECT_EQ(window->LasFile()->GetFileName(), path);

    TLASFile read(path, 2);
    ASSERT_TRUE(read.IsLoaded()) << read.GetLoadError();
    ASSERT_EQ(read.GetPointCount(), 5);
    EXPECT_EQ(read.GetCurveData(0)[4], 1000.5f);
    EXPECT_EQ(read.GetStep(), 0.125f);
    EXPECT_EQ(read.GetCurveName(1), "GR");
    EXPECT_EQ(read.GetCurveUnit(1), "API");
    EXPECT_EQ(read.GetCurveDecimals(1), 3);
    for (int i = 0; i < 5; ++i) {
        const float gr = read.GetCurveData(1)[i];
        EXPECT_TRUE(gr >= -100 && gr <= 99 && gr == std::floor(gr)) << gr;
    }
    EXPECT_EQ(read.GetCurveName(2), "PS");
    EXPECT_EQ(read.GetCurveData(2)[0], 2700.1234f);
    EXPECT_NEAR(read.GetCurveData(2)[2], 3816.4785f, 0.01f);
    EXPECT_EQ(read.GetCurveData(2)[4], 4932.8337f);
    EXPECT_EQ(read.GetNullValue(), -32768.0f);
    const std::string text = ReadFileBytes(path);
    for (const char* item : {"COMP", "SRVC", "API", "W-7", " 2700.1234\r\n", " 4932.8337\r\n"})
        EXPECT_NE(text.find(item), std::string::npos) << item;

    // Found in the library database of the profile.
    LogFileDBManager& library = StrativProfileManager::Instance().GetLogFileDBManager();
    ASSERT_TRUE(library.IsOpen());
    LASFileHeader header;
    ASSERT_EQ(header.Read(path), 0);
    const std::string field = header.GetFieldNames().front();
    const auto values = library.SelectDistinctValues(field, {}, "");
    EXPECT_NE(std::find(values.begin(), values.end(), "W-7"), values.end());
}

// A new file is never written over the open document unasked.
TEST_F(NewLasWizardTest, ANewFileOverTheOpenDocumentIsAskedFirst)
{
    const std::string path = WriteTestLas(dir.file("open.las"), 2, 21);
    ASSERT_TRUE(Open(path));
    const std::string bytes = ReadFileBytes(path);
    runner->Clear();
    Run([&](TDlgNewLasWizard&, Ui::TDlgNewLasWizard& f) {
        f.ButtonNext->click();
        Depths(f, 100, 101, 0.5, false, 1);
        f.ButtonNext->click();
        runner->PushFiles({QString::fromStdString(path)});
        runner->Push(platform::IDNO);
        f.ButtonNext->click();
        EXPECT_EQ(Page(f), "TSManual2");
    });
    EXPECT_EQ(Messages(), QStringList{"Создание нового LAS файла|Файл\n" + QString::fromStdString(path) +
                                      "\n- открытый документ. Записать поверх него?"});
    EXPECT_EQ(ReadFileBytes(path), bytes);
}

TEST_F(NewLasWizardTest, DepthPageRefusesBadInputAndCountsFromTheTypedValues)
{
    Run([&](TDlgNewLasWizard& wizard, Ui::TDlgNewLasWizard& f) {
        f.ButtonNext->click();
        const auto refused = [&](double start, double stop, double v, bool count, const QString& message) {
            runner->Clear();
            Depths(f, start, stop, v, count, 1);
            f.ButtonNext->click();
            EXPECT_EQ(Page(f), "TSManual1") << start << " " << stop << " " << v;
            EXPECT_EQ(Messages(), QStringList{"Ошибка|" + message});
        };
        refused(5, 5, 1, false, "Начальная и конечная глубины должны отличаться!");
        refused(10, 0, 2.5, false, "Некорректно задан шаг!");
        refused(0, 1, 5, false, "При заданных параметрах количество точек меньше 2!");
        refused(0, 10, -3, true, "Количество точек должно быть не меньше 2!");
        refused(0, 100000, 0.001, false, "При заданных параметрах количество точек больше 10 000 000!");
        refused(0, 10, 2e7, true, "При заданных параметрах количество точек больше 10 000 000!");

        for (const auto& [start, stop, v, count, points, last] :
             {std::tuple{0.0, 1.0, 0.1, false, 11u, 1.0f}, std::tuple{0.0, 10.0, 3.0, false, 4u, 9.0f},
              std::tuple{10.0, 0.0, -2.5, false, 5u, 0.0f}, std::tuple{0.0, 10.0, 5.0, true, 5u, 10.0f}}) {
            Depths(f, start, stop, v, count, 1);
            f.ButtonNext->click();
            ASSERT_EQ(Page(f), "TSManual2");
            EXPECT_EQ(wizard.Record().Depth.size(), points) << v;
            EXPECT_EQ(wizard.Record().Depth.back(), last) << v;
            wizard.Form().ButtonPrev->click();  // random values filled again; back to the depths
        }
        f.CancelBtn->click();
    });
    EXPECT_EQ(window->LasFile(), nullptr);
}

TEST_F(NewLasWizardTest, CurvesKeepTheirSettingsAndCancelledStepsKeepThePage)
{
    const std::string path = dir.file("kept.las");
    Run([&](TDlgNewLasWizard& wizard, Ui::TDlgNewLasWizard& f) {
        f.ButtonNext->click();
        Depths(f, 100, 101, 0.5, false, 3);
        f.ButtonNext->click();
        EXPECT_EQ(f.ListBoxCurvesParams->item(2)->text(), "NoName");
        wizard.show();  // a click on the curve, one into its proposed name, then typing replaces it
        QApplication::setActiveWindow(&wizard);
        QListWidget& list = *f.ListBoxCurvesParams;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(2)).center());
        QTest::mouseClick(f.EditCurveName, Qt::LeftButton, {}, QPoint(4, f.EditCurveName->height() / 2));
        QCoreApplication::processEvents();
        QTest::keyClicks(f.EditCurveName, "GR");
        EXPECT_EQ(f.ListBoxCurvesParams->item(2)->text(), "GR");
        wizard.hide();
        f.ListBoxCurvesParams->setCurrentRow(1);
        f.EditCurveName->setText("B");
        f.EditCurveDecimal->setValue(4);
        f.RBByPoints->setChecked(true);
        runner->PushCancel();  // the point dialog cancelled: random values
        f.ButtonPrev->click();
        f.EditManualCurveCount->setValue(2);
        f.ButtonNext->click();
        ASSERT_EQ(f.ListBoxCurvesParams->count(), 2);
        f.ListBoxCurvesParams->setCurrentRow(1);
        EXPECT_EQ(f.EditCurveName->text(), "B");
        EXPECT_EQ(f.EditCurveDecimal->value(), 4);
        EXPECT_TRUE(f.RBByPoints->isChecked());
        f.RBRandom->setChecked(true);

        // A curve text a ~C line cannot hold is refused and the page stays.
        f.EditCurveName->setText("A.B");
        runner->Clear();
        f.ButtonNext->click();
        EXPECT_EQ(Page(f), "TSManual2");
        ASSERT_EQ(Messages().size(), 1);
        EXPECT_TRUE(Messages()[0].startsWith("Ошибка|Кривая 2 <A.B>:"));
        f.EditCurveName->setText("B");

        // A cancelled save dialog and a cancelled header editor keep the page.
        runner->PushCancel();
        f.ButtonNext->click();
        EXPECT_EQ(Page(f), "TSManual2");
        EXPECT_FALSE(std::filesystem::exists(path));
        runner->PushFiles({QString::fromStdString(path)});
        runner->PushCancel();
        f.ButtonNext->click();
        EXPECT_EQ(Page(f), "TSManual2");
        EXPECT_TRUE(std::filesystem::exists(path));
        EXPECT_FALSE(wizard.isHidden() && wizard.result() == QDialog::Accepted);
        // The header editor confirmed without edits closes the wizard.
        runner->PushFiles({QString::fromStdString(path)});
        PushHeader({});
        f.ButtonNext->click();
        EXPECT_EQ(wizard.result(), QDialog::Accepted);
    });
    EXPECT_EQ(runner->Last().title, "Создание файла");  // the question; No (nothing left) keeps the document
    EXPECT_EQ(window->LasFile(), nullptr);
    TLASFile read(path, 2);
    EXPECT_EQ(read.GetCurveName(2), "B");
    EXPECT_EQ(read.GetCurveDecimals(2), 4);
}

// The curves page opens on its first curve: a name typed at once is that curve's name in the file,
// and without a current curve there is nowhere to type.
TEST_F(NewLasWizardTest, ANameTypedOnTheCurvesPageIsTheNameWritten)
{
    const std::string path = dir.file("typed.las");
    Run([&](TDlgNewLasWizard& wizard, Ui::TDlgNewLasWizard& f) {
        f.ButtonNext->click();
        Depths(f, 100, 101, 0.5, false, 2);
        f.ButtonNext->click();
        EXPECT_EQ(f.ListBoxCurvesParams->currentRow(), 0);
        wizard.show();
        QApplication::setActiveWindow(&wizard);
        QTest::mouseClick(f.EditCurveName, Qt::LeftButton, {}, QPoint(4, f.EditCurveName->height() / 2));
        QCoreApplication::processEvents();
        QTest::keyClicks(f.EditCurveName, "GR");
        EXPECT_EQ(f.EditCurveName->text(), "GR");
        wizard.hide();
        f.ListBoxCurvesParams->setCurrentRow(-1);
        EXPECT_FALSE(f.EditCurveName->isEnabled());
        runner->PushFiles({QString::fromStdString(path)});
        PushHeader({});
        f.ButtonNext->click();
    });
    TLASFile read(path, 2);
    ASSERT_TRUE(read.IsLoaded()) << read.GetLoadError();
    EXPECT_EQ(read.GetCurveName(1), "GR");
}

TEST_F(NewLasWizardTest, ImportWithSavedSetsAndDepthByHand)
{
    const std::string source = dir.file("columns.txt");
    WriteFileBytes(source, "depth a b\n1,5 2\n1.6 3\n1.7 4\n");
    const std::string path = dir.file("imported.las");
    Run([&](TDlgNewLasWizard& wizard, Ui::TDlgNewLasWizard& f) {
        f.RBImport->setChecked(true);
        f.ButtonNext->click();
        ASSERT_EQ(Page(f), "TSImport1");
        runner->Clear();
        f.ButtonNext->click();
        EXPECT_EQ(Messages(), QStringList{"Импорт данных|Указанного файла не существует!"});
        f.EditSourceFileName->setText(QString::fromStdString(source));
        EXPECT_TRUE(f.MnemoSourceView->toPlainText().contains("1.6 3"));
        f.RBDepthByHand->setChecked(true);
        f.ButtonNext->click();
        ASSERT_EQ(Page(f), "TSManual1");
        EXPECT_FALSE(f.EditStop->isVisibleTo(&wizard));
        f.EditStart->setValue(1000);
        f.RBStep->setChecked(true);
        f.EditStepOrPointsNumber->setValue(0.1524);
        f.ButtonNext->click();
        ASSERT_EQ(Page(f), "TSImport2");
        f.EditStartParse->setValue(2);

        // Two sets with one name, one deleted; the smallest free number is used again.
        for (int i = 0; i < 2; ++i) {
            runner->PushText("Мой набор");
            f.ButtonSaveImport->click();
        }
        ASSERT_EQ(f.ComboImports->count(), 2);
        f.EditStartParse->setValue(1);
        f.ComboImports->setCurrentIndex(0);
        EXPECT_EQ(f.EditStartParse->value(), 2);
        f.BtnDeleteSavedImport->click();
        EXPECT_EQ(f.ComboImports->count(), 1);
        runner->PushText("Другой");
        f.ButtonSaveImport->click();
        EXPECT_EQ(f.ComboImports->count(), 2);
        const std::string imports = StrativProfileManager::Instance().GetImportsDir();
        EXPECT_TRUE(std::filesystem::exists(imports + "ip_0.sav"));
        EXPECT_TRUE(std::filesystem::exists(imports + "ip_1.sav"));
        // A name that would break the set's file saves nothing.
        runner->Clear();
        runner->PushText("две\nстроки");
        f.ButtonSaveImport->click();
        EXPECT_EQ(Messages(), QStringList{"Ошибка|" + QString::fromUtf8(kBadIniNameMessage)});
        EXPECT_EQ(f.ComboImports->count(), 2);
        EXPECT_FALSE(std::filesystem::exists(imports + "ip_2.sav"));

        f.RBStopOnErrors->setChecked(false);
        runner->PushFiles({QString::fromStdString(path)});
        PushHeader({});
        f.ButtonNext->click();
        EXPECT_EQ(wizard.result(), QDialog::Accepted);
    });
    TLASFile read(path, 2);
    ASSERT_TRUE(read.IsLoaded()) << read.GetLoadError();
    ASSERT_EQ(read.GetPointCount(), 3);
    EXPECT_EQ(read.GetCurveData(0)[2], float(1000 + 2 * 0.1524));
    EXPECT_EQ(read.GetCurveData(1)[0], 1.5f);  // the decimal comma read as a point
    EXPECT_EQ(read.GetCurveName(2), "c_1");
    EXPECT_NE(ReadFileBytes(path).find("0.1524 : STEP"), std::string::npos);
}

// The numbers of each line after the last line holding `mark`; words that are none are left out.
std::vector<std::vector<double>> Numbers(const std::string& text, const std::string& mark)
{
    std::vector<std::vector<double>> rows;
    std::istringstream lines(text.substr(text.find('\n', text.rfind(mark)) + 1));
    for (std::string line; std::getline(lines, line);) {
        std::replace(line.begin(), line.end(), ',', '.');
        std::istringstream words(line);
        rows.emplace_back();
        double number = 0;
        for (std::string word; words >> word;)
            if (ParseLasNumber(word, number))
                rows.back().push_back(number);
    }
    return rows;
}

// A table exported from a real upward log, one value typed with more decimals than its curve's
// others, comes back through the wizard's import with every digit of every number.
TEST_F(NewLasWizardTest, ExportedTableImportsWithEveryDigit)
{
    STRATIV_REQUIRE_CORPUS();
    TLASFile document(CorpusDir() + "/2.0/sample_2.0-small-neg-values.las", 2);
    ASSERT_TRUE(document.IsLoaded()) << document.GetLoadError();
    document.GetCurveData(3)[1] = 0.12345678f;
    document.SetTypedText(3, 1, "0.12345678");
    const std::string table = dir.file("table.txt");
    int error = 0;
    ASSERT_TRUE(WriteExportTable(document, {1, 2, 3, 4, 5, 6, 7}, 0, 0, 1, 2, table, error));
    const std::string path = dir.file("imported.las");
    Run([&](TDlgNewLasWizard& wizard, Ui::TDlgNewLasWizard& f) {
        f.RBImport->setChecked(true);
        f.ButtonNext->click();
        f.EditSourceFileName->setText(QString::fromStdString(table));
        f.ButtonNext->click();
        ASSERT_EQ(Page(f), "TSImport2");
        f.RBStopOnErrors->setChecked(false);
        runner->PushFiles({QString::fromStdString(path)});
        PushHeader({});
        f.ButtonNext->click();
        EXPECT_EQ(wizard.result(), QDialog::Accepted);
    });
    const auto given = Numbers(ReadFileBytes(table), "-----");
    ASSERT_EQ(given.size(), 3u);
    EXPECT_EQ(Numbers(ReadFileBytes(path), "~ASCII"), given);
}

TEST_F(NewLasWizardTest, RefusedImportsSayWhyAndThePageStays)
{
    const struct {
        const char* text;
        bool endByHand;  // depth typed: from 1000 to 1010 over the file's rows
        bool stopOnErrors;
        QString message;
    } cases[] = {
        {"", false, false, "В файле не найдено ни одного столбца данных кривых: файл не создается."},
        {"1000\n1001\n", false, false, "В файле не найдено ни одного столбца данных кривых: файл не создается."},
        {"1000 1\n", false, false, "В файле меньше двух значений глубины: файл не создается."},
        {"1000 1\n1000 2\n", false, false,
         "Глубины в первом столбце файла не возрастают и не убывают: файл не создается."},
        {"1\n", true, false, "В файле меньше двух строк данных: файл не создается."},
        {"1000 1\n1001 x\n", false, true, "Invalid data type conversion"},
    };
    const std::string source = dir.file("source.txt");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFileBytes(source, c.text);
        Run([&](TDlgNewLasWizard&, Ui::TDlgNewLasWizard& f) {
            f.RBImport->setChecked(true);
            f.ButtonNext->click();
            f.EditSourceFileName->setText(QString::fromStdString(source));
            (c.endByHand ? f.RBDepthByHand : f.RBDepthFromFile)->setChecked(true);
            f.ButtonNext->click();
            if (c.endByHand) {
                f.EditStart->setValue(1000);
                f.RBPoints->setChecked(true);
                f.EditStepOrPointsNumber->setValue(1010);
                f.ButtonNext->click();
            }
            ASSERT_EQ(Page(f), "TSImport2");
            f.RBStopOnErrors->setChecked(c.stopOnErrors);
            f.RBIgnoreErrors->setChecked(!c.stopOnErrors);
            runner->Clear();
            f.ButtonNext->click();
            EXPECT_EQ(Page(f), "TSImport2");
            EXPECT_EQ(Messages(), QStringList{"Ошибка|" + c.message});
            f.CancelBtn->click();
        });
    }
}

}  // namespace
}  // namespace strativ::test
