// The title template editor and the print title parameters dialog on the main window, every
// dialog answered through the runner: files, the grid, the code page, the size cap and the
// road from a template and a document to the applied title.
#include "AppTestSupport.h"

#include "core/Lasfile.h"
#include "core/SettingsFile.h"
#include "platform/RecordingCanvas.h"
#include "printing/FormCurveTemplate.h"
#include "printing/FormPrnParams.h"
#include "printing/MacroLists.h"
#include "printing/TemplateSelectMacroValInput.h"
#include "printing/TemplateVariables.h"
#include "printing/TitleGrid.h"
#include "printing/TitleTemplate.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPrinter.h"
#include "ui_FormPrnParams.h"
#include "ui_TemplateSelectMacroValInput.h"
#include "ui_TitleTemplate.h"

#include <QLineEdit>
#include <QTableWidget>
#include <filesystem>

namespace strativ::test {
namespace {

class TitleWindowTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        MainWindowTest::TearDown();
        DeleteMacroManager();
    }

    TFormTitleTemplate& Editor() const { return *window->FormTitleTemplate; }
    std::string Templates() const { return dir.path() + "/templates/"; }

    // A template of one row of texts (plus the fixed row and column).
    static void WriteTemplate(const std::string& path, const std::vector<std::string>& texts, int rowHeight = 20)
    {
        TQ7CellsArray cells;
        TQ7GridShape shape;
        shape.SetColCount(static_cast<int>(texts.size()) + 1);
        shape.SetRowCount(2);
        shape.SetRowHeight(1, rowHeight);
        cells.Resize(shape.ColCount(), shape.RowCount());
        for (size_t i = 0; i < texts.size(); ++i)
            cells.Cell(static_cast<int>(i) + 1, 1).Content.Text = texts[i];
        ASSERT_TRUE(cells.SaveToFile(path, shape));
    }

    void OpenTemplate(const std::string& name)
    {
        window->TitleFileName = name;
        Editor().Open(0, false);
    }
};

TEST_F(TitleWindowTest, OpeningAFileFromAnotherFolderCopiesItUnderAFreeName)
{
    std::filesystem::create_directories(dir.file("other"));
    const std::string outside = dir.file("other/a.ttm");
    WriteTemplate(outside, {"Скважина"});
    WriteTemplate(Templates() + "a.ttm", {"taken"});
    runner->PushFiles({QString::fromStdString(outside)});
    ASSERT_TRUE(Editor().FileOpenClick());
    EXPECT_EQ(Messages(), QStringList{"Загрузка шаблона|Открываемый шаблон находится в каталоге отличном от "
                                      "стандартного\nПеред открытием он будет скопирован в каталог шаблонов"});
    EXPECT_EQ(window->TitleFileName, "a_1.ttm");
    EXPECT_EQ(ReadFileBytes(Templates() + "a_1.ttm"), ReadFileBytes(outside));
    EXPECT_EQ(Editor().windowTitle(), "Редактор шаблонов заголовка - a_1.ttm");
    EXPECT_EQ(Editor().Cells.Cell(1, 1).Content.Text, "Скважина");
    EXPECT_EQ(MakeUniqueTemplateName(Templates(), "a.txt"), "a.txt");
    EXPECT_EQ(MakeUniqueTemplateName(Templates(), "a.template"), "a_2.ttm");

    Editor().Open(1, false);
    EXPECT_EQ(Editor().windowTitle(), "Просмотр и редактирование заголовка");
    EXPECT_FALSE(Editor().Form().MMIFileOpen->isVisible());
    EXPECT_FALSE(Editor().Form().TBFileSave->isVisible());

    // A file that cannot be loaded is reported; the name and the table stay.
    runner->Clear();
    WriteFileBytes(Templates() + "bad.ttm", "Q7GRIDV01");
    runner->PushFiles({QString::fromStdString(Templates() + "bad.ttm")});
    EXPECT_FALSE(Editor().FileOpenClick());
    EXPECT_EQ(Messages(), QStringList{"Загрузка шаблона|Не удалось загрузить шаблон заголовка\n" +
                                      QString::fromStdString(Templates() + "bad.ttm") +
                                      "\nФайл не является шаблоном заголовка"});
    EXPECT_EQ(window->TitleFileName, "a_1.ttm");
    EXPECT_EQ(Editor().Cells.Cell(1, 1).Content.Text, "Скважина");

    // An unchanged table closes without a question.
    Editor().show();
    runner->Clear();
    EXPECT_TRUE(Editor().close());
    EXPECT_TRUE(Messages().isEmpty());

    // The current template cut short: reported, an empty title, never the last one's cells; the
    // damaged file is written only when the user changed the table and said so.
    const std::string good = ReadFileBytes(Templates() + "a_1.ttm");
    const std::string cut = good.substr(0, good.size() - 3);
    WriteFileBytes(Templates() + "cut.ttm", cut);
    OpenTemplate("cut.ttm");
    const QString loadFailed = "Загрузка шаблона|Не удалось загрузить шаблон заголовка\n" +
                               QString::fromStdString(Templates() + "cut.ttm") + "\nФайл обрезан или поврежден";
    EXPECT_EQ(Messages(), QStringList{loadFailed});
    EXPECT_FALSE(Editor().HasTitle());
    EXPECT_EQ(Editor().Cells.Cell(1, 1).Content.Text, "");
    platform::RecordingCanvas canvas(600, 600);
    EXPECT_EQ(Editor().DrawTitle(&canvas, 0, 0, 19, 27, 600 / 2.54, 600 / 2.54), 0.0);
    EXPECT_TRUE(canvas.Ops().empty());
    Editor().show();
    runner->Clear();
    EXPECT_TRUE(Editor().close());
    EXPECT_TRUE(Messages().isEmpty());

    OpenTemplate("cut.ttm");
    Editor().show();
    TTitleGrid& grid = *Editor().DrawGrid;
    grid.SetCurrent(1, 1);
    grid.OpenEditor();
    grid.Editor()->setText("Площадь");  // still in the editor when the window closes
    runner->Clear();
    runner->Push(platform::IDCANCEL);
    EXPECT_FALSE(Editor().close());
    runner->Push(platform::IDNO);
    EXPECT_TRUE(Editor().close());
    const QString question = "Закрытие шаблона|Сохранить изменения в шаблоне?";
    EXPECT_EQ(Messages(), (QStringList{question, question}));
    EXPECT_EQ(ReadFileBytes(Templates() + "cut.ttm"), cut);
}

TEST_F(TitleWindowTest, TheGridEditsTextsWidthsBordersAndKeepsLoadedRowHeights)
{
    WriteTemplate(Templates() + "t.ttm", {"A", "B"}, 33);
    OpenTemplate("t.ttm");
    EXPECT_EQ(Editor().Shape.RowHeight(1), 33);
    Editor().AddRowClick();
    EXPECT_EQ(Editor().Shape.RowHeight(2), TFormTitleTemplate::kDefaultRowHeight);

    TTitleGrid& grid = *Editor().DrawGrid;
    grid.SetCurrent(2, 1);
    grid.OpenEditor();
    grid.Editor()->setText("Площадь");
    QTest::keyClick(grid.Editor(), Qt::Key_Return);
    EXPECT_EQ(Editor().Cells.Cell(2, 1).Content.Text, "Площадь");

    // The border of column 1 dragged 30 pixels right in the fixed row.
    Editor().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Editor()));
    grid.SetCurrent(1, 1);  // scrolled back to the first column
    const int width = Editor().Shape.ColWidth(1);
    const QRect cell = grid.CellRect(1, 0);
    const QPoint border(cell.left() + cell.width(), cell.top() + cell.height() / 2);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseMove(grid.viewport(), border + QPoint(30, 0));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border + QPoint(30, 0));
    EXPECT_EQ(Editor().Shape.ColWidth(1), width + 30);
    ASSERT_TRUE(Editor().FileSaveClick());
    TQ7CellsArray back;
    TQ7GridShape shape;
    ASSERT_EQ(back.LoadFromFile(Templates() + "t.ttm", shape), ttmLoaded);
    EXPECT_EQ(shape.ColWidth(1), width + 30);
    EXPECT_EQ(back.Cell(2, 1).Content.Text, "Площадь");

    // Border widths: 0..10 tenths of a millimetre.
    grid.SetSelection({1, 1, 2, 2});
    Editor().Cells.Cell(1, 1).Format.Borders = TQ7CellFormat::SideLeft;
    for (const char* wrong : {"11", "-1", "abc"}) {
        runner->Clear();
        Editor().Form().EditBorderWidth->setText(wrong);
        Editor().BorderWidthDone();
        EXPECT_EQ(Messages(), QStringList{"Ошибка!|Размер границы должен быть от 0 до 10!\n(Измеряется в 1/10 "
                                          "миллиметра)"}) << wrong;
        EXPECT_TRUE(Editor().Form().EditBorderWidth->text().isEmpty());
    }
    Editor().Form().EditBorderWidth->setText("4");
    Editor().BorderWidthDone();
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c)
            EXPECT_EQ(Editor().Cells.Cell(c, r).Format.BorderWidth, 4) << c << "," << r;
    EXPECT_EQ(Editor().Cells.Cell(1, 1).Format.Borders, TQ7CellFormat::SideLeft);

    std::filesystem::create_directories(OutputDir());
    EXPECT_TRUE(Editor().grab().save(QString::fromStdString(OutputDir() + "/title_editor.png")));
}

TEST_F(TitleWindowTest, ASaveNeverTurnsCharactersIntoQuestionMarks)
{
    WriteTemplate(Templates() + "cp.ttm", {"№ 5", "25 °C", "«Ю»"});
    const std::string before = ReadFileBytes(Templates() + "cp.ttm");
    OpenTemplate("cp.ttm");
    ASSERT_TRUE(Editor().FileSaveClick());
    TQ7CellsArray back;
    TQ7GridShape shape;
    ASSERT_EQ(back.LoadFromFile(Templates() + "cp.ttm", shape), ttmLoaded);
    EXPECT_EQ(back.Cell(1, 1).Content.Text, "№ 5");
    EXPECT_EQ(back.Cell(2, 1).Content.Text, "25 °C");
    EXPECT_EQ(back.Cell(3, 1).Content.Text, "«Ю»");

    const std::string saved = ReadFileBytes(Templates() + "cp.ttm");
    Editor().Cells.Cell(2, 1).Content.Text = "Пласт Ю₁";
    runner->Clear();
    EXPECT_FALSE(Editor().FileSaveClick());
    const QString message = "Сохранение шаблона|Не удалось сохранить шаблон заголовка\n" +
                            QString::fromStdString(Templates() + "cp.ttm") +
                            "\nСимвол «₁» в тексте «Пласт Ю₁» нельзя записать в кодировке CP1251";
    EXPECT_EQ(Messages(), QStringList{message});
    EXPECT_EQ(ReadFileBytes(Templates() + "cp.ttm"), saved);
    EXPECT_EQ(Editor().DrawGrid->Col(), 2);

    // The close question's "Да" keeps the window open when the save is refused.
    runner->Clear();
    runner->Push(platform::IDYES);
    EXPECT_FALSE(Editor().CanClose());
    EXPECT_EQ(ReadFileBytes(Templates() + "cp.ttm"), saved);
    EXPECT_NE(before, std::string());
}

TEST_F(TitleWindowTest, TablesStopAtTheSizeTheReaderTakes)
{
    TFormTitleTemplate& e = Editor();
    e.Shape.SetColCount(2);
    e.Shape.SetRowCount(TQ7CellsArray::kMaxCount);
    e.DrawGrid->ShapeChanged();
    e.DrawGrid->SetCurrent(1, 5);
    e.AddRowClick();
    e.InsertRowClick();
    EXPECT_EQ(e.Shape.RowCount(), TQ7CellsArray::kMaxCount);
    EXPECT_EQ(Messages(), (QStringList{"Таблица|Таблица не может иметь больше 4096 строк",
                                       "Таблица|Таблица не может иметь больше 4096 строк"}));
    window->TitleFileName = "big.ttm";
    ASSERT_TRUE(e.FileSaveClick());
    TQ7CellsArray back;
    TQ7GridShape shape;
    EXPECT_EQ(back.LoadFromFile(Templates() + "big.ttm", shape), ttmLoaded);
    EXPECT_EQ(shape.RowCount(), TQ7CellsArray::kMaxCount);

    shape.SetRowCount(TQ7CellsArray::kMaxCount + 1);
    EXPECT_FALSE(back.SaveToFile(Templates() + "bigger.ttm", shape));
    EXPECT_FALSE(std::filesystem::exists(Templates() + "bigger.ttm"));
}

TEST_F(TitleWindowTest, ApplyingFillsTheTitleFromTheDocumentAndTheTypedValues)
{
    const std::string las = WriteTestLas(dir.file("w.las"), 1, 5);
    std::string text = ReadFileBytes(las);
    text.replace(text.find("WELL.   TEST"), 12, "WELL.   W-1");
    WriteFileBytes(las, text);
    ASSERT_TRUE(Open(las));
    WriteTemplate(Templates() + "apply.ttm", {"[sdate]", "[WELL]", "[well]", "[operator]", "[OPERATOR]"});
    window->TitleFileName = "apply.ttm";

    TFormTemplSelMacroValInput& dialog = *window->FormTemplSelMacroValInput;
    dialog.Prepare();
    QTableWidget& grid = *dialog.Form().StringGrid;
    ASSERT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.item(0, 0)->text(), "Оператор");
    EXPECT_EQ(grid.item(0, 1)->text(), "?");
    EXPECT_EQ(grid.item(1, 0)->text(), "Скважина");
    EXPECT_EQ(grid.item(1, 1)->text(), "W-1");
    EXPECT_EQ(dialog.Form().ComboBoxTemplates->currentText(), "apply.ttm");
    EXPECT_FALSE(dialog.Form().BitBtnViewRes->isEnabled());

    grid.item(0, 1)->setText("Иванов");
    dialog.Apply();
    ASSERT_NE(dialog.FormTitleResult, nullptr);
    EXPECT_TRUE(dialog.HasAppliedTitle());
    const TQ7CellsArray& result = dialog.FormTitleResult->Cells;
    EXPECT_EQ(result.Cell(1, 1).Content.Text, GetTemplateVariableValue("sdate").toStdString());
    EXPECT_EQ(result.Cell(2, 1).Content.Text, "W-1");
    EXPECT_EQ(result.Cell(3, 1).Content.Text, "W-1");
    EXPECT_EQ(result.Cell(4, 1).Content.Text, "Иванов");
    EXPECT_EQ(result.Cell(5, 1).Content.Text, "[OPERATOR]");

    window->close();  // the manager writes its file
    const std::string macros = ReadFileBytes(Templates() + "Macros.mcr");
    EXPECT_NE(macros.find("[Q7M_0]\r\nKey=operator\r\nName=Оператор\r\nSType=0\r\nSearchInfo1=\r\nSearchInfo2=\r\n"
                          "SearchInfo3=\r\nType=0\r\nValue=Иванов"),
              std::string::npos)
        << macros;
    // LAS and system macros keep no value of this document.
    EXPECT_EQ(macros.find("Value=W-1"), std::string::npos);
}

TEST_F(TitleWindowTest, ClosingWithoutApplyingLeavesNoTitle)
{
    WriteTemplate(Templates() + "t.ttm", {"[WELL]"});
    window->TitleFileName = "t.ttm";
    TFormTemplSelMacroValInput& dialog = *window->FormTemplSelMacroValInput;
    dialog.Prepare();
    runner->Push(platform::IDNO);
    dialog.Form().OKBtn->click();
    EXPECT_EQ(Messages(), QStringList{"Заголовок не создан!|Применить текущий шаблон и подстановки?\n('Нет' - отказ "
                                      "от вывода заголовка)"});
    EXPECT_FALSE(dialog.Form().BitBtnViewRes->isEnabled());
    EXPECT_FALSE(dialog.HasAppliedTitle());
}

TEST_F(TitleWindowTest, TheTitleDrawsAtPrinterScaleAndNotAtNone)
{
    WriteTemplate(Templates() + "t.ttm", {"Скважина", "W-1"}, 40);
    OpenTemplate("t.ttm");
    const double px = 600 / 2.54;
    platform::RecordingCanvas canvas(600, 600);
    const double drawn = Editor().DrawTitle(&canvas, 1.0f, 2.0f, 19.0f, 27.0f, px, px);
    const double height = Editor().GetTitleHeight(px);
    EXPECT_GT(height, 0.0);
    EXPECT_DOUBLE_EQ(drawn, height);
    EXPECT_EQ(height, Editor().Cells.TitleHeight(px, Editor().TitleRange(), Editor().Shape) / px);
    for (const double scale : {0.0, -px}) {
        platform::RecordingCanvas none(600, 600);
        EXPECT_EQ(Editor().DrawTitle(&none, 1, 2, 19, 27, scale, scale), 0.0);
        EXPECT_TRUE(none.Ops().empty());
        EXPECT_EQ(Editor().GetTitleHeight(scale), 0.0);
    }
}

// The template the print title dialog shows is the one loaded and applied: after a restart,
// with templates copied in by hand, a remembered one gone, none at all, and picked again.
TEST_F(TitleWindowTest, TheTemplateShownIsTheOneAppliedAtTheFirstPrintAfterARestart)
{
    const struct {
        std::vector<std::string> copied;
        std::string remembered;  // "Macros" "TitleFile" at the start
        QString shown;
        QString said;  // before the dialog, of a remembered template gone
    } rows[] = {{{"b.ttm", "a.ttm"}, "", "a.ttm", ""},
                {{"a.ttm"}, "gone.ttm", "a.ttm", "Шаблон заголовка «gone.ttm» не найден.\nВыбран шаблон «a.ttm»."},
                {{}, "a.ttm", "", "Шаблон заголовка «a.ttm» не найден.\nПечать будет без заголовка."}};
    const std::string las = WriteTestLas(dir.file("w.las"), 1, 5);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.remembered);
        window->close();
        window.reset();
        for (const char* name : {"a.ttm", "b.ttm"})
            std::filesystem::remove(Templates() + name);
        for (const std::string& name : row.copied)
            WriteTemplate(Templates() + name, {name.substr(0, 1) + "-[WELL]"});
        TSettingsFile ini(Templates() + "templates.ini");
        ini.WriteString("Macros", "TitleFile", row.remembered);
        ASSERT_TRUE(ini.Save());
        CreateWindow();
        ASSERT_TRUE(Open(las));
        TestPrinter printer(300);
        PrinterInstalled installed(printer);
        runner->Clear();
        runner->PushDialog([](QDialog& editor) {
            int column = -1;
            static_cast<TFormCurveTemplate&>(editor).Model.AddCurveToColumn(0, column);
            return int(QDialog::Accepted);
        });
        if (!row.said.isEmpty())
            runner->Push(platform::IDOK);
        runner->PushDialog([&](QDialog& dialog) {
            Ui::TFormTemplSelMacroValInput& f = static_cast<TFormTemplSelMacroValInput&>(dialog).Form();
            EXPECT_EQ(f.ComboBoxTemplates->currentText(), row.shown);
            EXPECT_EQ(f.ComboBoxTemplates->placeholderText(), "Нет шаблонов заголовков");
            f.BitBtnApply->click();  // builds and shows the title, or says there is no template
            return int(QDialog::Accepted);
        });
        runner->PushDialog([](QDialog&) { return int(QDialog::Accepted); });
        runner->PushDialog([](QDialog& dialog) {
            static_cast<TFormPrnParams&>(dialog).Form().ButtonPrint->click();
            return int(QDialog::Rejected);
        });
        window->MIPrint->trigger();
        ASSERT_EQ(printer.jobs, 1);
        const std::vector<std::string> texts = printer.PageTexts(0);
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "a-TEST"), row.shown.isEmpty() ? 0 : 1);
        QStringList messages = Messages();
        if (!row.said.isEmpty()) {
            EXPECT_EQ(messages.takeFirst(), "Заголовок|" + row.said);
        }
        EXPECT_EQ(messages.value(0).startsWith("Заголовок|Нет шаблона заголовка: заголовок не построен.\nШаблон "
                                               "создается в «Сервис → Редактор шаблонов заголовков...»."),
                  row.shown.isEmpty());
    }

    // Picking the entry shown again loads the template anew.
    WriteTemplate(Templates() + "a.ttm", {"A2-[WELL]"});
    TFormTemplSelMacroValInput& dialog = *window->FormTemplSelMacroValInput;
    dialog.Prepare();
    WriteTemplate(Templates() + "a.ttm", {"A3-[WELL]"});
    emit dialog.Form().ComboBoxTemplates->activated(0);
    dialog.Apply();
    EXPECT_EQ(dialog.FormTitleResult->Cells.Cell(1, 1).Content.Text, "A3-TEST");
}

}  // namespace
}  // namespace strativ::test
