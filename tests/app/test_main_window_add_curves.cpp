// Adding curves of another LAS file through the main window: the command, the dialog's answers,
// the view after it, and the hand-over question of a second instance.
#include "AppTestSupport.h"

#include "core/Lasfile.h"
#include "datawin/AddData.h"
#include "ui_AddData.h"
#include "view/PanelWithCurves.h"

#include <QPushButton>

namespace strativ::test {
namespace {

class AddCurvesWindowTest : public MainWindowTest {
protected:
    // The add-curves dialog answered by pressing its buttons; `untickAll` first clears the ticks.
    void PushAddDialog(bool untickAll = false)
    {
        runner->PushDialog([untickAll](QDialog& dialog) {
            Ui::TFormAddData& f = static_cast<TFormAddData&>(dialog).Form();
            if (untickAll)
                f.ButtonUncheckAll->click();
            f.ButtonAdd->click();
            if (dialog.result() != QDialog::Accepted)
                f.ButtonCancel->click();
            return dialog.result();
        });
    }
};

TEST_F(AddCurvesWindowTest, AddedCurvesJoinTheViewAndTheDocumentGrows)
{
    EXPECT_FALSE(window->AddCurvesFromFile({}));
    EXPECT_EQ(Messages(), QStringList{"Добавление кривых|Не загружен файл.\nНе к чему добавлять данные"});

    ASSERT_TRUE(Open(WriteTestLas(dir.file("target.las"), 2, 21)));  // 100 .. 110
    const std::string source = WriteTestLas(dir.file("source.las"), 3, 41, 105.0, 0.5);  // 105 .. 125

    // Nothing ticked: the dialog says so and stays; Cancel then changes nothing.
    runner->Clear();
    PushAddDialog(true);
    EXPECT_FALSE(window->AddCurvesFromFile(QString::fromStdString(source)));
    EXPECT_EQ(Messages(), QStringList{platform::ApplicationTitle() + "|Не выбрано ни одной кривой для добавления"});
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 3);
    EXPECT_FALSE(window->IsModified());

    // The limit is the document's own range: three curves join, the rows stay.
    PushAddDialog();
    ASSERT_TRUE(window->AddCurvesFromFile(QString::fromStdString(source)));
    TLASFile& document = *window->LasFile();
    ASSERT_EQ(document.GetCurvesCount(), 6);
    EXPECT_EQ(document.GetPointCount(), 21);
    EXPECT_EQ(window->PanelCurves->GetCurvesCount(), 5);
    EXPECT_EQ(window->ListCurveNames->count(), 5);
    EXPECT_EQ(window->PanelCurves->GetCurve(4)->XOffset(), -400);
    EXPECT_EQ(document.GetCurveData(3)[10], GeneratedValue(1, 0));  // source's first row at 105 m
    EXPECT_TRUE(window->IsModified());
    ExpectViewFollowsDocument(*window, "limited");

    // Unticked limit: the document grows to the source's bottom.
    runner->PushDialog([](QDialog& dialog) {
        Ui::TFormAddData& f = static_cast<TFormAddData&>(dialog).Form();
        f.CheckBoxLimitDept->setChecked(false);
        f.ButtonAdd->click();
        return dialog.result();
    });
    ASSERT_TRUE(window->AddCurvesFromFile(QString::fromStdString(source)));
    EXPECT_EQ(window->LasFile()->GetPointCount(), 51);
    ExpectViewFollowsDocument(*window, "grown");
    EXPECT_EQ(window->StatusText(2), "Глубины: 100.0 - 125.0 M");
}

TEST_F(AddCurvesWindowTest, AFileHandedOverAsksWhetherToOpenOrAdd)
{
    const std::string second = WriteTestLas(dir.file("second.las"), 1, 21);
    const QString message = "OPEN " + QString::fromStdString(second);

    // No document: opened without a question.
    PushCurveChoice();
    window->HandOverMessage(message);
    ASSERT_NE(window->LasFile(), nullptr);
    EXPECT_TRUE(Messages().isEmpty());

    const QString question = platform::ApplicationTitle() + "|Получен файл\n" + QString::fromStdString(second) +
                             "\n\nДа - открыть файл\nНет - добавить кривые к загруженному файлу";
    runner->Push(platform::IDCANCEL);
    window->HandOverMessage(message);
    EXPECT_EQ(Messages(), QStringList{question});
    EXPECT_EQ(runner->Requests().back().flags, platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION);
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 2);

    runner->Clear();
    runner->Push(platform::IDNO);
    PushAddDialog();
    window->HandOverMessage(message);
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 3);

    runner->Clear();
    window->SetModified(false);
    runner->Push(platform::IDYES);
    PushCurveChoice();
    window->HandOverMessage(message);
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 2);
    EXPECT_EQ(runner->PendingAnswers(), 0);
}

}  // namespace
}  // namespace strativ::test
