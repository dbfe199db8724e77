// The predefined macros (system and LAS lists), the operations of the program's macro
// manager over them, and the one manager of the program.
#pragma once

#include "printing/Q7MacroManager.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TSettingsFile;

class TWendMacroListItem {
public:
    TWendMacroListItem(int kind, std::string key, std::string name, std::string description);
    virtual ~TWendMacroListItem() = default;

    int Kind;  // 1 system, 2 LAS
    std::string SearchInfo1;
    std::string SearchInfo2;
    std::string SearchInfo3;

    // Every field but Value (mask 0x10BF).
    virtual void FillRecord(TQ7MacroRecord& record) const;

protected:
    std::string key_;
    std::string name_;
    std::string description_;
};

class TWendMacroListSystemItem : public TWendMacroListItem {
public:
    TWendMacroListSystemItem(std::string key, std::string name, std::string description);
};

class TWendMacroListLasItem : public TWendMacroListItem {
public:
    TWendMacroListLasItem(std::uint8_t code, std::string mnemonic, std::string name, std::string description);
    std::uint8_t LineCode;
};

class TPredefinedMacroList {
public:
    // Kind 1: the 15 system macros; any other: the 14 LAS macros. Returns the count.
    int Fill(int kind);
    std::vector<std::unique_ptr<TWendMacroListItem>> Items;
};

// 0 user, 1 system, 2 LAS.
int GetMacroKind(const TQ7CustomMacro& manager, const TQ7MacroRecord& record);
// The first other macro whose Key equals `key` ignoring ASCII case; -1 none; -2 when `n` is
// out of range.
int FindDuplicateKey(const TQ7CustomMacro& manager, int n, const std::string& key);
void DeleteAllMacros(TQ7CustomMacro& manager);
void RemovePredefinedMacros(TQ7CustomMacro& manager);
// "operator", then the system and the LAS lists.
void FillDefaultMacros(TQ7CustomMacro& manager);
// The predefined macros made anew; user macros stay.
void RestoreDefaultMacros(TQ7CustomMacro& manager);

// The program's manager; null when none.
extern TWendMacroManager* MacroManager;
// Replaces MacroManager (the old one deleted first, see DeleteMacroManager) with one on the
// file "Macros" "FileName" of `templatesIni` names (default "Macros.mcr"): a name in the
// templates folder, a full path elsewhere; filled with the defaults when the file did not
// exist. A full path whose file is gone gives "Macros.mcr" instead and is put in `missing`.
// Returns the setting of the file used.
std::string CreateMacroManager(const TSettingsFile* templatesIni, const std::string& templatesDir,
                               std::string* missing = nullptr);
// What "Macros" "FileName" keeps for the macro file `path`: its name when it lies in the
// templates folder, else its full path.
std::string MacroFileSetting(const std::string& path, const std::string& templatesDir);
// Makes a manager on `path` (the old one deleted first, see DeleteMacroManager), filled with
// the defaults when the file did not exist.
void CreateMacroManagerAt(const std::string& path);
// Deletes MacroManager, writing its file; false when that write failed.
bool DeleteMacroManager();
// The document whose ~W section LAS macros read; every manager made later gets it too.
void SetMacroDocument(const TLasParser2Parser* parser);
// Drops the document when it is `parser` (before that document is freed).
void ForgetMacroDocument(const TLasParser2Parser* parser);
