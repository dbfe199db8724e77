// Field table, lookup, typed reads and checked writes of a log file header.
#include "library/LogFileHeader.h"

#include <locale>
#include <sstream>
#include <stdexcept>

#include "core/StringUtils.h"

namespace {

struct StdField {
    const char* name;
    const char* caption;
};

constexpr StdField kStdFields[ILogFileHeader::StdFieldCount] = {
    {"fld", "Площадь"},     {"well", "Скважина"}, {"comp", "Компания"},
    {"srvc", "Исполнитель"}, {"date", "Дата"},     {"loc", "Место"},
};

[[noreturn]] void ConversionFailed()
{
    throw std::runtime_error("Invalid data type conversion");
}

// A formatted extraction of T from the text (leading blanks skipped, the rest ignored).
template <class T>
T Extract(const std::string& text)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    T value{};
    if (!(in >> value))
        ConversionFailed();
    return value;
}

// The value written into a stream with its default formatting and read back as one word.
template <class T>
std::string Format(T value)
{
    std::stringstream stream;
    stream.imbue(std::locale::classic());
    stream << value;
    std::string word;
    if (!(stream >> word))
        ConversionFailed();
    return word;
}

} // namespace

bool ILogFileHeader::LookupField(const std::string& name, FieldRef& ref) const
{
    const std::string lowered = LowerCaseCp1251(name);
    for (int i = 0; i < StdFieldCount; ++i)
        if (lowered == kStdFields[i].name) {
            ref = {true, i};
            return true;
        }
    for (size_t i = 0; i < extraNames_.size(); ++i)
        if (name == extraNames_[i]) {
            ref = {false, static_cast<int>(i)};
            return true;
        }
    return false;
}

ILogFileHeader::FieldRef ILogFileHeader::FindField(const std::string& name) const
{
    FieldRef ref;
    if (!LookupField(name, ref))
        throw std::runtime_error("Поле отсутствует: " + name);
    return ref;
}

bool ILogFileHeader::HasField(const std::string& name) const
{
    FieldRef ref;
    return LookupField(name, ref);
}

std::vector<std::string> ILogFileHeader::GetFieldNames() const
{
    std::vector<std::string> names;
    for (const StdField& field : kStdFields)
        names.emplace_back(field.name);
    names.insert(names.end(), extraNames_.begin(), extraNames_.end());
    return names;
}

bool ILogFileHeader::GetFieldInfo(const std::string& name, FieldInfo& info) const
{
    FieldRef ref;
    if (LookupField(name, ref) && ref.standard) {
        info.type = FieldInfo::Text;
        info.writable = 1;
        return true;
    }
    return GetExtraFieldInfo(name, info);
}

const std::string& ILogFileHeader::ValueOf(const FieldRef& ref) const
{
    return ref.standard ? stdValues_[ref.index] : extraValues_[static_cast<size_t>(ref.index)];
}

std::string ILogFileHeader::GetString(const std::string& name) const
{
    return ValueOf(FindField(name));
}

int ILogFileHeader::GetInt(const std::string& name) const
{
    return Extract<int>(GetString(name));
}

double ILogFileHeader::GetFloat(const std::string& name) const
{
    return LexicalCastToFloat(GetString(name));
}

bool ILogFileHeader::GetBool(const std::string& name) const
{
    return Extract<bool>(GetString(name));
}

std::string ILogFileHeader::GetFieldCaption(const std::string& name) const
{
    const FieldRef ref = FindField(name);
    return ref.standard ? GetStdFieldCaption(ref.index) : GetExtraFieldCaption(name);
}

std::string ILogFileHeader::GetStdFieldCaption(int index) const
{
    return kStdFields[index].caption;
}

bool ILogFileHeader::IsFieldChanged(const std::string& name) const
{
    const FieldRef ref = FindField(name);
    return ref.standard ? stdChanged_[ref.index] : extraChanged_[static_cast<size_t>(ref.index)];
}

void ILogFileHeader::ClearChangedFlags()
{
    for (bool& changed : stdChanged_)
        changed = false;
    extraChanged_.assign(extraChanged_.size(), false);
}

void ILogFileHeader::CheckValue(const std::string&, const std::string&) const {}

std::string ILogFileHeader::ConvertValueByType(const std::string& value, int type)
{
    switch (type) {
    case FieldInfo::Text: return value;
    case FieldInfo::Integer: return Format(Extract<int>(value));
    case FieldInfo::Float: return Format(static_cast<double>(LexicalCastToFloat(value)));
    case FieldInfo::Boolean: return Extract<bool>(value) ? "1" : "0";
    default: throw std::runtime_error("Неподдерживаемый тип значений");
    }
}

void ILogFileHeader::SetValue(const std::string& name, const std::string& value)
{
    FieldInfo info;
    if (!GetFieldInfo(name, info))
        throw std::runtime_error("Отсутствует поле " + name);
    if (!info.writable)
        throw std::runtime_error("Попытка изменить константное поле " + name);
    if (GetString(name) == value)
        return;
    CheckValue(name, value);
    try {
        const FieldRef ref = FindField(name);
        std::string stored = ConvertValueByType(value, info.type);
        if (ref.standard) {
            stdValues_[ref.index] = std::move(stored);
            stdChanged_[ref.index] = true;
        } else {
            extraValues_[static_cast<size_t>(ref.index)] = std::move(stored);
            extraChanged_[static_cast<size_t>(ref.index)] = true;
        }
    } catch (const std::exception& error) {
        throw std::runtime_error("Ошибка при присвоении полю " + name + " значения " + value +
                                 ":\n" + error.what());
    }
}
