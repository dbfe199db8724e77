// The main window's view: depth scales, scrolling, the curve list, the drawing tools and undo.
#include "AppTestSupport.h"

#include "app/DepthOverview.h"
#include "core/Lasfile.h"
#include "core/MathExpression.h"
#include "tests/common/FileBytes.h"
#include "ui_MainUnit.h"
#include "view/NumberInput.h"
#include "view/PanelWithCurves.h"

#include <QDoubleSpinBox>
#include <QScrollBar>
#include <QToolTip>
#include <tuple>

namespace strativ::test {
namespace {

class MainViewTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Open(WriteTestLas(dir.file("view.las"), 2, 401)));  // 100 .. 300 m
    }
};

TEST_F(MainViewTest, DepthScalesAndTheNumberBox)
{
    Ui::TFormMain& f = window->Form();
    EXPECT_TRUE(f.MIScale200->isChecked());
    const double span200 = Panel().GetLastVisibleDepth() - Panel().GetFirstVisibleDepth();
    f.MIScale1000->trigger();
    EXPECT_EQ(window->DepthScale, 1000);
    EXPECT_NEAR(Panel().GetLastVisibleDepth() - Panel().GetFirstVisibleDepth(), span200 * 5, span200 * 0.05);

    // "Другой..." asks a whole number 1..100000 and shows it in its caption; Cancel keeps it.
    runner->PushDialog([](QDialog& dialog) {
        auto& box = static_cast<TNumberInputBox&>(dialog);
        EXPECT_EQ(std::tuple(box.Decimals(), box.MinValue(), box.MaxValue()), std::tuple(0, 1.0, 100000.0));
        EXPECT_EQ(box.SpinEdit()->value(), 1000);
        box.SpinEdit()->setValue(350);
        return int(QDialog::Accepted);
    });
    runner->PushCancel();
    for (int i = 0; i < 2; ++i) {
        f.MIAnotherScale->trigger();
        EXPECT_EQ(window->DepthScale, 350);
        EXPECT_EQ(f.MIAnotherScale->text(), "Другой...(350)");
        EXPECT_TRUE(f.MIAnotherScale->isChecked());
    }
    f.MIScale100->trigger();
    EXPECT_EQ(f.MIAnotherScale->text(), "Другой...");

    // "5,5" typed key by key: the field says it takes whole numbers and Enter rounds to 6, never 55.
    runner->PushDialog([](QDialog& dialog) {
        QDoubleSpinBox* spin = static_cast<TNumberInputBox&>(dialog).SpinEdit();
        spin->selectAll();
        QTest::keyClicks(spin, "5,5");
        EXPECT_EQ(spin->text(), "5,5");
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), "Здесь вводится целое число: дробная часть будет округлена");
        QTest::keyClick(spin, Qt::Key_Return);
        EXPECT_EQ(spin->text(), "6");
        return int(QDialog::Accepted);
    });
    f.MIAnotherScale->trigger();
    EXPECT_EQ(window->DepthScale, 6);
    EXPECT_EQ(f.MIAnotherScale->text(), "Другой...(6)");

    // The same box asks the constants of a calculation script.
    TMathExpression script;
    script.GetParser().AddConstant("a", 1.5, "коэффициент");
    runner->PushDialog([](QDialog& dialog) {
        static_cast<TNumberInputBox&>(dialog).SpinEdit()->setValue(7.25);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(script.AskUserConstValues());
    EXPECT_EQ(script.GetParser().GetConstant(0).Value, 7.25);
}

TEST_F(MainViewTest, DepthScaleIsTheRatioOnScreenInTheFilesDepthUnit)
{
    STRATIV_REQUIRE_CORPUS();
    for (const char* unit : {"CM", ".1IN"}) {
        std::string las = ReadFileBytes(dir.file("view.las"));
        for (size_t at; (at = las.find(".M  ")) != std::string::npos;)
            las.replace(at, 4, std::string(".") + unit + " ");
        WriteFileBytes(dir.file(unit + std::string(".las")), las);
    }
    const struct {
        std::string path;
        int scale;
        double unitsPerCm;  // depth units one screen centimetre shows
    } rows[] = {
        {dir.file("view.las"), 200, 2.0},
        {CorpusDir() + "/autodepthindex_F.las", 200, 200 / 30.48},
        {CorpusDir() + "/multi_channel.las", 10, 10 / 30.48},  // feet, upward
        {dir.file("CM.las"), 200, 200.0},
        {dir.file(".1IN.las"), 200, 200 / 0.254},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        ASSERT_TRUE(Open(row.path));
        window->SetDepthScale(row.scale);
        const double pixelsPerCm = Panel().YAxisInfo.PixelsPerCm();
        const int top = Panel().DrawingArea().top();
        const double shown = Panel().GetDepthValue(top + 200) - Panel().GetDepthValue(top);
        EXPECT_NEAR(shown * pixelsPerCm / 200, row.unitsPerCm, row.unitsPerCm * 1e-3);
    }
}

TEST_F(MainViewTest, ScrollBarWheelAndKeysMoveTheVisibleDepths)
{
    QScrollBar& bar = *window->ScrollBarDepths;
    const double top = window->LasFile()->GetTopDepth();
    EXPECT_NEAR(Panel().GetFirstVisibleDepth(), top, 0.5);
    EXPECT_EQ(bar.value(), 0);

    // The bar counts screen rows: one page is one screen (less a small overlap).
    const int rows = Panel().DrawingArea().height();
    EXPECT_EQ(bar.maximum(), Panel().YAxisInfo.MaxOffset());
    EXPECT_GT(bar.pageStep(), rows * 8 / 10);
    EXPECT_LE(bar.pageStep(), rows);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Panel().YAxisInfo.Offset(), bar.pageStep());
    bar.setValue(bar.maximum());
    EXPECT_GE(Panel().GetLastVisibleDepth(), 299.0);
    QTest::keyClick(window.get(), Qt::Key_Home);
    EXPECT_EQ(bar.value(), 0);
    EXPECT_NEAR(Panel().GetFirstVisibleDepth(), top, 0.5);

    // One wheel notch down, or two half notches of a touchpad, scroll a twentieth of the
    // drawing area; the bar follows.
    const auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(300, 300), QPointF(300, 300), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Panel(), &event);
    };
    const int offset = Panel().YAxisInfo.Offset();
    const int notch = rows / 20;
    wheel(-120);
    EXPECT_EQ(Panel().YAxisInfo.Offset(), offset + notch);
    EXPECT_EQ(bar.value(), Panel().YAxisInfo.Offset());
    wheel(-60);
    EXPECT_EQ(Panel().YAxisInfo.Offset(), offset + notch);
    wheel(-60);
    EXPECT_EQ(Panel().YAxisInfo.Offset(), offset + 2 * notch);

    // The keys reach the view wherever the focus is, except in a number field.
    window->ListCurveNames->setFocus();
    window->ListCurveNames->setCurrentRow(0);
    QTest::keyClick(window->ListCurveNames, Qt::Key_PageDown);
    EXPECT_EQ(Panel().YAxisInfo.Offset(), offset + 2 * notch + bar.pageStep());
    EXPECT_EQ(window->ListCurveNames->currentRow(), 0);
    QTest::keyClick(window->ListCurveNames, Qt::Key_End);
    EXPECT_EQ(bar.value(), bar.maximum());
    window->ShowCurveCoords(0);
    const int before = window->Form().SpinCoordsOffset->value();
    QTest::keyClick(window->Form().SpinCoordsOffset, Qt::Key_Up);
    EXPECT_EQ(window->Form().SpinCoordsOffset->value(), before + 1);
    EXPECT_EQ(bar.value(), bar.maximum());
    window->HideCurveCoords();

    // Home goes to the top even after a scroll of a single row.
    window->SetDepthScale(10);
    QTest::keyClick(window.get(), Qt::Key_Home);
    const double first = Panel().GetFirstVisibleDepth();
    Panel().YAxisInfo.SetOffset(1);
    QTest::keyClick(window.get(), Qt::Key_Home);
    EXPECT_EQ(Panel().GetFirstVisibleDepth(), first);
    window->SetDepthScale(200);

    // A press on the depth overview brings that depth to the middle of the panel.
    TDepthOverview& overview = *window->PBoxAllDepth;
    EXPECT_EQ(std::pair(overview.First(), overview.Last()), std::pair(100.0, 300.0));
    QTest::mouseClick(&overview, Qt::LeftButton, Qt::NoModifier, QPoint(10, overview.DepthToRow(250.0)));
    EXPECT_NEAR((Panel().GetFirstVisibleDepth() + Panel().GetLastVisibleDepth()) / 2, 250.0, 1.0);
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

    // Ctrl + click on a curve toggles its flag; the tick follows.
    const QPoint at = PointOf(1, 20);
    QTest::mouseMove(&Panel(), at);
    QTest::mouseClick(&Panel(), Qt::LeftButton, Qt::ControlModifier, at);
    EXPECT_EQ(list.item(1)->checkState(), Qt::Checked);
    QTest::mouseClick(&Panel(), Qt::LeftButton, Qt::ControlModifier, at);
    EXPECT_EQ(list.item(1)->checkState(), Qt::Unchecked);
}

TEST_F(MainViewTest, DoubleClickOpensTheCurveScaleAndOffsetPanel)
{
    Ui::TFormMain& f = window->Form();
    const QPoint at = PointOf(0, 20);
    QTest::mouseMove(&Panel(), at);
    QTest::mouseDClick(&Panel(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(f.PanelCurveCoords->isVisible());
    EXPECT_EQ(f.LabelCurveCoords->text(), "C1");

    // Applied live to that curve only: 1:2 = two value units per centimetre of screen.
    TCurve* curve = Panel().GetCurve(0);
    f.SpinCoordsScale->setValue(2.0);
    EXPECT_NEAR(curve->PixelsPerUnit(), Panel().YAxisInfo.PixelsPerCm() / 2.0, 1e-6);
    f.SpinCoordsOffset->setValue(-40);
    EXPECT_EQ(std::pair(curve->XOffset(), Panel().GetCurve(1)->XOffset()), std::pair(-40, -100));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(f.PanelCurveCoords->isVisible());
    f.SpinCoordsOffset->setValue(10);
    EXPECT_EQ(curve->XOffset(), -40);
}

TEST_F(MainViewTest, PencilAndLineWriteIntoTheDocumentWithUndo)
{
    Ui::TFormMain& f = window->Form();
    const std::vector<float> original(window->LasFile()->GetCurveData(1), window->LasFile()->GetCurveData(1) + 401);
    const float* values = window->LasFile()->GetCurveData(1);
    const TCurve* curve = Panel().GetCurve(0);
    EXPECT_EQ(f.MIUndo->text(), "Отмена изменений - нет доступных");
    const auto drag = [&](std::initializer_list<QPoint> points, bool release) {
        QTest::mouseMove(&Panel(), *points.begin());
        QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, *points.begin());
        for (const QPoint& at : points)
            QTest::mouseMove(&Panel(), at);
        if (release)
            QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, *std::rbegin(points));
    };

    // Pencil: the values follow the mouse.
    f.TBPencil->trigger();
    EXPECT_FALSE(Panel().CrossMouse);
    const QPoint end = PointOf(0, 9) + QPoint(25, 0);
    drag({PointOf(0, 5), end}, true);
    EXPECT_NEAR(values[9], curve->ValueAt(end.x(), Panel().Coordinates()), 0.2);
    EXPECT_NE(values[9], original[9]);
    EXPECT_EQ(values[20], original[20]);
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(f.MIUndo->text(), "Отменить 'Карандаш'");
    f.TBUndo->trigger();
    EXPECT_TRUE(std::equal(original.begin(), original.end(), window->LasFile()->GetCurveData(1)));
    EXPECT_EQ(curve->Values(), window->LasFile()->GetCurveData(1));  // the view follows the swapped arrays
    EXPECT_EQ(f.MIRedo->text(), "Повторить 'Карандаш'");

    // Line: straight from the press point to the last position, here below the curve's minimum;
    // Esc brings the values back and the curve where it stood.
    window->SetModified(false);
    values = window->LasFile()->GetCurveData(1);
    const int xOffset = curve->XOffset();
    f.TBPencilLine->trigger();
    const QPoint start = PointOf(0, 4);
    const double below = curve->ColumnOf(curve->Minimum() - 3, Panel().Coordinates());
    const QPoint last(int(std::lround(below)), PointOf(0, 12).y());
    drag({start, PointOf(0, 8) + QPoint(30, 0), last}, false);
    const PanelCoordinates coordinates = Panel().Coordinates();
    EXPECT_NEAR(values[8], (curve->ValueAt(start.x(), coordinates) + curve->ValueAt(last.x(), coordinates)) / 2, 0.3);
    EXPECT_EQ(values[13], original[13]);
    EXPECT_EQ(f.MIUndo->text(), "Отменить 'Линия'");
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(std::equal(original.begin(), original.end(), values));
    EXPECT_EQ(curve->XOffset(), xOffset);
    EXPECT_FALSE(f.TBPencilLine->isChecked());
    QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, last);
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

}  // namespace
}  // namespace strativ::test
