// The dialogs of the depth bindings driven through their controls.
#include "editing/IntervalLimiter.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "ui_IntervalLimiter.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {
void Type(QDoubleSpinBox* spin, const QString& text)
{
    auto* edit = spin->findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Opens the dialog, types From and To, presses OK once; the messages it showed are in `runner`.
bool RunLimiter(TDlgIntervalLimiter& dialog, platform::RecordingDialogRunner& runner, const QString& from,
                const QString& to)
{
    runner.PushDialog([&](QDialog& d) {
        d.setResult(QDialog::Rejected);
        Type(dialog.Form().SpEdFrom, from);
        Type(dialog.Form().SpEdTo, to);
        dialog.Form().OKBtn->click();
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
