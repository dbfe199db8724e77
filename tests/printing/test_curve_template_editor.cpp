// The curve template editor driven through its controls: columns and curves, the ruler, header
// drags, depth range and scale, page zoom, the page view, template files and the grid dialog.
#include "core/SettingsFile.h"
#include "platform/ColorComboBox.h"
#include "platform/NumberText.h"
#include "platform/RecordingCanvas.h"
#include "platform/RecordingDialogRunner.h"
#include "printing/FormCurveTemplate.h"
#include "printing/FormGridParams.h"
#include "printing/GridParams.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"
#include "ui_FormCurveTemplate.h"
#include "ui_FormGridParams.h"

#include <QImage>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using platform::DialogKind;

class CurveTemplateEditor : public ::testing::Test {
protected:
    strativ::test::TempDir dir;
    std::unique_ptr<platform::RecordingDialogRunner> runner;
    std::vector<float> depth, a, b, c;
    std::unique_ptr<TFormCurveTemplate> editor;

    void SetUp() override
    {
        setenv("STRATIV_HOME", dir.path().c_str(), 1);
        platform::SetDecimalSeparator(QChar('.'));
        GridLineValues() = TGridLineValues{};
        runner = std::make_unique<platform::RecordingDialogRunner>();
        // 1000..1100 m every 0.1 m.
        for (int i = 0; i <= 1000; ++i) {
            depth.push_back(1000.0f + i * 0.1f);
            a.push_back(static_cast<float>(50 + 40 * std::sin(i * 0.02)));
            b.push_back(static_cast<float>(i % 100));
            c.push_back(static_cast<float>(1 + i % 10));
        }
        editor = MakeEditor();
    }

    void TearDown() override
    {
        editor.reset();
        runner.reset();
        platform::SetDecimalSeparator(QChar());
        unsetenv("STRATIV_HOME");
    }

    std::unique_ptr<TFormCurveTemplate> MakeEditor()
    {
        auto e = std::make_unique<TFormCurveTemplate>();
        e->SetSource({a.data(), b.data(), c.data()}, {"A", "B", "C", "u1", "u2", "u3", "", "", ""}, depth.data(),
                     -999.25f, 0.1f, 1100.0f, 1000.0f, static_cast<int>(depth.size()));
        e->resize(1000, 760);
        return e;
    }

    Ui::TFormCurveTemplate& F() const { return editor->Form(); }

    void Show()
    {
        editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    }

    // Two columns: A alone, then B and C; widths 5.0 and 3.0 cm, spaces 0.1 cm.
    void TwoColumns()
    {
        for (const auto& [width, curves] : {std::pair{5.0, std::vector<int>{0}}, std::pair{3.0, std::vector<int>{1, 2}}}) {
            F().TBAddColumn->trigger();
            F().SpEdColWidth->setValue(width);
            F().ColumnSpace->setValue(0.1);
            for (int curve : curves) {
                F().ListBoxAllCurves->setCurrentRow(curve);
                QTest::mouseClick(F().ButtonAddCurve, Qt::LeftButton);
            }
        }
    }

    QStringList Messages() const
    {
        QStringList out;
        for (const auto& r : runner->Requests())
            if (r.kind == DialogKind::Message)
                out << r.text;
        return out;
    }
};

TEST_F(CurveTemplateEditor, ColumnsAndCurvesFollowTheButtonsWithTabsAndRulerTracks)
{
    Show();
    TwoColumns();
    ASSERT_EQ(editor->Model.Columns.size(), 2u);
    EXPECT_EQ(F().TabCtrlColumns->count(), 2);
    ASSERT_EQ(F().FormattingBar->GetTrackCount(), 2);
    EXPECT_NEAR(F().FormattingBar->GetTrack(0)->Position, 6.98, 1e-4);
    EXPECT_NEAR(F().FormattingBar->GetTrack(1)->Position, 10.06, 1e-4);
    ASSERT_EQ(editor->Model.Columns[1]->Curves.size(), 2u);
    EXPECT_EQ(editor->Model.Columns[1]->Curves[1]->Mnemonic, "C");
    EXPECT_EQ(F().ComboBoxCurrentCurve->currentText(), "C");

    // The current curve's controls write into it.
    F().SpEdcurveWidth->setValue(0.05);
    EXPECT_FLOAT_EQ(editor->Model.Columns[1]->Curves[1]->Width, 0.05f);
    F().CheckBoxShowComment->setChecked(true);
    EXPECT_TRUE(editor->Model.Columns[1]->Curves[1]->ShowComment);
    F().RadioGroupTitlesItem2->setChecked(true);
    EXPECT_EQ(editor->Model.Columns[1]->Curves[1]->BlikTitleType, 2);
    const float scale = editor->Model.Columns[1]->Curves[1]->ScaleValue;
    F().TBZoomIn->trigger();
    EXPECT_NEAR(editor->Model.Columns[1]->Curves[1]->ScaleValue, scale / 1.2, 1e-5);
    EXPECT_NEAR(F().SpEdCurrentCurveScale->value(), scale / 1.2, 1e-4);

    QTest::mouseClick(F().ButtonDeleteCurve, Qt::LeftButton);
    EXPECT_EQ(editor->Model.Columns[1]->Curves.size(), 1u);
    EXPECT_EQ(F().ComboBoxCurrentCurve->count(), 1);

    F().TabCtrlColumns->setCurrentIndex(0);
    EXPECT_DOUBLE_EQ(F().SpEdColWidth->value(), 5.0);
    F().TBDelColumn->trigger();
    ASSERT_EQ(editor->Model.Columns.size(), 1u);
    EXPECT_EQ(editor->Model.Columns[0]->Curves[0]->Mnemonic, "B");
    EXPECT_EQ(F().TabCtrlColumns->count(), 1);
    EXPECT_EQ(F().FormattingBar->GetTrackCount(), 1);
    EXPECT_NEAR(F().FormattingBar->GetTrack(0)->Position, 2.0 + 3.0 - 0.02, 1e-4);

    // A column index beyond the columns or a curve beyond the document refuses.
    int column = 1;
    EXPECT_EQ(editor->AddCurveToColumn(0, column), nullptr);
    column = 0;
    EXPECT_EQ(editor->AddCurveToColumn(3, column), nullptr);
    column = -1;
    EXPECT_NE(editor->AddCurveToColumn(0, column), nullptr);
    EXPECT_EQ(column, 1);
    editor->ClearColumns();
    EXPECT_EQ(F().FormattingBar->GetTrackCount(), 0);
    EXPECT_EQ(F().TabCtrlColumns->count(), 0);
}

TEST_F(CurveTemplateEditor, RulerDragAndHeaderDragChangeWidthAndLeftValue)
{
    Show();
    TwoColumns();
    const double px = editor->PixelsPerCm();
    TFormattingBar& bar = *F().FormattingBar;
    // Track 1 dragged to 4 cm right of column 0's edge: width = 4 - space of column 0.
    const int from = static_cast<int>(10.06 * px) + 2;
    const int to = static_cast<int>((6.98 + 4.0) * px);
    QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(from, 10));
    QTest::mouseMove(&bar, QPoint(to, 10));
    QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(to, 10));
    const float expected = static_cast<float>((to / px - 6.98) - 0.1);
    EXPECT_NEAR(editor->Model.Columns[1]->Width, expected, 1e-4);
    EXPECT_NEAR(bar.GetTrack(1)->Position, 6.98 + 0.1 + expected - 0.02, 1e-4);
    // Half a centimetre right of column 0's edge: 1.0.
    const int near = static_cast<int>((6.98 + 0.5) * px);
    QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(static_cast<int>(bar.GetTrack(1)->Position * px) + 2, 10));
    QTest::mouseMove(&bar, QPoint(near, 10));
    QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(near, 10));
    EXPECT_FLOAT_EQ(editor->Model.Columns[1]->Width, 1.0f);

    // The header of A: hand cursor over it, default beside it; dragged up one cm of the view.
    QWidget& view = *F().PaintBoxCurrentColumn;
    const double py = view.logicalDpiY() / 2.54;
    const QPoint header(static_cast<int>(3.0 * px), static_cast<int>(0.1 * py) + 3);
    QTest::mouseMove(&view, header + QPoint(1, 0));  // the first move into a widget only enters it
    QTest::mouseMove(&view, header);
    EXPECT_EQ(view.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&view, QPoint(static_cast<int>(1.0 * px), header.y()));  // the depth track
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    TCurveForPrinting& curveA = *editor->Model.Columns[0]->Curves[0];
    const float left = curveA.LeftValue;
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, header);
    EXPECT_EQ(view.cursor().shape(), Qt::SplitHCursor);
    EXPECT_EQ(F().TabCtrlColumns->currentIndex(), 0);
    QTest::mouseMove(&view, header - QPoint(0, static_cast<int>(std::lround(py))));
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, header - QPoint(0, static_cast<int>(std::lround(py))));
    EXPECT_NEAR(curveA.LeftValue, left + curveA.ScaleValue * std::lround(py) / py, 1e-3);
    EXPECT_NEAR(F().SpEdLeftValue->value(), curveA.LeftValue, 1e-3);
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(CurveTemplateEditor, DepthRangeScaleFormatZoomAndTheSelectedColumnFrame)
{
    Show();
    TwoColumns();
    TPrintingDept& dept = *editor->Model.Dept;
    F().EdLowDeptLimit->setValue(1050.0);
    EXPECT_FLOAT_EQ(dept.PrintBottom, 1050.0f);
    F().EdUpDeptLimit->setValue(1050.0);  // not below the lower limit: lower - 1
    EXPECT_DOUBLE_EQ(F().EdUpDeptLimit->value(), 1049.0);
    EXPECT_FLOAT_EQ(dept.PrintTop, 1049.0f);
    QTest::mouseClick(F().SButtonDefaultDept, Qt::LeftButton);
    EXPECT_FLOAT_EQ(dept.PrintTop, 1000.0f);
    EXPECT_FLOAT_EQ(dept.PrintBottom, 1100.0f);

    F().EdDeptScale->setValue(250);
    EXPECT_DOUBLE_EQ(dept.Scale, 2.5);
    QTest::mouseClick(F().EdDeptScale, Qt::RightButton);
    EXPECT_TRUE(F().ComboBoxDeptScale->isVisible());
    EXPECT_EQ(F().ComboBoxDeptScale->currentText(), "500");
    F().ComboBoxDeptScale->hidePopup();
    emit F().ComboBoxDeptScale->activated(2);
    EXPECT_EQ(F().EdDeptScale->value(), 50);
    EXPECT_FALSE(F().ComboBoxDeptScale->isVisible());
    EXPECT_EQ(TFormCurveTemplate::ScaleOfItem(-1), 10);
    EXPECT_EQ(TFormCurveTemplate::ScaleOfItem(12), 10000);
    EXPECT_EQ(editor->GetScaleDenominator(), 50);

    F().MMIScaleHMS->trigger();
    EXPECT_EQ(dept.ScaleFormat, 3);
    EXPECT_TRUE(F().MMIScaleHMS->isChecked());

    // Page zoom: the ruler follows; past the widest whole page the view is 42 cm.
    const double base = editor->PixelsPerCm();
    F().TBZoomPagein->trigger();
    EXPECT_NEAR(editor->PageSize().ViewWidth, 21.0 * 1.2, 1e-9);
    EXPECT_NEAR(editor->PixelsPerCm(), base * 1.2, 1e-6);
    EXPECT_FLOAT_EQ(F().FormattingBar->GetPixelsPerSm(), static_cast<float>(editor->PixelsPerCm()));
    for (int i = 0; i < 4; ++i)
        F().TBZoomPagein->trigger();
    EXPECT_DOUBLE_EQ(editor->PageSize().ViewWidth, 42.0);
    F().TBZoomPageFit->trigger();
    EXPECT_DOUBLE_EQ(editor->PageSize().ViewWidth, 21.0);
    editor->SetPrintWidth(19.0f, 70.0f);
    EXPECT_DOUBLE_EQ(editor->PageSize().ViewHeight, 59.4);
    EXPECT_FLOAT_EQ(editor->Model.Dept->PageHeight, 59.4f);

    // The selected column (1) is framed in yellow; page numbers beyond the count are clamped.
    QImage image(F().PaintBoxCurrentColumn->size(), QImage::Format_RGB32);
    ASSERT_TRUE(editor->DrawEditorPage(image));
    const double px = editor->PixelsPerCm();
    const int x = static_cast<int>(static_cast<int>(2.0 * px) + 5.1 * px);
    EXPECT_EQ(image.pixel(x, image.height() / 2), qRgb(255, 255, 0));
    EXPECT_EQ(image.pixel(x - 4, image.height() / 2) == qRgb(255, 255, 0), false);
    F().EditPageNumber->setMaximum(99);
    F().EditPageNumber->setValue(99);
    editor->DrawEditorPage(image);
    EXPECT_EQ(F().EditPageNumber->value(), editor->Model.GetPageCount());
}

TEST_F(CurveTemplateEditor, PrintedNumbersTakeThePlatformSeparator)
{
    TwoColumns();
    TCurveForPrinting& curve = *editor->Model.Columns[0]->Curves[0];
    curve.SetLeftValue(0.0f);
    curve.SetScaleValue(0.25f);
    for (const QChar separator : {QChar(','), QChar('.')}) {
        platform::SetDecimalSeparator(separator);
        platform::RecordingCanvas canvas(96, 96);
        ASSERT_TRUE(editor->DrawEditorPage(canvas, 800, 1100));
        // The scale numbers of A (0 to 1.25 by 0.5) with the separator asked for, never the other.
        int half = 0;
        for (const auto& op : canvas.OpsOf(platform::CanvasOpKind::Text)) {
            const QString text = QString::fromStdString(op.text);
            if (text.isEmpty() || !text[0].isDigit())
                continue;
            EXPECT_FALSE(text.contains(separator == ',' ? '.' : ',')) << op.text;
            half += text.startsWith(QStringLiteral("0") + separator + QStringLiteral("5"));
        }
        EXPECT_EQ(half, 1);
    }
}

TEST_F(CurveTemplateEditor, TemplateFilesSaveExactlyTheLayoutAndLoadItBack)
{
    TwoColumns();
    // A range of 2e10 is written as it is, and read back.
    editor->Model.Columns[0]->Curves[0]->SetLeftValue(2e10f);
    editor->Model.Columns[0]->Curves[0]->SetScaleValue(4e9f);
    const std::string path = dir.file("two.ctl");
    ASSERT_TRUE(editor->SaveTemplate(path));
    TRxIniFile saved(path);
    EXPECT_EQ(saved.ReadSections(),
              (std::vector<std::string>{"TemlateInfo", "Col0", "Col0Curve0", "Col1", "Col1Curve0", "Col1Curve1"}));
    EXPECT_EQ(saved.ReadInteger("TemlateInfo", "Version", 0), 1);
    EXPECT_EQ(saved.ReadInteger("TemlateInfo", "ColumnCount", 0), 2);
    EXPECT_EQ(saved.ReadString("Col1", "Col1Curve1", ""), "C");

    // An older, larger layout at the same path leaves no section behind.
    editor->Model.Columns.pop_back();
    ASSERT_TRUE(editor->SaveTemplate(path));
    EXPECT_EQ(TRxIniFile(path).ReadSections(), (std::vector<std::string>{"TemlateInfo", "Col0", "Col0Curve0"}));
    TwoColumns();
    editor->Model.Columns.erase(editor->Model.Columns.begin());
    ASSERT_TRUE(editor->SaveTemplate(path));

    auto other = MakeEditor();
    ASSERT_TRUE(other->LoadTemplate(path));
    ASSERT_EQ(other->Model.Columns.size(), 2u);
    EXPECT_EQ(other->Form().TabCtrlColumns->count(), 2);
    for (size_t col = 0; col < 2; ++col) {
        const TPrintingColumn& x = *editor->Model.Columns[col];
        const TPrintingColumn& y = *other->Model.Columns[col];
        EXPECT_FLOAT_EQ(x.Width, y.Width);
        EXPECT_FLOAT_EQ(x.ColumnSpace, y.ColumnSpace);
        ASSERT_EQ(x.Curves.size(), y.Curves.size());
        for (size_t j = 0; j < x.Curves.size(); ++j) {
            EXPECT_EQ(x.Curves[j]->Mnemonic, y.Curves[j]->Mnemonic);
            EXPECT_FLOAT_EQ(x.Curves[j]->ScaleValue, y.Curves[j]->ScaleValue);
            EXPECT_FLOAT_EQ(x.Curves[j]->LeftValue, y.Curves[j]->LeftValue);
            EXPECT_EQ(x.Curves[j]->Color, y.Curves[j]->Color);
        }
    }

    // Another version, a number that cannot be drawn and a missing file change nothing and
    // say why; an old narrow column is read 1 cm wide.
    const std::string v2 = dir.file("v2.ctl");
    strativ::test::WriteFileBytes(v2, "[TemlateInfo]\nVersion=2\nColumnCount=1\n[Col0]\nWidth=4\n");
    EXPECT_FALSE(other->LoadTemplate(v2));
    const std::string wide = dir.file("wide.ctl");
    strativ::test::WriteFileBytes(wide, "[TemlateInfo]\nVersion=1\nColumnCount=1\n[Col0]\nWidth=1e30\n");
    EXPECT_FALSE(other->LoadTemplate(wide));
    EXPECT_EQ(other->Model.Columns.size(), 2u);
    EXPECT_EQ(other->Form().TabCtrlColumns->count(), 2);
    const std::string missing = dir.file("missing.ctl");
    EXPECT_FALSE(editor->LoadTemplate(missing));
    EXPECT_EQ(editor->Model.Columns.size(), 2u);
    EXPECT_EQ(Messages(), (QStringList{"Версия шаблона не поддерживается",
                                       "Шаблон не загружен: недопустимое значение ключа Width в разделе [Col0]",
                                       QString::fromStdString("Файл не найден: " + missing)}));
    const std::string narrow = dir.file("narrow.ctl");
    strativ::test::WriteFileBytes(narrow, "[TemlateInfo]\nVersion=1\nColumnCount=1\n[Col0]\nWidth=0.5\n");
    ASSERT_TRUE(other->LoadTemplate(narrow));
    ASSERT_EQ(other->Model.Columns.size(), 1u);
    EXPECT_FLOAT_EQ(other->Model.Columns[0]->Width, 1.0f);
}

TEST_F(CurveTemplateEditor, CommandsNeedSettingsAndFailedSavesChangeNothing)
{
    TwoColumns();
    // Without a settings object the commands that need one do nothing.
    editor->TBSelectTemplClick();
    editor->TBSaveTemplateClick();
    editor->N2Click();
    editor->GridSettingsClick();
    EXPECT_TRUE(runner->Requests().empty());

    TRxIniFile settings(dir.file("strativ.ini"));
    editor->SetSettings(&settings);
    const std::string good = dir.file("good.ctl");
    runner->PushFiles({QString::fromStdString(good)});
    editor->TBSaveTemplateClick();
    EXPECT_TRUE(std::filesystem::exists(good));
    EXPECT_EQ(runner->Last().file.title, "Сохранение шаблона");
    EXPECT_EQ(runner->Last().file.filter, "Файлы шаблонов вывода кривых (*.ctl)");
    EXPECT_EQ(runner->Last().file.defaultSuffix, "ctl");
    EXPECT_EQ(settings.ReadString("LastCurveTemplate", "TemplName", ""), good);
    EXPECT_EQ(settings.ReadString("Templates", "CurveTemplate", ""), good);

    // A save that cannot be written is reported and the remembered paths stay.
    const std::string blocked = dir.file("no/such/folder/t.ctl");
    runner->PushFiles({QString::fromStdString(blocked)});
    editor->N2Click();
    EXPECT_EQ(runner->Last().text, QString::fromStdString("Не удалось сохранить шаблон\n" + blocked));
    EXPECT_EQ(runner->Last().title, "Ошибка");
    EXPECT_EQ(settings.ReadString("Templates", "CurveTemplate", ""), good);
    EXPECT_FALSE(std::filesystem::exists(blocked));

    // Cancelling "Выбрать..." keeps the columns but forgets the paths.
    runner->PushCancel();
    editor->TBSelectTemplClick();
    EXPECT_EQ(editor->Model.Columns.size(), 2u);
    EXPECT_EQ(settings.ReadString("LastCurveTemplate", "TemplName", "x"), "");
    EXPECT_EQ(runner->Last().file.title, "Выбор шаблона вывода кривых");
}

TEST_F(CurveTemplateEditor, ClosingKeepsTheDefaultTemplateWhichTheNextShowLoads)
{
    TRxIniFile settings(dir.file("strativ.ini"));
    editor->SetSettings(&settings);
    int closed = 0;
    editor->OnClosed = [&closed] { ++closed; };
    Show();
    TwoColumns();
    editor->reject();
    EXPECT_EQ(closed, 1);
    const std::string defaultPath = dir.path() + "/DefaultTempl.ctl";
    EXPECT_TRUE(std::filesystem::exists(defaultPath));
    EXPECT_EQ(settings.ReadString("LastCurveTemplate", "DefaultTempl", ""), defaultPath);

    // Bound anew (no layout put in by the main window): the show loads the default template.
    editor->SetSource({a.data(), b.data(), c.data()}, {"A", "B", "C", "", "", "", "", "", ""}, depth.data(), -999.25f,
                      0.1f, 1100.0f, 1000.0f, static_cast<int>(depth.size()));
    EXPECT_TRUE(editor->Model.Columns.empty());
    Show();
    EXPECT_EQ(editor->Model.Columns.size(), 2u);
    EXPECT_FALSE(F().TBLoadLastTemplate->isEnabled());
    editor->reject();

    // A layout the main window put in stays.
    editor->ClearColumns();
    editor->AddColumn();
    editor->Bound = 1;
    Show();
    EXPECT_EQ(editor->Model.Columns.size(), 1u);
    EXPECT_EQ(editor->Bound, 0);
    EXPECT_TRUE(F().TBLoadLastTemplate->isEnabled());
}

TEST_F(CurveTemplateEditor, GridDialogShowsAndWritesTheSevenValues)
{
    TRxIniFile settings(dir.file("strativ.ini"));
    TFormGridParams& dialog = *editor->FormGridParams;
    runner->PushDialog([](QDialog& d) {
        Ui::TFormGridParams& f = static_cast<TFormGridParams&>(d).Form();
        EXPECT_DOUBLE_EQ(f.EditDashLW->value(), 0.2);
        EXPECT_DOUBLE_EQ(f.EditDashLen->value(), 0.5);
        EXPECT_EQ(f.ColorComboBoxDashed->Color(), 0xC0C0C0u);
        EXPECT_DOUBLE_EQ(f.EditSpaceLen->value(), 0.5);
        EXPECT_DOUBLE_EQ(f.EditSolidWidth->value(), 0.1);
        EXPECT_EQ(f.ColorComboBoxSolid->Color(), 0u);
        EXPECT_DOUBLE_EQ(f.SpEdColumnSpace->value(), 0.1);
        f.EditDashLen->setValue(5.0);
        f.ColorComboBoxSolid->SetColor(0x0000FF);
        QTest::mouseClick(f.OKBtn, Qt::LeftButton);
        return d.result();
    });
    ASSERT_TRUE(dialog.Execute(settings, "CurvePrnSec"));
    EXPECT_EQ(settings.ReadSection("CurvePrnSec"),
              (std::vector<std::string>{"Dashed_LineWidth", "Dash_Len", "Dash_Color", "Space_Len", "Solid_Width",
                                        "Solid_Color", "DefaultColumnSpace"}));
    EXPECT_EQ(settings.ReadString("CurvePrnSec", "Dash_Len", ""), "5");
    EXPECT_EQ(settings.ReadInteger("CurvePrnSec", "Solid_Color", 0), 0xFF);

    TRxIniFile untouched(dir.file("other.ini"));
    runner->PushCancel();
    EXPECT_FALSE(dialog.Execute(untouched, "CurvePrnSec"));
    EXPECT_TRUE(untouched.ReadSections().empty());
}

}  // namespace
