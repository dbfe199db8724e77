// The table page of the LAS editor driven through its real widgets.
#include "ui_FindInGrid.h"
#include "ui_LasEditor.h"
#include "ui_SaveToLas.h"

#include "DataWinTestSupport.h"
#include "datawin/FindInGrid.h"
#include "datawin/LasEditorRecovery.h"
#include "datawin/SaveToLas.h"
#include "platform/FileNames.h"

#include "core/Lasfile.h"
#include "tests/common/LasSaveCompare.h"

#include <QMenu>
#include <filesystem>
#include <sstream>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace strativ::test {
namespace {

// The number texts of each data line (after "~A"), blanks between them made single.
std::vector<std::string> DataLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text.substr(text.find("~A")));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string word;
        std::string joined;
        while (words >> word)
            joined += (joined.empty() ? "" : " ") + word;
        if (!joined.empty())
            lines.push_back(joined);
    }
    return lines;
}

TEST_F(LasEditorTest, FilePassedThroughTheTableComesBackUnchanged)
{
    Write("a.las", kSmallLas);
    Pick("a.las");
    ASSERT_NE(editor->Document(), nullptr);
    // Each column with its curve's decimals, NULLs as "Null".
    EXPECT_EQ(Cell(1, 1), "1000.000");
    EXPECT_EQ(Cell(2, 1), "12.3456");
    EXPECT_EQ(Cell(2, 2), "Null");
    EXPECT_EQ(Cell(3, 1), "2.30");
    EXPECT_EQ(Cell(0, 3), "3");
    EXPECT_EQ(Model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "GR");
    EXPECT_EQ(Form().SGCurves->item(2, 2)->text(), "DENSITY");
    EXPECT_EQ(Form().EditNullValue->text(), "-999.25");

    // Focus through the grid and out again, then leave the page saving to another file.
    Grid().setFocus();
    Form().SGCurves->setFocus();
    const std::string target = dir.file("out.las");
    runner->Push(platform::IDYES);
    PushSave(target);
    Form().PageControl->setCurrentIndex(1);
    EXPECT_EQ(Form().PageControl->currentIndex(), 1);
    EXPECT_EQ(editor->Document(), nullptr);
    EXPECT_EQ(Messages(), Join({"Сохранение файла|Сохранить изменения в файле?"}));

    TLASFile read(target, 2);
    ASSERT_TRUE(read.IsLoaded()) << read.GetLoadError();
    EXPECT_EQ(read.GetCurveData(1)[0], 12.3456f);
    EXPECT_EQ(read.GetCurveData(1)[1], -999.25f);
    EXPECT_EQ(read.GetCurveData(2)[2], -999.25f);
    const std::string written = ReadFileBytes(target);
    EXPECT_EQ(DataLines(written), DataLines(kSmallLas));
    EXPECT_EQ(written.rfind("# Exported by a survey tool\r\n#-----\r\n", 0), 0u);
}

// Every corpus file that loads and fits in one file of the save comes back from the table byte for
// byte but for the depth lines that disagree with its data; one typed value changes one line, and
// the rows lacking values (two of issue83.las) are then written whole.
TEST_F(LasEditorTest, CorpusFilesComeBackFromTheTableByteForByte)
{
    STRATIV_REQUIRE_CORPUS();
    int n = 0;
    int saved = 0;
    for (const std::string& name : LoadableCorpusFiles()) {
        SCOPED_TRACE(name);
        const std::string original = ReadFileBytes(CorpusDir() + "/" + name);
        const std::string file = "corpus" + std::to_string(++n) + ".las";
        Write(file, original);
        Pick(QString::fromStdString(file));
        ASSERT_NE(editor->Document(), nullptr);
        if (editor->Document()->GetCurvesCount() - 1 > MaxCurvesPerLasFile)
            continue;
        const std::vector<std::string> recomputed = DisagreeingDepthLines(*editor->Document());
        const size_t edited = editor->Document()->GetParser().GetDataSource().rowsComplete ? 1 : 2;
        ++saved;
        for (int pass = 0; pass < 2; ++pass) {
            const std::string target = dir.file("saved" + std::to_string(n) + "_" + std::to_string(pass) + ".las");
            runner->Clear();
            PushSave(target);
            editor->TBSaveAsClick();
            EXPECT_EQ(ChangedLines(original, ReadFileBytes(target), recomputed).size(), pass * edited);
            if (pass == 0)
                Type(Model().ColCount() - 1, Model().RowCount() / 2, "12345");
        }
    }
    EXPECT_GT(saved, 60);
}

// A file of 35 curves edited in the table and saved under its own name stays one file, of which
// only the edited line changes.
TEST_F(LasEditorTest, WideFileSavedUnderItsOwnNameStaysOneFile)
{
    std::string text = "~Version\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~Well\r\n STRT.M 100.0 :\r\n"
                       " STOP.M 100.9 :\r\n STEP.M 0.1 :\r\n NULL. -999.25 :\r\n~Curve\r\n DEPT.M :\r\n";
    for (int c = 1; c <= 35; ++c)
        text += " C" + std::to_string(c) + ".U :\r\n";
    text += "~A\r\n";
    for (int r = 0; r < 10; ++r) {
        text += "100." + std::to_string(r);
        for (int c = 1; c <= 35; ++c)
            text += " " + std::to_string(c) + "." + std::to_string(r) + "5";
        text += "\r\n";
    }
    const std::string path = Write("wide.las", text);
    Pick("wide.las");
    ASSERT_NE(editor->Document(), nullptr);
    Type(21, 6, "42.55");
    runner->Clear();
    PushSave(path);
    runner->Push(platform::IDYES);  // replace the file
    editor->TBSaveAsClick();
    EXPECT_EQ(Messages(), "Сохранение|Файл\n" + path + "\nуже существует. Заменить?");
    EXPECT_FALSE(std::filesystem::exists(dir.file("wide_1.las")));
    EXPECT_EQ(ChangedLines(text, ReadFileBytes(path), {}),
              std::vector<std::string>{"100.5 1.55 2.55 3.55 4.55 5.55 6.55 7.55 8.55 9.55 10.55 11.55 12.55 13.55 "
                                       "14.55 15.55 16.55 17.55 18.55 19.55 42.55 21.55 22.55 23.55 24.55 25.55 "
                                       "26.55 27.55 28.55 29.55 30.55 31.55 32.55 33.55 34.55 35.55\r\n"});
}

// A file cut inside its last row is named when the table page opens it.
TEST_F(LasEditorTest, FileCutInItsLastRowIsNamedWhenPicked)
{
    std::string cut = kSmallLas;
    cut.resize(cut.size() - std::string(" -999.25\r\n").size());
    Write("cut.las", cut);
    Pick("cut.las");
    ASSERT_NE(editor->Document(), nullptr);
    EXPECT_EQ(Messages(), "Предупреждение|Файл\n" + dir.file("cut.las") +
                              "\nзагружен не полностью:\nПоследняя строка данных неполная "
                              "(строка 19 файла, глубина 1001.000): не хватает 1 значения из 3, "
                              "вместо недостающих загружен NULL\n");
}

TEST_F(LasEditorTest, FolderTreeNeverOpensTheFilesOfAFolder)
{
    // A read of a pipe (or of a device) may never return: the tree must not open them for icons.
    const std::string folder = dir.file("odd");
    std::filesystem::create_directories(folder + "/sub");
    ASSERT_EQ(mkfifo((folder + "/pipe").c_str(), 0600), 0);
    WriteFileBytes(folder + "/notes", "plain text\n");
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(inotify_add_watch(watch, folder.c_str(), IN_OPEN), 0);

    editor->SetFolder(QString::fromStdString(folder));
    QTreeView& tree = *Form().DirectoryListBox;
    const QModelIndex node = tree.currentIndex();
    tree.expand(node);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree.model()->rowCount(node) == 1; }, 10000));
    QTest::qWait(300);  // the icons of the entries follow their rows
    EXPECT_EQ(tree.model()->index(0, 0, node).data().toString(), "sub");

    std::vector<std::string> opened;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;)
        for (char* at = buffer; at < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0 && !(event->mask & IN_ISDIR))
                opened.emplace_back(event->name);
            at += sizeof(inotify_event) + event->len;
        }
    close(watch);
    EXPECT_EQ(opened, std::vector<std::string>{});
}

// Values and depths of eight significant digits show as the file holds them, not rounded to
// seven nor to the float a depth is held in; a depth typed is saved as typed.
TEST_F(LasEditorTest, EightDigitValuesShowAsTheFileHoldsThem)
{
    Write("eight.las", "~Version\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~Well\r\n NULL. -999.25 :\r\n~Curve\r\n"
                       " DEPT.M :\r\n GR.API :\r\n~A\r\n3600.1524 2692.7075\r\n3600.3048 7273.4951\r\n"
                       "3600.4572 3443.9407\r\n");
    Pick("eight.las");
    const QAbstractItemModel& grid = *Grid().model();
    std::vector<std::string> shown;
    for (int row = 0; row < grid.rowCount(); ++row)
        for (int column : {0, 1})
            shown.push_back(grid.data(grid.index(row, column)).toString().toStdString());
    EXPECT_EQ(shown, (std::vector<std::string>{"3600.1524", "2692.7075", "3600.3048", "7273.4951", "3600.4572",
                                               "3443.9407"}));

    Type(1, 2, "3600.3050");
    // Values a float cannot hold are saved as typed, a comma for the point.
    Type(2, 1, "4932.8337");
    Type(2, 3, "2700,1234");
    editor->ApplyGridToDocument();
    EXPECT_EQ(Cell(1, 1), "3600.1524");
    PushSave(dir.file("out.las"));
    editor->TBSaveAsClick();
    const std::vector<std::string> saved{"3600.1524 4932.8337", "3600.3050 7273.4951", "3600.4572 2700.1234"};
    EXPECT_EQ(DataLines(ReadFileBytes(dir.file("out.las"))), saved);
    // The grid filled again from the document shows what was saved; so does a save with the
    // source gone.
    Model().SetDocument(editor->Document());
    EXPECT_EQ(Cell(2, 3), "2700.1234");
    std::filesystem::remove(dir.file("eight.las"));
    PushSave(dir.file("again.las"));
    editor->TBSaveAsClick();
    EXPECT_EQ(DataLines(ReadFileBytes(dir.file("again.las"))), saved);

    // Typed over the file's 3600.3048, 3600.3047 (the same float) is written as typed.
    Type(1, 2, "3600.3047");
    editor->ApplyGridToDocument();
    PushSave(dir.file("typed.las"));
    editor->TBSaveAsClick();
    EXPECT_EQ(DataLines(ReadFileBytes(dir.file("typed.las")))[1], "3600.3047 7273.4951");
}

// A file the document cannot read is named with the reason, leaves the page empty, and leaving
// the page then asks nothing.
TEST_F(LasEditorTest, UnreadableFileIsReportedAndLeavesNothingToSave)
{
    const std::string data = "~Curve\r\n DEPT.M :\r\n GR.API :\r\n~A\r\n";
    const std::string las = std::string("~Version\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~Well\r\n NULL. -999.25 :\r\n") + data;
    Write("a.las", kSmallLas);
    for (const auto& [name, bytes] :
         {std::pair{"utf16.las", Utf16Bytes(kSmallLas, false, true)},
          std::pair{"utf16nomark.las", Utf16Bytes(kSmallLas, false, false)},
          std::pair{"las3.las", std::string("~Version\r\n VERS. 3.0 :\r\n WRAP. NO :\r\n") + data + "1 2\r\n"},
          std::pair{"badvalue.las", las + "1000.0 12.5\r\n1000.5 1,2.5\r\n"},
          std::pair{"unordered.las", las + "1000.0 1\r\n999.5 2\r\n1001.0 3\r\n"}}) {
        SCOPED_TRACE(name);
        const std::string path = Write(name, bytes);
        const std::string reason = TLASFile(path, 2).GetLoadError();
        ASSERT_FALSE(reason.empty());
        Pick("a.las");
        runner->Clear();
        Pick(name);
        EXPECT_EQ(Messages(), "Ошибка|Не удалось загрузить файл\n" + path + "\n" + reason);
        EXPECT_EQ(editor->Document(), nullptr);
        EXPECT_EQ(Model().rowCount(), 0);
        Form().PageControl->setCurrentIndex(1);
        EXPECT_EQ(Form().PageControl->currentIndex(), 1);
        EXPECT_EQ(runner->Requests().size(), 1u);
        Form().PageControl->setCurrentIndex(0);
    }
}

TEST_F(LasEditorTest, OneRowTableIsSavedAndLeavesThePage)
{
    const std::string las = "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n STRT.M 1500.0 :\n STOP.M 1500.0 :\n"
                            " STEP.M 0 :\n NULL. -999.25 :\n~Curve\n DEPT.M :\n A.U :\n B.U :\n~A\n1500.0 1.50 2.50\n";
    Write("one_a.las", las);
    Write("one_b.las", las);
    for (bool limit : {false, true}) {
        Form().PageControl->setCurrentIndex(0);
        Pick(limit ? "one_b.las" : "one_a.las");  // the selected file picked again does nothing
        ASSERT_EQ(Model().RowCount(), 2);
        Type(3, 1, "7.25");
        const std::string target = dir.file(limit ? "limited.las" : "whole.las");
        runner->Clear();
        runner->Push(platform::IDYES);
        PushSave(target, limit);
        Form().PageControl->setCurrentIndex(1);
        EXPECT_EQ(Messages(), "Сохранение файла|Сохранить изменения в файле?") << limit;
        EXPECT_EQ(Form().PageControl->currentIndex(), 1);
        TLASFile read(target, 2);
        ASSERT_EQ(read.GetPointCount(), 1) << read.GetLoadError();
        EXPECT_EQ(read.GetCurveData(0)[0], 1500.0f);
        EXPECT_EQ(read.GetCurveData(1)[0], 1.5f);
        EXPECT_EQ(read.GetCurveData(2)[0], 7.25f);
    }
}

TEST_F(LasEditorTest, EditedCellsAreTakenWhileAnInvalidColumnIsRefused)
{
    Write("a.las", kSmallLas);
    Pick("a.las");
    Type(2, 3, "abc");
    EXPECT_EQ(Messages(), Join({"Ошибочный ввод|Недопустимый формат числа"}));
    EXPECT_EQ(std::pair(Grid().CurrentCol(), Grid().CurrentRow()), std::pair(2, 3));
    QWidget* reopened = Grid().indexWidget(Model().IndexOf(2, 3));  // the editor is open again
    ASSERT_NE(reopened, nullptr);
    QTest::keyClick(reopened, Qt::Key_Escape);

    Type(3, 1, "3.125");
    Type(3, 2, "");  // an emptied cell is NULL
    EXPECT_EQ(Cell(3, 2), "Null");
    Type(3, 3, "-999.25");
    EXPECT_EQ(Cell(3, 3), "Null");
    runner->Clear();
    editor->ApplyGridToDocument();
    EXPECT_EQ(Messages(), Join({platform::ApplicationTitle() +
                                      "|В столбце (столбцах) : \nGR\nСодержатся некорректные значения"}));
    const TLASFile& doc = *editor->Document();
    EXPECT_EQ(doc.GetCurveData(2)[0], 3.125f);
    EXPECT_EQ(doc.GetCurveData(2)[1], -999.25f);
    EXPECT_EQ(doc.GetCurveData(1)[2], 7.1f);  // the refused column keeps its values
    EXPECT_EQ(Cell(2, 3), "abc");     // and the grid its text
    EXPECT_TRUE(editor->IsTableModified());

    // A typed "NULL" in another letter case stays as typed and refuses its column too.
    Type(2, 3, "NULL");
    EXPECT_EQ(Cell(2, 3), "NULL");
    std::vector<float> values;
    EXPECT_FALSE(editor->ReadColumn(1, values));
    Type(2, 3, "Null");
    EXPECT_TRUE(editor->ReadColumn(1, values));
    EXPECT_EQ(values[2], -999.25f);
}

TEST_F(LasEditorTest, DepthColumnIsRefusedUnlessItStrictlyRises)
{
    Write("a.las", kSmallLas);
    Pick("a.las");
    for (const QString& text : {QString("999"), QString("Null"), QString("1001")}) {
        Type(1, 2, text);
        runner->Clear();
        editor->ApplyGridToDocument();
        EXPECT_EQ(Messages(), Join({platform::ApplicationTitle() +
                                          "|В столбце (столбцах) : \nDEPT\nСодержатся некорректные значения"}))
            << text.toStdString();
        EXPECT_EQ(editor->Document()->GetCurveData(0)[1], 1000.5f);
    }
    // A depth of more significant digits than the depths may have, refused as a shift would be.
    Type(1, 2, "1000.50000000000001");
    runner->Clear();
    editor->ApplyGridToDocument();
    EXPECT_EQ(Messages(), Join({platform::ApplicationTitle() + "|Глубина 1000.50000000000001 с 14 знаками после точки "
                                                               "займет 18 значащих цифр, а записать можно не более 15"}));
    EXPECT_EQ(editor->Document()->GetDepthDecimals(), 3);
    EXPECT_EQ(Cell(1, 2), "1000.50000000000001");
    Type(1, 2, "1000.75");
    runner->Clear();
    editor->ApplyGridToDocument();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(editor->Document()->GetCurveData(0)[1], 1000.75f);

    // "Обнулить столбец..." is not offered on the depth column.
    editor->PMenuGridPopup(CellPoint(1, 1));
    EXPECT_FALSE(editor->MISetNullCol->isEnabled());
    EXPECT_FALSE(editor->MIPaste->isEnabled());
    editor->PMenuGridPopup(CellPoint(2, 1));
    EXPECT_TRUE(editor->MISetNullCol->isEnabled());
}

// A typed depth that fits, whose decimals the deepest row cannot take, is refused as a shift would be.
TEST_F(LasEditorTest, TypedDecimalsTheDeepestDepthCannotTakeAreRefused)
{
    Write("b.las", "~V\nVERS. 2.0:\nWRAP. NO:\n~W\nSTRT.M 5.0:\nSTOP.M 10000.0:\nSTEP.M 0:\nNULL. -999.25:\n"
                   "~C\nDEPT.M :\nGR.API :\n~A\n5.0 1\n6.0 2\n10000.0 3\n");
    Pick("b.las");
    Type(1, 2, "6.12345678901");
    runner->Clear();
    editor->ApplyGridToDocument();
    EXPECT_EQ(Messages(), Join({platform::ApplicationTitle() + "|Глубина 10000 с 11 знаками после точки "
                                                               "займет 16 значащих цифр, а записать можно не более 15"}));
    EXPECT_EQ(editor->Document()->GetCurveData(0)[1], 6.0f);
}

TEST_F(LasEditorTest, CopyAndPasteThroughThePopupClipAtTheGridEdge)
{
    Write("a.las", kSmallLas);
    Pick("a.las");
    Grid().SetSelection({2, 1, 3, 2});
    editor->MICopy->trigger();
    editor->PMenuGridPopup(CellPoint(3, 2));
    ASSERT_TRUE(editor->MIPaste->isEnabled());
    editor->MIPaste->trigger();
    EXPECT_EQ(Cell(3, 2), "12.3456");
    EXPECT_EQ(Cell(3, 3), "Null");
    EXPECT_EQ(Cell(2, 3), "7.1000");  // nothing pasted left of the popup cell

    editor->MIClearBuffer->trigger();
    editor->PMenuGridPopup(CellPoint(3, 2));
    EXPECT_FALSE(editor->MIPaste->isEnabled());
    EXPECT_FALSE(editor->MIClearBuffer->isEnabled());
}

TEST_F(LasEditorTest, ShiftAndMultiplyLeaveNullCellsAndCheckTheNumberFirst)
{
    Write("a.las", kSmallLas);
    Pick("a.las");
    Type(3, 3, "x1");  // neither a number nor "Null": left as it is
    QTest::keyClick(Grid().indexWidget(Model().IndexOf(3, 3)), Qt::Key_Escape);
    runner->Clear();
    Grid().SetSelection({2, 1, 3, 3});
    runner->PushText("abc");
    runner->Push(platform::IDYES);
    runner->PushText("0.5");
    editor->MIAddToSel->trigger();
    EXPECT_EQ(Messages(), Join({"Ошибка|<abc> Не является корректным действительным числом\nЖелаете ввести "
                                      "число еще раз?"}));
    EXPECT_EQ(runner->Requests().back().value, "abc");  // the rejected answer proposed again
    EXPECT_EQ(Cell(2, 1), "12.8456");
    EXPECT_EQ(Cell(2, 2), "Null");
    EXPECT_EQ(Cell(3, 1), "2.80");
    EXPECT_EQ(Cell(3, 3), "x1");

    runner->PushText("3");
    editor->MIMultToSel->trigger();
    EXPECT_EQ(Cell(2, 1), "38.5368");
    EXPECT_EQ(Cell(2, 3), "22.8000");
    // The exact value is taken back, not the shown one.
    runner->PushCancel();
    editor->MIMultToSel->trigger();
    Type(3, 3, "1");
    editor->ApplyGridToDocument();
    EXPECT_EQ(editor->Document()->GetCurveData(1)[0], (12.3456f + 0.5f) * 3.0f);
}

TEST_F(LasEditorTest, ApplyStepKeepsTheStepOverALongColumn)
{
    std::string las = "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n STRT.M 1000 :\n STOP.M 1999.9 :\n"
                      " STEP.M 0 :\n NULL. -999.25 :\n~Curve\n DEPT.M :\n GR.API :\n~A\n";
    const int rows = 20000;
    for (int r = 0; r < rows; ++r)
        las += std::to_string(1000 + r) + " " + std::to_string(r % 50) + "\n";
    Write("long.las", las);
    Pick("long.las");
    Form().EditDeptStep->setValue(0.1);
    Form().BitBtnApplyStep->click();
    const TLASFile& doc = *editor->Document();
    for (int r : {0, 1, 9999, rows - 1})
        EXPECT_EQ(doc.GetCurveData(0)[r], float(1000.0 + r * 0.1)) << r;
    EXPECT_FLOAT_EQ(doc.GetStep(), 0.1f);
    EXPECT_EQ(Cell(1, rows), "2999.90");
    // The depths get the decimals the step needs.
    Form().EditDeptStep->setValue(0.125);
    Form().BitBtnApplyStep->click();
    EXPECT_EQ(doc.GetDepthDecimals(), 3);
    EXPECT_EQ(Cell(1, rows), "3499.875");
    EXPECT_TRUE(editor->IsTableModified());

    // A step of more decimals shows whole: applied as shown, it keeps the depths.
    Write("fine.las", "~Version\n VERS. 2.0 :\n WRAP. NO :\n~Well\n STEP.M 0.03125 :\n NULL. -999.25 :\n~Curve\n"
                      " DEPT.M :\n GR.API :\n~A\n100.00000 1\n100.03125 2\n100.06250 3\n");
    runner->Push(platform::IDNO);
    Pick("fine.las");
    EXPECT_EQ(Form().EditDeptStep->text(), "0.03125");
    Form().BitBtnApplyStep->click();
    EXPECT_EQ(Cell(1, 3), "100.06250");
}

TEST_F(LasEditorTest, ColumnsAreAddedRenamedNulledAndDeleted)
{
    Write("a.las", kSmallLas);
    Pick("a.las");
    // Cancel adds nothing; the proposed name is "Col" and the new column's number.
    runner->PushCancel();
    editor->MIAddColumn->trigger();
    EXPECT_EQ(runner->Last().value, "Col4");
    EXPECT_EQ(editor->Document()->GetCurvesCount(), 3);
    runner->PushText("A.B");
    editor->MIAddColumn->trigger();
    EXPECT_EQ(editor->Document()->GetCurvesCount(), 3);
    EXPECT_EQ(runner->Last().title, "Ошибка");
    runner->PushText("NEW");
    editor->MIAddColumn->trigger();
    ASSERT_EQ(Model().ColCount(), 5);
    EXPECT_EQ(Cell(4, 0), "NEW");
    EXPECT_EQ(Form().SGCurves->rowCount(), 4);

    Type(2, 1, "5");  // pending edit survives the deletion of another column
    editor->PMenuGridPopup(CellPoint(3, 1));
    runner->PushText("DEN");
    editor->MIColCaption->trigger();
    EXPECT_EQ(editor->Document()->GetCurveName(2), "DEN");
    runner->Push(platform::IDYES);
    editor->MISetNullCol->trigger();
    EXPECT_EQ(Cell(3, 1), "Null");
    runner->Push(platform::IDYES);
    editor->MIDelColumn->trigger();
    EXPECT_EQ(runner->Last().text, "Вы подтверждаете удаление столбца \n   <DEN> ?");
    ASSERT_EQ(editor->Document()->GetCurvesCount(), 3);
    EXPECT_EQ(editor->Document()->GetCurveName(2), "NEW");
    EXPECT_EQ(editor->Document()->GetCurveData(1)[0], 5.0f);
    EXPECT_EQ(Cell(3, 0), "NEW");

    editor->PMenuGridPopup(CellPoint(1, 1));
    runner->Clear();
    editor->MIDelColumn->trigger();
    EXPECT_EQ(Messages(), Join({"Ошибка удаления|Нельзя удалить столбец глубины"}));

    // Curve texts a ~C line cannot hold are refused in the curve table.
    Form().SGCurves->item(1, 1)->setText("g cm");
    EXPECT_EQ(editor->Document()->GetCurveUnit(1), "API");
    EXPECT_EQ(Form().SGCurves->item(1, 1)->text(), "API");
    Form().SGCurves->item(1, 2)->setText("Gamma ray");
    EXPECT_EQ(editor->Document()->GetCurveDescription(1), "Gamma ray");
}

TEST_F(LasEditorTest, LeavingTheTablePageKeepsTheDocumentUnlessItWasSavedOrDropped)
{
    Write("a.las", kSmallLas);
    Write("b.las", kSmallLas);
    Pick("a.las");
    Type(2, 1, "1");
    // Cancel, and Yes with the save dialog cancelled, keep the page and the edits.
    runner->Push(platform::IDCANCEL);
    Form().PageControl->setCurrentIndex(1);
    EXPECT_EQ(Form().PageControl->currentIndex(), 0);
    runner->Push(platform::IDYES);
    runner->PushCancel();
    Form().PageControl->setCurrentIndex(1);
    EXPECT_EQ(Form().PageControl->currentIndex(), 0);
    ASSERT_NE(editor->Document(), nullptr);
    EXPECT_EQ(editor->Document()->GetCurveData(1)[0], 1.0f);
    // Picking another file asks first; Cancel keeps the selection and the document.
    runner->Clear();
    runner->Push(platform::IDCANCEL);
    Pick("b.las");
    EXPECT_EQ(Messages(), Join({"Сохранение файла|Сохранить изменения в файле?"}));
    EXPECT_EQ(Form().FileListBox->currentItem()->text(), "a.las");
    EXPECT_EQ(editor->Document()->GetCurveData(1)[0], 1.0f);
    // No drops it.
    runner->Push(platform::IDNO);
    Form().PageControl->setCurrentIndex(1);
    EXPECT_EQ(Form().PageControl->currentIndex(), 1);
    EXPECT_EQ(editor->Document(), nullptr);
    EXPECT_EQ(Model().rowCount(), 0);
}

TEST_F(LasEditorTest, FindWindowSearchesAndReplacesInTheGrid)
{
    Write("a.las", kSmallLas);
    Pick("a.las");
    Grid().SetCurrent(1, 1);
    editor->MISearch->trigger();
    TFormFindInGrid& find = editor->FindWindow();
    ASSERT_TRUE(find.isVisible());
    EXPECT_EQ(find.Form().EditSearchString->text(), "1000.000");  // the current cell proposed
    find.Form().EditSearchString->setText("999");
    find.Form().EditReplace->setText("Null");
    runner->Clear();
    find.Form().ButtonSearch->click();
    EXPECT_EQ(Messages(), Join({platform::ApplicationTitle() + "|Строка не найдена"}));  // NULL shows "Null"

    find.Form().EditSearchString->setText("45");
    runner->Push(platform::IDCANCEL);
    find.Form().ButtonReplace->click();
    EXPECT_EQ(std::pair(Grid().CurrentCol(), Grid().CurrentRow()), std::pair(2, 1));
    EXPECT_EQ(Cell(2, 1), "12.3456");
    runner->Push(platform::IDOK);
    find.Form().ButtonReplace->click();
    EXPECT_EQ(runner->Last().text, "Заменить строку <45> на <Null> ?");
    EXPECT_EQ(Cell(2, 1), "Null");

    find.Form().EditSearchString->setText("0");
    find.Form().EditReplace->setText("0.5");
    runner->Clear();
    runner->Push(platform::IDOK);
    find.Form().RadioColumn->setChecked(true);
    Grid().SetCurrent(3, 1);
    find.Form().ButtonReplaceAll->click();
    EXPECT_EQ(Messages(), Join({"Заменить все|Вы действительно хотите заменить все вхождения строки\n <0> на "
                                       "<0.5>\n в текущем столбце ?",
                                       platform::ApplicationTitle() + "|Замена произведена"}));
    EXPECT_EQ(Cell(3, 1), "0.5");
    EXPECT_EQ(Cell(3, 3), "Null");
    find.Form().Button2->click();
    EXPECT_FALSE(find.isVisible());
}

// Table edits kept at the end of the program, never in the file: the next start asks about them,
// naming the file; "Да" opens them as unsaved edits of that file, "Нет" then "Да" removes them,
// "Нет" twice sets them aside in the profile folder and says where.
TEST_F(LasEditorTest, TableEditsKeptAtTheEndAreOpenedRemovedOrSetAside)
{
    const std::string path = Write("well.las", kSmallLas);
    Pick("well.las");
    const int col = Model().ColCount() - 1;
    Type(col, 1, "5.5");
    const QString shown = QString::fromStdString(path);
    const struct {
        std::vector<int> answers;
        bool opened;
        int setAside;
    } cases[] = {{{platform::IDYES}, true, 0}, {{platform::IDNO, platform::IDYES}, false, 0},
                 {{platform::IDNO, platform::IDNO}, false, 1}};
    for (const auto& [answers, opened, setAside] : cases) {
        SCOPED_TRACE(answers.size() + answers.back());
        TempDir profile;
        const QString folder = QString::fromStdString(profile.path() + "/");
        KeepLasEditorEdits(*editor, folder);
        EXPECT_EQ(ReadFileBytes(path), kSmallLas);
        TFormEditor next(*saveDialog);
        runner->Clear();
        for (const int answer : answers)
            runner->Push(answer);
        OfferKeptLasEditorEdits(next, folder);
        QStringList messages = {"Редактор файлов формата LAS|Несохраненные изменения файла\n" + shown +
                                "\nв редакторе LAS файлов были сохранены при завершении работы программы. "
                                "Открыть их?"};
        if (!opened)
            messages << "Редактор файлов формата LAS|Удалить несохраненные изменения файла\n" + shown +
                            "?\nВосстановить их будет нельзя.";
        const QStringList left = QDir(folder).entryList(QDir::Files);
        ASSERT_EQ(left.size(), setAside);
        if (setAside)
            messages << "Редактор файлов формата LAS|Несохраненные изменения файла\n" + shown +
                            "\nоставлены в файле\n" + folder + left[0];
        EXPECT_EQ(Messages(), Join(messages));
        ASSERT_EQ(next.Document() != nullptr, opened);
        if (opened) {
            EXPECT_TRUE(next.IsTableModified());
            EXPECT_EQ(next.Document()->GetFileName(), path);
            EXPECT_EQ(next.GridModel().Text(col, 1).toStdString(), "5.50");
        }
    }
}

// Edits kept by two ends, one by an earlier version under its single names: the next start names
// both; with the first open, the other waits for the start after, which opens it.
TEST_F(LasEditorTest, EveryKeptSetOfEditsIsOfferedNamingItsFile)
{
    const std::string earlier = Write("earlier.las", kSmallLas);
    const std::string path = Write("well.las", kSmallLas);
    Pick("well.las");
    Type(Model().ColCount() - 1, 1, "5.5");
    TempDir profile;
    const QString folder = QString::fromStdString(profile.path() + "/");
    WriteFileBytes(profile.file("lasedit-unsaved.las"), kSmallLas);
    WriteFileBytes(profile.file("lasedit-unsaved.txt"), "table\n" + earlier);
    KeepLasEditorEdits(*editor, folder);
    const QString asked = "Редактор файлов формата LAS|Несохраненные изменения файла\n%1\nв редакторе LAS файлов "
                          "были сохранены при завершении работы программы. Открыть их?";
    const struct {
        std::string opened;
        QStringList messages;
    } starts[] = {{path,
                   {asked.arg(QString::fromStdString(path)),
                    "Редактор файлов формата LAS|Несохраненные изменения файла\n" + QString::fromStdString(earlier) +
                        "\nв редакторе LAS файлов также были сохранены при завершении работы программы. Они будут "
                        "предложены при следующем запуске."}},
                  {earlier, {asked.arg(QString::fromStdString(earlier))}}};
    for (const auto& [opened, messages] : starts) {
        SCOPED_TRACE(opened);
        TFormEditor next(*saveDialog);
        runner->Clear();
        runner->Push(platform::IDYES);
        runner->Push(platform::IDOK);
        OfferKeptLasEditorEdits(next, folder);
        EXPECT_EQ(Messages(), Join(messages));
        ASSERT_NE(next.Document(), nullptr);
        EXPECT_EQ(next.Document()->GetFileName(), opened);
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{});
}

// Kept edits of a file whose name is not UTF-8 come back with that file chosen in the file list.
TEST_F(LasEditorTest, KeptEditsOfANonUtf8NameOpenWithTheirFileChosen)
{
    const std::string path = Write("caf\xE9.las", kSmallLas);
    const QString shown = platform::ShownFileName(platform::FileNameFromBytes("caf\xE9.las"));
    Pick(shown);
    Type(Model().ColCount() - 1, 1, "5.5");
    TempDir profile;
    const QString folder = QString::fromStdString(profile.path() + "/");
    KeepLasEditorEdits(*editor, folder);
    TFormEditor next(*saveDialog);
    runner->Push(platform::IDYES);
    OfferKeptLasEditorEdits(next, folder);
    ASSERT_NE(next.Document(), nullptr);
    EXPECT_EQ(next.Document()->GetFileName(), path);
    const QListWidgetItem* chosen = next.Form().FileListBox->currentItem();
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->text(), shown);
}

}  // namespace
}  // namespace strativ::test
