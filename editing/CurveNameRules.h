// The name rules of curve names typed by the user, with their messages.
#pragma once

#include <QString>

class QWidget;
class TLASFile;

// Blanks, points and colons are removed from the name, after a message saying so.
QString CleanCurveName(const QString& name);
// The empty-name message.
void ShowEmptyCurveNameMessage();
// When the document cannot hold `text` in a field of curve `curve`'s ~C line
// (TLasParsParsedString::kMnemonic, kUnit or kDescription): an error message naming the curve
// and the reason, and true.
bool RefusedCurveText(QWidget* parent, const TLASFile& document, const QString& curve, int field,
                      const QString& text);
// Asks for the name of a new curve until the document can hold it, blanks, points and colons
// removed after a message; an empty answer gives `fallback`. false on Cancel or an empty name
// without a fallback.
bool AskNewCurveName(QWidget* parent, const TLASFile& document, const QString& title, const QString& prompt,
                     QString& name, const QString& fallback = {});
