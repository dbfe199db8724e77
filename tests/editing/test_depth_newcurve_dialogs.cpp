// The depth step dialog and the new-curve dialog driven through their controls.
#include "editing/CreateCurveByValues.h"
#include "editing/DeptRecalc.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "ui_CreateCurveByValues.h"
#include "ui_DeptRecalc.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {
constexpr float N = -999.25f;

struct DepthCommand {
    float step = 0.5f;
    double first = 1000.125, last = 1001.625;
    std::vector<float> depths = {1000.125f, 1000.625f, 1001.125f, 1001.625f};
    QString mnemonic = QStringLiteral("DEPT"), unit = QStringLiteral("FT");
    TDeptRecalcDlg::Params Params()
    {
        return {&step, &first, &last, depths.data(), static_cast<int>(depths.size()), &mnemonic, &unit};
    }
};

bool Checked(Ui::TDeptRecalcDlg& f, int i)
{
    QCheckBox* boxes[] = {f.CheckBoxStart, f.CheckBoxStep, f.CheckBoxStop};
    return boxes[i]->isChecked();
}
}  // namespace

TEST(DepthStepDialog, TwoOfThreeParametersStayChosen)
{
    platform::RecordingDialogRunner runner;
    TDeptRecalcDlg dialog;
    DepthCommand command;
    runner.PushDialog([&](QDialog&) {
        auto& f = dialog.Form();
        EXPECT_TRUE(Checked(f, 0) && Checked(f, 1) && !Checked(f, 2));
        f.CheckBoxStop->click();  // replaces the replaceable first value
        EXPECT_TRUE(!Checked(f, 0) && Checked(f, 1) && Checked(f, 2));
        f.CheckBoxStep->click();  // clearing one ticks the third
        EXPECT_TRUE(Checked(f, 0) && !Checked(f, 1) && Checked(f, 2));
        f.CheckBoxStart->click();
        EXPECT_TRUE(!Checked(f, 0) && Checked(f, 1) && Checked(f, 2));
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(dialog.Execute(command.Params()));
    runner.PushDialog([&](QDialog&) {
        EXPECT_TRUE(!Checked(dialog.Form(), 0) && Checked(dialog.Form(), 1) && Checked(dialog.Form(), 2));
        return int(QDialog::Rejected);
    });
    dialog.Execute(command.Params());  // the pair survives to the next use
}

TEST(DepthStepDialog, ModesComputeAndOkWritesBackWithoutRounding)
{
    platform::SetDecimalSeparator(QChar('.'));
    platform::RecordingDialogRunner runner;
    TDeptRecalcDlg dialog;
    dialog.SetPrecision(2);
    DepthCommand command;
    // First value + step with the values as given: 1000.125 is shown as 1000.13 but used unrounded.
    runner.PushDialog([&](QDialog& d) {
        auto& f = dialog.Form();
        EXPECT_EQ(f.LabelStep->text(), QStringLiteral("Шаг = 0.50; Отсчетов = 4"));
        EXPECT_EQ(f.LabelInterval->text(), QStringLiteral("Интервал: 1000.13 - 1001.63"));
        EXPECT_EQ(f.SpEdStart->text(), QStringLiteral("1000.13"));
        f.ButtonCalc->click();
        EXPECT_EQ(dialog.NewDepths(), command.depths);
        f.CheckBoxMnem->setChecked(true);
        f.OKBtn->click();
        return d.result();
    });
    ASSERT_TRUE(dialog.Execute(command.Params()));
    EXPECT_EQ(dialog.NewDepths(), (std::vector<float>{1000.125f, 1000.625f, 1001.125f, 1001.625f}));
    EXPECT_EQ(command.unit, QStringLiteral("FT"));  // loaded values are not filtered
    EXPECT_EQ(command.last, 1001.625f);

    // Step + last value, built backwards; the typed mnemonic and unit are filtered.
    runner.PushDialog([&](QDialog& d) {
        auto& f = dialog.Form();
        f.CheckBoxStop->click();
        f.SpEdStep->SetValue(0.25);
        f.SpEdStop->SetValue(2000.0);
        f.ButtonCalc->click();
        EXPECT_EQ(f.SpEdStart->Value(), 1999.25);
        f.EditDeptName->clear();
        QTest::keyClicks(f.EditDeptName, "dept1");
        EXPECT_EQ(f.EditDeptName->text(), QStringLiteral("DEPT"));
        f.EditMesUnits->clear();
        QTest::keyClicks(f.EditMesUnits, "mm");
        EXPECT_EQ(f.EditMesUnits->text(), QStringLiteral("M"));
        f.OKBtn->click();
        return d.result();
    });
    ASSERT_TRUE(dialog.Execute(command.Params()));
    EXPECT_EQ(dialog.NewDepths(), (std::vector<float>{1999.25f, 1999.5f, 1999.75f, 2000.0f}));
    EXPECT_EQ(command.first, 1999.25f);
    EXPECT_EQ(command.step, 0.25f);
    EXPECT_EQ(command.unit, QStringLiteral("M"));

    // First value + last value; Cancel after a computation hands nothing back.
    command = DepthCommand();
    runner.PushDialog([&](QDialog& d) {
        auto& f = dialog.Form();
        f.CheckBoxStep->click();
        EXPECT_TRUE(Checked(f, 0) && !Checked(f, 1) && Checked(f, 2));
        f.SpEdStart->SetValue(10.0);
        f.SpEdStop->SetValue(11.5);
        f.ButtonCalc->click();
        EXPECT_EQ(dialog.NewDepths(), (std::vector<float>{10.0f, 10.5f, 11.0f, 11.5f}));
        f.CancelBtn->click();
        return d.result();
    });
    EXPECT_FALSE(dialog.Execute(command.Params()));
    EXPECT_TRUE(dialog.NewDepths().empty());
    EXPECT_EQ(command.first, 1000.125f);
}

TEST(DepthStepDialog, ErrorBoxNamesEveryFault)
{
    platform::RecordingDialogRunner runner;
    TDeptRecalcDlg dialog;
    DepthCommand command;
    runner.PushDialog([&](QDialog& d) {
        auto& f = dialog.Form();
        f.CheckBoxStep->click();
        f.CheckBoxStart->click();  // step + last value
        f.SpEdStep->SetValue(0.0);
        f.SpEdStart->SetValue(5000.0);
        f.ButtonCalc->click();
        EXPECT_TRUE(dialog.NewDepths().empty());
        f.CancelBtn->click();
        return d.result();
    });
    runner.Push(platform::IDOK);
    dialog.Execute(command.Params());
    ASSERT_EQ(runner.Requests().size(), 2u);
    EXPECT_EQ(runner.Requests()[1].text,
              QStringLiteral("Один или более параметров заданы неверно!:\n--------\n"
                             "Начальное значение глубины больше конечного\nШаг должен быть больше нуля"));
    EXPECT_EQ(runner.Requests()[1].flags, platform::MB_ICONERROR);

    TDeptRecalcDlg empty;
    EXPECT_EQ(empty.CheckParams() & 31, 31);
}

TEST(DepthStepDialog, DecimalsFollowTheBox)
{
    platform::RecordingDialogRunner runner;
    TDeptRecalcDlg dialog;
    dialog.SetPrecision(40);
    EXPECT_EQ(dialog.GetPrecision(), 32);
    dialog.SetPrecision(3);
    DepthCommand command;
    runner.PushDialog([&](QDialog&) {
        auto& f = dialog.Form();
        EXPECT_FALSE(f.RxSpEdPrecision->isEnabled());
        f.CheckBoxPrecision->click();
        f.RxSpEdPrecision->setValue(1);
        EXPECT_EQ(dialog.GetPrecision(), 1);
        EXPECT_EQ(f.SpEdStep->text(), QStringLiteral("0.5"));
        f.CheckBoxPrecision->click();
        EXPECT_EQ(dialog.GetPrecision(), 3);
        return int(QDialog::Rejected);
    });
    dialog.Execute(command.Params());
}

TEST(NewCurveDialog, FillModesChecksAndNameFilter)
{
    platform::SetDecimalSeparator(QChar(','));
    platform::RecordingDialogRunner runner;
    TFormCreateCurveByValues dialog;
    std::vector<float> depths;
    for (int i = 0; i < 11; ++i)
        depths.push_back(1000.0f + i);
    auto cell = [&](int r, int c, const QString& text) {
        dialog.Form().StringGrid->setItem(r, c, new QTableWidgetItem(text));
    };
    std::vector<float> values;
    QString name;
    runner.PushDialog([&](QDialog& d) {
        auto& f = dialog.Form();
        EXPECT_EQ(f.StringGrid->item(0, 0)->text(), QStringLiteral("1000,00"));
        f.OKBtn->click();  // empty value cell
        cell(0, 1, "5");
        f.BitBtnAddPoint->click();
        f.OKBtn->click();  // empty depth cell
        cell(1, 0, "1004.5");  // a point is accepted whatever the locale
        cell(1, 1, "x");
        f.OKBtn->click();
        cell(1, 1, "13,0");
        f.RadioLines->click();
        f.EditNewCurveName->setText("a-b 1");
        f.OKBtn->click();
        return d.result();
    });
    for (int i = 0; i < 3; ++i)
        runner.Push(platform::IDOK);
    ASSERT_EQ(dialog.SetPoints(values, name, N, depths, QStringLiteral("1000,00")), 1);
    ASSERT_EQ(runner.Requests().size(), 4u);
    EXPECT_EQ(runner.Requests()[1].text, QStringLiteral("Некорректное значение в таблице"));
    EXPECT_EQ(runner.Requests()[2].text, QStringLiteral("Некорректное значение глубины в таблице"));
    EXPECT_EQ(runner.Requests()[3].text, QStringLiteral("Некорректное значение в таблице"));
    EXPECT_EQ(name, QStringLiteral("ab1"));
    // 1004.5 lands on 1005; lines from 1000 to 1005, then the last value below.
    EXPECT_EQ(values, (std::vector<float>{5, 6.6f, 8.2f, 9.8f, 11.4f, 13, 13, 13, 13, 13, 13}));

    runner.Clear();
    runner.PushDialog([&](QDialog& d) {
        auto& f = dialog.Form();
        f.EditNewCurveName->setText("-+ ");
        cell(0, 1, "2");
        f.RadioSteps->click();
        f.OKBtn->click();
        EXPECT_TRUE(f.EditNewCurveName->text().isEmpty());
        f.EditNewCurveName->setText("Кривая_$");
        f.OKBtn->click();
        return d.result();
    });
    runner.Push(platform::IDOK);
    ASSERT_EQ(dialog.SetPoints(values, name, N, depths, QStringLiteral("1000,00")), 1);
    EXPECT_EQ(runner.Requests()[1].text, QStringLiteral("Введите имя кривой"));
    EXPECT_EQ(name, QStringLiteral("Кривая_$"));
    EXPECT_EQ(values, std::vector<float>(11, 2.0f));
    EXPECT_EQ(TFormCreateCurveByValues::FilterCurveName(QStringLiteral("Ёжz9")), QStringLiteral("жz9"));
    EXPECT_EQ(dialog.SetPoints(values, name, N, {1.0f}, QStringLiteral("1")), 0);
    platform::SetDecimalSeparator(QChar('.'));
}

TEST(NewCurveDialog, PasteAddsRowsAtTheCurrentRow)
{
    platform::RecordingDialogRunner runner;
    TFormCreateCurveByValues dialog;
    const std::vector<float> depths = {10, 11, 12, 13};
    std::vector<float> values;
    QString name = QStringLiteral("S");
    runner.PushDialog([&](QDialog& d) {
        auto& f = dialog.Form();
        QGuiApplication::clipboard()->setText(QStringLiteral("11 1\n12.5\t3"));
        f.BitBtnPaste->click();
        EXPECT_EQ(f.StringGrid->rowCount(), 3);
        f.StringGrid->removeRow(2);  // the row of the start depth
        QGuiApplication::clipboard()->setText(QStringLiteral("1x1 1"));
        f.BitBtnPaste->click();
        EXPECT_EQ(f.StringGrid->rowCount(), 2);
        f.RadioSpline->click();  // two points: only the points
        f.OKBtn->click();
        return d.result();
    });
    runner.Push(platform::IDOK);
    ASSERT_EQ(dialog.SetPoints(values, name, N, depths, QStringLiteral("10")), 1);
    EXPECT_EQ(runner.Requests()[1].text, QStringLiteral("В буфере обмена содержатся некорректные данные"));
    EXPECT_EQ(values, (std::vector<float>{N, 1, N, 3}));
    EXPECT_EQ(name, QStringLiteral("S"));
}
