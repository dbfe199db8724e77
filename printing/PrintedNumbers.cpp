// The platform's decimal separator for printed labels.
#include "printing/PrintedNumbers.h"

#include "platform/NumberText.h"
#include "printing/LabelText.h"

void UsePlatformDecimalSeparator()
{
    const QChar separator = platform::DecimalSeparator();
    SetLabelDecimalSeparator(separator.unicode() > 0x20 && separator.unicode() < 0x7F
                                 ? static_cast<char>(separator.unicode())
                                 : '.');
}
