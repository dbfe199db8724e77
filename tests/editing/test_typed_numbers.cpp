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

namespace {

// "5,5" was read as 55 where the point is the separator, the comma taken for a group separator.
TEST(TypedNumbers, AnIntervalBoundTakesAPointOrACommaAndRefusesText)
{
    struct Case {
        const char* typed;
        double top;  // 120 (the proposal) when refused
    };
    const Case cases[] = {{"5,5", 5.5}, {"5.5", 5.5}, {"1 000,5", 1000.5}, {"abc", 120.0}};
    platform::RecordingDialogRunner runner;
    TFormIntervalParams dialog;
    for (const QChar separator : {QChar('.'), QChar(',')}) {
        platform::SetDecimalSeparator(separator);
        for (const Case& c : cases) {
            QString shown;
            runner.PushDialog([&](QDialog&) {
                QLineEdit* edit = dialog.Form().RxSpinEditTop->findChild<QLineEdit*>();
                edit->selectAll();
                QTest::keyClicks(edit, QString::fromUtf8(c.typed));
                QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
                QApplication::sendEvent(dialog.Form().RxSpinEditTop, &out);
                shown = edit->text();
                return int(QDialog::Accepted);
            });
            IntervalItem result;
            ASSERT_TRUE(dialog.Execute({120.0, 130.0, 0xFF, "A", true}, 0.0f, 2000.0f, result));
            const std::string where = std::string(c.typed) + " with '" + char(separator.unicode()) + "'";
            EXPECT_DOUBLE_EQ(result.Top, c.top) << where;
            EXPECT_EQ(shown, platform::LasNumberText(float(c.top), dialog.Form().RxSpinEditTop->decimals())) << where;
        }
    }
    platform::SetDecimalSeparator(QChar());
}

}  // namespace
