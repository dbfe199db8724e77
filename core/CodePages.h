// Text conversions: OEM is CP866 (LAS file text), ANSI is UTF-8 (the program's own text),
// CP1251 is the code page of files brought from the Windows world.
#pragma once

#include <string>
#include <string_view>

// CP866 bytes to UTF-8.
std::string OemToAnsiString(std::string_view oem);
// UTF-8 to CP866; characters CP866 cannot hold become '?'.
std::string AnsiToOemString(std::string_view ansi);
// A NUL-terminated OEM text of at most 255 bytes (longer texts are cut) to UTF-8.
std::string OemToAnsi(const char* oem);

std::string Cp1251ToUtf8(std::string_view text);
// UTF-8 to CP1251; characters CP1251 cannot hold become '?'.
std::string Utf8ToCp1251(std::string_view text);

bool IsValidUtf8(std::string_view text);

// One UTF-8 character at text[pos]: its code point in cp and its byte length; 0 when malformed
// (overlong forms, surrogates and truncated sequences included).
size_t DecodeUtf8(std::string_view text, size_t pos, char32_t& cp);
void AppendUtf8(std::string& out, char32_t cp);
