// String helpers: trimming, case conversion of UTF-8 ("ANSI") text, path parts, line reading, conversions.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

// The text without blanks and tabs at the start, the end, or both (a view into the argument).
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);
std::string_view Trim(std::string_view text);
// Same length and equal ignoring the case of A-Z.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// The text without any occurrence of the given characters (bytes).
std::string RemoveChars(std::string_view text, std::string_view chars);
// A curve mnemonic holds no blank, point or colon: the LAS ~C line would split there.
inline constexpr std::string_view kCurveNameInvalidChars = " .:";
bool HasCurveNameInvalidChars(std::string_view name);
std::string RemoveCurveNameInvalidChars(std::string_view name);
// The text with count copies of c appended (nothing for count <= 0).
std::string AppendChars(std::string text, int count, char c);
std::string JoinStrings(const std::vector<std::string>& parts, std::string_view sep);

// Path parts; both '/' and '\\' separate folders.
std::string ExtractDirPart(std::string_view path);   // up to and including the last separator
std::string ExtractNamePart(std::string_view path);  // after the last separator
std::string ExtractExtPart(std::string_view path);   // after the last point of the name part, "" without one

// One line up to LF, CR LF or CR, the line end removed. False when nothing could be read;
// the caller loops while it returns true.
bool ReadLine(std::istream& in, std::string& line);

// Latin A-Z and Cyrillic А-Я lowered; everything else (Ё included) unchanged.
std::string LowerCaseCp1251(std::string_view utf8);
// Upper case of Latin and Cyrillic letters, as the Windows ANSI conversion does.
std::string AnsiUpperCase(std::string_view utf8);
// Case-insensitive comparison in alphabetical order (Ё right after Е): <0, 0 or >0.
int AnsiCompareText(std::string_view a, std::string_view b);

// Shortest text with a point that reads back as the same number, whatever the locale.
std::string ShortestNumberText(double value);
std::string ShortestNumberText(float value);
// Decimal text of the number; throws std::runtime_error("Invalid data type conversion") on failure.
std::string LexicalCast(unsigned long long value);
// Float read from the start of the text (point separator, sign, exponent; the rest ignored);
// throws std::runtime_error("Invalid data type conversion") when nothing can be read.
float LexicalCastToFloat(std::string_view text);
