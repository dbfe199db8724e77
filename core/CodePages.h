// Text conversions: OEM is CP866 (LAS file text), ANSI is UTF-8 (the program's own text),
// CP1251 is the code page of settings and text files written by other programs.
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

// The encodings a LAS file's text may be in. CP866 is the program's own; files brought from
// elsewhere may be CP1251 or UTF-8. UTF-16 text the LAS reader refuses; a text editor shows it.
enum class TextEncoding { Cp866, Cp1251, Utf8, Utf16Le, Utf16Be };

// True when the bytes begin as UTF-16 text: with its byte order mark, or ASCII text with every
// other byte zero; the byte order then goes into *encoding.
bool LooksLikeUtf16(std::string_view head, TextEncoding* encoding = nullptr);
// UTF-16 bytes (after any byte order mark) to UTF-8. False at the first unit that is not text (an
// unpaired surrogate, an odd last byte), `out` then holding the text before it.
bool DecodeUtf16(std::string_view bytes, TextEncoding encoding, std::string& out);

// UTF-8 when the bytes are valid UTF-8 and hold a multi-byte character or begin with a
// byte-order mark; else (a mark followed by bytes that are not UTF-8 included) CP1251 when they
// give more Russian letters read as CP1251 than as CP866, CP866 otherwise (a tie and pure ASCII
// included).
TextEncoding DetectTextEncoding(std::string_view bytes);

// Bytes in the encoding to UTF-8 (UTF-16 up to its first unit that is not text).
std::string DecodeText(std::string_view bytes, TextEncoding encoding);
// UTF-8 to the encoding; false when a character cannot be held, with that character (as
// UTF-8) in *bad and out unchanged.
bool EncodeText(std::string_view utf8, TextEncoding encoding, std::string& out,
                std::string* bad = nullptr);
