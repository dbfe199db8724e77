// The main window's view: depth scales, scrolling, the curve list, the drawing tools and undo.
#include "AppTestSupport.h"

#include "app/DepthOverview.h"
#include "app/NumberInput.h"
#include "core/Lasfile.h"
#include "core/MathExpression.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QDoubleSpinBox>
#include <QScrollBar>
#include <filesystem>

namespace strativ::test {
namespace {

class MainViewTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Open(WriteTestLas(dir.file("view.las"), 2, 401)));  // 100 .. 300 m
    }

    TPanelWithCurves& Panel() const { return *window->PanelCurves; }

    // Pixel of curve `c` (0-based) at depth index `i`.
    QPoint PointOf(int c, int i) const
    {
        const PanelCoordinates coordinates = Panel().Coordinates();
        const TCurve* curve = Panel().GetCurve(c);
        return QPoint(int(std::lround(curve->ColumnOf(curve->Values()[i], coordinates))),
                      coordinates.RowOf(coordinates.depths[i]));
    }
};

TEST_F(MainViewTest, DepthScaleItemsAndAnotherScale)
{
    Ui::TFormMain& f = window->Form();
    EXPECT_EQ(window->DepthScale, 200);
    EXPECT_TRUE(f.MIScale200->isChecked());
    const double span200 = Panel().GetLastVisibleDepth() - Panel().GetFirstVisibleDepth();
    f.MIScale1000->trigger();
    EXPECT_EQ(window->DepthScale, 1000);
    EXPECT_EQ(Panel().YAxisInfo.ScaleFactorValue(), 1000);
    EXPECT_NEAR(Panel().GetLastVisibleDepth() - Panel().GetFirstVisibleDepth(), span200 * 5, span200 * 0.05);

    // "Другой..." asks a whole number 1..100000 in the number box and shows it in its caption.
    runner->PushDialog([](QDialog& dialog) {
        auto& box = static_cast<TNumberInputBox&>(dialog);
        EXPECT_EQ(box.Decimals(), 0);
        EXPECT_EQ(box.MinValue(), 1);
        EXPECT_EQ(box.MaxValue(), 100000);
        EXPECT_EQ(box.SpinEdit()->value(), 1000);
        box.SpinEdit()->setValue(350);
        return int(QDialog::Accepted);
    });
    f.MIAnotherScale->trigger();
    EXPECT_EQ(window->DepthScale, 350);
    EXPECT_EQ(f.MIAnotherScale->text(), "Другой...(350)");
    EXPECT_TRUE(f.MIAnotherScale->isChecked());

    // Cancel keeps the scale and its tick.
    runner->PushCancel();
    f.MIAnotherScale->trigger();
    EXPECT_EQ(window->DepthScale, 350);
    EXPECT_TRUE(f.MIAnotherScale->isChecked());
    f.MIScale100->trigger();
    EXPECT_EQ(f.MIAnotherScale->text(), "Другой...");
}

TEST_F(MainViewTest, ScrollBarWheelAndKeysMoveTheVisibleDepths)
{
    QScrollBar& bar = *window->ScrollBarDepths;
    const double top = window->LasFile()->GetTopDepth();
    EXPECT_NEAR(Panel().GetFirstVisibleDepth(), top, 0.5);
    EXPECT_EQ(bar.value(), 0);

    bar.setValue(100);
    EXPECT_GE(Panel().GetLastVisibleDepth(), 299.0);
    bar.setValue(50);
    EXPECT_NEAR((Panel().GetFirstVisibleDepth() + Panel().GetLastVisibleDepth()) / 2, 200.0, 1.0);
    EXPECT_EQ(bar.value(), 50);
    QTest::keyClick(window.get(), Qt::Key_Home);
    EXPECT_EQ(bar.value(), 0);
    EXPECT_NEAR(Panel().GetFirstVisibleDepth(), top, 0.5);

    // One wheel notch down scrolls a twentieth of the drawing area; the bar follows.
    const int offset = Panel().YAxisInfo.Offset();
    QWheelEvent wheel(QPointF(300, 300), QPointF(300, 300), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&Panel(), &wheel);
    EXPECT_EQ(Panel().YAxisInfo.Offset(), offset + Panel().DrawingArea().height() / 20);
    EXPECT_EQ(bar.value(), int(std::lround(100.0 * Panel().YAxisInfo.Offset() / Panel().YAxisInfo.MaxOffset())));
    QTest::keyClick(window.get(), Qt::Key_PageDown);
    EXPECT_EQ(Panel().YAxisInfo.Offset(), offset + 2 * (Panel().DrawingArea().height() / 20));
    QTest::keyClick(window.get(), Qt::Key_End);
    EXPECT_EQ(bar.value(), 100);

    // A press on the depth overview brings that depth to the middle of the panel.
    TDepthOverview& overview = *window->PBoxAllDepth;
    EXPECT_EQ(overview.First(), 100.0);
    EXPECT_EQ(overview.Last(), 300.0);
    QTest::mouseClick(&overview, Qt::LeftButton, Qt::NoModifier, QPoint(10, overview.DepthToRow(250.0)));
    EXPECT_NEAR((Panel().GetFirstVisibleDepth() + Panel().GetLastVisibleDepth()) / 2, 250.0, 1.0);
    EXPECT_NEAR(overview.RowToDepth(overview.DepthToRow(250.0)), 250.0, (300.0 - 100.0) / overview.height());
}

TEST_F(MainViewTest, CurveListTicksAreTheSelectedFlags)
{
    QListWidget& list = *window->ListCurveNames;
    ASSERT_EQ(list.count(), 2);
    list.item(1)->setCheckState(Qt::Checked);
    EXPECT_TRUE(Panel().GetCurve(1)->IsSelected());
    EXPECT_EQ(window->GetSelectedCurveCount(), 1);
    EXPECT_EQ(window->GetSelectedCurveIndex(0), 1);
    EXPECT_EQ(window->GetSelectedCurveIndex(1), -1);
    window->UnselectCurve(2);
    EXPECT_EQ(list.item(1)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(Panel().GetCurve(1)->IsSelected());

    // Captions follow the menu item; the refilled list keeps the selected flags as ticks.
    Panel().GetCurve(0)->SetSelected(true);
    window->Form().MIShowCurveCaptions->trigger();
    EXPECT_EQ(Panel().GetCurve(0)->Caption(), "");
    EXPECT_EQ(list.item(0)->checkState(), Qt::Checked);
    window->Form().MIShowCurveCaptions->trigger();
    EXPECT_EQ(Panel().GetCurve(1)->Caption(), "C2");
}

TEST_F(MainViewTest, CtrlClickOnACurveTogglesItsTick)
{
    const QPoint at = PointOf(1, 20);
    QTest::mouseMove(&Panel(), at);
    QTest::mouseClick(&Panel(), Qt::LeftButton, Qt::ControlModifier, at);
    EXPECT_TRUE(Panel().GetCurve(1)->IsSelected());
    EXPECT_EQ(window->ListCurveNames->item(1)->checkState(), Qt::Checked);
    QTest::mouseClick(&Panel(), Qt::LeftButton, Qt::ControlModifier, at);
    EXPECT_EQ(window->ListCurveNames->item(1)->checkState(), Qt::Unchecked);
}

TEST_F(MainViewTest, DoubleClickOpensTheCurveScaleAndOffsetPanel)
{
    Ui::TFormMain& f = window->Form();
    EXPECT_FALSE(f.PanelCurveCoords->isVisible());
    const QPoint at = PointOf(0, 20);
    QTest::mouseMove(&Panel(), at);
    QTest::mouseDClick(&Panel(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(f.PanelCurveCoords->isVisible());
    EXPECT_EQ(f.LabelCurveCoords->text(), "C1");
    TCurve* curve = Panel().GetCurve(0);
    const double pixelsPerCm = Panel().YAxisInfo.PixelsPerCm();
    EXPECT_NEAR(f.SpinCoordsScale->value(), pixelsPerCm / curve->PixelsPerUnit(), 0.001);

    // Applied live: 1:2 = two value units per centimetre of screen.
    f.SpinCoordsScale->setValue(2.0);
    EXPECT_NEAR(curve->PixelsPerUnit(), pixelsPerCm / 2.0, 1e-6);
    f.SpinCoordsOffset->setValue(-40);
    EXPECT_EQ(curve->XOffset(), -40);
    EXPECT_EQ(Panel().GetCurve(1)->XOffset(), -100);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(f.PanelCurveCoords->isVisible());
    f.SpinCoordsOffset->setValue(10);
    EXPECT_EQ(curve->XOffset(), -40);
}

TEST_F(MainViewTest, PencilDrawsIntoTheDocumentAndUndoRestoresIt)
{
    const std::vector<float> original(window->LasFile()->GetCurveData(1), window->LasFile()->GetCurveData(1) + 401);
    Ui::TFormMain& f = window->Form();
    EXPECT_FALSE(f.TBUndo->isEnabled());
    EXPECT_EQ(f.MIUndo->text(), "Отмена изменений - нет доступных");
    f.TBPencil->trigger();
    EXPECT_FALSE(Panel().CrossMouse);

    const QPoint start = PointOf(0, 5);
    const QPoint end = PointOf(0, 9) + QPoint(25, 0);
    QTest::mouseMove(&Panel(), start);
    QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&Panel(), end);
    QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, end);

    const float* values = window->LasFile()->GetCurveData(1);
    const TCurve* curve = Panel().GetCurve(0);
    EXPECT_NEAR(values[9], curve->ValueAt(end.x(), Panel().Coordinates()), 0.2);
    EXPECT_NE(values[9], original[9]);
    EXPECT_EQ(values[20], original[20]);
    EXPECT_TRUE(window->IsModified());
    EXPECT_TRUE(f.TBUndo->isEnabled());
    EXPECT_EQ(f.MIUndo->text(), "Отменить 'Карандаш'");

    f.TBUndo->trigger();
    const float* restored = window->LasFile()->GetCurveData(1);
    EXPECT_TRUE(std::equal(original.begin(), original.end(), restored));
    EXPECT_EQ(Panel().GetCurve(0)->Values(), restored);  // the view follows the swapped arrays
    EXPECT_EQ(f.MIRedo->text(), "Повторить 'Карандаш'");
    EXPECT_TRUE(window->IsModified());
}

TEST_F(MainViewTest, LineToolDrawsAStraightLineAndEscRestores)
{
    const std::vector<float> original(window->LasFile()->GetCurveData(2), window->LasFile()->GetCurveData(2) + 401);
    window->Form().TBPencilLine->trigger();
    const QPoint start = PointOf(1, 4);
    const QPoint end = PointOf(1, 12) + QPoint(40, 0);
    QTest::mouseMove(&Panel(), start);
    QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&Panel(), PointOf(1, 8) - QPoint(30, 0));  // a first position, replaced by the next
    QTest::mouseMove(&Panel(), end);
    const float* values = window->LasFile()->GetCurveData(2);
    const TCurve* curve = Panel().GetCurve(1);
    const PanelCoordinates coordinates = Panel().Coordinates();
    // Halfway between the ends in depth lies halfway in value.
    const double middle = (curve->ValueAt(start.x(), coordinates) + curve->ValueAt(end.x(), coordinates)) / 2;
    EXPECT_NEAR(values[8], middle, 0.3);
    EXPECT_EQ(values[13], original[13]);
    EXPECT_EQ(window->Form().MIUndo->text(), "Отменить 'Линия'");

    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(std::equal(original.begin(), original.end(), window->LasFile()->GetCurveData(2)));
    EXPECT_FALSE(window->Form().TBPencilLine->isChecked());
    QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, end);
    EXPECT_FALSE(window->IsModified());
}

TEST_F(MainViewTest, TrackWidthButtonsKeepTheValueUnderTheMouse)
{
    struct Case {
        QAction* button;
        double factor;
    };
    for (const Case& c : {Case{window->Form().TBZoomIn, 1.2}, Case{window->Form().TBZoomOut, 1 / 1.2}}) {
        c.button->trigger();
        const TCurve* curve = Panel().GetCurve(0);
        const double ppu = curve->PixelsPerUnit();
        const QPoint at = PointOf(0, 30);
        const double value = curve->ValueAt(at.x(), Panel().Coordinates());
        QTest::mouseMove(&Panel(), at);
        QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::qWait(300);  // one more step of the 200 ms repeat
        QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, at);
        const double steps = std::log(curve->PixelsPerUnit() / ppu) / std::log(c.factor);
        EXPECT_GE(std::lround(steps), 2);
        EXPECT_NEAR(steps, std::lround(steps), 1e-6);
        EXPECT_NEAR(curve->ValueAt(at.x(), Panel().Coordinates()), value, 1.0 / curve->PixelsPerUnit());
        EXPECT_FALSE(window->IsModified());
    }
}

TEST_F(MainViewTest, ScriptConstantsAreAskedInTheNumberBox)
{
    TMathExpression script;
    script.GetParser().AddConstant("a", 1.5, "коэффициент");
    script.GetParser().AddConstant("b", 2.0, "сдвиг");
    runner->PushDialog([](QDialog& dialog) {
        auto& box = static_cast<TNumberInputBox&>(dialog);
        EXPECT_EQ(box.windowTitle(), "Ввод значения константы");
        EXPECT_EQ(box.Decimals(), 4);
        EXPECT_EQ(box.SpinEdit()->value(), 1.5);
        box.SpinEdit()->setValue(7.25);
        return int(QDialog::Accepted);
    });
    runner->PushCancel();
    EXPECT_FALSE(script.AskUserConstValues());
    EXPECT_EQ(script.GetParser().GetConstant(0).Value, 7.25);
    EXPECT_EQ(script.GetParser().GetConstant(1).Value, 2.0);
}

TEST_F(MainViewTest, ScreenshotOfTheMainWindowWithARealFile)
{
    const std::string path = CorpusDir() + "/autodepthindex_M.las";
    ASSERT_TRUE(Open(path));
    window->Form().MIScale500->trigger();
    window->ListCurveNames->item(0)->setCheckState(Qt::Checked);
    QApplication::processEvents();
    std::filesystem::create_directories(OutputDir());
    const QImage image = window->grab().toImage();
    ASSERT_TRUE(image.save(QString::fromStdString(OutputDir() + "/main_window.png")));
    EXPECT_EQ(window->ListCurveNames->count(), window->LasFile()->GetCurvesCount() - 1);
}

}  // namespace
}  // namespace strativ::test
