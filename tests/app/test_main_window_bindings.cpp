// The semi-automatic and automatic depth bindings in the main window.
#include "AppTestSupport.h"

#include "editing/BindTools.h"
#include "editing/DlgBindSemiAuto.h"
#include "editing/IntervalLimiter.h"
#include "editing/SelectCurvesDlg.h"
#include "editing/SemiAutoBindTool.h"
#include "tests/editing/EditingFixtures.h"
#include "ui_DlgBindSemiAuto.h"
#include "ui_IntervalLimiter.h"
#include "ui_MainUnit.h"
#include "ui_SelectCurvesDlg.h"

namespace strativ::test {
namespace {

constexpr float kNull = -999.25f;
constexpr int kRows = 201;  // 100 .. 200 m, step 0.5

// A rough signal: a spike train with a slow wave, unlike itself at other shifts.
float Signal(int i)
{
    return static_cast<float>((i * 7919 + 13) % 101) * 0.4f + 20.0f * std::sin(0.2f * float(i));
}

std::vector<float> Column(const std::function<float(int)>& value)
{
    std::vector<float> column(kRows);
    for (int i = 0; i < kRows; ++i)
        column[static_cast<std::size_t>(i)] = std::round(value(i) * 100.0f) / 100.0f;
    return column;
}

class BindingTest : public MainWindowTest {
protected:
    static std::vector<float> WithoutNull(std::vector<float> values)
    {
        values.erase(std::remove(values.begin(), values.end(), kNull), values.end());
        return values;
    }
    void OpenColumns(const std::vector<std::string>& names, const std::vector<std::vector<float>>& columns)
    {
        MakeDocument(dir, names, columns);
        ASSERT_TRUE(Open(dir.file("doc.las")));
    }
    void ClickCurveAt(int c, int i)
    {
        const QPoint at = CurvePoint(Panel(), c, i);
        QTest::mouseMove(&Panel(), Panel().DrawingArea().topLeft());
        QTest::mouseMove(&Panel(), at);
        QTest::mouseClick(&Panel(), Qt::LeftButton, Qt::NoModifier, at);
    }
    // A drag across the whole drawing area from the row of depth index `first` to that of `last`.
    void DragRows(int first, int last)
    {
        const PanelCoordinates c = Panel().Coordinates();
        const QPoint from(c.area.left() + 1, c.RowOf(c.depths[first]));
        const QPoint to(c.area.right() - 1, c.RowOf(c.depths[last]));
        ASSERT_TRUE(c.area.contains(from) && c.area.contains(to));
        QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&Panel(), to);
        QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, to);
    }
    // The semi-automatic dialog answered: the combo's item, the feature kind and the list rows
    // selected.
    void PushSemiAuto(int combo, bool minimum, std::vector<int> rows = {})
    {
        runner->PushDialog([combo, minimum, rows](QDialog& d) {
            auto& f = static_cast<TDlgBindSemiAuto&>(d).Form();
            f.ComboBindCurve->setCurrentIndex(combo);
            (minimum ? f.RadioMinimum : f.RadioMaximum)->setChecked(true);
            for (int row : rows)
                f.ListBoxCurves->item(row)->setSelected(true);
            f.OKBtn->click();
            return d.result();
        });
    }
    void PushLimits(const QString& from, const QString& to)
    {
        runner->PushDialog([from, to](QDialog& d) {
            d.setResult(QDialog::Rejected);
            TypeLimits(d, from, to);
            return d.result();
        });
    }
    // The binding of two document curves as the tool runs it after its two picks.
    void BindAuto(int base, int bound)
    {
        auto& tool = static_cast<TBindAutoTool&>(*window->ToolOf(F().TBAutomaticCurveBinding));
        BindCurvesAuto(*window, tool.LimitsDialog(), tool.ChoiceDialog(), base, bound);
    }
};

TEST_F(BindingTest, AutomaticBindingMovesTheCurveOfBestCorrelationAndChosenOthersInOneStep)
{
    // C2 is C1 six samples deeper; C3, C4 unrelated; C5 a scaled C1; C6 empty.
    OpenColumns({"C1", "C2", "C3", "C4", "C5", "C6"},
                {Column(Signal), Column([](int i) { return Signal(i - 6); }),
                 Column([](int i) { return Signal(i * 3 + 500); }), Column([](int i) { return Signal(i * 5 + 900); }),
                 Column([](int i) { return 2.0f * Signal(i) + 3.0f; }), Column([](int) { return kNull; })});
    const std::vector<float> c2 = Values(2), c3 = Values(3), c4 = Values(4);

    F().TBAutomaticCurveBinding->trigger();
    EXPECT_EQ(window->StatusText(0), "Отметьте базовую кривую для автоматической увязки по глубине");
    ClickCurveAt(0, 40);
    EXPECT_EQ(window->StatusText(0), "Отметьте увязываемую кривую для автоматической увязки");
    runner->Clear();
    runner->PushDialog([](QDialog& d) {
        auto& limits = static_cast<TDlgIntervalLimiter&>(d);
        EXPECT_EQ(d.windowTitle(), "Автоматическая увязка по глубине");
        EXPECT_EQ(limits.Form().LabelPrompt->text(), "Ограничение величины сдвига в M :");
        EXPECT_EQ(limits.Form().LabelMinMax->text(), "-90.00 * 90.00");
        EXPECT_DOUBLE_EQ(limits.GetFrom(), -50.0);
        EXPECT_DOUBLE_EQ(limits.GetTo(), 50.0);
        d.setResult(QDialog::Rejected);
        TypeLimits(d, "5", "5");  // refused, the dialog stays
        EXPECT_EQ(d.result(), QDialog::Rejected);
        TypeLimits(d, "-10", "10");
        return d.result();
    });
    runner->Push(platform::IDOK);   // the refusal
    runner->Push(platform::IDOK);   // the question
    runner->Push(platform::IDYES);  // more curves
    runner->PushDialog([](QDialog& d) {
        auto& f = static_cast<TSelectCurvesDlg&>(d).Form();
        f.CheckListCurves->item(0)->setCheckState(Qt::Checked);  // the base: excluded
        f.CheckListCurves->item(2)->setCheckState(Qt::Checked);
        f.CheckListCurves->item(3)->setCheckState(Qt::Checked);
        f.OKBtn->click();
        return d.result();
    });
    ClickCurveAt(1, 40);
    const QStringList messages = Messages();
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(messages[0], "Ошибка|Верхняя граница интервала должна быть меньше нижней!");
    EXPECT_TRUE(messages[1].startsWith("Автоматическая увязка по глубине|Максимальная корреляция достигается при "
                                       "сдвиге увязываемой кривой на\n-3.0 (M)\nКоэффициент корреляции = 1.00\n\n"
                                       "Произвести автоматическую увязку кривой 'C2' ?"))
        << messages[1].toStdString();
    EXPECT_EQ(messages[2], "Автоматическая увязка|Желаете выбрать кривые для сдвига на такую же глубину?");

    // Six samples at the top are new; C2 now matches C1, C3 and C4 moved with it, nothing lost.
    EXPECT_EQ(Document().GetPointCount(), kRows + 6);
    EXPECT_EQ(Document().GetTopDepth(), 97.0f);
    const std::vector<float> moved = Values(2);
    EXPECT_EQ(std::vector<float>(moved.begin(), moved.begin() + kRows), c2);
    EXPECT_EQ(WithoutNull(Values(3)), WithoutNull(c3));
    EXPECT_EQ(Values(4)[0], c4[0]);
    EXPECT_EQ(Values(1)[6 + 10], Values(2)[6 + 10]);
    EXPECT_EQ(Values(5)[0], kNull);
    ExpectViewFollowsDocument(*window, "automatic binding");
    EXPECT_FALSE(F().TBAutomaticCurveBinding->isChecked());
    EXPECT_EQ(window->StatusText(0), "");
    EXPECT_EQ(F().MIUndo->text(), "Отменить 'Автоматическая увязка по глубине'");
    F().TBUndo->trigger();
    EXPECT_EQ(Values(2), c2);
    EXPECT_EQ(Values(3), c3);
    EXPECT_EQ(Values(4), c4);
    ExpectViewFollowsDocument(*window, "undo");

    // No shift: the best correlation where the curves stand, or none to be found.
    const struct { int bound; QString text; } unmoved[] = {
        {5, "Кривые максимально коррелируются в текущем положении\nКоэффициент корреляции = 1.00"},
        {6, "Невозможно определить коррелируемость кривых в заданном интервале"},
    };
    for (const auto& c : unmoved) {
        runner->Clear();
        PushLimits("-10", "10");
        BindAuto(1, c.bound);
        EXPECT_EQ(Messages(), QStringList{"Автоматическая увязка по глубине|" + c.text +
                                          "\nАвтоматическая увязка не будет произведена.\nПопробуйте воспользоваться "
                                          "режимом ручной либо полуавтоматической увязки."});
        EXPECT_EQ(Document().GetPointCount(), kRows);
    }

    // Weak correlation: the warning; Cancel changes nothing.
    runner->Clear();
    PushLimits("-5", "5");
    runner->Push(platform::IDCANCEL);
    BindAuto(3, 4);
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains("\n\nВнимание! Определенный коэффициент корреляции слишком мал.\nНе "
                                       "рекомендуется производить автоматическую увязку.\n\nВы все равно желаете "
                                       "произвести автоматическую увязку кривой 'C4' ?"))
        << Messages()[0].toStdString();
    EXPECT_EQ(Values(4), c4);
    EXPECT_FALSE(F().MIUndo->isEnabled());  // no step was taken
}

TEST_F(BindingTest, AutomaticBindingLimitsOfWholeStepsReachThoseSteps)
{
    // STEP 0.1, no float: C2 is C1 ten samples deeper, searched within -1 .. 1 m.
    MakeDocument(dir, {"C1", "C2"}, {Column(Signal), Column([](int i) { return Signal(i - 10); })}, 100.0, 0.1);
    ASSERT_TRUE(Open(dir.file("doc.las")));
    runner->Clear();
    PushLimits("-1", "1");
    runner->Push(platform::IDCANCEL);
    BindAuto(1, 2);
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains("на\n-1.0 (M)\nКоэффициент корреляции = 1.00")) << Messages()[0].toStdString();
}

TEST_F(BindingTest, AutomaticBindingOffersNoFurtherCurvesWithTwoCurves)
{
    OpenColumns({"C1", "C2"}, {Column(Signal), Column([](int i) { return Signal(i + 4); })});
    PushLimits("-10", "10");
    runner->Push(platform::IDOK);
    BindAuto(1, 2);
    ASSERT_EQ(Messages().size(), 1);  // the question only
    EXPECT_EQ(Document().GetPointCount(), kRows + 4);
    EXPECT_EQ(Document().GetBottomDepth(), 202.0f);
    EXPECT_EQ(Values(2)[4], Values(1)[4]);
    ExpectViewFollowsDocument(*window, "automatic binding");
}

// C1 dips at row 25, C2 at row 31, C3 at row 20: C2 must move 6 rows up, C3 5 rows down.
class SemiAutoTest : public BindingTest {
protected:
    void SetUp() override
    {
        BindingTest::SetUp();
        const auto dip = [](int at) {
            return Column([at](int i) { return i == at ? 10.0f : 50.0f + float(i % 5); });
        };
        OpenColumns({"C1", "C2", "C3"}, {dip(25), dip(31), dip(20)});
        F().TBBindCurveSemiAuto->trigger();
    }
    const TBindSemiAutoTool& Tool() const
    {
        return static_cast<const TBindSemiAutoTool&>(*window->ToolOf(F().TBBindCurveSemiAuto));
    }
    void MarkBase()
    {
        PushSemiAuto(0, true);
        DragRows(12, 40);
        ASSERT_EQ(Tool().State().Stage(), 1);
        ASSERT_EQ(Tool().State().Base().feature, 25);
    }
};

TEST_F(SemiAutoTest, BoundCurvesMovingBothWaysGrowBothEndsAndLoseNothing)
{
    EXPECT_EQ(window->StatusText(0), "Отметьте область с базовой кривой для увязки");
    const std::vector<float> c2 = Values(2), c3 = Values(3);
    MarkBase();
    EXPECT_EQ(window->StatusText(0), "Отметьте область с увязываемой кривой");
    EXPECT_EQ(runner->Last().title, "Определение Базовой кривой");
    // The base chosen again in the bound stage: each curve selected in the list is bound by its
    // own feature.
    runner->Clear();
    PushSemiAuto(0, true, {1, 2});
    runner->Push(platform::IDOK);
    DragRows(12, 40);
    EXPECT_EQ(Messages(), QStringList{"Увязка кривых по глубине|Сдвинуть: C2  C3  \nНа -3.0 (M)?"});
    EXPECT_EQ(Document().GetPointCount(), kRows + 6 + 5);
    EXPECT_EQ(Document().GetTopDepth(), 97.0f);
    EXPECT_EQ(Document().GetBottomDepth(), 202.5f);
    EXPECT_EQ(WithoutNull(Values(2)), c2);
    EXPECT_EQ(WithoutNull(Values(3)), c3);
    EXPECT_EQ(Values(2)[6 + 25], 10.0f);
    EXPECT_EQ(Values(3)[6 + 25], 10.0f);
    EXPECT_EQ(Values(1)[6 + 25], 10.0f);
    ExpectViewFollowsDocument(*window, "semi-automatic binding");
    EXPECT_FALSE(F().TBBindCurveSemiAuto->isChecked());
    EXPECT_EQ(Tool().State().Stage(), 0);
    EXPECT_EQ(F().MIUndo->text(), "Отменить 'Увязка кривых по глубине'");
    F().TBUndo->trigger();
    EXPECT_EQ(Values(2), c2);
    ExpectViewFollowsDocument(*window, "undo");
}

TEST_F(BindingTest, SemiAutomaticBindingGrowsTheDocumentBeforeTheShorterMovesTheSameWay)
{
    // C2 moves 3 rows down and is listed before C3, which moves 5: C2 keeps its last values.
    const auto dip = [](int at) { return Column([at](int i) { return i == at ? 10.0f : 50.0f + float(i % 5); }); };
    OpenColumns({"C1", "C2", "C3"}, {dip(25), dip(22), dip(20)});
    const std::vector<float> c2 = Values(2), c3 = Values(3);
    F().TBBindCurveSemiAuto->trigger();
    PushSemiAuto(0, true);
    DragRows(12, 40);
    PushSemiAuto(0, true, {1, 2});
    runner->Push(platform::IDOK);
    DragRows(12, 40);
    ASSERT_EQ(Document().GetPointCount(), kRows + 5);
    EXPECT_EQ(WithoutNull(Values(2)), c2);
    EXPECT_EQ(WithoutNull(Values(3)), c3);
    EXPECT_EQ(Values(2)[25], 10.0f);
    EXPECT_EQ(Values(3)[25], 10.0f);
}

TEST_F(SemiAutoTest, CurvesChosenWithTheBoundCurveMoveByItsShift)
{
    const std::vector<float> c3 = Values(3);
    MarkBase();
    PushSemiAuto(1, true, {2});  // C2 by its minimum, C3 along
    runner->Push(platform::IDOK);
    DragRows(12, 40);
    EXPECT_EQ(Document().GetPointCount(), kRows + 6);
    EXPECT_EQ(Values(2)[6 + 25], 10.0f);
    EXPECT_EQ(Values(3)[6 + 20 - 6], 10.0f);  // six rows up as well
    EXPECT_EQ(WithoutNull(Values(3)), c3);
}

TEST_F(SemiAutoTest, SmallAreasCancelAndEscapeKeepOrClearTheStage)
{
    runner->Clear();
    const PanelCoordinates c = Panel().Coordinates();
    const QPoint at(c.area.center().x(), c.RowOf(c.depths[20]));
    QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseMove(&Panel(), at + QPoint(200, 2));
    QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, at + QPoint(200, 2));  // 2 pixels high
    EXPECT_TRUE(runner->Requests().empty());

    // An area reaching above the document starts at its first sample.
    auto& tool = static_cast<TBindSemiAutoTool&>(*window->ToolOf(F().TBBindCurveSemiAuto));
    PushSemiAuto(0, true);
    tool.BindCurvesSemiAuto(QPoint(c.area.left() + 1, c.RowOf(50.0)), QPoint(c.area.right() - 1, c.RowOf(c.depths[40])));
    EXPECT_EQ(tool.State().Base().first, 0);
    EXPECT_EQ(tool.State().Base().last, 40);

    // A cancelled bound dialog keeps the base; Esc clears it.
    runner->PushCancel();
    DragRows(12, 40);
    EXPECT_EQ(tool.State().Stage(), 1);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(tool.State().Stage(), 0);
    EXPECT_EQ(Document().GetPointCount(), kRows);
}

}  // namespace
}  // namespace strativ::test
