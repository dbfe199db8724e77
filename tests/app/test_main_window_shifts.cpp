// Depth shifts and the manual binding in the main window.
#include "AppTestSupport.h"
#include "tests/common/MemoryLimit.h"

#include "editing/SelectIntervalPart.h"
#include "platform/Colors.h"
#include "ui_MainUnit.h"
#include "ui_SelectIntervalPart.h"
#include "view/PaintHelpers.h"

#include <QGroupBox>
#include <QElapsedTimer>
#include <QLabel>
#include <algorithm>

namespace strativ::test {
namespace {

constexpr float kNull = -999.25f;

class ShiftTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Open(WriteTestLas(dir.file("shift.las"), 3, 201)));  // 100 .. 200 m, step 0.5
    }

    void ClickCurve(int c, int i)
    {
        const QPoint at = CurvePoint(Panel(), c, i);
        QTest::mouseMove(&Panel(), at);
        QTest::mouseClick(&Panel(), Qt::LeftButton, Qt::NoModifier, at);
    }
    void Select(int c)
    {
        Panel().GetCurve(c)->SetSelected(true);
    }
    // Holds an arrow key until the shown shift reads `shown`, one timer tick at a time.
    void HoldArrow(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& shown)
    {
        QTest::keyPress(window.get(), key, modifiers);
        QElapsedTimer clock;
        clock.start();
        while (window->LabelShiftValue->text() != shown && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QTest::keyRelease(window.get(), key, modifiers);
        EXPECT_EQ(window->LabelShiftValue->text(), shown);
    }
};

TEST_F(ShiftTest, TypedShiftsOfAllCurvesOfOneCurveAndOfTheGroup)
{
    const std::vector<float> c1 = Values(1);
    // All curves: the exact value is added to the depths; values stay in place.
    runner->PushText("1.3");
    F().TBShiftDept->trigger();
    EXPECT_EQ(Values(0)[0], 101.3f);
    EXPECT_EQ(Values(1), c1);
    ExpectViewFollowsDocument(*window, "shift of all curves");
    EXPECT_EQ(window->Intervals.GetTop(), 101.3f);

    // With cut: 0.6 m is one step; the last value is lost.
    F().MIShiftAndCut->trigger();
    EXPECT_EQ(window->StatusText(0), "Выберите кривую для сдвига по глубине (Esc - отмена)");
    runner->PushText("0.6");
    ClickCurve(0, 10);
    std::vector<float> cut(c1.begin(), c1.end() - 1);
    cut.insert(cut.begin(), kNull);
    EXPECT_EQ(Values(1), cut);
    EXPECT_EQ(F().MIUndo->text(), "Отменить 'Сдвиг кривой с удалением значений'");
    ExpectViewFollowsDocument(*window, "shift with cut");

    // Keeping: the document grows by two steps at the top, the other curves NULL there.
    F().MIShiftAndNull->trigger();
    runner->PushText("-1");
    ClickCurve(1, 10);
    EXPECT_EQ(window->LasFile()->GetPointCount(), 203);
    EXPECT_EQ(Values(1)[0], kNull);
    EXPECT_EQ(Values(2)[0], GeneratedValue(2, 0));
    EXPECT_FLOAT_EQ(Values(0)[0], 100.3f);
    ExpectViewFollowsDocument(*window, "shift keeping values");
    F().TBUndo->trigger();
    EXPECT_EQ(window->LasFile()->GetPointCount(), 201);
    ExpectViewFollowsDocument(*window, "undo of the growth");
}

TEST_F(ShiftTest, ValuesBetweenStepsRoundHalfAwayFromZeroInTheLocaleSeparator)
{
    platform::SetDecimalSeparator(QChar(','));
    const std::vector<float> c1 = Values(1);
    // A text that is no number is refused, and the message names the locale's separator.
    runner->PushText("0,75 м");
    runner->Push(platform::IDOK);
    runner->PushText("0,75");  // one and a half steps: two samples deeper
    window->ShiftCurveCut(0);
    EXPECT_EQ(Messages(), QStringList{"Strativ|Некорректно задано значение\n(десятичный разделитель - ',')"});
    EXPECT_EQ(Values(1)[1], kNull);
    EXPECT_EQ(Values(1)[2], c1[0]);
    // Two samples shallower, keeping them: the document grows by two steps above.
    runner->PushText("-0,75");
    window->ShiftCurveKeep(1);
    EXPECT_EQ(window->LasFile()->GetPointCount(), 203);
    EXPECT_FLOAT_EQ(Values(0)[0], 99.0f);
    // 0,2 is below half a step: nothing moves, no undo step.
    const std::string undoName = window->UndoStore.GetUndoName();
    runner->PushText("0,2");
    window->ShiftCurveKeep(2);
    EXPECT_EQ(window->LasFile()->GetPointCount(), 203);
    EXPECT_EQ(window->UndoStore.GetUndoName(), undoName);
    ExpectViewFollowsDocument(*window, "shifts by parts of a step");
}

TEST_F(ShiftTest, ShiftTooLargeForTheDocumentIsRefusedBeforeAnythingIsAllocated)
{
    const std::vector<std::vector<float>> before = {Values(0), Values(1), Values(2), Values(3)};
    const std::string undoName = window->UndoStore.GetUndoName();
    struct Case {
        const char* typed;
        rlim_t memory;  // above what the program maps already
        QString message;
    };
    const Case cases[] = {
        {"999999999", rlim_t(1) << 30, "Ошибка|Документ не может вырасти до 2000000201 строк: допускается не более 20000000"},
        {"-5000000", rlim_t(64) << 20, "Ошибка|Недостаточно памяти, чтобы документ вырос до 10000201 строк"},
    };
    Select(1);
    for (const Case& c : cases) {
        runner->Clear();
        WithMemoryLimit(c.memory, [&] {
            runner->PushText(c.typed);
            F().MIShiftGroup->trigger();
            F().MIShiftAndNull->trigger();
            runner->PushText(c.typed);
            ClickCurve(2, 10);
        });
        EXPECT_EQ(Messages(), QStringList(2, c.message)) << c.typed;
        EXPECT_EQ((std::vector<std::vector<float>>{Values(0), Values(1), Values(2), Values(3)}), before);
        EXPECT_EQ(window->UndoStore.GetUndoName(), undoName);
    }
    ExpectViewFollowsDocument(*window, "refused shifts");
}

TEST_F(ShiftTest, RefusedShiftAfterAnUndoKeepsTheStepToRedo)
{
    F().MIShiftAndNull->trigger();
    runner->PushText("1");
    ClickCurve(1, 10);
    const std::vector<std::vector<float>> shifted = {Values(0), Values(1), Values(2), Values(3)};
    F().TBUndo->trigger();
    runner->Clear();
    F().MIShiftAndNull->trigger();
    runner->PushText("999999999");
    ClickCurve(2, 10);
    EXPECT_EQ(Messages().size(), 1);  // the refusal
    EXPECT_EQ(F().MIRedo->text(), "Повторить 'Сдвиг кривой с сохранением значений'");
    F().TBRedo->trigger();
    EXPECT_EQ((std::vector<std::vector<float>>{Values(0), Values(1), Values(2), Values(3)}), shifted);
    ExpectViewFollowsDocument(*window, "redo after a refused shift");
}

// A refused manual shift ends the tool as an applied one does, no copy following the mouse, and
// comes before the undo step copies the document (9.6 MB here, more than the memory left).
TEST_F(ShiftTest, RefusedManualShiftEndsTheToolAndChangesNothing)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("up.las"), 1, 1200001, 700000.0, -0.5)));
    Select(0);
    const std::vector<float> c1 = Values(1);
    const std::string undoName = window->UndoStore.GetUndoName();
    runner->Clear();
    F().TBDeptShiftGroup->trigger();
    const QRect area = Panel().DrawingArea();
    QTest::mouseClick(&Panel(), Qt::LeftButton, Qt::NoModifier, QPoint(300, area.top() + 5));
    QTest::mouseMove(&Panel(), QPoint(300, area.center().y()));
    EXPECT_NE(window->LabelShiftValue->text(), "0.00");
    WithMemoryLimit(rlim_t(8) << 20, [&] {
        QTest::mouseClick(&Panel(), Qt::LeftButton, Qt::NoModifier, QPoint(300, area.center().y()));
    });
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().front().startsWith("Ошибка|Недостаточно памяти, чтобы документ вырос до "))
        << Messages().front().toStdString();
    EXPECT_FALSE(F().TBDeptShiftGroup->isChecked());
    EXPECT_FALSE(window->PanelShiftValue->isVisible());
    EXPECT_TRUE(Panel().OwnMouseMove);
    EXPECT_EQ(Values(1), c1);
    EXPECT_EQ(window->UndoStore.GetUndoName(), undoName);
}

TEST_F(ShiftTest, IntervalChoiceAfterAShiftOfAllCurvesOffersTheShiftedRange)
{
    window->Intervals.SetInterval(120, 130)->Name = "A";
    runner->PushText("-50");
    F().TBShiftDept->trigger();
    QString loaded;
    runner->PushDialog([&](QDialog& dialog) {
        auto& choice = static_cast<TDlgSelectIntervalPart&>(dialog);
        loaded = choice.Form().LabelAllInterval->text();
        choice.Form().CheckBox1->setChecked(true);  // the whole loaded range
        choice.Form().OKBtn->click();
        return dialog.result();
    });
    const FloatPairList chosen = window->SelectOperationIntervals("Выбор", -1);
    EXPECT_EQ(loaded, "50.0 -:- 150.0");
    EXPECT_EQ(chosen, (FloatPairList{{50.0f, 150.0f}}));
}

TEST_F(ShiftTest, GroupShiftOfOneCurveEqualsTheKeepingShift)
{
    runner->PushText("2");
    window->ShiftCurveKeep(1);
    const std::vector<std::vector<float>> keeping = {Values(0), Values(1), Values(2), Values(3)};
    F().TBUndo->trigger();
    Select(1);
    runner->PushText("2");
    F().MIShiftGroup->trigger();
    EXPECT_EQ((std::vector<std::vector<float>>{Values(0), Values(1), Values(2), Values(3)}), keeping);
    ExpectViewFollowsDocument(*window, "group shift");

    // Two curves move together; no selection and no value are refused.
    F().TBUndo->trigger();
    Select(2);
    runner->PushText("-0.5");
    F().N15->trigger();
    EXPECT_EQ(window->LasFile()->GetPointCount(), 202);  // one step more above
    EXPECT_EQ(Values(2)[0], GeneratedValue(2, 0));
    EXPECT_EQ(Values(3)[0], GeneratedValue(3, 0));
    EXPECT_EQ(Values(1)[0], kNull);
    EXPECT_EQ(Values(1)[1], GeneratedValue(1, 0));
    runner->Clear();
    runner->PushText("abc");
    runner->Push(platform::IDOK);
    runner->PushText("");
    F().MIShiftGroup->trigger();
    EXPECT_EQ(Messages(), QStringList{"Strativ|Некорректно задано значение\n(десятичный разделитель - '.')"});
    Panel().GetCurve(1)->SetSelected(false);
    Panel().GetCurve(2)->SetSelected(false);
    runner->Clear();
    F().MIShiftGroup->trigger();
    EXPECT_EQ(Messages(), QStringList{"Ошибка|Не выбрана ни одна кривая!"});
}

TEST_F(ShiftTest, PendingShiftTakesOneClickInFrontOfTheCutTool)
{
    F().TBCutCurveBottom->trigger();
    F().MIShiftAndCut->trigger();
    runner->PushText("0.5");
    const std::vector<float> c1 = Values(1);
    ClickCurve(0, 10);
    EXPECT_EQ(Values(1)[1], c1[0]);  // shifted, not cut
    EXPECT_EQ(Values(1)[150], c1[149]);
    EXPECT_TRUE(F().TBCutCurveBottom->isChecked());
    ClickCurve(0, 20);
    EXPECT_EQ(Values(1)[150], kNull);  // the next click cuts again
    // Esc drops a pending shift.
    F().MIShiftAndNull->trigger();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(window->FPendingShift, 0);
}

TEST_F(ShiftTest, ManualGroupShiftByKeysAndByMouse)
{
    F().TBDeptShiftGroup->trigger();  // nothing selected
    EXPECT_EQ(Messages().last(), "Ошибка|Не выбрано ни одной кривой!");
    EXPECT_FALSE(F().TBDeptShiftGroup->isChecked());

    Select(0);
    const std::vector<float> c1 = Values(1);
    F().TBDeptShiftGroup->trigger();
    EXPECT_FALSE(Panel().OwnMouseMove);
    EXPECT_EQ(window->StatusText(0), "Используйте для сдвига либо мышь, либо клавиши 'стрелка вверх'-'стрелка вниз'");
    // A tap shows the shift without moving; a held key moves once per tick.
    QTest::keyClick(window.get(), Qt::Key_Down);
    EXPECT_TRUE(window->PanelShiftValue->isVisible());
    EXPECT_EQ(window->LabelShiftValue->text(), "0.0");
    HoldArrow(Qt::Key_Down, Qt::NoModifier, "1.0");
    QTest::qWait(250);
    EXPECT_EQ(window->LabelShiftValue->text(), "1.0");
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_EQ(window->LasFile()->GetPointCount(), 203);
    EXPECT_EQ(Values(1)[2], c1[0]);
    EXPECT_FALSE(F().TBDeptShiftGroup->isChecked());
    EXPECT_TRUE(Panel().OwnMouseMove);
    EXPECT_EQ(F().MIUndo->text(), "Отменить 'Ручной сдвиг по глубине'");
    ExpectViewFollowsDocument(*window, "manual shift");
    F().TBUndo->trigger();

    // By mouse, past the end of the document, then cancelled by Esc.
    F().TBDeptShiftGroup->trigger();
    const PanelCoordinates c = Panel().Coordinates();
    QTest::mouseClick(&Panel(), Qt::LeftButton, Qt::NoModifier, QPoint(300, c.RowOf(101.0)));
    QTest::mouseMove(&Panel(), QPoint(300, Panel().DrawingArea().bottom()));
    EXPECT_NE(window->LabelShiftValue->text(), "0.00");
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(Values(1), c1);
    EXPECT_FALSE(window->PanelShiftValue->isVisible());
}

// The lighter copy stays on screen through hover repaints and follows an undo made while the
// tool waits; moved by keys past the end of the document it shows nothing, and applying grows
// the document by the whole shift.
TEST_F(ShiftTest, ManualShiftPreviewSurvivesRepaintsAndMayGoPastTheEnd)
{
    Select(0);
    const auto screen = [&] {
        Panel().Repaint();
        return Panel().grab().toImage();
    };
    runner->PushText("10");
    window->ShiftCurveCut(0);
    F().TBDeptShiftGroup->trigger();
    const std::vector<float> shifted = Values(1);
    F().TBUndo->trigger();
    EXPECT_NE(Values(1), shifted);
    const QImage afterUndo = screen();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    F().TBDeptShiftGroup->trigger();
    EXPECT_EQ(screen(), afterUndo);
    QTest::keyClick(window.get(), Qt::Key_Escape);

    const QColor copy = platform::ToQColor(LightenColor(Panel().GetCurve(0)->Color()));
    const auto copyPixels = [&] {
        Panel().Repaint();
        const QImage screen = Panel().grab().toImage();
        const QRect area = Panel().DrawingArea();
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += screen.pixelColor(x, y) == copy;
        return count;
    };
    const int before = copyPixels();
    F().TBDeptShiftGroup->trigger();
    QTest::mouseMove(&Panel(), Panel().DrawingArea().center());
    QTest::mouseMove(&Panel(), Panel().DrawingArea().center() + QPoint(30, 20));
    EXPECT_GT(copyPixels(), before + 50);

    QTest::keyClick(window.get(), Qt::Key_Escape);

    ASSERT_TRUE(Open(WriteTestLas(dir.file("short.las"), 3, 11)));
    Select(0);
    const int bare = copyPixels();
    F().TBDeptShiftGroup->trigger();
    const std::vector<float> c1 = Values(1);
    const int shift = 15;  // samples; the document has 11
    HoldArrow(Qt::Key_Down, Qt::ShiftModifier, "7.5");
    EXPECT_LE(copyPixels(), bare);
    QTest::keyClick(window.get(), Qt::Key_Return);
    ASSERT_EQ(window->LasFile()->GetPointCount(), 11 + shift);
    const std::vector<float> moved = Values(1);
    EXPECT_TRUE(std::all_of(moved.begin(), moved.begin() + shift, [](float v) { return v == kNull; }));
    EXPECT_EQ(std::vector<float>(moved.begin() + shift, moved.end()), c1);
    ExpectViewFollowsDocument(*window, "manual shift past the end");
}

TEST_F(ShiftTest, ManualBindingMovesTheBoundCurveByTheDifferenceOfThePicks)
{
    F().TBCurveBinding->trigger();
    EXPECT_EQ(window->StatusText(0), "Отметьте базовую кривую для увязки на нужной глубине ...");
    const std::vector<float> c2 = Values(2);
    ClickCurve(0, 10);
    EXPECT_EQ(window->StatusText(0), "Отметьте увязываемую кривую на нужной глубине");
    runner->Clear();
    ClickCurve(1, 15);
    EXPECT_EQ(Values(2)[10], c2[15]);  // five samples up
    EXPECT_EQ(Messages(), QStringList{"Произведена увязка кривых|Кривая C2\nсдвинута на -2.5 м."});
    EXPECT_EQ(F().MIUndo->text(), "Отменить 'Увязка кривых");
    EXPECT_FALSE(F().TBCurveBinding->isChecked());
    ExpectViewFollowsDocument(*window, "manual binding");
}

// A shift of all curves the depths cannot hold is refused with the reason before the undo step.
TEST_F(ShiftTest, ShiftOfAllCurvesTooLargeForTheDepthsIsRefusedWithTheReason)
{
    const std::vector<float> depths = Values(0);
    const std::string undoName = window->UndoStore.GetUndoName();
    const std::pair<const char*, const char*> cases[] = {
        {"1e39", "слишком велик"}, {"1e38", "знаками после точки"}, {"100000000", "слишком велик"}};
    for (const auto& [typed, reason] : cases) {
        runner->Clear();
        runner->PushText(typed);
        F().TBShiftDept->trigger();
        ASSERT_EQ(Messages().size(), 1) << typed;
        EXPECT_TRUE(Messages().front().startsWith("Ошибка|Сдвиг ")) << Messages().front().toStdString();
        EXPECT_TRUE(Messages().front().contains(reason)) << Messages().front().toStdString();
        EXPECT_EQ(Values(0), depths);
        EXPECT_EQ(window->UndoStore.GetUndoName(), undoName);
    }
}

// The prompt of a typed shift names the depth unit of ~C, else of ~W; the file here runs upward.
TEST_F(MainWindowTest, ShiftPromptNamesTheFileDepthUnit)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {  // ~C unit, ~W unit, prompt
        {"F", "F", "Введите значение в футах"},   {"", "FT", "Введите значение в футах"},
        {"M", "M", "Введите значение в метрах"},  {"DM", "DM", "Введите значение в единицах DM"},
        {"ФТ", "фут", "Введите значение в футах"},
        {"", "", "Введите значение"},
    };
    for (const auto& [curveUnit, wellUnit, prompt] : cases) {
        const std::string las = dir.file(std::string("feet-") + wellUnit + curveUnit + ".las");
        std::ofstream(las) << "~V\n VERS. 2.0 :\n WRAP. NO :\n~W\n STRT." << wellUnit << " 1010 :\n STOP." << wellUnit
                           << " 1000 :\n STEP." << wellUnit << " -5 :\n NULL. -999.25 :\n~C\n DEPT." << curveUnit
                           << " :\n GR.API :\n~A\n1010 5\n1005 6\n1000 7\n";
        ASSERT_TRUE(Open(las));
        runner->Clear();
        runner->PushText("2.5");
        window->findChild<QAction*>("TBShiftDept")->trigger();
        ASSERT_EQ(runner->Requests().size(), 1u);
        EXPECT_EQ(runner->Requests()[0].text, prompt);
        EXPECT_EQ(window->LasFile()->GetTopDepth(), 1002.5f);
        window->SetModified(false);  // the next file opens without a question
    }
}

}  // namespace
}  // namespace strativ::test
