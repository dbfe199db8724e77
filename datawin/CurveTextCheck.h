// Whether a text can stand in a curve's ~C line, worded for the user.
#pragma once

#include <QString>
#include <string>

// field 0 mnemonic, 1 unit, 2 description. An empty text when it can be written, else a
// message naming the field and the character that cannot stand there.
QString CurveTextFault(int field, const std::string& text);
