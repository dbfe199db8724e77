// Numbers typed into a number field the way a log analyst types them on any desktop.
#include "editing/IntervalManager.h"
#include "editing/IntervalParams.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "ui_IntervalParams.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

// "5,5" was read as 55 where the point is the separator: the comma was taken for a group one.
TEST(TypedNumbers, AnIntervalBoundTakesAPointOrACommaAndRefusesText)
{
    const std::pair<const char*, double> cases[] = {{"5,5", 5.5}, {"5.5", 5.5}, {"1 000,5", 1000.5}, {"abc", 120}};
    platform::RecordingDialogRunner runner;
    TFormIntervalParams dialog;
    TFloatSpinEdit* top = dialog.Form().RxSpinEditTop;
    for (const QChar separator : {QChar('.'), QChar(',')}) {
        platform::SetDecimalSeparator(separator);
        for (const auto& [typed, value] : cases) {
            runner.PushDialog([&, typed = typed](QDialog&) {
                top->findChild<QLineEdit*>()->selectAll();
                QTest::keyClicks(top->findChild<QLineEdit*>(), QString::fromUtf8(typed));
                QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
                QApplication::sendEvent(top, &out);
                return int(QDialog::Accepted);
            });
            IntervalItem result;
            ASSERT_TRUE(dialog.Execute({120.0, 130.0, 0xFF, "A", true}, 0.0f, 2000.0f, result, nullptr));
            EXPECT_DOUBLE_EQ(result.Top, value) << typed << " with " << char(separator.unicode());
            EXPECT_EQ(top->text(), platform::LasNumberText(float(value), top->decimals())) << typed;
        }
    }
    platform::SetDecimalSeparator(QChar());
}
