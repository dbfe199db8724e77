// The capped settings file, its variant bound to a path and its variant with float values.
#include "core/SettingsFile.h"

#include "core/StringUtils.h"

TSimpleSettingFile::TSimpleSettingFile()
    : store_(IniFieldLimits{MaxNameLength, MaxValueLength})
{
}

bool TSimpleSettingFile::ReadString(const std::string& section, const std::string& key,
                                    std::string& buffer) const
{
    const std::string* value = store_.FindValue(section, key);
    if (!value)
        return false;
    buffer = *value;
    return true;
}

bool TSimpleSettingFile::WriteString(const std::string& section, const std::string& key,
                                     const std::string& text)
{
    return store_.SetValue(section, key, text);
}

bool TSimpleSettingFile::WriteInt(const std::string& section, const std::string& key, int value)
{
    return store_.SetValue(section, key, std::to_string(value));
}

bool TSimpleSettingFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    return store_.SetValue(section, key, value ? "true" : "false");
}

int TSimpleSettingFile::ReadIntRange(const std::string& section, const std::string& key, int& out,
                                     int min, int max) const
{
    const std::string* text = store_.FindValue(section, key);
    if (!text)
        return 0;
    int value = 0;
    if (!ParseIniInt(*text, value) || value < min || value > max)
        return -1;
    out = value;
    return 1;
}

bool TSimpleSettingFile::ReadBool(const std::string& section, const std::string& key, bool& out) const
{
    const std::string* text = store_.FindValue(section, key);
    if (!text)
        return false;
    out = *text == "true";
    return true;
}

int TSimpleSettingFile::FindSection(const std::string& name) const
{
    return store_.FindSection(store_.CutName(name));
}

int TSimpleSettingFile::FindKey(int section, const std::string& name) const
{
    return store_.FindKey(section, store_.CutName(name));
}

void TSimpleSettingFile::DeleteSection(const std::string& name)
{
    DeleteSectionAt(FindSection(name));
}

int TSimpleSettingFile::GetSectionCount() const
{
    return static_cast<int>(store_.Sections.size());
}

const std::string& TSimpleSettingFile::GetSectionName(int section) const
{
    return store_.Sections.at(section).Name;
}

void TSimpleSettingFile::DeleteSectionAt(int section)
{
    if (section >= 0 && section < GetSectionCount())
        store_.Sections.erase(store_.Sections.begin() + section);
}

void TSimpleSettingFile::ClearSections()
{
    store_.Sections.clear();
}

int TSimpleSettingFile::GetKeyCount(int section) const
{
    return static_cast<int>(store_.Sections.at(section).Keys.size());
}

const std::string& TSimpleSettingFile::GetKeyName(int section, int key) const
{
    return store_.Sections.at(section).Keys.at(key).Name;
}

const std::string& TSimpleSettingFile::GetKeyValue(int section, int key) const
{
    return store_.Sections.at(section).Keys.at(key).Value;
}

void TSimpleSettingFile::DeleteKey(int section, int key)
{
    auto& keys = store_.Sections.at(section).Keys;
    if (key >= 0 && key < static_cast<int>(keys.size()))
        keys.erase(keys.begin() + key);
}

void TSimpleSettingFile::ClearKeys(int section)
{
    store_.Sections.at(section).Keys.clear();
}

bool TSimpleSettingFile::LoadFromFile(const std::string& path)
{
    return store_.LoadFromFile(path);
}

bool TSimpleSettingFile::SaveToFile(const std::string& path)
{
    return store_.SaveToFile(path);
}

TSettingsFile::TSettingsFile(std::string path)
    : path_(std::move(path))
{
    LoadFromFile(path_);
}

TSettingsFile::~TSettingsFile()
{
    try {
        SaveChanges();
    } catch (...) {
        // A destructor must not throw; the old file is kept by the atomic write.
    }
}

bool TSettingsFile::Save()
{
    return SaveToFile(path_);
}

bool TSettingsFile::SaveChanges()
{
    return store_.SaveIfChanged(path_);
}

bool TQ7SettingsFile::ReadFloat(const std::string& section, const std::string& key, double& out) const
{
    std::string text;
    return ReadString(section, key, text) && ParseIniDouble(text, out);
}

void TQ7SettingsFile::WriteFloat(const std::string& section, const std::string& key, double value)
{
    WriteString(section, key, ShortestNumberText(value));
}
