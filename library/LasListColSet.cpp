// The file-list column set: defaults, predefined columns, its settings sections and lookups.
#include "library/LasListColSet.h"

#include "core/IniStore.h"
#include "core/LasParser2.h"
#include "core/SettingsFile.h"

#include <vector>

namespace {

const char* const kListSection = "LLCSettings";

const char* const kPredefinedCaptions[] = {
    "Версия", "Многострочный", "Старт", "Стоп", "Шаг", "Null", "Компания", "Скважина", "Площадь",
    "Местонахождение", "Провинция", "Округ", "Область", "Страна", "Исполнитель", "Дата", "UWI",
    "API"};

const TLasParsSection& SectionOf(const TLasParser2Header& header, int section)
{
    switch (section) {
    case 1: return header.GetVersionSection();
    case 3: return header.GetCurveSection();
    case 4: return header.GetParameterSection();
    default: return header.GetWellSection();
    }
}

} // namespace

void TLasColSetItem::SetName(const std::string& name)
{
    Name = CutUtf8Chars(name, MaxNameLength);
}

void TLasColSetItem::SetCaption(const std::string& caption)
{
    Caption = CutUtf8Chars(caption, MaxCaptionLength);
}

TLasListColSet::TLasListColSet()
{
    SetDefaultColumns();
}

std::string TLasListColSet::PredefinedCaption(int code)
{
    if (code < FirstPredefinedCode || code > LastPredefinedCode)
        return "_?_";
    return kPredefinedCaptions[code - FirstPredefinedCode];
}

void TLasListColSet::SetDefaultColumns()
{
    Items.Clear();
    for (int code : {kLineFld, kLineWell, kLineDate, kLineSrvc, kLineComp}) {
        TLasColSetItem& item = AddPredefined(code);
        item.Width = 100;
        item.FitsContents = true;
    }
}

TLasColSetItem& TLasListColSet::AddPredefined(int code)
{
    TLasColSetItem& item = Items.Item(Items.AddNew());
    item.Mnem = static_cast<std::int8_t>(code);
    item.SearchType = 0;
    item.SetCaption(PredefinedCaption(code));
    item.LASSection = code == kLineVers || code == kLineWrap ? 1
                      : code >= kLineStrt && code <= LastPredefinedCode ? 2
                                                                        : 7;
    return item;
}

bool TLasListColSet::Load(const std::string& path)
{
    TSettingsFile file(path);
    Items.Clear();
    if (file.GetSectionCount() <= 1) {
        SetDefaultColumns();
        return Items.Count() > 0;
    }
    const int list = file.FindSection(kListSection);
    for (int k = 0; list >= 0 && k < file.GetKeyCount(list); ++k) {
        const std::string section = file.GetKeyName(list, k);
        int mnem = 0;
        if (file.ReadIntRange(section, "Mnem", mnem, 0, LastPredefinedCode) != 1)
            continue;
        TLasColSetItem& item = Items.Item(Items.AddNew());
        item.Mnem = static_cast<std::int8_t>(mnem);
        std::string text;
        item.SetName(file.ReadString(section, "Name", text) ? text : std::string());
        int value = 0;
        item.SearchType = file.ReadIntRange(section, "SearchType", value, 0, 1) == 1 ? value : 0;
        text = "Не определено";
        file.ReadString(section, "Caption", text);
        item.SetCaption(text);
        const int width = file.ReadIntRange(section, "Width", value, 5, 500);
        item.Width = width == 1 ? value : 50;
        item.FitsContents = width == 0;  // no width stored
        item.LASSection = file.ReadIntRange(section, "LASSection", value, 0, 7) == 1 ? value : 7;
    }
    return Items.Count() > 0;
}

bool TLasListColSet::Save(const std::string& path)
{
    TSettingsFile file(path);
    if (const int list = file.FindSection(kListSection); list >= 0) {
        std::vector<std::string> sections;
        for (int k = 0; k < file.GetKeyCount(list); ++k)
            sections.push_back(file.GetKeyName(list, k));
        for (const std::string& section : sections)
            file.DeleteSection(section);
        file.DeleteSection(kListSection);
    }
    for (int i = 0; i < Items.Count(); ++i) {
        const TLasColSetItem& item = Items.Item(i);
        const std::string section = std::to_string(i);
        file.WriteString(kListSection, section, item.Caption);
        file.WriteInt(section, "Mnem", item.Mnem);
        file.WriteString(section, "Name", item.Name);
        file.WriteInt(section, "SearchType", item.SearchType);
        file.WriteString(section, "Caption", item.Caption);
        if (!item.FitsContents)
            file.WriteInt(section, "Width", item.Width);
        file.WriteInt(section, "LASSection", item.LASSection);
    }
    return file.Save();
}

bool TLasListColSet::FindValue(int index, const TLasParser2Header& header,
                               std::string& buffer) const
{
    if (index < 0 || index >= Items.Count())
        return false;
    const TLasColSetItem& item = Items.Item(index);
    const TLasParsSection& section = SectionOf(header, item.LASSection);
    const TLasParsParsedString* line = nullptr;
    if (item.SearchType == 0)
        line = section.FindLineByCode(item.Mnem);
    else if (item.SearchType == 1)
        line = section.FindLineByMnemonic(item.Name);
    if (!line)
        return false;
    buffer = header.Decode(line->Value());
    return true;
}
