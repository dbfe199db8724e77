// The main window's editing frame: the document-changed routine, undo across reallocations,
// the current tool and its overlay, and the choice of intervals for an operation.
#include "AppTestSupport.h"
#include "tests/common/MemoryLimit.h"

#include "editing/DeptRecalc.h"
#include "editing/DlgBindSemiAuto.h"
#include "editing/IntervalLimiter.h"
#include "editing/SelectIntervalPart.h"
#include "ui_DeptRecalc.h"
#include "ui_DlgBindSemiAuto.h"
#include "ui_IntervalLimiter.h"
#include "ui_MainUnit.h"
#include "ui_SelectIntervalPart.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <functional>

namespace strativ::test {
namespace {

class MainEditingTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Open(WriteTestLas(dir.file("edit.las"), 3, 401)));  // 100 .. 300 m
    }

    // A screen image of the panel, overlay and cross-hair included.
    QImage Screen() const { return Panel().grab().toImage(); }

    // The undo step of a change that grows the document, made behind the window's back.
    void GrowBehindTheWindow(int samples)
    {
        window->Snapshot("'Рост'");
        window->LasFile()->ShiftCurveExtending(1, samples);
    }
};

TEST_F(MainEditingTest, DocumentChangingCommandsLeaveTheViewOnTheDocument)
{
    Ui::TFormMain& f = window->Form();
    GrowBehindTheWindow(40);
    window->CheckDocumentGeneration();
    ExpectViewFollowsDocument(*window, "growth");
    const std::vector<std::pair<std::string, std::function<void()>>> commands = {
        {"undo button", [&] { f.TBUndo->trigger(); }},
        {"redo button", [&] { f.TBRedo->trigger(); }},
        {"undo item", [&] { f.MIUndo->trigger(); }},
        {"redo item", [&] { f.MIRedo->trigger(); }},
        {"cut to an interval", [&] {
             Panel().Interval.SetRange(0, 400);
             runner->PushDialog([](QDialog&) { return int(QDialog::Accepted); });
             window->MMIIntervalOnlyInterval->trigger();
         }},
        {"depth step", [&] {
             runner->PushDialog([&](QDialog& dialog) {
                 auto& depth = static_cast<TDeptRecalcDlg&>(dialog);
                 depth.Form().SpEdStart->SetValue(50.0);
                 depth.Form().SpEdStep->SetValue(0.25);
                 depth.Form().ButtonCalc->click();
                 depth.Form().OKBtn->click();
                 return dialog.result();
             });
             f.MenuStepRecalc->trigger();
         }},
        {"automatic binding", [&] {
             runner->PushDialog([](QDialog& dialog) {
                 static_cast<TDlgIntervalLimiter&>(dialog).Form().OKBtn->click();
                 return dialog.result();
             });
             runner->Push(platform::IDOK);
             runner->Push(platform::IDNO);
             f.TBAutomaticCurveBinding->trigger();
             ClickCurve(Panel(), 0);
             ClickCurve(Panel(), 1);
         }},
        {"semi-automatic binding", [&] {
             const auto pushStage = [&](int combo) {
                 runner->PushDialog([combo](QDialog& dialog) {
                     auto& form = static_cast<TDlgBindSemiAuto&>(dialog).Form();
                     form.ComboBindCurve->setCurrentIndex(combo);
                     form.OKBtn->click();
                     return dialog.result();
                 });
             };
             const auto drag = [&](int top) {
                 const QRect area = Panel().DrawingArea();
                 QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, QPoint(area.left() + 1, top));
                 QTest::mouseMove(&Panel(), QPoint(area.right() - 1, top + 40));
                 QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, QPoint(area.right() - 1, top + 40));
             };
             f.TBBindCurveSemiAuto->trigger();
             pushStage(0);
             drag(Panel().DrawingArea().top() + 100);
             pushStage(1);
             runner->Push(platform::IDOK);
             drag(Panel().DrawingArea().top() + 130);  // another minimum of the period
         }},
    };
    for (const auto& [name, command] : commands) {
        const int count = window->LasFile()->GetPointCount();
        command();
        ExpectViewFollowsDocument(*window, name);
        if (name.find("binding") != std::string::npos) {
            EXPECT_GT(window->LasFile()->GetPointCount(), count) << name;
        }
    }
    f.TBUndo->trigger();  // the two bindings
    f.TBUndo->trigger();
    EXPECT_EQ(window->LasFile()->GetPointCount(), 401);
    EXPECT_EQ(window->LasFile()->GetBottomDepth(), 150.0f);
    for (int i = 0; i < 3; ++i)
        f.TBUndo->trigger();
    EXPECT_EQ(window->LasFile()->GetPointCount(), 401);
    EXPECT_EQ(window->StatusText(2), "Глубины: 100.0 - 300.0 M");
}

// A command that replaces the arrays and calls nothing: the panel notices before it draws or
// hit-tests (the sanitizer build reports any read of the freed arrays).
TEST_F(MainEditingTest, ViewFollowsADocumentChangedBehindItsBack)
{
    TLASFile& document = *window->LasFile();
    document.ShiftCurveExtending(2, -30);
    TStravoFloatArrayList copy;
    for (int i = 0; i < document.GetCurvesCount(); ++i)
        copy.Add(document.GetCurveArrays().Item(i).Clone());
    document.SwapCurveArrays(copy);
    copy = TStravoFloatArrayList();  // the arrays the view held are freed
    QTest::mouseMove(&Panel(), Panel().DrawingArea().center());
    Screen();
    ExpectViewFollowsDocument(*window, "behind the back");
    EXPECT_EQ(window->StatusText(2), "Глубины: 85.0 - 300.0 M");
}

TEST_F(MainEditingTest, UndoAndRedoKeepTheDepthAtTheTopOfTheView)
{
    Ui::TFormMain& f = window->Form();
    TAxis& axis = Panel().YAxisInfo;
    axis.SetOffset(axis.MaxOffset() / 2);
    const double top = Panel().GetFirstVisibleDepth();
    const double row = 1.0 / axis.PixelsPerUnit();
    GrowBehindTheWindow(-20);  // ten metres more above: the same depth lies further down
    window->CheckDocumentGeneration();
    EXPECT_NEAR(Panel().GetFirstVisibleDepth(), top, row);
    f.TBUndo->trigger();
    EXPECT_NEAR(Panel().GetFirstVisibleDepth(), top, row);
    f.TBRedo->trigger();
    EXPECT_NEAR(Panel().GetFirstVisibleDepth(), top, row);

    // Scrolled into the part an undo takes away: clamped into the restored range.
    axis.SetOffset(0);
    EXPECT_NEAR(Panel().GetFirstVisibleDepth(), 90.0, row);
    f.TBUndo->trigger();
    EXPECT_NEAR(Panel().GetFirstVisibleDepth(), 100.0, row);
    ExpectViewFollowsDocument(*window, "undo to the shorter document");
}

TEST_F(MainEditingTest, ToolButtonsChooseOneToolAndEscapeEndsIt)
{
    Ui::TFormMain& f = window->Form();
    EXPECT_EQ(window->CurrentTool(), nullptr);
    f.TBJoinCurves->trigger();
    EXPECT_EQ(window->CurrentTool(), window->ToolOf(f.TBJoinCurves));
    EXPECT_EQ(window->StatusText(0), "Выберите верхнюю кривую (щелкните для этого левой кнопкой мыши по нужной кривой "
                                     "на нужной глубине)...");
    f.TBCutCurveTop->trigger();
    EXPECT_FALSE(f.TBJoinCurves->isChecked());
    EXPECT_EQ(window->CurrentTool(), window->ToolOf(f.TBCutCurveTop));
    EXPECT_EQ(window->StatusText(0), "Щелкните левой кнопкой мыши по кривой для обрезания на нужной глубине");
    f.TBShiftCurve->trigger();
    EXPECT_EQ(Panel().PanelState, TPanelWithCurves::PSDrag);
    f.TBZoomSquare->trigger();
    EXPECT_EQ(Panel().PanelState, TPanelWithCurves::PSNormal);
    EXPECT_FALSE(Panel().CrossMouse);

    // The rubber band stays on screen through hover repaints; Esc takes it and the tool away.
    const QRect area = Panel().DrawingArea();
    const QPoint from = area.topLeft() + QPoint(40, 40);
    const QPoint to = from + QPoint(120, 90);
    const QImage before = Screen();
    // Pixels of the drawing area black now but not before.
    const auto newBlack = [&] {
        const QImage now = Screen();
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += now.pixelColor(x, y) == Qt::black && before.pixelColor(x, y) != Qt::black;
        return count;
    };
    QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&Panel(), to);
    Panel().Repaint();
    EXPECT_GT(newBlack(), 100);  // a third of the 420-pixel outline: dots
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(f.TBZoomSquare->isChecked());
    EXPECT_EQ(window->CurrentTool(), nullptr);
    EXPECT_TRUE(Panel().CrossMouse);
    EXPECT_EQ(window->StatusText(0), "");
    QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(newBlack(), 0);
}

TEST_F(MainEditingTest, HeldArrowRepeatsUntilReleasedOrTheWindowLosesTheKeyboard)
{
    TAxis& axis = Panel().YAxisInfo;
    axis.SetOffset(0);
    QTest::keyPress(window.get(), Qt::Key_Down);
    EXPECT_EQ(axis.Offset(), 15);  // the first step at once
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(window.get(), &repeat);  // the system's repeat adds nothing
    QTRY_VERIFY_WITH_TIMEOUT(axis.Offset() >= 15 * 4, 5000);  // timers run late on a loaded machine
    QTest::keyRelease(window.get(), Qt::Key_Down);
    const int held = axis.Offset();
    QTest::qWait(50);
    EXPECT_EQ(axis.Offset(), held);

    // A release that reaches another window: the repeat stops when this one loses the keyboard.
    QTest::keyPress(window.get(), Qt::Key_Down);
    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::setActiveWindow(&other);
    QTest::qWait(30);
    const int stopped = axis.Offset();
    QTest::qWait(50);
    EXPECT_EQ(axis.Offset(), stopped);
}

TEST_F(MainEditingTest, IntervalChoiceAnswersTheFourWays)
{
    // No intervals: the whole document, no dialog.
    runner->Clear();
    EXPECT_EQ(window->SelectOperationIntervals("m", -1), (FloatPairList{{100.0f, 300.0f}}));
    EXPECT_TRUE(runner->Requests().empty());

    window->Intervals.SetInterval(120, 150)->Active = false;
    window->Intervals.SetInterval(200, 250)->Name = "B";
    window->Intervals.List[0].Name = "A";
    using Form = Ui::TDlgSelectIntervalPart;
    const auto answer = [&](std::function<void(Form&)> fill) {
        runner->PushDialog([fill](QDialog& dialog) {
            auto& choice = static_cast<TDlgSelectIntervalPart&>(dialog);
            fill(choice.Form());
            choice.Form().OKBtn->click();
            return dialog.result();
        });
        return window->SelectOperationIntervals("Сглаживание: выбор интервалов", -1);
    };
    EXPECT_EQ(answer([](Form& f) {
                  EXPECT_EQ(f.LabelTopMessage->text(), "Сглаживание: выбор интервалов");
                  EXPECT_EQ(f.LabelAllInterval->text(), "100.0 -:- 300.0");
                  EXPECT_EQ(f.ComboBoxOneInterval->itemText(0), "A (120.0:150.0)");
                  f.CheckBox1->setChecked(true);
              }),
              (FloatPairList{{100.0f, 300.0f}}));
    EXPECT_EQ(answer([](Form& f) {
                  EXPECT_TRUE(f.CheckBox1->isChecked());  // carried over from the last run
                  f.CheckBox1->setChecked(false);
                  f.RadioAllActive->setChecked(true);
              }),
              (FloatPairList{{200.0f, 250.0f}}));
    EXPECT_EQ(answer([](Form& f) { f.RadioAll->setChecked(true); }), (FloatPairList{{120.0f, 150.0f}, {200.0f, 250.0f}}));
    EXPECT_EQ(answer([](Form& f) {
                  EXPECT_TRUE(f.RadioAll->isChecked());
                  f.RadioOne->setChecked(true);
                  EXPECT_TRUE(f.ComboBoxOneInterval->isEnabled());
                  f.ComboBoxOneInterval->setCurrentIndex(1);
              }),
              (FloatPairList{{200.0f, 250.0f}}));

    // A preselected interval opens on the single choice; Cancel answers nothing.
    runner->PushDialog([](QDialog& dialog) {
        Form& f = static_cast<TDlgSelectIntervalPart&>(dialog).Form();
        EXPECT_TRUE(f.RadioOne->isChecked());
        EXPECT_EQ(f.ComboBoxOneInterval->currentIndex(), 0);
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(window->SelectOperationIntervals("m", 0).empty());
}

// A press whose undo snapshot runs out of memory draws nothing, and its release takes back no
// earlier step: the history and the modified state are as before the press.
TEST_F(MainEditingTest, FailedSnapshotBetweenStrokesKeepsTheEarlierStep)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("big.las"), 3, 1000000)));
    Ui::TFormMain& f = window->Form();
    for (QAction* tool : {f.TBPencil, f.TBPencilLine}) {
        runner->Clear();
        window->SetModified(false);
        tool->trigger();
        const QPoint from = PointOf(0, 5), to = PointOf(0, 9) + QPoint(25, 0);
        QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&Panel(), to);
        QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, to);
        const QString undoName = f.MIUndo->text();
        const std::vector<float> stroked(window->LasFile()->GetCurveData(1), window->LasFile()->GetCurveData(1) + 20);

        WithMemoryLimit(rlim_t(8) << 20, [&] { QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, to); });
        QTest::mouseMove(&Panel(), from);
        QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, from);
        EXPECT_EQ(Messages(), QStringList{"Ошибка|Недостаточно памяти, чтобы запомнить шаг для отмены: изменение не начато"});
        EXPECT_EQ(f.MIUndo->text(), undoName);
        EXPECT_TRUE(window->IsModified()) << undoName.toStdString();
        EXPECT_EQ(std::vector<float>(window->LasFile()->GetCurveData(1), window->LasFile()->GetCurveData(1) + 20), stroked);
        f.TBUndo->trigger();
        EXPECT_FALSE(window->IsModified()) << undoName.toStdString();
        QTest::keyClick(window.get(), Qt::Key_Escape);
    }
}

}  // namespace
}  // namespace strativ::test
