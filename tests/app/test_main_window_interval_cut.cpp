// The hidden commands over the panel's selected range: clearing it and cutting the document.
#include "AppTestSupport.h"

#include "datawin/SaveToLas.h"
#include "editing/IntervalLimiter.h"
#include "ui_IntervalLimiter.h"
#include "ui_MainUnit.h"
#include "ui_SaveToLas.h"

#include <QLineEdit>
#include <QMenu>
#include <sstream>

namespace strativ::test {
namespace {

class IntervalCutTest : public MainWindowTest {
protected:
    // The range dialog answered with these depths; what it showed is kept.
    void PushRange(double from, double to)
    {
        runner->PushDialog([this, from, to](QDialog& dialog) {
            auto& limiter = static_cast<TDlgIntervalLimiter&>(dialog);
            shown = {limiter.windowTitle(), limiter.Form().LabelPrompt->text(), limiter.Form().LabelMinMax->text(),
                     QString::number(limiter.GetFrom()), QString::number(limiter.GetTo())};
            limiter.SetFrom(from);
            limiter.SetTo(to);
            limiter.Form().OKBtn->click();
            return dialog.result();
        });
    }
    QStringList shown;
};

std::vector<float> Slice(const std::vector<float>& values, int first, int last)
{
    return std::vector<float>(values.begin() + first, values.begin() + last + 1);
}

TEST_F(IntervalCutTest, CutKeepsTheNearestSamplesAndUndoGivesTheWholeDocumentBack)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("cut.las"), 2, 201)));  // 100 .. 200 m, step 0.5
    const std::vector<float> depth = Values(0), c1 = Values(1), c2 = Values(2);
    // The items stay hidden; without a range the cut only says so.
    EXPECT_FALSE(window->MMIInterval->menuAction()->isVisible());
    EXPECT_FALSE(window->PMIIntervalCut->isVisible());
    EXPECT_TRUE(window->PMenuBound->actions().contains(window->PMIIntervalCut));
    runner->Clear();
    window->MMIIntervalOnlyInterval->trigger();
    EXPECT_EQ(Messages(), QStringList{"Ошибка|Интервал не задан!"});
    EXPECT_EQ(runner->Requests().size(), 1u);

    // Cancel changes nothing; "Убрать интервал" clears the range.
    Panel().Interval.SetRange(20, 60);
    runner->PushCancel();
    window->PMIIntervalCut->trigger();
    EXPECT_EQ(window->LasFile()->GetPointCount(), 201);
    EXPECT_FALSE(window->UndoStore.CanUndo());
    window->MMIIntervalRemove->trigger();
    EXPECT_FALSE(Panel().Interval.IsSet());

    // 110.2 is nearest 110.0; 129.75 lies halfway and takes the deeper sample.
    Panel().Interval.SetRange(20, 60);
    PushRange(110.2, 129.75);
    window->MMIIntervalOnlyInterval->trigger();
    EXPECT_EQ(shown, (QStringList{"Сокращение интервала до заданных границ", "Задайте верхнюю и нижнюю границы интервала",
                                  "100.0 * 200.0", "110", "130"}));
    EXPECT_EQ(Values(0), Slice(depth, 20, 60));
    EXPECT_EQ(Values(1), Slice(c1, 20, 60));
    EXPECT_EQ(Values(2), Slice(c2, 20, 60));
    EXPECT_FALSE(Panel().Interval.IsSet());
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(window->Form().TBUndo->toolTip(), "Отменить 'Сокращение интервала'");
    ExpectViewFollowsDocument(*window, "cut");

    window->Form().TBUndo->trigger();
    EXPECT_EQ(Values(0), depth);
    EXPECT_EQ(Values(1), c1);
    ExpectViewFollowsDocument(*window, "undo of the cut");
}

TEST_F(IntervalCutTest, HeaderStepThatDoesNotMatchTheDepthsStillCutsInsideTheArrays)
{
    std::string text;
    {
        std::ifstream in(WriteTestLas(dir.file("step.las"), 1, 101), std::ios::binary);  // 100 .. 150 by 0.5
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::size_t at = text.find(" STEP.M  0.5");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 12, " STEP.M  0.1");
    std::ofstream(dir.file("step.las"), std::ios::binary) << text;
    ASSERT_TRUE(Open(dir.file("step.las")));
    ASSERT_EQ(window->LasFile()->GetStep(), 0.1f);
    const std::vector<float> c1 = Values(1);
    Panel().Interval.SetRange(80, 100);
    PushRange(140.0, 150.0);
    window->MMIIntervalOnlyInterval->trigger();
    EXPECT_EQ(Values(1), Slice(c1, 80, 100));
    EXPECT_EQ(window->LasFile()->GetTopDepth(), 140.0f);
    EXPECT_EQ(window->LasFile()->GetBottomDepth(), 150.0f);
    ExpectViewFollowsDocument(*window, "cut with a wrong STEP");
}

TEST_F(IntervalCutTest, CutToOneSampleShowsSavesAndUndoes)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("one.las"), 2, 201)));
    Panel().Interval.SetRange(100, 101);
    PushRange(150.0, 150.2);  // both nearest 150.0
    window->MMIIntervalOnlyInterval->trigger();
    ASSERT_EQ(window->LasFile()->GetPointCount(), 1);
    EXPECT_EQ(Values(0), std::vector<float>{150.0f});
    EXPECT_EQ(Values(2), std::vector<float>{GeneratedValue(2, 100)});
    ExpectViewFollowsDocument(*window, "cut to one sample");
    for (int i = 0; i < 3; ++i) {  // scrolled and repainted without fault
        QTest::mouseMove(&Panel(), Panel().DrawingArea().center() + QPoint(0, i * 7));
        QTest::keyClick(window.get(), Qt::Key_PageDown);
        EXPECT_FALSE(Panel().grab().toImage().isNull());
    }

    const std::string saved = dir.file("one_saved.las");
    runner->PushDialog([&](QDialog& dialog) {
        static_cast<TFormSaveToLas&>(dialog).Form().EditFileName->setText(QString::fromStdString(saved));
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(window->SaveDocument());
    TLASFile read(saved, 2);
    ASSERT_EQ(read.GetPointCount(), 1) << read.GetLoadError();
    EXPECT_EQ(read.GetCurveData(0)[0], 150.0f);
    EXPECT_EQ(read.GetCurveData(1)[0], GeneratedValue(1, 100));
    EXPECT_EQ(read.GetCurveData(2)[0], GeneratedValue(2, 100));
    std::ifstream in(saved);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("STRT.M"), std::string::npos);
    EXPECT_NE(text.find("150.0"), std::string::npos);

    window->Form().TBUndo->trigger();
    EXPECT_EQ(window->LasFile()->GetPointCount(), 201);
    ExpectViewFollowsDocument(*window, "undo to the longer document");
}

}  // namespace
}  // namespace strativ::test
