// The main window's print template: filled from the view's selected curves, cleared, unbound
// whenever the view or the document's arrays change, and the print-title values it feeds.
#include "AppTestSupport.h"

#include "platform/RecordingCanvas.h"
#include "printing/FormCurveTemplate.h"
#include "printing/TemplateVariables.h"
#include "tests/common/FileBytes.h"
#include "ui_MainUnit.h"

namespace strativ::test {
namespace {

class MainTemplateTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Open(WriteTestLas(dir.file("first.las"), 3, 401)));
    }

    TFormCurveTemplate& Editor() const { return *window->FormCurveTemplate; }
    const float* Array(int curve) const { return window->LasFile()->GetCurveData(curve); }

    void SelectAndAdd()
    {
        window->PanelCurves->GetCurve(0)->SetSelected(true);
        window->PanelCurves->GetCurve(2)->SetSelected(true);
        window->AddSelectedCurvesToTemplate(true);
    }

    // The template holds nothing of the document: no arrays, no depth track, no columns.
    void ExpectReleased() const
    {
        EXPECT_EQ(Editor().Bound, 0);
        EXPECT_TRUE(Editor().Model.CurveArrays.empty());
        EXPECT_EQ(Editor().Model.DepthArray, nullptr);
        EXPECT_EQ(Editor().Model.Dept, nullptr);
        EXPECT_TRUE(Editor().Model.Columns.empty());
    }
};

TEST_F(MainTemplateTest, SelectedCurvesMakeOneColumnWithTheViewsLook)
{
    window->PanelCurves->GetCurve(2)->SetLineWidth(3);
    SelectAndAdd();
    EXPECT_EQ(Editor().Bound, 1);
    ASSERT_EQ(Editor().Model.Columns.size(), 1u);
    const auto& curves = Editor().Model.Columns[0]->Curves;
    ASSERT_EQ(curves.size(), 2u);
    for (size_t j = 0; j < 2; ++j) {
        const TCurve& view = *window->PanelCurves->GetCurve(curves[j]->Mnemonic == "C1" ? 0 : 2);
        EXPECT_EQ(static_cast<std::uint32_t>(curves[j]->Color), view.Color());
        EXPECT_FLOAT_EQ(curves[j]->Width, view.LineWidth() * 0.02f);
        EXPECT_NEAR(curves[j]->ScaleValue, window->PanelCurves->logicalDpiX() / 2.54 / view.PixelsPerUnit(), 1e-4);
    }
    // The leftmost track (C3 lies 200 pixels left of C1) comes first.
    EXPECT_EQ(curves[0]->Mnemonic, "C3");
    EXPECT_EQ(curves[0]->Samples, Array(3));

    window->Form().MMIClearTemplate->trigger();
    EXPECT_TRUE(Editor().Model.Columns.empty());
    EXPECT_EQ(Editor().Bound, 0);

    runner->Clear();
    window->PanelCurves->GetCurve(0)->SetSelected(false);
    window->PanelCurves->GetCurve(2)->SetSelected(false);
    window->AddSelectedCurvesToTemplate(false);
    EXPECT_EQ(Messages(), QStringList{"Ошибка|Не выбрано ни одной кривой"});
}

TEST_F(MainTemplateTest, UndoAndOpeningLetTheTemplateGoOfTheArrays)
{
    SelectAndAdd();
    const std::vector<float> original(Array(1), Array(1) + 401);
    window->Snapshot("'Карандаш'");
    window->LasFile()->GetCurveData(1)[5] = 555.0f;
    window->DocumentChanged();
    window->Form().TBUndo->trigger();
    ExpectReleased();

    // Bound again, the page shows the undone values.
    window->BindCurveTemplate();
    int column = -1;
    ASSERT_NE(Editor().AddCurveToColumn(0, column), nullptr);
    EXPECT_EQ(Editor().Model.CurveArrays[0], Array(1));
    EXPECT_TRUE(std::equal(original.begin(), original.end(), Editor().Model.Columns[0]->Curves[0]->Samples));
    platform::RecordingCanvas canvas;
    EXPECT_TRUE(Editor().DrawEditorPage(canvas, 800, 1100));

    // Opening another file unbinds and lets go before the old document is freed.
    SelectAndAdd();
    ASSERT_TRUE(Open(WriteTestLas(dir.file("second.las"), 2, 50)));
    ExpectReleased();
    // A curve added to the view only unbinds.
    window->BindCurveTemplate();
    Editor().Bound = 1;
    window->ShowNewCurve(1, 0xFF);
    EXPECT_EQ(Editor().Bound, 0);
}

// "Выбрать" on the open LAS file is refused and forgets it: "Сохранить" asks for a name, and a name
// that is the open document, or another LAS file, is named in a question; answered No, the file
// keeps its bytes.
TEST_F(MainTemplateTest, ATemplateIsNeverSavedOverTheLasFileItFailedToLoad)
{
    SelectAndAdd();
    const QString open = QString::fromStdString(dir.file("first.las"));
    const QString other = QString::fromStdString(WriteTestLas(dir.file("other.las"), 1, 3));
    const std::string openBytes = ReadFileBytes(open.toStdString());
    const std::string otherBytes = ReadFileBytes(other.toStdString());
    runner->Clear();
    runner->PushFiles({open});
    Editor().TBSelectTemplClick();
    EXPECT_EQ(Messages(), QStringList{"Strativ|Версия шаблона не поддерживается"});
    EXPECT_EQ(Editor().Model.Columns.size(), 1u);

    for (const QString& target : {open, other}) {
        runner->Clear();
        runner->PushFiles({target});
        Editor().TBSaveTemplateClick();
        ASSERT_EQ(runner->Requests().size(), 2u);
        EXPECT_EQ(runner->Requests()[0].kind, platform::DialogKind::File);
        EXPECT_EQ(Messages(), QStringList{"Сохранение шаблона|Файл\n" + target + "\n- " +
                                          (target == open ? "открытый документ" : "LAS файл") +
                                          ". Записать поверх него?"});
    }
    EXPECT_EQ(ReadFileBytes(open.toStdString()), openBytes);
    EXPECT_EQ(ReadFileBytes(other.toStdString()), otherBytes);
    EXPECT_FALSE(window->IsModified());
}

TEST_F(MainTemplateTest, ClosingTheEditorFeedsThePrintTitleValues)
{
    ClearPrintValueSources();
    EXPECT_EQ(GetTemplateVariableValue("interval"), "");
    window->BindCurveTemplate();
    Editor().Model.Dept->SetScale(5.0);
    Editor().Model.Dept->SetPrintTop(120.0f);
    Editor().reject();
    EXPECT_EQ(GetTemplateVariableValue("interval"), "120.00 - 300.00");
    EXPECT_EQ(GetTemplateVariableValue("prnscale"), "1:500");
    EXPECT_EQ(GetTemplateVariableValue("progver"), "0.1");
    ClearPrintValueSources();
}

// A picture of the editor bound to a real file with two columns, for a person to look at.
TEST_F(MainTemplateTest, ScreenshotOfTheEditorOnARealFile)
{
    const std::string las = CorpusDir() + "/1.2/sample.las";
    if (!std::filesystem::exists(las))
        GTEST_SKIP() << "the corpus is not beside the repository";
    ASSERT_TRUE(Open(las));
    window->BindCurveTemplate();
    int column = -1;
    Editor().AddCurveToColumn(0, column);
    column = -1;
    Editor().AddCurveToColumn(1, column);
    Editor().resize(1000, 760);
    Editor().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Editor()));
    std::filesystem::create_directories(OutputDir());
    const QString path = QString::fromStdString(OutputDir() + "/curve_template_editor.png");
    ASSERT_TRUE(Editor().grab().save(path));
    EXPECT_EQ(Editor().Model.Columns.size(), 2u);
    Editor().reject();
}

}  // namespace
}  // namespace strativ::test
