// The script editor over a folder of ".exp" files: showing, editing, checking, files kept safe.
#include "core/ExprList.h"
#include "editing/CalcBarEdit.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/common/FileBytes.h"
#include "tests/editing/EditingFixtures.h"
#include "ui_CalcBarEdit.h"

#include <QComboBox>
#include <QTest>
#include <QLineEdit>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

using namespace strativ::test;

namespace {

class CalcBarEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetDecimalSeparator(QChar('.'));
        Write("a.exp", "alpha", "A", "x[0] * k");
        Write("b.exp", "beta", "B", "x[0] + x[1]");
        list.ScanFolder(dir.path());
        dialog.SetExprFileList(&list);
    }
    void Write(const std::string& file, const std::string& name, const std::string& caption,
               const std::string& expression)
    {
        WriteFileBytes(dir.file(file), "[Info]\nVersion=1\nName=" + name + "\nCaption=" + caption +
                                           "\nButton=0\n[Expression]\nValue=" + expression + "\n");
    }
    // Runs the editor; `body` works on it and ends it.
    void Run(std::function<void(Ui::TDlgCalcBarEdit&)> body)
    {
        runner.PushDialog([this, body](QDialog& d) {
            body(dialog.Form());
            return d.result();
        });
        dialog.Execute();
    }
    void Select(int row) { dialog.Form().ListBoxBtns->setCurrentRow(row); }

    TempDir dir;
    TExprList list;
    platform::RecordingDialogRunner runner;
    TDlgCalcBarEdit dialog;
};

TEST_F(CalcBarEditTest, ShowsScriptsAndWritesEveryFileOnOk)
{
    Run([&](Ui::TDlgCalcBarEdit& f) {
        ASSERT_EQ(f.ListBoxBtns->count(), 2);
        EXPECT_EQ(f.ListBoxBtns->item(1)->text(), "beta");
        Select(1);
        EXPECT_EQ(dialog.FilenameEdit->text(), "b.exp");
        EXPECT_EQ(f.EditExpr->text(), "x[0] + x[1]");
        EXPECT_EQ(f.EditVarCount->text(), "2");
        EXPECT_EQ(f.StringGrid->item(5, 1)->text(), "0.00");
        f.StringGrid->item(2, 1)->setText("Бета");  // caption
        f.StringGrid->item(1, 1)->setText("b2");   // name, shown in the list too
        EXPECT_EQ(f.ListBoxBtns->item(1)->text(), "b2");
        f.StringGrid->item(5, 1)->setText("abc");  // not a number: the stored value again
        EXPECT_EQ(f.StringGrid->item(5, 1)->text(), "0.00");
        dialog.ComboBoxNullType->setCurrentIndex(2);
        emit dialog.ComboBoxNullType->activated(2);
        f.EditExpr->setText("x[3]");
        EXPECT_EQ(f.EditVarCount->text(), "4");
        f.ListBoxBtns->item(0)->setCheckState(Qt::Unchecked);
        // OK refuses a script without an expression, shown and named, and writes nothing.
        f.EditExpr->setText("  ");
        f.OKBtn->click();
        EXPECT_EQ(runner.Last().text,
                  "В сценарии \"b2\" не задано выражение.\nВведите выражение или удалите сценарий.");
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_NE(ReadFileBytes(dir.file("b.exp")).find("Value=x[0] + x[1]"), std::string::npos);
        f.EditExpr->setText("x[3]");
        // The preview: 0 hides it, 5 is the caption's width + 4, 10 and more the value itself.
        f.EditBtnWidth->setValue(0);
        EXPECT_EQ(dialog.PreviewWidth(), 0);
        f.EditBtnWidth->setValue(5);
        EXPECT_EQ(dialog.PreviewWidth(), f.SpeedButton->fontMetrics().horizontalAdvance("Бета") + 4);
        f.EditBtnWidth->setValue(40);
        EXPECT_EQ(dialog.PreviewWidth(), 40);
        f.OKBtn->click();
    });
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    TExprList again;
    again.ScanFolder(dir.path());
    EXPECT_FALSE(again.Item(0)->GetShow());
    EXPECT_EQ(again.Item(1)->GetName(), "b2");
    EXPECT_EQ(again.Item(1)->GetCaption(), "Бета");
    EXPECT_EQ(again.Item(1)->GetValue(), "x[3]");
    EXPECT_EQ(again.Item(1)->GetNullType(), 2);
    EXPECT_EQ(again.Item(1)->GetButton(), 40);
}

TEST_F(CalcBarEditTest, CancelReloadsAndTheCloseBoxAsks)
{
    Run([&](Ui::TDlgCalcBarEdit& f) {
        Select(0);
        f.StringGrid->item(1, 1)->setText("changed");
        f.CancelBtn->click();
    });
    EXPECT_EQ(list.Item(0)->GetName(), "alpha");

    // Constants only: no question, nothing saved, kept in memory.
    Run([&](Ui::TDlgCalcBarEdit& f) {
        Select(0);
        runner.PushText("k");
        f.BitBtnAddUserConst->click();
        EXPECT_EQ(f.StringGridUserConsts->rowCount(), 1);
        dialog.close();
    });
    EXPECT_EQ(runner.PendingAnswers(), 0);
    EXPECT_EQ(list.Item(0)->GetParser().GetConstantCount(), 1);
    EXPECT_EQ(ReadFileBytes(dir.file("a.exp")).find("k="), std::string::npos);

    // A changed text: Yes saves, Cancel keeps the dialog open.
    Run([&](Ui::TDlgCalcBarEdit& f) {
        Select(0);
        f.StringGrid->item(3, 1)->setText("подсказка");
        runner.Push(platform::IDCANCEL);
        runner.Push(platform::IDYES);
        dialog.close();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        dialog.close();
    });
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_NE(ReadFileBytes(dir.file("a.exp")).find("подсказка"), std::string::npos);
}

TEST_F(CalcBarEditTest, ExpressionCheckAndNames)
{
    Run([&](Ui::TDlgCalcBarEdit& f) {
        Select(0);
        runner.PushText("k");
        f.BitBtnAddUserConst->click();
        f.BitBtn1->click();  // k is known: no error
        EXPECT_EQ(runner.Last().text, "Выражение не содержит ошибок");
        f.EditExpr->clear();
        f.BitBtn1->click();
        EXPECT_EQ(runner.Last().text, "Выражение не задано");
        f.EditExpr->setText("x[0] * (k +");
        f.BitBtn1->click();
        EXPECT_TRUE(runner.Last().text.startsWith("Ошибка в выражении, позиция: "));
        EXPECT_EQ(f.EditExpr->cursorPosition(),
                  std::min<int>(runner.Last().text.section(' ', -1).toInt(), f.EditExpr->text().size()));
        EXPECT_TRUE(f.EditVarCount->text().isEmpty());
        // Invalid names: a digit first, a reserved word, a blank; Cancel gives up.
        for (const char* bad : {"1k", "sin", "a b"}) {
            runner.PushText(bad);
            runner.Push(platform::IDOK);
        }
        runner.PushText("depth_1");
        f.ButtonAddVar->click();  // three refusals, then a valid variable name
        EXPECT_EQ(f.GridVars->rowCount(), 1);
        EXPECT_EQ(f.GridVars->item(0, 0)->text(), "depth_1");
        runner.PushText("longname");  // a constant's name holds 7 characters
        runner.Push(platform::IDCANCEL);
        f.BitBtnAddUserConst->click();
        EXPECT_EQ(f.StringGridUserConsts->rowCount(), 1);
        f.StringGridUserConsts->item(0, 1)->setText("2.5");
        f.StringGridUserConsts->item(0, 2)->setText(QString(80, 'd'));
        f.GridVars->item(0, 1)->setText("x[4] * 2");
        EXPECT_EQ(f.EditVarCount->text(), "5");
        f.CancelBtn->click();
    });
    // Cancel read the folder again: the constants typed are gone.
    EXPECT_EQ(list.Item(0)->GetParser().GetConstantCount(), 0);
}

TEST_F(CalcBarEditTest, FilesAreNeverLost)
{
    Run([&](Ui::TDlgCalcBarEdit& f) {
        Select(0);
        // Renamed: written under the new name first, the old file removed after; ".exp" added.
        dialog.FilenameEdit->setText("renamed");
        dialog.FilenameEditExit();
        EXPECT_TRUE(std::filesystem::exists(dir.file("renamed.exp")));
        EXPECT_FALSE(std::filesystem::exists(dir.file("a.exp")));
        // The file of another script is refused.
        runner.Push(platform::IDOK);
        dialog.FilenameEdit->setText("b.exp");
        dialog.FilenameEditExit();
        EXPECT_TRUE(runner.Last().text.contains("b.exp"));
        EXPECT_EQ(dialog.FilenameEdit->text(), "renamed.exp");
        EXPECT_EQ(ReadFileBytes(dir.file("b.exp")).find("alpha"), std::string::npos);
        // A new script on a used file is refused; on a free one it is written at once, shown.
        runner.PushFiles({QString::fromStdString(dir.file("b.exp"))});
        runner.Push(platform::IDOK);
        f.BtnAddExpr->click();
        EXPECT_EQ(list.Count(), 2);
        runner.PushFiles({QString::fromStdString(dir.file("new"))});
        f.BtnAddExpr->click();
        ASSERT_EQ(list.Count(), 3);
        EXPECT_EQ(f.ListBoxBtns->currentRow(), 2);
        EXPECT_NE(ReadFileBytes(dir.file("new.exp")).find("Show="), std::string::npos);
        // Delete asks, then removes the record and its file.
        runner.Push(platform::IDOK);
        f.BtnDelete->click();
        EXPECT_EQ(list.Count(), 2);
        EXPECT_FALSE(std::filesystem::exists(dir.file("new.exp")));
        f.ListBoxBtns->setCurrentRow(-1);
        runner.Push(platform::IDOK);
        f.BtnDelete->click();
        EXPECT_EQ(runner.Last().text, "Не выбран элемент для удаления!");
        f.OKBtn->click();
    });
    // A write that fails (a folder stands where the file would go) keeps the script in its old file.
    std::filesystem::create_directory(dir.file("moved.exp"));
    Run([&](Ui::TDlgCalcBarEdit&) {
        Select(0);
        runner.Push(platform::IDOK);
        dialog.FilenameEdit->setText("moved.exp");
        dialog.FilenameEditExit();
        EXPECT_TRUE(runner.Last().text.startsWith("Не удалось записать файл"));
        EXPECT_TRUE(std::filesystem::exists(dir.file("renamed.exp")));
        EXPECT_EQ(dialog.FilenameEdit->text(), "renamed.exp");
        dialog.reject();
    });
}

TEST_F(CalcBarEditTest, KeysOfTheFileEditStayInTheDialog)
{
    Run([&](Ui::TDlgCalcBarEdit& f) {
        dialog.show();
        Select(0);
        dialog.FilenameEdit->setText("typed");
        QTest::keyClick(dialog.FilenameEdit, Qt::Key_Escape);  // the script's own name again
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.FilenameEdit->text(), "a.exp");
        dialog.FilenameEdit->setText("entered");
        QTest::keyClick(dialog.FilenameEdit, Qt::Key_Return);  // the name taken, the dialog open
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(std::filesystem::exists(dir.file("entered.exp")));
        EXPECT_FALSE(std::filesystem::exists(dir.file("a.exp")));
        QTest::keyClick(f.EditExpr, Qt::Key_Return);  // OK is the default button
        EXPECT_EQ(runner.Requests().size(), 1u);  // the editor itself, no file dialog
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(CalcBarEditEmpty, EmptyListWarnsAndDisables)
{
    platform::RecordingDialogRunner runner;
    TDlgCalcBarEdit dialog;
    TExprList list;
    dialog.SetExprFileList(&list);
    runner.Push(platform::IDOK);
    runner.PushDialog([&](QDialog& d) {
        EXPECT_FALSE(dialog.Form().ListBoxBtns->isEnabled());
        EXPECT_FALSE(dialog.Form().EditBtnWidth->isEnabled());
        return d.result();
    });
    dialog.Execute();
    EXPECT_EQ(runner.Requests().front().text, "Список выражений пуст!");
}

}  // namespace
