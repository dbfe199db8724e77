// The number input box, print-title variables and help pages.
#include "app/DlgSessions.h"
#include "app/HelpWindow.h"
#include "platform/DepthUnit.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "printing/TemplateVariables.h"
#include "view/NumberInput.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

TEST(NumberInputBox, WholeNumbersTruncatedTypedValuesClampedPromptOnlyWhileAsking)
{
    TNumberInputBox box;
    platform::RecordingDialogRunner runner;
    EXPECT_TRUE(box.Info().isEmpty());
    struct Case {
        int decimals;
        double min, max, value;
        double expectMin, expectMax, expectValue;
    };
    for (const Case& c : {Case{0, 0.9, 5.7, 3.6, 0, 5, 3}, Case{-1, -2.5, 2.5, -1.7, -2, 2, -1},
                          Case{2, 0.9, 5.7, 3.61, 0.9, 5.7, 3.61}}) {
        runner.PushDialog([](QDialog&) { return int(QDialog::Accepted); });
        ASSERT_TRUE(InputNumberBox(c.decimals, "Ввод", c.min, c.max, c.value));
        EXPECT_EQ(box.MinValue(), c.expectMin) << c.decimals;
        EXPECT_EQ(box.MaxValue(), c.expectMax) << c.decimals;
        EXPECT_DOUBLE_EQ(double(box.GetValue()), c.expectValue) << c.decimals;
    }
    runner.PushCancel();
    EXPECT_FALSE(InputNumberBox(0, "Ввод", 0, 10, 5));

    // The typed text counts, in the locale's separator, clamped to the limits.
    platform::SetDecimalSeparator(QChar(','));
    box.Prepare(2, 1.0, 10.0, 5.0);
    for (const auto& [typed, expected] : {std::pair{"25,5", 10.0}, std::pair{"-3", 1.0}, std::pair{"7,25", 7.25}}) {
        box.SpinEdit()->findChild<QLineEdit*>()->setText(typed);
        EXPECT_DOUBLE_EQ(double(box.GetValue()), expected) << typed;
    }
    platform::SetDecimalSeparator(QChar());

    // The prompt shows only while the extended box runs.
    QString during;
    runner.PushDialog([&](QDialog& dialog) {
        during = static_cast<TNumberInputBox&>(dialog).Info();
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(InputNumberBoxEx(4, "Ввод значения константы", "'a' (коэффициент)", -5e8, 5e8, 1.5));
    EXPECT_EQ(during, "'a' (коэффициент)");
    EXPECT_EQ(box.Info(), " ");
}

TEST(TemplateVariables, ValuesComeFromTheirSourcesOnly)
{
    platform::SetDecimalSeparator(QChar('.'));
    ClearPrintValueSources();
    SetMarkValueSource({});
    SetDocumentNameSource({});
    for (const char* name : {"interval", "prnscale", "metGK", "metDIST", "lasfile", "prntop", "SDATE", ""})
        EXPECT_EQ(GetTemplateVariableValue(name), "") << name;

    SetPrintValueSources([] { return 1500.125f; }, [] { return 1600.0f; }, [] { return 500; });
    SetMarkValueSource([](int code) { return code == 5 ? 502.0f : float(code) * 10.5f; });
    SetDocumentNameSource([] { return QString("/data/wells/скв1.las"); });
    SetProgramValues("0.1", "", "");
    const std::pair<const char*, QString> expected[] = {
        {"interval", "1500.13 - 1600.00"}, {"prnscale", "1:500"}, {"metGK", "10.50"},   {"metPERF", "21.00"},
        {"metKM", "31.50"},                {"metPODOSHVA", "42.00"}, {"metDIST", "502.00"}, {"lasfile", "скв1.las"},
        {"progver", "0.1"},                {"prnbot", ""},           {"metgk", ""},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(GetTemplateVariableValue(name), value) << name;
    EXPECT_TRUE(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d{4}$").match(GetTemplateVariableValue("sdate")).hasMatch());
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d$").match(GetTemplateVariableValue("stime")).hasMatch());

    ClearPrintValueSources();
    SetMarkValueSource({});
    SetDocumentNameSource({});
    SetProgramValues({}, {}, {});
    platform::SetDecimalSeparator(QChar());
}

TEST(HelpWindow, TopicsWithoutAPageShowTheContents)
{
    for (const auto& [topic, page] : {std::pair{20, ":/help/20.html"}, std::pair{0, ":/help/0.html"},
                                      std::pair{TDlgSessions::kHelpTopic, ":/help/7.html"},
                                      std::pair{1, ":/help/1.html"}, std::pair{24, ":/help/0.html"},
                                      std::pair{-1, ":/help/0.html"}})
        EXPECT_EQ(THelpWindow::TopicPage(topic), page) << topic;

    THelpWindow window;
    window.ShowTopic(20);
    EXPECT_TRUE(window.Browser()->toPlainText().contains("Главное окно"));
    window.ShowTopic(0);
    EXPECT_TRUE(window.Browser()->toHtml().contains("20.html"));
}

// At 1:200 the view and the print show 200 cm of depth in a centimetre, in whatever unit the file has.
TEST(HelpWindow, ScaleExamplesAreTheTrueRatio)
{
    const double feet = 2.0 / platform::DepthUnitMetres(QStringLiteral("FT"));
    const QString example = QString::number(feet, 'f', 2).replace('.', ',') + QStringLiteral(" фута файла в футах");
    THelpWindow window;
    for (const int topic : {6, 20}) {
        window.ShowTopic(topic);
        EXPECT_TRUE(window.Browser()->toPlainText().simplified().contains(example)) << topic;
    }
}

}  // namespace
