// Shown number text: fixed-point formatting with the locale separator and strict reading.
#include "platform/NumberSpinBox.h"
#include "platform/NumberText.h"
#include "platform/WholeNumberSpinBox.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

class NumberTextTest : public ::testing::Test {
protected:
    void TearDown() override { platform::SetDecimalSeparator(QChar()); }
};

struct FormatCase {
    double value;
    int digits;
    const char* comma;  // expected with ',' as separator
};

TEST_F(NumberTextTest, FixedTextRoundsTiesAwayFromZeroAndSwitchesToExponentAboveSevenDigits)
{
    const FormatCase cases[] = {
        {1234.5678, 2, "1234,57"},
        {0.125, 2, "0,13"},          // exact binary tie
        {-0.125, 2, "-0,13"},
        {2.5, 0, "3"},
        {-2.5, 0, "-3"},
        {1.005, 2, "1,00"},          // 1.00499999... in binary: not a tie
        {0.005, 2, "0,01"},          // 0.00500000000000000010...
        {0.4999, 0, "0"},
        {123.456789, 4, "123,4568"},
        {123.456789, 6, "123,456800"},  // precision 7 leaves zeros beyond it
        {0.1, 4, "0,1000"},
        {-999.25, 2, "-999,25"},
        {1234567, 2, "1234567,00"},
        {1234567.5, 2, "1234568,00"},
        {12345678, 2, "1,234568E+007"},
        {-12345678.9, 2, "-1,234568E+007"},
        {9999999.5, 2, "1,000000E+007"},  // rounding carries into an eighth digit
        {1e300, 2, "1,000000E+300"},
        {0, 0, "0"},
        {0, 2, "0,00"},
        {-0.0, 2, "0,00"},
        {-0.001, 2, "0,00"},  // rounds to zero: no minus
        {1e-20, 2, "0,00"},
        {0.0004, 2, "0,00"},
        {99.995, 2, "100,00"},  // 99.99500000000000454...: carries into a third integer digit
        {0.285, 2, "0,28"},     // 0.28499999999999997557...: no second rounding
    };
    platform::SetDecimalSeparator(QChar(','));
    for (const FormatCase& c : cases)
        EXPECT_EQ(platform::FloatToStrF(c.value, 7, c.digits), QString::fromUtf8(c.comma))
            << c.value << " digits " << c.digits;

    platform::SetDecimalSeparator(QChar('.'));
    EXPECT_EQ(platform::FloatToStrF(1234.5678, 7, 2), "1234.57");
    EXPECT_EQ(platform::FloatToStrF(12345678, 7, 2), "1.234568E+007");
    EXPECT_EQ(platform::FloatToStrF(-0.0, 7, 1), "0.0");
    EXPECT_EQ(platform::FloatToStrF(std::nan(""), 7, 2), "NAN");
}

struct ReadCase {
    const char* text;
    bool ok;
    double value;
};

TEST_F(NumberTextTest, TypedNumbersTakeAPointOrACommaAndNoGroupSeparator)
{
    const ReadCase cases[] = {
        {"12,5", true, 12.5},    {"  12,5 ", true, 12.5},  {"12.5", true, 12.5},     {"-3", true, -3},
        {"+3", true, 3},         {"1,5e-2", true, 0.015},  {",5", true, 0.5},        {"1 000,5", true, 1000.5},
        {"-12 345 678.5", true, -12345678.5},              {"1\u00a0000", true, 1000}, {"", false, 0},
        {"   ", false, 0},       {"abc", false, 0},        {"1 2", false, 0},        {"1 00", false, 0},
        {"1000 000", false, 0},  {"1 000,5 0", false, 0},  {"- 1", false, 0},        {",", false, 0},
        {"inf", false, 0},       {"nan", false, 0},        {"1,2,3", false, 0},      {"1,000.5", false, 0},
        {"+-1", false, 0},       {"1e", false, 0},         {"1e999", false, 0},
    };
    for (QChar separator : {QChar(','), QChar('.')}) {
        platform::SetDecimalSeparator(separator);
        for (const ReadCase& c : cases) {
            double value = -1;
            EXPECT_EQ(platform::TryStrToFloat(QString::fromUtf8(c.text), value), c.ok) << c.text;
            EXPECT_DOUBLE_EQ(value, c.ok ? c.value : -1) << c.text;
        }
    }

    float single = 7;
    EXPECT_FALSE(platform::TryStrToFloat("1e40", single));  // beyond float
    EXPECT_EQ(single, 7.0f);
    EXPECT_TRUE(platform::TryStrToFloat("-999.25", single));
    EXPECT_EQ(single, -999.25f);
}

// QSpinBox drops the locale's group separator from a range of a thousand or more, so "5,5" in a
// point locale became 55; a field of whole numbers says at once that it takes whole numbers and
// rounds a fraction, typed or pasted, when it takes it.
TEST_F(NumberTextTest, WholeNumberFieldsRoundFractionsUnderAPointAndACommaLocale)
{
    const std::pair<const char*, const char*> pasted[] = {{"5,5", "6"},   {"5.4", "5"},       {"1,000", "1"},
                                                          {"abc", "200"}, {"1 000", "1000"}, {"-7", "1"},
                                                          {"250000", "100000"}, {"42", "42"}};
    for (const QLocale::Language language : {QLocale::English, QLocale::Russian}) {
        QLocale::setDefault(QLocale(language));
        platform::WholeNumberSpinBox whole;
        whole.setRange(1, 100000);
        platform::NumberSpinBox noDecimals;
        noDecimals.setDecimals(0);
        noDecimals.setRange(1, 100000);
        for (QAbstractSpinBox* box : std::initializer_list<QAbstractSpinBox*>{&whole, &noDecimals}) {
            QLineEdit* edit = box->findChild<QLineEdit*>();
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            for (const auto& [text, shown] : pasted) {
                edit->setText("200");
                QApplication::sendEvent(box, &out);
                edit->setText(QString::fromUtf8(text));
                QApplication::sendEvent(box, &out);
                EXPECT_EQ(box->text(), shown) << text << " in " << QLocale().name().toStdString();
            }
            QToolTip::hideText();
            edit->clear();
            QTest::keyClicks(edit, QStringLiteral("1,2.3"));
            EXPECT_EQ(edit->text(), "1,23");  // a second separator is refused
            EXPECT_TRUE(QToolTip::isVisible());
            EXPECT_EQ(QToolTip::text(), "Здесь вводится целое число: дробная часть будет округлена");
            QApplication::sendEvent(box, &out);
            EXPECT_EQ(box->text(), "1");
        }
    }
    QLocale::setDefault(QLocale::system());
}
}  // namespace
