// The dialogs of the depth bindings driven through their controls.
#include "tests/editing/EditingFixtures.h"
#include "editing/DlgBindSemiAuto.h"
#include "editing/IntervalLimiter.h"
#include "editing/SelectCurvesDlg.h"
#include "editing/SemiAutoBind.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "ui_DlgBindSemiAuto.h"
#include "ui_IntervalLimiter.h"
#include "ui_SelectCurvesDlg.h"

#include <gtest/gtest.h>

namespace {
// Opens the dialog, types From and To, presses OK once; the messages it showed are in `runner`.
bool RunLimiter(TDlgIntervalLimiter& dialog, platform::RecordingDialogRunner& runner, const QString& from,
                const QString& to)
{
    runner.PushDialog([&](QDialog& d) {
        d.setResult(QDialog::Rejected);
        strativ::test::TypeLimits(d, from, to);
        return d.result();
    });
    return dialog.Execute();
}
}  // namespace

TEST(IntervalLimiterDialog, LimitsShownAndEachBadRangeRefused)
{
    platform::SetDecimalSeparator(QChar(','));
    platform::RecordingDialogRunner runner;
    TDlgIntervalLimiter dialog;
    dialog.SetLimits(-18.0, 18.0);
    dialog.SetFrom(-10.0);
    dialog.SetTo(10.0);
    dialog.SetInfoText(QStringLiteral("Ограничение"));
    EXPECT_EQ(dialog.Form().LabelMinMax->text(), QStringLiteral("-18,00 * 18,00"));
    EXPECT_EQ(dialog.Form().LabelPrompt->text(), QStringLiteral("Ограничение"));

    // A range one thousandth wide passes; its values come back as typed.
    ASSERT_TRUE(RunLimiter(dialog, runner, QStringLiteral("1,234"), QStringLiteral("1,235")));
    EXPECT_TRUE(runner.Requests().size() == 1);
    EXPECT_DOUBLE_EQ(dialog.GetFrom(), 1.234);
    EXPECT_DOUBLE_EQ(dialog.GetTo(), 1.235);

    runner.Clear();
    EXPECT_FALSE(RunLimiter(dialog, runner, QStringLiteral("2,5"), QStringLiteral("2,5")));
    ASSERT_EQ(runner.Requests().size(), 2u);
    EXPECT_EQ(runner.Last().text, QStringLiteral("Верхняя граница интервала должна быть меньше нижней!"));
    EXPECT_EQ(runner.Last().title, QStringLiteral("Ошибка"));
    EXPECT_EQ(runner.Last().flags, platform::MB_OK | platform::MB_ICONERROR);

    // Values set past the limits are refused with both bound messages.
    runner.Clear();
    dialog.SetFrom(-30.0);
    dialog.SetTo(40.0);
    runner.PushDialog([&](QDialog& d) {
        d.setResult(QDialog::Rejected);
        dialog.Form().OKBtn->click();
        return d.result();
    });
    EXPECT_FALSE(dialog.Execute());
    ASSERT_EQ(runner.Requests().size(), 3u);
    EXPECT_EQ(runner.Requests()[1].text, QStringLiteral("Верхняя граница интервала задана некорректно!"));
    EXPECT_EQ(runner.Requests()[2].text, QStringLiteral("Нижняя граница интервала задана некорректно!"));
    platform::SetDecimalSeparator(QChar());
}

namespace {
using strativ::test::MakeDocument;
constexpr float kNull = -999.25f;
}  // namespace

TEST(SemiAutoBindState, FeaturesAndStages)
{
    strativ::test::TempDir dir;
    // C1: equal maxima at rows 2 and 5, a NULL at row 1 below everything; C2 NULL in rows 0..3.
    auto document = MakeDocument(dir, {"C1", "C2"},
                                 {{3, kNull, 9, 4, 1, 9, 2, 0}, {kNull, kNull, kNull, kNull, 5, 6, 7, 8}});
    TSemiAutoBindCurves state;
    EXPECT_EQ(state.AddBound(2, 0, 7, true), -1);  // before the base
    EXPECT_EQ(state.FindBaseFeature(-1), -1);      // without a document

    state.SetBase(1, 0, 7, false, document.get());
    EXPECT_EQ(state.Base().name, "C1");
    EXPECT_EQ(state.Stage(), 0);
    EXPECT_EQ(state.FindBaseFeature(-1), 2);  // the uppermost of equal maxima
    EXPECT_EQ(state.Stage(), 1);
    EXPECT_EQ(state.AddBound(1, 0, 7, true), -1);  // the base itself
    EXPECT_EQ(state.SetBoundFeature(0, -1), -1);   // no record yet

    const struct { int first, last; bool minimum; int feature; } areas[] = {
        {0, 3, true, 0},   // only NULL: the area's first index
        {2, 7, true, 4},   // minimum past the NULL rows
        {4, 7, false, 7},  // maximum
        {6, 20, true, 6},  // an area past the end is read up to the last sample
    };
    for (const auto& area : areas) {
        const int position = state.AddBound(2, area.first, area.last, area.minimum);
        EXPECT_EQ(state.SetBoundFeature(position, -1), area.feature) << area.first << ".." << area.last;
    }
    EXPECT_EQ(state.Stage(), 2);
    EXPECT_EQ(state.SetBoundFeature(state.AddBound(2, 0, 7, true), 3), 3);  // forced
    EXPECT_EQ(state.Bound().size(), 5u);
    state.Clear();
    EXPECT_EQ(state.Stage(), 0);
    EXPECT_EQ(state.Document(), nullptr);
    EXPECT_TRUE(state.Bound().empty());
}

TEST(SemiAutoBindDialog, StagesLookAndRecordTheChosenCurves)
{
    strativ::test::TempDir dir;
    std::vector<std::vector<float>> values(4, std::vector<float>(20, 50.0f));
    values[0][10] = 1.0f;  // C1 minimum
    values[1][12] = 1.0f;  // C2 minimum
    values[2][8] = 99.0f;  // C3 maximum
    auto document = MakeDocument(dir, {"C1", "C2", "C3", "C4"}, values);
    platform::RecordingDialogRunner runner;
    TDlgBindSemiAuto dialog;
    TSemiAutoBindCurves state;
    auto& f = dialog.Form();

    // Nothing chosen: refused with the stage's message, the dialog stays open.
    runner.PushDialog([&](QDialog& d) {
        d.setResult(QDialog::Rejected);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Определение Базовой кривой"));
        EXPECT_EQ(f.LabelBindcurve->text(), QStringLiteral("Базовая кривая"));
        EXPECT_TRUE(f.ButtonSelectAll->isHidden());
        EXPECT_EQ(f.ListBoxCurves->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_EQ(f.ListBoxCurves->count(), 4);
        EXPECT_EQ(f.ComboBindCurve->currentText(), QStringLiteral("C1"));
        f.ComboBindCurve->setCurrentIndex(-1);
        f.OKBtn->click();
        f.ComboBindCurve->setCurrentIndex(0);
        f.RadioMinimum->setChecked(true);
        f.OKBtn->click();
        return d.result();
    });
    ASSERT_TRUE(ShowBindSemiAutoDialog(dialog, true, *document, {1, 2}, 5, 15, state));
    EXPECT_EQ(runner.Requests()[1].text, QStringLiteral("Не установлена базовая кривая!"));
    EXPECT_EQ(runner.Requests()[1].title, QStringLiteral("Определение Базовой кривой"));
    EXPECT_EQ(state.Stage(), 1);
    EXPECT_EQ(state.Base().feature, 10);

    // Bound stage: the chosen C3 by its maximum; C2 and C4 selected in the list move with it.
    runner.PushDialog([&](QDialog& d) {
        d.setResult(QDialog::Rejected);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Определение увязываемых кривых"));
        EXPECT_EQ(f.LabelBindcurve->text(), QStringLiteral("Кривая для увязки"));
        EXPECT_FALSE(f.ButtonSelectAll->isHidden());
        f.ButtonSelectAll->click();
        EXPECT_EQ(f.ListBoxCurves->selectedItems().size(), 4);
        f.ListBoxCurves->item(1)->setSelected(false);
        f.ListBoxCurves->item(1)->setSelected(true);
        f.ComboBindCurve->setCurrentIndex(1);
        f.RadioMaximum->setChecked(true);
        f.OKBtn->click();
        return d.result();
    });
    ASSERT_TRUE(ShowBindSemiAutoDialog(dialog, false, *document, {1, 3}, 0, 19, state));
    EXPECT_EQ(state.Stage(), 2);
    std::vector<std::pair<int, int>> bound;
    for (const auto& record : state.Bound())
        bound.emplace_back(record->curve, record->feature);
    EXPECT_EQ(bound, (std::vector<std::pair<int, int>>{{3, 8}, {2, 8}, {4, 8}}));
}

TEST(SelectCurvesDialog, ExcludedCurvesStayUntickedAndNoneIsRefused)
{
    strativ::test::TempDir dir;
    auto document = MakeDocument(dir, {"A", "B", "C", "D"}, std::vector<std::vector<float>>(4, {1, 2}));
    platform::RecordingDialogRunner runner;
    TSelectCurvesDlg dialog;
    auto& f = dialog.Form();
    std::vector<bool> flags;
    runner.PushDialog([&](QDialog& d) {
        d.setResult(QDialog::Rejected);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Выбор кривых"));
        EXPECT_EQ(f.CheckListCurves->count(), 4);
        f.OKBtn->click();  // none ticked
        f.CheckListCurves->item(0)->setCheckState(Qt::Checked);  // excluded: taken off at once
        EXPECT_EQ(f.CheckListCurves->item(0)->checkState(), Qt::Unchecked);
        f.BitBtnCheckAll->click();
        EXPECT_EQ(f.CheckListCurves->item(2)->checkState(), Qt::Unchecked);
        EXPECT_EQ(f.CheckListCurves->item(3)->checkState(), Qt::Checked);
        f.BitBtnUncheckAll->click();
        EXPECT_EQ(f.CheckListCurves->item(3)->checkState(), Qt::Unchecked);
        f.CheckListCurves->item(1)->setCheckState(Qt::Checked);
        f.CheckListCurves->item(3)->setCheckState(Qt::Checked);
        f.OKBtn->click();
        return d.result();
    });
    ASSERT_TRUE(ShowSelectCurvesDialog(dialog, *document, {1, 3}, 22, flags));
    EXPECT_EQ(runner.Requests()[1].text, QStringLiteral("Не выбрано ни одной кривой!"));
    EXPECT_EQ(runner.Requests()[1].title, QStringLiteral("Выбор кривых для сдвига"));
    EXPECT_EQ(runner.Requests()[1].flags, platform::MB_OK | platform::MB_ICONWARNING);
    EXPECT_EQ(flags, (std::vector<bool>{false, true, false, true}));
}
