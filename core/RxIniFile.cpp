// The main settings file object on the settings engine: reads with defaults, no field caps.
#include "core/SettingsFile.h"

#include "core/StringUtils.h"

TRxIniFile::TRxIniFile(std::string path)
    : path_(std::move(path))
{
    store_.LoadFromFile(path_);
}

TRxIniFile::~TRxIniFile()
{
    try {
        store_.SaveIfChanged(path_);
    } catch (...) {
        // A destructor must not throw; the old file is kept by the atomic write.
    }
}

std::string TRxIniFile::ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const
{
    const std::string* value = store_.FindValue(section, key);
    return value ? *value : defaultValue;
}

bool TRxIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    return store_.SetValue(section, key, value);
}

int TRxIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    const std::string* text = store_.FindValue(section, key);
    int value = defaultValue;
    return text && ParseIniInt(*text, value) ? value : defaultValue;
}

void TRxIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    store_.SetValue(section, key, std::to_string(value));
}

double TRxIniFile::ReadFloat(const std::string& section, const std::string& key, double defaultValue) const
{
    const std::string* text = store_.FindValue(section, key);
    double value = defaultValue;
    return text && ParseIniDouble(*text, value) ? value : defaultValue;
}

void TRxIniFile::WriteFloat(const std::string& section, const std::string& key, double value)
{
    store_.SetValue(section, key, ShortestNumberText(value));
}

bool TRxIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TRxIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    store_.SetValue(section, key, value ? "1" : "0");
}

std::vector<std::string> TRxIniFile::ReadSection(const std::string& section) const
{
    std::vector<std::string> names;
    const int s = store_.FindSection(section);
    if (s >= 0)
        for (const auto& key : store_.Sections[s].Keys)
            names.push_back(key.Name);
    return names;
}

std::vector<std::string> TRxIniFile::ReadSections() const
{
    std::vector<std::string> names;
    for (const auto& section : store_.Sections)
        names.push_back(section.Name);
    return names;
}

bool TRxIniFile::SectionExists(const std::string& section) const
{
    return store_.FindSection(section) >= 0;
}

bool TRxIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    return store_.FindValue(section, key) != nullptr;
}

void TRxIniFile::EraseSection(const std::string& section)
{
    const int s = store_.FindSection(section);
    if (s >= 0)
        store_.Sections.erase(store_.Sections.begin() + s);
}

bool TRxIniFile::UpdateFile()
{
    return store_.SaveToFile(path_);
}
