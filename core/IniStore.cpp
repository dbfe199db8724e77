// Reading, writing and lookups of the INI-like settings text; locale-independent numbers.
#include "core/IniStore.h"

#include "core/AtomicFile.h"
#include "core/CodePages.h"
#include "core/StringUtils.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// Bytes no settings text holds but in damage.
bool IsControlByte(char c)
{
    return static_cast<unsigned char>(c) < 0x20 && c != '\t';
}

// A field stands on one line of the file: a line end inside it would start a new key, and any
// other control byte would make the file read as damaged.
std::string OneLine(std::string text)
{
    std::replace_if(text.begin(), text.end(), IsControlByte, ' ');
    return text;
}

// One line of settings text as the reader takes it.
struct IniLine
{
    // Nothing: a blank line, a comment (';') or a bare name without '=', which holds no value.
    enum Kind { Nothing, Section, Key } kind = Nothing;
    std::string_view name;   // trimmed
    std::string_view value;  // as written
};

IniLine ReadIniLine(std::string_view line)
{
    IniLine read;
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return read;
    if (trimmed.front() == '[') {
        const size_t close = trimmed.find(']');
        read.kind = IniLine::Section;
        read.name = Trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        return read;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return read;
    read.kind = IniLine::Key;
    read.name = Trim(line.substr(0, eq));
    read.value = line.substr(eq + 1);
    return read;
}

// The lines of settings text without their ends (CR LF, LF or CR), after a UTF-8 byte order mark
// and before a closing end-of-file mark.
template <typename Take>
void ForEachIniLine(std::string_view bytes, Take take)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (!bytes.empty() && bytes.back() == '\x1A')
        bytes.remove_suffix(1);
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t end = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
        take(bytes.substr(pos, end - pos));
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r')
            ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n')
            ++pos;
    }
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return content.str();
}

} // namespace

std::string CutUtf8Chars(std::string_view text, size_t maxChars)
{
    if (maxChars == 0)
        return std::string(text);
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        // A character starts at every byte that is not a continuation byte.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++chars > maxChars)
            return std::string(text.substr(0, i));
    }
    return std::string(text);
}

IniStore::IniStore(IniFieldLimits limits)
    : limits_(limits)
{
}

std::string IniStore::CutName(std::string_view name) const
{
    return OneLine(CutUtf8Chars(name, limits_.NameChars));
}

std::string IniStore::CutValue(std::string_view value) const
{
    return OneLine(CutUtf8Chars(value, limits_.ValueChars));
}

int IniStore::FindSection(std::string_view name) const
{
    for (size_t i = 0; i < Sections.size(); ++i)
        if (EqualIgnoringAsciiCase(Sections[i].Name, name))
            return static_cast<int>(i);
    return -1;
}

int IniStore::FindKey(int section, std::string_view name) const
{
    if (section < 0 || section >= static_cast<int>(Sections.size()))
        return -1;
    const auto& keys = Sections[section].Keys;
    for (size_t i = 0; i < keys.size(); ++i)
        if (EqualIgnoringAsciiCase(keys[i].Name, name))
            return static_cast<int>(i);
    return -1;
}

const std::string* IniStore::FindValue(std::string_view section, std::string_view key) const
{
    const int s = FindSection(CutName(section));
    const int k = FindKey(s, CutName(key));
    return k < 0 ? nullptr : &Sections[s].Keys[k].Value;
}

bool IsValidIniName(std::string_view name, bool section)
{
    const std::string_view trimmed = Trim(name);
    if (trimmed.empty() || name.find_first_of(section ? "\r\n=]" : "\r\n=") != name.npos)
        return false;
    return section || (trimmed.front() != ';' && trimmed.front() != '[');
}

int IniStore::AddSection(std::string_view name)
{
    if (!IsValidIniName(name, true))
        return -1;
    const std::string cut = CutName(name);
    int s = FindSection(cut);
    if (s < 0) {
        Sections.push_back(IniSection{cut, {}});
        s = static_cast<int>(Sections.size()) - 1;
    }
    return s;
}

bool IniStore::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    if (!IsValidIniName(section, true) || !IsValidIniName(key, false))
        return false;
    const int s = AddSection(section);
    const std::string cutKey = CutName(key);
    const int k = FindKey(s, cutKey);
    if (k < 0)
        Sections[s].Keys.push_back(IniKey{cutKey, CutValue(value)});
    else
        Sections[s].Keys[k].Value = CutValue(value);
    return true;
}

void IniStore::Parse(std::string_view bytes)
{
    Sections.clear();
    std::string converted;
    ForEachIniLine(bytes, [&](std::string_view line) {
        // Settings files written by other programs may be CP1251, line by line: one stray byte does
        // not re-encode the others.
        if (!IsValidUtf8(line)) {
            converted = Cp1251ToUtf8(line);
            line = converted;
        }
        const IniLine read = ReadIniLine(line);
        // Duplicate sections are kept as read; lookups find the first one.
        if (read.kind == IniLine::Section)
            Sections.push_back(IniSection{CutName(read.name), {}});
        // The value is kept verbatim so that delimiters such as " " survive.
        else if (read.kind == IniLine::Key && !Sections.empty())
            Sections.back().Keys.push_back(IniKey{CutName(read.name), CutValue(read.value)});
    });
}

std::string IniStore::Format() const
{
    std::string text;
    for (const auto& section : Sections) {
        text += '[';
        text += section.Name;
        text += "]\r\n";
        for (const auto& key : section.Keys) {
            text += key.Name;
            text += '=';
            text += key.Value;
            text += "\r\n";
        }
        text += "\r\n";
    }
    return text;
}

bool IniStore::LoadFromFile(const std::string& path)
{
    Sections.clear();
    std::error_code ignored;
    existingFileUnread_ = std::filesystem::exists(path, ignored);
    const std::optional<std::string> content = ReadWholeFile(path);
    if (!content)
        return false;
    existingFileUnread_ = false;
    Parse(*content);
    filePath_ = path;
    fileText_ = Format();
    return true;
}

bool IniStore::SaveToFile(const std::string& path)
{
    systemError_ = 0;
    std::string text = Format();
    AtomicFileWriter writer(path);
    writer.Write(text);
    if (!writer.Commit()) {
        systemError_ = writer.SystemError();
        return false;
    }
    filePath_ = path;
    fileText_ = std::move(text);
    existingFileUnread_ = false;
    return true;
}

bool IniStore::SaveIfChanged(const std::string& path)
{
    if (existingFileUnread_)
        return false;
    if (filePath_ == path && fileText_ == Format())
        return true;
    return SaveToFile(path);
}

bool IsDamagedIniText(std::string_view bytes)
{
    bool damaged = false;
    // A control byte the reader can only blank: binary content, not settings.
    ForEachIniLine(bytes, [&](std::string_view line) {
        damaged = damaged || std::any_of(line.begin(), line.end(), IsControlByte);
    });
    return damaged;
}

namespace {

// The bytes of the file at `path` written under the first of "<path>.bak", "<path>.1.bak",
// "<path>.2.bak", ... that names nothing (not even a dangling link): a name another program takes
// meanwhile is left to it, so that no copy replaces an earlier one. The copy's path, or "".
std::string WriteBackup(const std::string& path, std::string_view bytes)
{
    constexpr int kMaxBackups = 10000;
    for (int n = 0; n < kMaxBackups; ++n) {
        std::string name = path + (n == 0 ? std::string() : "." + std::to_string(n)) + ".bak";
        std::error_code error;
        if (std::filesystem::symlink_status(name, error).type() != std::filesystem::file_type::not_found)
            continue;
        AtomicFileWriter writer(name);
        writer.Write(bytes);
        if (writer.Commit(false))
            return name;
        if (writer.SystemError() != EEXIST)
            return {};
    }
    return {};
}

} // namespace

std::string KeepAsBackup(const std::string& path)
{
    const std::optional<std::string> bytes = ReadWholeFile(path);
    return bytes ? WriteBackup(path, *bytes) : std::string();
}

std::string SetAsideDamagedSettings(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {};
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes || !IsDamagedIniText(*bytes))
        return {};
    std::string backup = WriteBackup(path, *bytes);
    if (backup.empty() || !std::filesystem::remove(path, error))
        return {};
    return backup;
}

namespace {

// Drops surrounding blanks and a leading '+' (from_chars takes only '-').
std::string_view NumberBody(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+' && (text.size() < 2 || text[1] != '-'))
        text.remove_prefix(1);
    return text;
}

// The whole text as one number; value unchanged on failure.
template <typename T>
bool ParseWhole(std::string_view text, T& value)
{
    T parsed{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

} // namespace

bool ParseIniInt(std::string_view text, int& value)
{
    return ParseWhole(NumberBody(text), value);
}

bool ParseIniDouble(std::string_view text, double& value)
{
    std::string body(NumberBody(text));
    std::replace(body.begin(), body.end(), ',', '.');
    return ParseWhole(std::string_view(body), value);
}
