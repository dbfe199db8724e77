// Settings files: the capped INI-like file (TSimpleSettingFile), its variants that save
// on destruction (TSettingsFile) and hold floats (TQ7SettingsFile), and the main
// settings object TRxIniFile with defaults-taking reads and no field caps.
#pragma once

#include "core/IniStore.h"

#include <optional>
#include <string>
#include <vector>

// Section and key names up to 63 characters, values up to 255; longer texts are cut.
class TSimpleSettingFile
{
public:
    static constexpr size_t MaxNameLength = 63;
    static constexpr size_t MaxValueLength = 255;

    TSimpleSettingFile();
    virtual ~TSimpleSettingFile() = default;

    // false when the section or the key is missing (buffer unchanged).
    bool ReadString(const std::string& section, const std::string& key, std::string& buffer) const;
    // false (nothing written) for a section or key name the file cannot hold.
    bool WriteString(const std::string& section, const std::string& key, const std::string& text);
    bool WriteInt(const std::string& section, const std::string& key, int value);
    bool WriteBool(const std::string& section, const std::string& key, bool value);

    // 1: value within min..max stored in out; -1: outside or not a whole number (out kept);
    // 0: key missing.
    int ReadIntRange(const std::string& section, const std::string& key, int& out, int min,
                     int max) const;
    // Whether the key exists; out = (text == "true") when it does.
    bool ReadBool(const std::string& section, const std::string& key, bool& out) const;

    int FindSection(const std::string& name) const;
    int FindKey(int section, const std::string& name) const;
    void DeleteSection(const std::string& name);

    int GetSectionCount() const;
    const std::string& GetSectionName(int section) const;
    void DeleteSectionAt(int section);
    void ClearSections();

    int GetKeyCount(int section) const;
    const std::string& GetKeyName(int section, int key) const;
    const std::string& GetKeyValue(int section, int key) const;
    void DeleteKey(int section, int key);
    void ClearKeys(int section);

    // Replaces the content with the file's (false, no section, when it cannot be read).
    bool LoadFromFile(const std::string& path);
    // false on failure, the old file kept.
    bool SaveToFile(const std::string& path);

    void LoadFromText(std::string_view text) { store_.Parse(text); }

protected:
    IniStore store_;
};

// Bound to a path: loaded by the constructor when readable, written back by the destructor
// when its content changed.
class TSettingsFile : public TSimpleSettingFile
{
public:
    explicit TSettingsFile(std::string path);
    // Never throws; a failed write keeps the old file, and a file that exists but could
    // not be read is not overwritten.
    ~TSettingsFile() override;

    // Writes now; false when the write failed.
    bool Save();
    // Writes now as the destructor does: only a change, never over a file that could not be read.
    bool SaveChanges();

private:
    std::string path_;
};

// Adds float values written with a point in the shortest text that reads back the same.
class TQ7SettingsFile : public TSettingsFile
{
public:
    using TSettingsFile::TSettingsFile;

    // false when the key is missing or its text is not a number (out kept).
    bool ReadFloat(const std::string& section, const std::string& key, double& out) const;
    void WriteFloat(const std::string& section, const std::string& key, double value);
};

// The main settings file object: reads take a default; no caps on names or values;
// written by UpdateFile and by the destructor.
class TRxIniFile
{
public:
    explicit TRxIniFile(std::string path);
    ~TRxIniFile(); // as ~TSettingsFile

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // false (nothing written) for a section or key name the file cannot hold.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    void WriteInteger(const std::string& section, const std::string& key, int value);
    // Written with a point; read accepting a point or a comma.
    double ReadFloat(const std::string& section, const std::string& key, double defaultValue) const;
    void WriteFloat(const std::string& section, const std::string& key, double value);
    // Written as "1"/"0"; read as a whole number, non-zero = true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Key names of the section in file order (empty when absent).
    std::vector<std::string> ReadSection(const std::string& section) const;
    // Section names in file order.
    std::vector<std::string> ReadSections() const;
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    void EraseSection(const std::string& section);

    // Writes the file; false when the write failed (old file kept), errno in SystemError().
    bool UpdateFile();
    int SystemError() const { return store_.SystemError(); }

private:
    std::string path_;
    IniStore store_;
};
