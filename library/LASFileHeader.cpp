// Reading the ~W fields of a LAS file and writing changed ones back through a temporary file.
#include "library/LASFileHeader.h"

#include <stdexcept>

#include "core/AtomicFile.h"
#include "core/LasLineReader.h"
#include "core/LasParser2.h"
#include "core/StringUtils.h"

namespace {

bool IsLas12Information(double version, int code)
{
    return version > 0.0 && version < 2.0 && code != kLineStrt && code != kLineStop &&
           code != kLineStep && code != kLineNull;
}

// Characters of the text in the encoding (bytes, or UTF-8 lead bytes).
size_t CharCount(std::string_view text, TextEncoding encoding)
{
    if (encoding != TextEncoding::Utf8)
        return text.size();
    size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

} // namespace

bool SplitHeaderLine(std::string_view line, double version, HeaderLineParts& parts)
{
    const size_t dot = line.find('.');
    if (dot == std::string_view::npos)
        return false;
    const int code = LasMnemonicCode(Trim(line.substr(0, dot)));
    parts.information = IsLas12Information(version, code);
    TLasParsParsedString parsed = TLasParsParsedString::FromParameterLine(line, code, parts.information);
    if (parts.information)
        parsed.SwapValueAndDescription();
    parts.mnemonic = RemoveChars(line.substr(0, dot), " \t");
    const int colon = parsed.GetColonColumn();
    const size_t end = colon >= 0 ? static_cast<size_t>(colon) : line.size();
    parts.information = parts.information && colon >= 0;
    if (parts.information) {
        parts.head = line.substr(0, end + 1);
        parts.value = line.substr(end + 1);
        parts.tail = {};
        return true;
    }
    const size_t unitEnd = std::min(dot + 1 + std::string_view(parsed.Unit()).size(), end);
    const size_t valueBegin = unitEnd < end ? unitEnd + 1 : unitEnd;
    parts.head = line.substr(0, unitEnd);
    parts.value = line.substr(valueBegin, end - valueBegin);
    parts.tail = line.substr(end);
    return true;
}

int LASFileHeader::Read(const std::string& path)
{
    TLasParser2Header header;
    if (!header.ParseFile(path))
        return 1;
    static const struct {
        int code;
        const char* field;
    } kLines[] = {{kLineWell, "well"}, {kLineFld, "fld"},   {kLineComp, "comp"},
                  {kLineSrvc, "srvc"}, {kLineDate, "date"}, {kLineLoc, "loc"}};
    encoding_ = header.GetEncoding();
    const TLasParsSection& well = header.GetWellSection();
    for (const auto& entry : kLines) {
        const TLasParsParsedString* line =
            entry.code == kLineDate ? FindDateLine(well) : well.FindLineByCode(entry.code);
        if (line)
            SetValue(entry.field, header.Decode(line->Value()));
    }
    ClearChangedFlags();
    return 0;
}

void LASFileHeader::CheckValue(const std::string& name, const std::string& value) const
{
    std::string bad;
    const size_t lineBreak = value.find_first_of("\r\n");
    std::string encoded;
    if (lineBreak != std::string::npos)
        bad = "перевод строки";
    else if (EncodeText(value, encoding_, encoded, &bad))
        return;
    throw std::runtime_error("Значение поля '" + GetFieldCaption(name) +
                             "' содержит символы, которые нельзя записать в LAS файл: '" + bad +
                             "'");
}

bool LASFileHeader::GetExtraFieldInfo(const std::string&, FieldInfo&) const
{
    return false;
}

std::string LASFileHeader::GetExtraFieldCaption(const std::string& name) const
{
    return name;
}

std::string LASFileHeader::RewriteWellLine(std::string_view line, double version,
                                           TextEncoding encoding) const
{
    HeaderLineParts parts;
    if (!SplitHeaderLine(line, version, parts) || !HasField(parts.mnemonic) ||
        !IsFieldChanged(parts.mnemonic))
        return std::string(line);
    std::string value;
    if (!EncodeText(GetString(parts.mnemonic), encoding, value))
        throw std::runtime_error("Значение поля нельзя записать в кодировке файла");
    std::string out(parts.head);
    if (parts.information) {
        // LAS 1.2: the information after the colon is replaced, the text before it kept.
        out += ' ';
        out += value;
        return out;
    }
    // A value that fits keeps the colon in its column; a longer one pushes it right.
    const size_t oldWidth = CharCount(parts.value, encoding);
    const size_t newWidth = CharCount(value, encoding);
    out.append(oldWidth > newWidth ? oldWidth - newWidth : 1, ' ');
    out += value;
    if (!parts.tail.empty()) {
        out += " : ";
        out += parts.tail.substr(1);  // the description with its own leading blank
    }
    return out;
}

int LASFileHeader::Write(const std::string& path)
{
    bool changed = false;
    for (const std::string& name : GetFieldNames())
        changed = changed || IsFieldChanged(name);
    if (!changed)
        return -1;

    TLasParser2Header header;
    LasLineReader reader;
    if (!header.ParseFile(path) || !reader.Open(path))
        return OpenFailed;
    AtomicFileWriter writer(path);
    if (!writer.IsOpen())
        return OpenFailed;
    const double version = header.GetVersion();
    bool well = false;
    bool data = false;
    std::string_view line;
    try {
        // Every line keeps its own line end; only changed ~W lines are rebuilt.
        while (reader.NextLine(line)) {
            std::string_view text = TrimLeft(line);
            if (reader.LineNumber() == 1 && text.substr(0, 3) == "\xEF\xBB\xBF")
                text.remove_prefix(3);
            if (data || text.size() <= 1 || text[0] == '#') {
                writer.Write(line);
            } else if (text[0] == '~') {
                const char kind = text[1];
                well = kind == 'W' || kind == 'w';
                data = kind == 'A' || kind == 'a';
                writer.Write(line);
            } else if (well) {
                writer.Write(RewriteWellLine(line, version, header.GetEncoding()));
            } else {
                writer.Write(line);
            }
            writer.Write(reader.LineEnd());
        }
    } catch (const std::exception&) {
        return WriteFailed;
    }
    return writer.Commit() ? 0 : WriteFailed;
}
