// The name rules of curve names typed by the user, with their messages.
#pragma once

#include <QString>

class QWidget;

// Blanks, points and colons are removed from the name, after a message saying so.
QString CleanCurveName(const QString& name);
// The empty-name message.
void ShowEmptyCurveNameMessage();
