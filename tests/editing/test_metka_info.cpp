// The perforation-mark dialog and its record.
#include "editing/MetkaInfo.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "ui_MetkaInfo.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// Types into a spin edit as a user does, in the current separator.
void Type(QDoubleSpinBox* spin, const QString& text)
{
    spin->findChild<QLineEdit*>()->setText(text);
    spin->interpretText();
}

TEST(DlgMetkaInfo, StartsUnsetAndAnswersEveryCode)
{
    TDlgMetkaInfo dialog;
    for (int code : {1, 2, 3, 4, 0, 6, 7, -1})
        EXPECT_EQ(dialog.GetMetkaValue(code), -1.0f) << code;
    EXPECT_EQ(dialog.GetMetkaValue(5), 0.0f);  // (-1 - -1) + (-1 - -1)
    EXPECT_EQ(dialog.Info().TitleText, "Расстояние между контрольной и основной меткой:");
    EXPECT_FALSE(dialog.Info().Print);
    EXPECT_EQ(dialog.Form().LabelResult->text(), platform::FloatToStrF(0.0, 7, 2));  // never "___"
}

TEST(DlgMetkaInfo, OkTakesTheShownValuesCancelKeepsTheRecord)
{
    platform::SetDecimalSeparator(QChar(','));
    platform::RecordingDialogRunner runner;
    TDlgMetkaInfo dialog;
    QString shownDistance;
    runner.PushDialog([&](QDialog& d) {
        Ui::TDlgMetkaInfo& f = static_cast<TDlgMetkaInfo&>(d).Form();
        Type(f.SpinEditKontrMetka, "1000");
        Type(f.SpinEditPodoshva, "1500");
        Type(f.SpinEditGK, "2,5");
        Type(f.SpinEditPerf, "0,5");
        shownDistance = f.LabelResult->text();
        f.EditTitleText->setText("Метка:");
        f.CheckBoxPrint->setChecked(true);
        f.OKBtn->click();
        return d.result();
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(shownDistance, "502,00");
    const TKontrOsnMetkaInfo& info = dialog.Info();
    EXPECT_EQ(info.KontrMetka, 1000.0f);
    EXPECT_EQ(info.Podoshva, 1500.0f);
    EXPECT_EQ(info.GK, 2.5f);
    EXPECT_EQ(info.Perf, 0.5f);
    EXPECT_EQ(info.TitleText, "Метка:");
    EXPECT_TRUE(info.Print);
    const std::pair<int, float> expected[] = {{1, 2.5f}, {2, 0.5f}, {3, 1000.0f}, {4, 1500.0f}, {5, 502.0f}};
    for (const auto& [code, value] : expected)
        EXPECT_EQ(dialog.GetMetkaValue(code), value) << code;

    // Shown again, the dialog holds the record; a depth beyond the limits is held to them; Cancel
    // keeps the record whatever was typed.
    QString shownGK;
    runner.PushDialog([&](QDialog& d) {
        Ui::TDlgMetkaInfo& f = static_cast<TDlgMetkaInfo&>(d).Form();
        shownGK = f.SpinEditGK->text();
        Type(f.SpinEditPodoshva, "15000");
        EXPECT_EQ(f.SpinEditPodoshva->value(), 12000.0);
        f.CheckBoxPrint->setChecked(false);
        f.CancelBtn->click();
        return d.result();
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(shownGK, "2,500");
    EXPECT_EQ(dialog.Info().Podoshva, 1500.0f);
    EXPECT_TRUE(dialog.Info().Print);
    platform::SetDecimalSeparator(QChar());
}

TEST(KontrOsnMetkaInfo, DistanceIsPerforationBottomLessControlMarkPlusGammaLessPerforator)
{
    TKontrOsnMetkaInfo info;
    info.Podoshva = 1500.0f;
    info.KontrMetka = 1490.0f;
    info.GK = 1495.5f;
    info.Perf = 1495.0f;
    EXPECT_FLOAT_EQ(info.GetDistance(), 10.5f);
}

}  // namespace
