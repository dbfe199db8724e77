// Ordered in-memory store of an INI-like text file: sections and keys keep the
// order in which they were first read or written; names match ignoring ASCII case.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct IniKey
{
    std::string Name;
    std::string Value;
};

struct IniSection
{
    std::string Name;
    std::vector<IniKey> Keys;
};

// Lengths in characters (UTF-8 code points); 0 means no limit.
struct IniFieldLimits
{
    size_t NameChars = 0;
    size_t ValueChars = 0;
};

class IniStore
{
public:
    explicit IniStore(IniFieldLimits limits = {});

    std::vector<IniSection> Sections;

    // First section (key) of the same length equal ignoring ASCII case; -1 when absent.
    int FindSection(std::string_view name) const;
    int FindKey(int section, std::string_view name) const;
    // Value of section/key, or null when either is missing.
    const std::string* FindValue(std::string_view section, std::string_view key) const;
    // Sets a value, appending a missing section at the end of the list and a missing key
    // at the end of its section; names and value are cut to the limits, control bytes but tabs
    // in the value become blanks. false (nothing changed) for a name the file cannot hold
    // (IsValidIniName).
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    // The section's index; -1 for a name the file cannot hold.
    int AddSection(std::string_view name);

    // Replaces the content with the text; a line that is not valid UTF-8 is taken as CP1251. Blank
    // lines, comments (';') and lines without '=' hold nothing, nor does a key before any section.
    void Parse(std::string_view bytes);
    // "[name]" then "key=value" lines, a blank line after each section, CR LF line ends.
    std::string Format() const;

    // false when the file cannot be read (content left empty).
    bool LoadFromFile(const std::string& path);
    // Written through a temporary file renamed over the target; false and SystemError() on
    // failure.
    bool SaveToFile(const std::string& path);
    // Writes only when the content differs from what the file held at the last load or save,
    // and never over a file that exists but could not be read.
    bool SaveIfChanged(const std::string& path);
    int SystemError() const { return systemError_; }

    std::string CutName(std::string_view name) const;
    std::string CutValue(std::string_view value) const;

private:
    IniFieldLimits limits_;
    int systemError_ = 0;
    bool existingFileUnread_ = false;      // the last load found the file but could not read it
    std::string filePath_;                 // the file last loaded or saved
    std::optional<std::string> fileText_; // its content on disk, as Format() gives it
};

// Whether a name reads back as written: not blank, no line break or '='; a section name without
// ']', a key not starting with ';' or '['.
bool IsValidIniName(std::string_view name, bool section);
// The message for a name IsValidIniName refuses.
inline constexpr const char* kBadIniNameMessage =
    "Имя не может быть пустым, содержать перевод строки, знаки '=' и ']' или начинаться с ';' или '['";

// Leading part of a UTF-8 text holding at most maxChars characters (0 = all).
std::string CutUtf8Chars(std::string_view text, size_t maxChars);

// Settings text holding bytes the reader can only blank: a control byte other than a tab, a line
// end or a closing end-of-file mark (binary content). Whatever else a person writes reads as
// settings: comments, blank lines, bare names, unknown sections and keys.
bool IsDamagedIniText(std::string_view bytes);
// Keeps a copy of the file as "<path>.bak", or "<path>.1.bak", "<path>.2.bak"... when that name
// is taken (an earlier copy is never replaced), written through a temporary name; the copy's
// path, or "" when it could not be made.
std::string KeepAsBackup(const std::string& path);
// A damaged settings file (IsDamagedIniText) is kept as KeepAsBackup keeps it and removed, so
// that its readers start from their defaults; the copy's path, or "" when the file is missing or
// sound, or could not be kept (it is then left as it is).
std::string SetAsideDamagedSettings(const std::string& path);

// Number texts of settings files, locale-independent (written by ShortestNumberText). Reading
// accepts surrounding blanks, a leading '+' and (for floats) a comma as the decimal separator;
// the whole text must be used.
bool ParseIniInt(std::string_view text, int& value);
bool ParseIniDouble(std::string_view text, double& value);
