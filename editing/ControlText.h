// A number written into a control's text with a given count of decimals.
#pragma once

class QWidget;

// Writes `value` with 0..10 decimals (the locale separator) as the text of a line edit, label,
// button or editable combo box; any other count throws "Недопустимое значение количества
// десятичных знаков".
void SetControlFloatText(QWidget& control, double value, int decimals);
