// Bookmark lookup, loading and saving.
#include "library/FavoritsList.h"

#include "core/IniStore.h"
#include "core/SettingsFile.h"
#include "core/StringUtils.h"

int TFavoritsList::IndexOfName(const std::string& name) const
{
    const std::string upper = AnsiUpperCase(name);
    for (int i = 0; i < Count(); ++i)
        if (AnsiUpperCase(Item(i).Name) == upper)
            return i;
    return -1;
}

int TFavoritsList::Set(const std::string& name, const std::string& path)
{
    int index = IndexOfName(name);
    if (index < 0)
        index = AddNew();
    Item(index).Name = name;
    Item(index).Path = path;
    return index;
}

int TFavoritsList::Load(const TSimpleSettingFile& file, const std::string& section)
{
    Clear();
    const int found = file.FindSection(section);
    for (int k = 0; found >= 0 && k < file.GetKeyCount(found); ++k)
        Set(file.GetKeyName(found, k), file.GetKeyValue(found, k));
    return Count();
}

void TFavoritsList::Save(TSimpleSettingFile& file, const std::string& section) const
{
    if (const int found = file.FindSection(section); found >= 0)
        file.ClearKeys(found);
    for (int i = 0; i < Count(); ++i)
        file.WriteString(section, Item(i).Name, Item(i).Path);
}

bool TFavoritsList::CanStore(const std::string& name, const std::string& path)
{
    const bool nameOk = IsValidIniName(name, false) && Trim(name).size() == name.size() &&
                        CutUtf8Chars(name, TSimpleSettingFile::MaxNameLength) == name;
    const bool pathOk = path.find_first_of("\r\n") == std::string::npos &&
                        CutUtf8Chars(path, TSimpleSettingFile::MaxValueLength) == path;
    return nameOk && pathOk;
}
