// The number input box, the curve information dialog, print-title variables and help pages.
#include "app/CurveNameDlg.h"
#include "app/DlgSessions.h"
#include "app/HelpWindow.h"
#include "app/NumberInput.h"
#include "app/SaveToLas.h"
#include "app/StrativApplication.h"
#include "app/TemplateVariables.h"
#include "platform/NumberText.h"
#include "platform/ErrorReport.h"
#include "platform/RecordingDialogRunner.h"
#include "ui_CurveNameDlg.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

TEST(NumberInputBox, WholeNumberModeTruncatesLimitsAndValue)
{
    TNumberInputBox box;
    platform::RecordingDialogRunner runner;
    struct Case {
        int decimals;
        double min, max, value;
        double expectMin, expectMax, expectValue;
    };
    const Case cases[] = {
        {0, 0.9, 5.7, 3.6, 0, 5, 3},
        {-1, -2.5, 2.5, -1.7, -2, 2, -1},
        {2, 0.9, 5.7, 3.61, 0.9, 5.7, 3.61},
    };
    for (const Case& c : cases) {
        runner.PushDialog([](QDialog&) { return int(QDialog::Accepted); });
        ASSERT_TRUE(InputNumberBox(c.decimals, "Ввод", c.min, c.max, c.value));
        EXPECT_EQ(box.MinValue(), c.expectMin) << c.decimals;
        EXPECT_EQ(box.MaxValue(), c.expectMax) << c.decimals;
        EXPECT_DOUBLE_EQ(double(box.GetValue()), c.expectValue) << c.decimals;
        EXPECT_EQ(box.windowTitle(), "Ввод");
    }
    runner.PushCancel();
    EXPECT_FALSE(InputNumberBox(0, "Ввод", 0, 10, 5));
}

TEST(NumberInputBox, TypedValueOutsideTheLimitsIsClamped)
{
    platform::SetDecimalSeparator(QChar(','));
    TNumberInputBox box;
    box.Prepare(2, 1.0, 10.0, 5.0);
    for (const auto& [typed, expected] : {std::pair{"25,5", 10.0}, std::pair{"-3", 1.0}, std::pair{"7,25", 7.25}}) {
        box.SpinEdit()->findChild<QLineEdit*>()->setText(typed);
        EXPECT_DOUBLE_EQ(double(box.GetValue()), expected) << typed;
    }
    platform::SetDecimalSeparator(QChar());
}

TEST(NumberInputBox, PromptShowsOnlyWhileTheExtendedBoxRuns)
{
    TNumberInputBox box;
    platform::RecordingDialogRunner runner;
    EXPECT_EQ(box.Info(), "__");
    QString during;
    runner.PushDialog([&](QDialog& dialog) {
        during = static_cast<TNumberInputBox&>(dialog).Info();
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(InputNumberBoxEx(4, "Ввод значения константы", "'a' (коэффициент)", -5e8, 5e8, 1.5));
    EXPECT_EQ(during, "'a' (коэффициент)");
    EXPECT_EQ(box.Info(), " ");
    EXPECT_EQ(NumberInputBox(), &box);
}

TEST(CurveNameDlg, OkWritesTheEditedFieldsBackAndCancelLeavesThem)
{
    TCurveNameDlg dialog;
    platform::RecordingDialogRunner runner;
    EXPECT_EQ(dialog.windowTitle(), "Свойства кривой");
    TCurveInfo info{"GR", "GAPI", "Гамма", 0x0000FF, 2};
    runner.PushDialog([](QDialog& d) {
        auto& f = static_cast<TCurveNameDlg&>(d).Fields();
        EXPECT_EQ(f.EditName->text(), "GR");
        EXPECT_EQ(f.SpinDecimals->maximum(), 10);
        f.EditName->setText(" GK ");
        f.EditDescription->setText("Гамма-каротаж");
        f.SpinDecimals->setValue(3);
        f.ButtonColor->click();  // answered by the colour below
        return int(QDialog::Accepted);
    });
    runner.PushColor(0x00FF00);
    ASSERT_TRUE(dialog.Execute(info));
    EXPECT_EQ(info.Name, "GK");
    EXPECT_EQ(info.Unit, "GAPI");
    EXPECT_EQ(info.Description, "Гамма-каротаж");
    EXPECT_EQ(info.Color, 0x00FF00u);
    EXPECT_EQ(info.Decimals, 3);

    runner.PushDialog([](QDialog& d) {
        static_cast<TCurveNameDlg&>(d).Fields().EditName->setText("X");
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(dialog.Execute(info));
    EXPECT_EQ(info.Name, "GK");
}

TEST(SaveToLas, FilesAreSplitIntoPartsOfSixteenCurves)
{
    struct Case {
        QString path;
        int curves;
        QStringList names;
    };
    const Case cases[] = {
        {"/d/a.las", 1, {"/d/a.las"}},
        {"/d/a.las", 16, {"/d/a.las"}},
        {"/d/a.las", 17, {"/d/a_1.las", "/d/a_2.las"}},
        {"/d/a.LAS", 33, {"/d/a_1.las", "/d/a_2.las", "/d/a_3.las"}},
        {"/d/a.txt", 32, {"/d/a.txt_1.las", "/d/a.txt_2.las"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LasPartFileNames(c.path, c.curves), c.names) << c.curves;
}

TEST(TemplateVariables, ValuesComeFromTheirSourcesOnly)
{
    platform::SetDecimalSeparator(QChar('.'));
    ClearPrintValueSources();
    SetMarkValueSource({});
    SetDocumentNameSource({});
    for (const char* name : {"interval", "prnscale", "metGK", "metDIST", "lasfile", "prntop", "prnbot", "SDATE", ""})
        EXPECT_EQ(GetTemplateVariableValue(name), "") << name;

    SetPrintValueSources([] { return 1500.125f; }, [] { return 1600.0f; }, [] { return 500; });
    SetMarkValueSource([](int code) { return code == 5 ? 502.0f : float(code) * 10.5f; });
    SetDocumentNameSource([] { return QString("/data/wells/скв1.las"); });
    const std::pair<const char*, QString> expected[] = {
        {"interval", "1500.13 - 1600.00"}, {"prnscale", "1:500"},     {"metGK", "10.50"},
        {"metPERF", "21.00"},              {"metKM", "31.50"},        {"metPODOSHVA", "42.00"},
        {"metDIST", "502.00"},             {"lasfile", "скв1.las"},   {"progver", "0.1"},
        {"prntop", ""},                    {"metgk", ""},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(GetTemplateVariableValue(name), value) << name;
    EXPECT_TRUE(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d{4}$").match(GetTemplateVariableValue("sdate")).hasMatch());
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d$").match(GetTemplateVariableValue("stime")).hasMatch());

    ClearPrintValueSources();
    EXPECT_EQ(GetTemplateVariableValue("interval"), "");
    SetMarkValueSource({});
    SetDocumentNameSource({});
    platform::SetDecimalSeparator(QChar());
}

TEST(HelpWindow, TopicsWithoutAPageShowTheContents)
{
    EXPECT_EQ(THelpWindow::TopicPage(20), ":/help/20.html");
    EXPECT_EQ(THelpWindow::TopicPage(0), ":/help/0.html");
    EXPECT_EQ(THelpWindow::TopicPage(TDlgSessions::kHelpTopic), ":/help/7.html");
    for (int topic : {1, 8, 23, 24, -1})
        EXPECT_EQ(THelpWindow::TopicPage(topic), ":/help/0.html") << topic;

    THelpWindow window;
    window.ShowTopic(20);
    EXPECT_TRUE(window.Browser()->toPlainText().contains("Главное окно"));
    // The contents page links to the main window's page.
    window.ShowTopic(0);
    EXPECT_TRUE(window.Browser()->toHtml().contains("20.html"));
}

TEST(ErrorReport, ExceptionsLeavingAHandlerAreShownAndStopThere)
{
    platform::RecordingDialogRunner runner;
    int after = 0;
    auto handler = platform::Guarded([&](int value) {
        if (value < 0)
            throw std::runtime_error("Отрицательное значение");
        after = value;
    });
    handler(-1);
    handler(5);
    platform::Guarded([] { throw 42; })();
    EXPECT_EQ(after, 5);
    ASSERT_EQ(runner.Requests().size(), 2u);
    EXPECT_EQ(runner.Requests()[0].text, "Отрицательное значение");
    EXPECT_EQ(runner.Requests()[0].title, "Ошибка");
    EXPECT_EQ(runner.Requests()[0].flags, platform::MB_OK | platform::MB_ICONERROR);
    EXPECT_EQ(runner.Requests()[1].text, "Неопознанная ошибка");
}

}  // namespace
