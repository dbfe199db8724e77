// Numbers written into controls with a chosen count of decimals.
#include "editing/ControlText.h"
#include "platform/NumberText.h"

#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(ControlText, WritesTheDecimalsAskedAndRefusesOthers)
{
    platform::SetDecimalSeparator(QChar(','));
    QLineEdit edit;
    QLabel label;
    SetControlFloatText(edit, 1234.5678, 2);
    EXPECT_EQ(edit.text(), "1234,57");
    SetControlFloatText(label, -0.125, 0);
    EXPECT_EQ(label.text(), "0");
    SetControlFloatText(edit, 98765.4321, 10);
    EXPECT_TRUE(edit.text().startsWith("98765,4321")) << edit.text().toStdString();
    EXPECT_EQ(edit.text().size(), 16);
    for (int decimals : {-1, 11})
        EXPECT_THROW(SetControlFloatText(edit, 1.0, decimals), std::invalid_argument);
    platform::SetDecimalSeparator(QChar());
}
