// The smoothing dialogs driven through their controls: previews written back, Ok and Cancel.
#include "editing/AntiAliasByPoints.h"
#include "editing/AntiAliasingDegree.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/editing/EditingFixtures.h"
#include "ui_AntiAliasByPoints.h"
#include "ui_AntiAliasingDegree.h"

#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

using strativ::test::WriteBackTarget;

namespace {
constexpr float N = -999.25f;

std::vector<float> Samples()
{
    std::vector<float> s(40);
    for (int i = 0; i < 40; ++i)
        s[i] = static_cast<float>(5 * std::sin(i * 0.7) + i);
    s[0] = N;
    s[12] = N;
    s[39] = N;
    return s;
}
}  // namespace

TEST(SpectrumDialog, SliderPreviewsOkKeepsAndCancelRestoresExactly)
{
    platform::RecordingDialogRunner runner;
    TDlgAADegree dialog;
    const std::vector<float> found = Samples();
    WriteBackTarget target{found};
    const IntPairVector ranges = {{0, 19}, {20, 39}};

    runner.PushDialog([&](QDialog& d) {
        auto& self = static_cast<TDlgAADegree&>(d);
        EXPECT_EQ(self.Form().Label1->text(), QStringLiteral("Кривая GR\nСглаживание по спектру"));
        EXPECT_EQ(target.writes, 0);  // nothing written at opening
        self.Form().RxSlider->setValue(100);
        // Each range is flat at the mean of its filled values; NULL ends stay NULL.
        EXPECT_EQ(target.samples[0], N);
        EXPECT_EQ(target.samples[39], N);
        EXPECT_EQ(target.samples[1], target.samples[19]);
        EXPECT_NE(target.samples[19], target.samples[20]);
        self.Form().RxSlider->setValue(30);
        QTest::keyClick(&self, Qt::Key_Escape);
        return self.result();
    });
    EXPECT_EQ(dialog.Execute(nullptr, WriteBackTarget::Write, &target, ranges, 40, target.samples.data(),
                             QStringLiteral("GR"), N),
              2);
    EXPECT_EQ(target.samples, found);  // NULL samples included

    runner.PushDialog([&](QDialog& d) {
        auto& self = static_cast<TDlgAADegree&>(d);
        EXPECT_EQ(self.Form().RxSlider->value(), 0);  // the reused dialog starts again at 0
        self.Form().RxSlider->setValue(60);
        self.Form().OKBtn->click();
        return self.result();
    });
    EXPECT_EQ(dialog.Execute(nullptr, WriteBackTarget::Write, &target, ranges, 40, target.samples.data(),
                             QStringLiteral("GR"), N),
              1);
    EXPECT_NE(target.samples, found);
    EXPECT_EQ(target.samples[12] == N, false);  // an inner NULL receives a smoothed value
    EXPECT_EQ(dialog.Execute(nullptr, WriteBackTarget::Write, &target, ranges, 40, nullptr, "GR", N), 0);
    EXPECT_EQ(runner.PendingAnswers(), 0);
}

TEST(PointsDialog, WindowRulesPreviewsShowOriginalOkAndCancel)
{
    platform::RecordingDialogRunner runner;
    TFormAntiAliasingByPoints dialog;
    const std::vector<float> found = Samples();
    WriteBackTarget target{found};
    const IntPairVector ranges = {{0, 39}};
    ListOfFloatValuesWithIndex expected;
    const ListOfFloatValuesWithIndex saved = PrepareSmoothingRanges(ranges, 40, found.data(), N);

    runner.PushDialog([&](QDialog& d) {
        auto& self = static_cast<TFormAntiAliasingByPoints&>(d);
        auto& f = self.Form();
        f.RxSpinEdit->setValue(4);  // an even size goes to the next odd one
        EXPECT_EQ(f.RxSpinEdit->value(), 5);
        SmoothOrdinary(5, N, saved, expected);
        EXPECT_TRUE(std::equal(expected[0].values.begin(), expected[0].values.end(), target.samples.begin() + 1));
        f.RadioRecursive->click();
        SmoothRecursive(5, N, saved, expected);
        EXPECT_TRUE(std::equal(expected[0].values.begin(), expected[0].values.end(), target.samples.begin() + 1));
        f.ButtonShowOriginal->click();
        EXPECT_EQ(f.RxSpinEdit->value(), 1);
        EXPECT_EQ(target.samples, found);
        f.RxSpinEdit->setValue(7);
        f.ButtonCancel->click();
        return self.result();
    });
    dialog.Init(nullptr, WriteBackTarget::Write, &target, ranges, 40, target.samples.data(), "GR", N);
    EXPECT_EQ(target.samples, found);

    runner.PushDialog([&](QDialog& d) {
        auto& self = static_cast<TFormAntiAliasingByPoints&>(d);
        EXPECT_TRUE(self.Form().RadioRecursive->isChecked());  // the algorithm stays chosen
        self.Form().RxSpinEdit->setValue(3);
        self.Form().ButtonOk->click();
        return self.result();
    });
    dialog.Init(nullptr, WriteBackTarget::Write, &target, ranges, 40, target.samples.data(), "GR", N);
    SmoothRecursive(3, N, saved, expected);
    EXPECT_TRUE(std::equal(expected[0].values.begin(), expected[0].values.end(), target.samples.begin() + 1));

    // Ok after "Убрать изменения" keeps what is shown: the values as found.
    target.samples = found;
    runner.PushDialog([&](QDialog& d) {
        auto& self = static_cast<TFormAntiAliasingByPoints&>(d);
        self.Form().RxSpinEdit->setValue(9);
        self.Form().ButtonShowOriginal->click();
        self.Form().ButtonOk->click();
        return self.result();
    });
    dialog.Init(nullptr, WriteBackTarget::Write, &target, ranges, 40, target.samples.data(), "GR", N);
    EXPECT_EQ(target.samples, found);
}
