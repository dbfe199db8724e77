// Numbers shown to and typed by the user: the locale's decimal separator, never a fixed point.
#pragma once

#include <QChar>
#include <QString>

#include <string>

class TLASFile;

namespace platform {

// Fixed-point text: the value rounded to `precision` significant digits (ties away
// from zero), written with exactly `digits` decimals and the locale separator;
// the exponent form "d.dddddd" + "E+" + three digits when the integer part needs
// more digits than `precision`. Negative zero is written without a minus.
QString FloatToStrF(double value, int precision, int digits);

// A number of a LAS file shown as the file's writer formats it (AppendLasFixed: the float rounded
// to the decimals, never float noise), with the locale separator.
QString LasNumberText(float value, int decimals);

// A value of curve `curve` of the document, shown so with the curve's decimals.
QString CurveValueText(const TLASFile& document, int curve, float value);

// The value of a sample of a data curve as shown: the text it was typed as while that reads as
// it, else as above.
QString SampleValueText(const TLASFile& document, int curve, int sample);

// A decimal number held in double (a depth of the document, the value of a number field) with the
// decimals, as a depth is written (AppendLasDecimal), with the locale separator.
QString DecimalText(double value, int decimals);
// A depth of the document as every window shows it: the decimal depth it stands for
// (TLASFile::DecimalDepthOf) with the document's depth decimals.
QString DepthText(const TLASFile& document, double depth);
// The depth of row i of the document (TLASFile::DepthAt), shown so.
QString RowDepthText(const TLASFile& document, long long row);
// The depths of rows first and last shown so, as "first - last".
QString RowRangeText(const TLASFile& document, long long first, long long last);
// A depth distance of `rows` steps of the document (a binding or shift by rows): the step's
// decimal times the count, shown with the document's depth decimals.
QString StepsText(const TLASFile& document, long long rows);

// The separator used for shown and typed numbers: the system locale's unless
// overridden by SetDecimalSeparator.
QChar DecimalSeparator();
// Overrides the separator (tests, settings); a null QChar returns to the locale's.
void SetDecimalSeparator(QChar separator);

// The whole text (blanks allowed at the ends) read as a typed number: a point or a comma is the
// decimal separator whatever the locale, never a group separator; blanks may part groups of
// three digits of the integer part ("1 000,5"). False, and `value` untouched, for anything else.
bool TryStrToFloat(const QString& text, double& value);
// As a LAS file holds it: the float the text reads as, refused beyond the float range.
bool TryStrToFloat(const QString& text, float& value);
// A typed number (as above) as the text a LAS file holds it as: a point for the separator, no
// blank between digit groups, no leading '+'; false for anything else.
bool TypedNumberText(const QString& text, std::string& number);

}  // namespace platform
