#include "core/LasParser2.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/LasDataReader.h"
#include "core/LasLineReader.h"
#include "core/LasNumbers.h"
#include "core/StringUtils.h"

namespace {

char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void PadTo(std::string& out, int column)
{
    if (static_cast<int>(out.size()) < column)
        out.append(static_cast<size_t>(column) - out.size(), ' ');
}

// Pads to the column; a text already at or past it gets one blank (a value written right after
// the unit would be read back as part of the unit).
void PadToWithBlank(std::string& out, int column)
{
    if (static_cast<int>(out.size()) < column)
        PadTo(out, column);
    else
        out += ' ';
}

// Heap bytes a string holds beyond itself: a short text stands inside the object.
size_t HeapBytesOf(const std::string& text)
{
    return text.capacity() > std::string().capacity() ? text.capacity() + 1 : 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------

size_t TLasParsString::HeapBytes() const
{
    return HeapBytesOf(text_);
}

TLasParsString TLasParsString::TrimLeftCopy() const
{
    return TLasParsString(TrimLeft(View()));
}

TLasParsString TLasParsString::TrimRightCopy() const
{
    return TLasParsString(TrimRight(View()));
}

// ---------------------------------------------------------------------------------------------

int LasMnemonicCode(std::string_view mnemonic)
{
    static constexpr struct {
        std::string_view name;
        int code;
    } kTable[] = {
        {"VERS", kLineVers}, {"WRAP", kLineWrap}, {"STRT", kLineStrt}, {"STOP", kLineStop},
        {"STEP", kLineStep}, {"NULL", kLineNull}, {"COMP", kLineComp}, {"WELL", kLineWell},
        {"FLD", kLineFld},   {"LOC", kLineLoc},   {"PROV", kLineProv}, {"CNTY", kLineCnty},
        {"STAT", kLineStat}, {"CTRY", kLineCtry}, {"SRVC", kLineSrvc}, {"DATE", kLineDate},
        {"UWI", kLineUwi},   {"API", kLineApi},
    };
    for (const auto& entry : kTable)
        if (EqualIgnoringAsciiCase(mnemonic, entry.name))
            return entry.code;
    return -1;
}

LasParameterSplit LasParameterSplit::Of(std::string_view raw, bool firstColon)
{
    LasParameterSplit split;
    const size_t dot = raw.find('.');
    if (dot == std::string_view::npos)
        return split;
    size_t colon = firstColon ? raw.find(':', dot + 1) : raw.rfind(':');
    if (colon != std::string_view::npos && colon < dot)
        colon = std::string_view::npos;
    size_t unitEnd = raw.find_first_of(" \t", dot + 1);
    if (unitEnd == std::string_view::npos)
        unitEnd = raw.size();
    if (colon != std::string_view::npos && colon < unitEnd)
        unitEnd = colon;
    const size_t valueEnd = colon != std::string_view::npos ? colon : raw.size();
    split.dot = dot;
    split.unitEnd = unitEnd;
    split.colon = colon;
    split.value = Trim(raw.substr(unitEnd, valueEnd - unitEnd));
    return split;
}

std::string_view LasParameterSplit::Description(std::string_view raw) const
{
    return colon != std::string_view::npos ? Trim(raw.substr(colon + 1)) : std::string_view();
}

TLasParsParsedString::TLasParsParsedString(const TLasParsParsedString& other)
    : size_(other.size_),
      lineNumber_(other.lineNumber_),
      colonColumn_(other.colonColumn_),
      kind_(other.kind_),
      flags_(other.flags_)
{
    std::copy(std::begin(other.slot_), std::end(other.slot_), slot_);
    if (other.text_) {
        text_ = std::make_unique_for_overwrite<char[]>(size_ + 1);
        std::memcpy(text_.get(), other.text_.get(), size_ + 1);
    }
    if (other.set_) {
        set_ = std::make_unique<std::string[]>(4);
        std::copy(other.set_.get(), other.set_.get() + 4, set_.get());
    }
}

TLasParsParsedString& TLasParsParsedString::operator=(const TLasParsParsedString& other)
{
    if (this != &other)
        *this = TLasParsParsedString(other);
    return *this;
}

TLasParsParsedString::~TLasParsParsedString() = default;

TLasParsParsedString TLasParsParsedString::FromParameterLine(std::string_view raw, int kind,
                                                             bool firstColon)
{
    const LasParameterSplit split = LasParameterSplit::Of(raw, firstColon);
    // Fields end at a NUL in the stored text: a line holding one keeps no fields (the reader
    // refuses such lines anyway).
    if (split.dot == std::string_view::npos || raw.find('\0') != std::string_view::npos)
        return FromRawLine(raw, kind);
    // Each slot as [begin, end) of the raw line: its text without the blanks around it; an
    // empty one stands where its part of the line begins.
    const size_t valueEnd = split.colon != std::string_view::npos ? split.colon : raw.size();
    const size_t descriptionBegin = split.colon != std::string_view::npos ? split.colon + 1 : raw.size();
    const auto trimmed = [&](size_t from, size_t to) {
        const std::string_view text = Trim(raw.substr(from, to - from));
        const size_t begin = text.empty() ? from : static_cast<size_t>(text.data() - raw.data());
        return std::pair{begin, begin + text.size()};
    };
    const std::pair<size_t, size_t> slots[4] = {
        trimmed(0, split.dot),
        {split.dot + 1, split.unitEnd},
        trimmed(split.unitEnd, valueEnd),
        trimmed(descriptionBegin, raw.size()),
    };
    TLasParsParsedString line;
    line.kind_ = static_cast<signed char>(kind);
    line.flags_ = kHasRaw | kHasFields;
    line.size_ = static_cast<unsigned>(raw.size() + 4);
    line.text_ = std::make_unique_for_overwrite<char[]>(line.size_ + 1);
    char* out = line.text_.get();
    size_t done = 0;
    for (int slot = 0; slot < 4; ++slot) {
        const auto [begin, end] = slots[slot];
        out = std::copy(raw.data() + done, raw.data() + end, out);
        *out++ = '\0';
        line.slot_[slot] = static_cast<unsigned>(begin) + static_cast<unsigned>(slot);
        done = end;
    }
    out = std::copy(raw.data() + done, raw.data() + raw.size(), out);
    *out = '\0';
    line.colonColumn_ = split.colon != std::string_view::npos ? static_cast<int>(split.colon) : -1;
    return line;
}

TLasParsParsedString TLasParsParsedString::FromRawLine(std::string_view raw, int kind)
{
    TLasParsParsedString line;
    line.kind_ = static_cast<signed char>(kind);
    line.flags_ = kHasRaw;
    line.size_ = static_cast<unsigned>(raw.size());
    line.text_ = std::make_unique_for_overwrite<char[]>(raw.size() + 1);
    std::copy(raw.begin(), raw.end(), line.text_.get());
    line.text_[raw.size()] = '\0';
    return line;
}

TLasParsParsedString TLasParsParsedString::MakeNew(std::string_view mnemonic,
                                                   std::string_view unit, std::string_view value,
                                                   std::string_view description, int kind)
{
    TLasParsParsedString line;
    line.kind_ = static_cast<signed char>(kind);
    line.flags_ = kHasFields;
    line.SetField(kMnemonic, mnemonic);
    line.SetField(kUnit, unit);
    line.SetField(kValue, value);
    line.SetField(kDescription, description);
    return line;
}

std::string_view TLasParsParsedString::ReadSlot(int slot) const
{
    return (flags_ & kHasFields) && text_ ? std::string_view(text_.get() + slot_[slot])
                                          : std::string_view();
}

const char* TLasParsParsedString::GetField(int field) const
{
    const int slot = SlotOf(field);
    if (IsSet(slot))
        return set_[slot].c_str();
    return (flags_ & kHasFields) && text_ ? text_.get() + slot_[slot] : "";
}

std::string_view TLasParsParsedString::GetFieldAsRead(int field) const
{
    return ReadSlot(SlotOf(field));
}

void TLasParsParsedString::SetField(int field, std::string_view text)
{
    const int slot = SlotOf(field);
    if (!set_)
        set_ = std::make_unique<std::string[]>(4);
    set_[slot].assign(text);
    flags_ |= static_cast<unsigned char>(0x10 << slot);
}

std::string TLasParsParsedString::GetRawText() const
{
    if (!text_)
        return {};
    if (!(flags_ & kHasFields))
        return std::string(text_.get(), size_);
    // The text without the NUL that ends each field.
    std::string raw;
    raw.reserve(size_ - 4);
    size_t done = 0;
    for (int slot = 0; slot < 4; ++slot) {
        const size_t end = slot_[slot] + ReadSlot(slot).size();
        raw.append(text_.get() + done, end - done);
        done = end + 1;
    }
    raw.append(text_.get() + done, size_ - done);
    return raw;
}

int TLasParsParsedString::GetDotColumn() const
{
    return (flags_ & kHasRaw) && (flags_ & kHasFields) ? ReadColumn(kUnit) - 1 : -1;
}

std::string TLasParsParsedString::Compose() const
{
    if (!(flags_ & kHasRaw))
        return Rebuild();
    if (!IsModified() || !(flags_ & kHasFields))
        return GetRawText();
    return Rebuild();
}

std::string TLasParsParsedString::Rebuild() const
{
    const auto slotText = [this](int slot) {
        return IsSet(slot) ? std::string_view(set_[slot]) : ReadSlot(slot);
    };
    std::string out;
    if (!(flags_ & kHasRaw)) {
        out = slotText(kMnemonic);
        PadTo(out, 8);
        out += '.';
        out += slotText(kUnit);
        PadTo(out, 9 + 10);
        out += ' ';
        out += slotText(kValue);
        out += " : ";
        out += slotText(kDescription);
        return out;
    }
    // Rebuilt in the old layout: mnemonic up to the old dot, value from the old value column,
    // colon in the old colon column; the text after the colon as read unless it was set.
    const std::string raw = GetRawText();
    out = raw.substr(0, raw.find_first_not_of(" \t"));
    out += slotText(kMnemonic);
    PadTo(out, GetDotColumn());
    out += '.';
    out += slotText(kUnit);
    const int valueColumn = ReadColumn(kValue) + (ReadSlot(kValue).empty() ? 1 : 0);
    PadToWithBlank(out, valueColumn);
    out += slotText(kValue);
    // The colon may follow the value directly, as it did in the line read.
    if (static_cast<int>(out.size()) != colonColumn_)
        PadToWithBlank(out, colonColumn_);
    out += ':';
    if (!IsSet(kDescription) && colonColumn_ >= 0) {
        out.append(raw, static_cast<size_t>(colonColumn_) + 1);
    } else if (const std::string_view after = slotText(kDescription); !after.empty()) {
        out += ' ';
        out += after;
    }
    return out;
}

size_t TLasParsParsedString::MemoryBytes() const
{
    size_t bytes = sizeof(*this) + (text_ ? size_ + 1 : 0);
    if (set_) {
        bytes += 4 * sizeof(std::string);
        for (int slot = 0; slot < 4; ++slot)
            bytes += HeapBytesOf(set_[slot]);
    }
    return bytes;
}

std::string LasFieldProblem(int field, std::string_view text)
{
    const auto has = [&](const char* chars) { return text.find_first_of(chars) != text.npos; };
    switch (field) {
    case TLasParsParsedString::kMnemonic:
        if (Trim(text).empty())
            return "Не задано имя кривой";
        if (has(".: \t\r\n"))
            return "Имя кривой не может содержать точку, двоеточие, пробел или перевод строки";
        break;
    case TLasParsParsedString::kUnit:
        if (has(": \t\r\n"))
            return "Единица измерения не может содержать пробел, двоеточие или перевод строки";
        break;
    case TLasParsParsedString::kDescription:
        if (has(":\r\n"))
            return "Описание кривой не может содержать двоеточие или перевод строки";
        break;
    default: break;
    }
    return {};
}

// ---------------------------------------------------------------------------------------------

int TLasParsSection::KindOfTitle(std::string_view title)
{
    title = TrimLeft(title);
    if (title.size() < 2 || title[0] != '~')
        return kSectionCustom;
    switch (UpperAscii(title[1])) {
    case 'V': return kSectionVersion;
    case 'W': return kSectionWell;
    case 'C': return kSectionCurve;
    case 'P': return kSectionParameter;
    case 'O': return kSectionOther;
    case 'A': return kSectionData;
    default: return kSectionCustom;
    }
}

void TLasParsSection::SetTitle(std::string_view title, int lineNumber)
{
    title_ = title;
    titleLine_ = lineNumber;
    name_.Assign(TrimLeft(title));
}

TLasParsParsedString* TLasParsSection::GetLine(int i)
{
    return i >= 0 && i < GetCount() ? lines_[static_cast<size_t>(i)].get() : nullptr;
}

const TLasParsParsedString* TLasParsSection::GetLine(int i) const
{
    return const_cast<TLasParsSection*>(this)->GetLine(i);
}

TLasParsParsedString* TLasParsSection::FindLineByCode(int code)
{
    for (auto& line : lines_)
        if (line->GetKind() == code)
            return line.get();
    return nullptr;
}

const TLasParsParsedString* TLasParsSection::FindLineByCode(int code) const
{
    return const_cast<TLasParsSection*>(this)->FindLineByCode(code);
}

TLasParsParsedString* TLasParsSection::FindLineByMnemonic(std::string_view mnemonic)
{
    for (auto& line : lines_)
        if (line->HasFields() && mnemonic == line->Mnemonic())
            return line.get();
    return nullptr;
}

const TLasParsParsedString* TLasParsSection::FindLineByMnemonic(std::string_view mnemonic) const
{
    return const_cast<TLasParsSection*>(this)->FindLineByMnemonic(mnemonic);
}

TLasParsParsedString* TLasParsSection::AddLine(TLasParsParsedString line)
{
    return InsertLine(GetCount(), std::move(line));
}

TLasParsParsedString* TLasParsSection::InsertLine(int i, TLasParsParsedString line)
{
    i = std::clamp(i, 0, GetCount());
    auto owned = std::make_unique<TLasParsParsedString>(std::move(line));
    ++revision_;
    return lines_.insert(lines_.begin() + i, std::move(owned))->get();
}

void TLasParsSection::DeleteLine(int i)
{
    if (i >= 0 && i < GetCount()) {
        lines_.erase(lines_.begin() + i);
        ++revision_;
    }
}

void TLasParsSection::Clear()
{
    ++revision_;
    lines_.clear();
    title_.clear();
    titleLine_ = 0;
    name_.Assign({});
}

const TLasParsParsedString* FindDateLine(const TLasParsSection& section)
{
    return section.FindLineByCode(kLineDate);
}

// ---------------------------------------------------------------------------------------------

TLasParser2Header::TLasParser2Header() = default;
TLasParser2Header::~TLasParser2Header() = default;

void TLasParser2Header::Reset()
{
    FileName.Assign({});
    error_.clear();
    preamble_.clear();
    byteOrderMark_ = false;
    for (TLasParsSection* section : {&version_, &well_, &curve_, &parameter_, &other_})
        section->Clear();
    custom_.clear();
    order_.clear();
    dataSection_ = nullptr;
    encoding_ = TextEncoding::Cp866;
}

bool TLasParser2Header::Open(LasLineReader& reader, const std::string& path)
{
    Reset();
    if (!reader.Open(path)) {
        SetError("Не удалось открыть файл '" + path + "'");
        return false;
    }
    FileName.Assign(path);
    return true;
}

bool TLasParser2Header::ParseFile(const std::string& path)
{
    LasLineReader reader;
    return Open(reader, path) && ReadHeader(reader);
}

TLasParsSection* TLasParser2Header::GetSection(int i)
{
    return i >= 0 && i < GetSectionCount() ? order_[static_cast<size_t>(i)] : nullptr;
}

const TLasParsSection* TLasParser2Header::GetSection(int i) const
{
    return const_cast<TLasParser2Header*>(this)->GetSection(i);
}

double TLasParser2Header::GetVersion() const
{
    const TLasParsParsedString* vers = version_.FindLineByCode(kLineVers);
    float version = 0.0f;
    if (!vers || !ParseLasFloat(vers->Value(), vers->Value() + std::strlen(vers->Value()), version))
        return 0.0;
    return version;
}

size_t TLasParser2Header::MemoryBytes() const
{
    size_t bytes = sizeof(*this) + order_.capacity() * sizeof(TLasParsSection*);
    for (const TLasParsSection* section : order_) {
        bytes += sizeof(*section) + HeapBytesOf(section->GetTitle()) +
                 static_cast<size_t>(section->GetCount()) * sizeof(void*);
        for (int i = 0; i < section->GetCount(); ++i)
            bytes += section->GetLine(i)->MemoryBytes();
    }
    return bytes;
}

bool TLasParser2Header::IsWrapped() const
{
    const TLasParsParsedString* wrap = version_.FindLineByCode(kLineWrap);
    return wrap && EqualIgnoringAsciiCase(wrap->Value(), "YES");
}

bool LasHeaderWalker::Walk(LasLineReader& reader, Visitor& visitor)
{
    error_.clear();
    encoding_ = TextEncoding::Cp866;
    std::string_view head = reader.Peek();
    if (LooksLikeUtf16(head)) {
        error_ = "Файл в кодировке UTF-16 не поддерживается (строка 1)";
        return false;
    }
    byteOrderMark_ = head.substr(0, 3) == "\xEF\xBB\xBF";
    if (byteOrderMark_)
        reader.Skip(3);

    TextEncodingDetector encoding(byteOrderMark_);
    bool wellOrVersion = false;
    int sectionKind = kSectionNone;
    std::string_view line;
    while (reader.NextLine(line)) {
        if (line.find('\0') != std::string_view::npos) {
            error_ = "Файл не является текстовым файлом LAS: двоичные данные в строке " +
                     std::to_string(reader.LineNumber());
            return false;
        }
        encoding.Add(line);
        const std::string_view text = TrimLeft(line);
        if (!text.empty() && text[0] == '~') {
            sectionKind = TLasParsSection::KindOfTitle(line);
            wellOrVersion = wellOrVersion || sectionKind == kSectionVersion || sectionKind == kSectionWell;
            visitor.Title(line, reader.LineNumber(), sectionKind);
            if (sectionKind == kSectionData)
                break;
            continue;
        }
        visitor.Line(line, reader.LineNumber(), sectionKind);
    }
    if (!wellOrVersion) {
        error_ = "Файл не является файлом LAS: нет секций ~V и ~W (просмотрено строк: " +
                 std::to_string(reader.LineNumber()) + ")";
        return false;
    }
    encoding_ = encoding.Result();
    return true;
}

// Builds the header model from the walk: sections in file order, their lines, the preamble.
class TLasParser2Header::Builder : public LasHeaderWalker::Visitor {
public:
    explicit Builder(TLasParser2Header& header) : header_(header) {}

    void Title(std::string_view line, int lineNumber, int) override
    {
        current_ = header_.OpenSection(line, lineNumber);
    }
    void Line(std::string_view line, int lineNumber, int) override
    {
        if (current_)
            header_.AddHeaderLine(*current_, line, lineNumber);
        else
            header_.preamble_.emplace_back(line);
    }

private:
    TLasParser2Header& header_;
    TLasParsSection* current_ = nullptr;
};

bool TLasParser2Header::ReadHeader(LasLineReader& reader)
{
    LasHeaderWalker walker;
    Builder builder(*this);
    if (!walker.Walk(reader, builder)) {
        SetError(walker.GetError());
        return false;
    }
    byteOrderMark_ = walker.HasByteOrderMark();
    encoding_ = walker.GetEncoding();
    SwapLas12InformationLines();
    return true;
}

TLasParsSection* TLasParser2Header::OpenSection(std::string_view title, int lineNumber)
{
    TLasParsSection* section = nullptr;
    switch (TLasParsSection::KindOfTitle(title)) {
    case kSectionVersion: section = &version_; break;
    case kSectionWell: section = &well_; break;
    case kSectionCurve: section = &curve_; break;
    case kSectionParameter: section = &parameter_; break;
    case kSectionOther: section = &other_; break;
    default:
        custom_.push_back(std::make_unique<TLasParsSection>(TLasParsSection::KindOfTitle(title)));
        section = custom_.back().get();
        if (section->GetKind() == kSectionData)
            dataSection_ = section;
        break;
    }
    // A repeated ~V, ~W or ~C title continues the section already met: its lines tell how the
    // data is read; the title stays among them. Any other repeated section stands on its own,
    // where it was read.
    if (section->IsInFile() && (section == &parameter_ || section == &other_)) {
        custom_.push_back(std::make_unique<TLasParsSection>(section->GetKind()));
        section = custom_.back().get();
    } else if (section->IsInFile() && section->GetKind() != kSectionData) {
        section->AddLine(TLasParsParsedString::FromRawLine(title, kLineSectionTitle))->SetLineNumber(lineNumber);
    }
    if (!section->IsInFile()) {
        section->SetTitle(title, lineNumber);
        order_.push_back(section);
    }
    return section;
}

std::vector<LasTitleWord> LasDataTitleWords(std::string_view title)
{
    std::vector<LasTitleWord> words;
    size_t at = title.find_first_of(" \t", title.find_first_not_of(" \t"));
    while (at != std::string_view::npos) {
        const size_t begin = title.find_first_not_of(" \t", at);
        if (begin == std::string_view::npos)
            break;
        const size_t end = std::min(title.find_first_of(" \t", begin), title.size());
        words.push_back({title.substr(at, begin - at), title.substr(begin, end - begin)});
        at = end < title.size() ? end : std::string_view::npos;
    }
    return words;
}

int LasHeaderLineCode(int sectionKind, std::string_view line)
{
    const std::string_view text = TrimLeft(line);
    if (text.empty())
        return kLineFreeText;
    if (text[0] == '#')
        return kLineComment;
    const size_t dot = line.find('.');
    if (sectionKind == kSectionOther || sectionKind == kSectionCustom || dot == std::string_view::npos)
        return kLineFreeText;
    if (sectionKind == kSectionCurve)
        return kLineCurve;
    const int code = LasMnemonicCode(Trim(line.substr(0, dot)));
    if (code >= 0)
        return code;
    return sectionKind == kSectionParameter ? kLineOtherParameter : kLineParameter;
}

void TLasParser2Header::AddHeaderLine(TLasParsSection& section, std::string_view line,
                                      int lineNumber)
{
    const int code = LasHeaderLineCode(section.GetKind(), line);
    TLasParsParsedString parsed = code == kLineFreeText || code == kLineComment
                                      ? TLasParsParsedString::FromRawLine(line, code)
                                      : TLasParsParsedString::FromParameterLine(line, code);
    section.AddLine(std::move(parsed))->SetLineNumber(lineNumber);
}

void TLasParser2Header::SwapLas12InformationLines()
{
    const double version = GetVersion();
    if (version <= 0.0 || version >= 2.0)
        return;
    for (int i = 0; i < well_.GetCount(); ++i) {
        TLasParsParsedString* line = well_.GetLine(i);
        const int code = line->GetKind();
        if (!line->HasFields() || code == kLineStrt || code == kLineStop || code == kLineStep ||
            code == kLineNull)
            continue;
        const int lineNumber = line->GetLineNumber();
        *line = TLasParsParsedString::FromParameterLine(line->GetRawText(), code, true);
        line->SetLineNumber(lineNumber);
        line->SwapValueAndDescription();
    }
}

// ---------------------------------------------------------------------------------------------

void TLasParser2Parser::Reset()
{
    TLasParser2Header::Reset();
    arrays_.Clear();
    decimals_.clear();
    depthDecimals_ = 2;
    nullValue_ = kDefaultNull;
    nullText_ = "-999.25";
    stepValue_ = 0.0f;
    descending_ = false;
    dataTitleNamesCurves_ = false;
    dataTitleWordsColumns_ = false;
    curveLinesAsRead_.clear();
    omittedData_.clear();
    unloadedData_.clear();
    typed_.Clear();
    source_ = {};
}

void TLasParser2Parser::ReadFile(const std::string& path, int defaultDecimals)
{
    try {
        ReadDocument(path, defaultDecimals);
    } catch (...) {
        Reset();  // a failed read leaves nothing half-loaded
        throw;
    }
}

void TLasParser2Parser::ReadDocument(const std::string& path, int defaultDecimals)
{
    const std::optional<LasFileStamp> stamp = LasFileStamp::Of(path);
    LasLineReader reader;
    if (!Open(reader, path) || !ReadHeader(reader))
        throw std::runtime_error(GetError());
    if (GetVersion() >= 3.0) {
        const TLasParsParsedString* vers = GetVersionSection().FindLineByCode(kLineVers);
        throw std::runtime_error("Версия LAS " + std::string(vers->Value()) +
                                 " не поддерживается (строка " +
                                 std::to_string(vers->GetLineNumber()) + " файла)");
    }
    ReadWellValues();
    int curveCount = 0;
    while (GetCurveLine(curveCount))
        ++curveCount;
    const int dataLine = reader.LineNumber() + 1;
    if (std::string reason = MissingDataReason(curveCount, dataLine, reader); !reason.empty())
        throw std::runtime_error(reason);

    dataTitleNamesCurves_ = TitleNamesCurves(curveCount);
    dataTitleWordsColumns_ = TitleWordsColumns(curveCount);
    for (int i = 0; i < curveCount; ++i)
        curveLinesAsRead_.push_back(GetCurveLine(i)->GetLineNumber());
    const long long dataOffset = reader.Offset();
    LasDataColumns columns = ReadLasData(reader, dataLine, curveCount, nullValue_, nullText_,
                                         IsWrapped(), MemoryBytes());
    arrays_.Swap(columns.arrays);
    readDepths_ = std::move(columns.depths);
    DescribeOmittedData(columns, reader, curveCount);
    descending_ = columns.descending;
    decimals_.resize(static_cast<size_t>(curveCount));
    for (int i = 0; i < curveCount; ++i) {
        const int found = columns.decimals[static_cast<size_t>(i)];
        decimals_[static_cast<size_t>(i)] =
            found >= 0 ? std::min(found, kMaxLasDecimals) : defaultDecimals;
    }
    // Depths keep the decimals of their column; a column of whole numbers those of STEP, at
    // least 2 (a step set later must not be rounded away).
    int depthDecimals = columns.decimals[0];
    if (depthDecimals < 0) {
        depthDecimals = 2;
        if (const TLasParsParsedString* step = GetWellSection().FindLineByCode(kLineStep))
            depthDecimals = std::max(depthDecimals, LasDecimals(step->Value()));
    }
    depthDecimals_ = std::min(depthDecimals, kMaxLasDecimals);
    KeepDataSource(path, stamp, reader, dataOffset, columns);
}

// Values beyond the curves, rows short of them, a '~' line, text after a DOS end-of-file byte and a last row cut
// short, named with their lines.
void TLasParser2Parser::DescribeOmittedData(const LasDataColumns& columns,
                                            const LasLineReader& reader, int curveCount)
{
    std::string& unloaded = unloadedData_;
    if (columns.surplusLine > 0) {
        unloaded = "В строке " + std::to_string(columns.surplusLine) +
                   " файла значений больше, чем кривых в секции ~C (" + std::to_string(curveCount) +
                   "), лишние значения не загружены";
        if (columns.surplusLines > 1)
            unloaded += " (всего таких строк: " + std::to_string(columns.surplusLines) + ")";
        unloaded += '\n';
    }
    omittedData_ = unloaded;
    if (columns.shortRows > 0) {
        omittedData_ += "В строке " + std::to_string(columns.shortRowLine) +
                        " файла значений меньше, чем кривых в секции ~C (" +
                        std::to_string(curveCount) + "), вместо недостающих загружен NULL";
        if (columns.shortRows > 1)
            omittedData_ += " (всего таких строк: " + std::to_string(columns.shortRows) + ")";
        omittedData_ += '\n';
    }
    const size_t stop = omittedData_.size();
    if (columns.stopLine > 0)
        omittedData_ += "Строка " + std::to_string(columns.stopLine) +
                        " файла начинается с '~' внутри секции ~A: она и все строки после нее не "
                        "загружены\n";
    else if (reader.EndMarkOffset() >= 0 && !reader.EndsWithMarkOnly())
        omittedData_ += DosEndMarkText(columns.endLine) + '\n';
    unloaded += omittedData_.substr(stop);
    if (const int missing = columns.lastRowMissing; missing > 0) {
        const bool one = missing % 10 == 1 && missing % 100 != 11;
        omittedData_ += "Последняя строка данных неполная (строка " +
                        std::to_string(columns.lastRowLine) + " файла, глубина " +
                        columns.lastDepthText + "): не хватает " + std::to_string(missing) +
                        (one ? " значения" : " значений") + " из " + std::to_string(curveCount) +
                        ", вместо недостающих загружен NULL\n";
    }
}

void TLasParser2Parser::KeepDataSource(const std::string& path,
                                       const std::optional<LasFileStamp>& stamp,
                                       const LasLineReader& reader, long long dataOffset,
                                       LasDataColumns& columns)
{
    LasDataSource& source = source_;
    if (!reader.FirstLineEnd().empty())
        source.lineEnd = reader.FirstLineEnd();
    source.rowsComplete = columns.lastRowMissing == 0 && columns.shortRows == 0;
    const bool markOnly = reader.EndMarkOffset() < 0 || reader.EndsWithMarkOnly();
    source.whole = columns.surplusLine == 0 && columns.stopLine == 0 && markOnly;
    if (!stamp)
        return;
    if (reader.EndMarkOffset() >= 0 && markOnly)
        source.endMark = reader.EndMark();
    source.summary = std::move(columns.summary);
    source.path = path;
    source.stamp = *stamp;
    source.dataOffset = dataOffset;
    source.rows = arrays_.Count() > 0 ? arrays_.Item(0).Count() : 0;
    source.columns = arrays_.Count();
    source.wrapped = IsWrapped();
    source.firstDepthText = std::move(columns.firstDepthText);
    source.lastDepthText = std::move(columns.lastDepthText);
    source.curveColumns.resize(static_cast<size_t>(arrays_.Count()));
    for (size_t i = 0; i < source.curveColumns.size(); ++i)
        source.curveColumns[i] = static_cast<int>(i);
    source.decimals = decimals_;
    source.decimals[0] = depthDecimals_;
}

std::string TLasParser2Parser::MissingDataReason(int curveCount, int dataLine,
                                                 const LasLineReader& reader) const
{
    if (!HasDataSection()) {
        if (reader.EndMarkOffset() < 0 || reader.EndsWithMarkOnly())
            return "Файл не содержит данных";
        // The mark stands on the last line read, or starts the next one.
        const int line = reader.LineNumber() + (reader.LineEnd().empty() ? 0 : 1);
        return DosEndMarkText(line) + ", секции ~A до него нет";
    }
    if (curveCount > 0)
        return {};
    const TLasParsSection& curves = GetCurveSection();
    if (!curves.IsInFile())
        return "В файле нет секции ~C с описанием кривых, данные со строки " +
               std::to_string(dataLine) + " прочитать нельзя";
    return "Секция ~C (строка " + std::to_string(curves.GetTitleLineNumber()) +
           " файла) не описывает ни одной кривой, данные со строки " + std::to_string(dataLine) +
           " прочитать нельзя";
}

void TLasParser2Parser::ReadWellValues()
{
    const TLasParsSection& well = GetWellSection();
    if (const TLasParsParsedString* null = well.FindLineByCode(kLineNull)) {
        float value;
        if (ParseLasNumber(null->Value(), value)) {
            nullValue_ = value;
            nullText_ = std::string(Trim(null->Value()));
        }
    }
    if (const TLasParsParsedString* step = well.FindLineByCode(kLineStep)) {
        float value;
        if (ParseLasNumber(step->Value(), value))
            stepValue_ = value;
    }
}

bool TLasParser2Parser::TitleNamesCurves(int curveCount) const
{
    if (!GetDataSection())
        return false;
    const std::vector<LasTitleWord> words = LasDataTitleWords(GetDataSection()->GetTitle());
    if (words.size() != static_cast<size_t>(curveCount))
        return false;
    for (int i = curveCount > 1 ? 1 : 0; i < curveCount; ++i)
        if (words[static_cast<size_t>(i)].word != GetCurveLine(i)->Mnemonic())
            return false;
    return true;
}

bool TLasParser2Parser::TitleWordsColumns(int curveCount) const
{
    if (!GetDataSection())
        return false;
    const std::vector<LasTitleWord> words = LasDataTitleWords(GetDataSection()->GetTitle());
    if (words.empty() || words.size() != static_cast<size_t>(curveCount))
        return false;
    bool columns = EqualIgnoringAsciiCase(words.front().word.substr(0, 4), "DEPT");
    for (int i = 0; i < curveCount && !columns; ++i)
        columns = words[static_cast<size_t>(i)].word == GetCurveLine(i)->Mnemonic();
    return columns;
}

int TLasParser2Parser::GetColumnAsRead(int i) const
{
    const TLasParsParsedString* line = GetCurveLine(i);
    if (!line || line->GetLineNumber() <= 0)
        return -1;
    const auto found = std::lower_bound(curveLinesAsRead_.begin(), curveLinesAsRead_.end(), line->GetLineNumber());
    return found != curveLinesAsRead_.end() && *found == line->GetLineNumber()
               ? static_cast<int>(found - curveLinesAsRead_.begin())
               : -1;
}

TLasParsParsedString* TLasParser2Parser::GetCurveLine(int i)
{
    TLasParsSection& curves = GetCurveSection();
    if (curveLinesRevision_ != curves.GetRevision()) {
        curveLines_.clear();
        for (int k = 0; k < curves.GetCount(); ++k)
            if (curves.GetLine(k)->GetKind() == kLineCurve)
                curveLines_.push_back(curves.GetLine(k));
        curveLinesRevision_ = curves.GetRevision();
    }
    return i >= 0 && i < static_cast<int>(curveLines_.size()) ? curveLines_[static_cast<size_t>(i)]
                                                              : nullptr;
}

const TLasParsParsedString* TLasParser2Parser::GetCurveLine(int i) const
{
    return const_cast<TLasParser2Parser*>(this)->GetCurveLine(i);
}
