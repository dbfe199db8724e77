// The macro store of title templates over its ".mcr" settings file, and the program's
// manager that resolves the values of system and LAS macros.
#pragma once

#include "core/SettingsFile.h"

#include <cstdint>
#include <functional>
#include <string>

class TLasParser2Parser;

// One macro as read or written: only the fields selected by Mask take part.
struct TQ7MacroRecord {
    static constexpr std::uint32_t MaskName = 0x01;
    static constexpr std::uint32_t MaskSType = 0x02;
    static constexpr std::uint32_t MaskSearchInfo1 = 0x04;
    static constexpr std::uint32_t MaskSearchInfo2 = 0x08;
    static constexpr std::uint32_t MaskSearchInfo3 = 0x10;
    static constexpr std::uint32_t MaskType = 0x20;
    static constexpr std::uint32_t MaskValue = 0x40;
    static constexpr std::uint32_t MaskDescription = 0x80;
    static constexpr std::uint32_t MaskKey = 0x1000;
    static constexpr std::uint32_t MaskAll = 0xFFFF;

    std::uint32_t Mask = 0;
    std::string Key;   // written between the delimiters in a template
    std::string Name;  // shown in the macro list and menus
    int SType = 0;     // 0 user macro; above 0 a predefined macro whose value is looked up
    std::string SearchInfo1;  // "system", "las" or empty
    std::string SearchInfo2;  // system: the program value's name; LAS: the section code ("2")
    std::string SearchInfo3;  // LAS: the header line's mnemonic
    int Type = 0;
    std::string Value;  // stored (default) value; resolved for predefined macros
    std::string Description;
};

// The store: macros in a settings file, one section each, listed in "AllMacrosList".
class TQ7CustomMacro {
public:
    // How the file was found when the store was made.
    enum class FileState {
        Loaded,      // read as a macro file
        Missing,     // no file: a new one is written
        Replaced,    // a file of another kind: kept as BackupPath(), a new one is written
        Unreadable,  // exists but cannot be read: it is never written over
    };

    // Loads the file, or initialises an empty macro file when it cannot.
    explicit TQ7CustomMacro(const std::string& path);
    // Whether the file reads as a macro file (its settings name the macro file version).
    static bool IsMacroFile(const std::string& path);
    virtual ~TQ7CustomMacro() = default;
    TQ7CustomMacro(const TQ7CustomMacro&) = delete;
    TQ7CustomMacro& operator=(const TQ7CustomMacro&) = delete;

    // 1 "Settings", 2 "AllMacrosList", 3 a macro's section, 0 any other.
    virtual int GetSectionKind(int section) const;
    // Cleans the file (stray keys and sections) and reads its version and delimiters.
    bool LoadFile();
    void InitFile();

    int GetCount() const;
    // Index of macro n's section in the file, -1 when missing; its description into
    // `description` when given.
    int GetMacroSection(int n, std::string* description = nullptr) const;
    virtual bool GetMacro(int n, TQ7MacroRecord& record) const;
    bool SetMacro(int n, const TQ7MacroRecord& record);
    // Appends a macro under the first free "Q7M_" + n section name; its number.
    int AddMacro();
    void DeleteMacro(int n);

    const std::string& GetLeftDelim() const { return left_; }
    const std::string& GetRightDelim() const { return right_; }
    // Also written to the file, so that templates typed with them are filled after a restart.
    void SetLeftDelim(const std::string& text);
    void SetRightDelim(const std::string& text);
    const std::string& GetPath() const { return path_; }

    FileState GetFileState() const { return state_; }
    // Where a file of another kind was kept (Replaced); empty otherwise.
    const std::string& BackupPath() const { return backupPath_; }
    // Writes the file when its content changed (never over an unreadable one); false when
    // the write failed.
    bool Save();

protected:
    TSettingsFile file_;

private:
    int ListSection() const;
    void Touch() { modified_ = true; }

    std::string path_;
    std::string backupPath_;
    std::string left_ = "[";
    std::string right_ = "]";
    FileState state_ = FileState::Loaded;
    bool modified_ = false;
};

// Values of the program (system macros) by name; set by the main window, empty when unset.
using TTemplateVariableHook = std::function<std::string(const std::string& name)>;
void SetTemplateVariableHook(TTemplateVariableHook hook);

// The program's manager: system values through the hook, LAS values from the ~W section of
// the document it is given.
class TWendMacroManager : public TQ7CustomMacro {
public:
    using TQ7CustomMacro::TQ7CustomMacro;

    const TLasParser2Parser* LasParser = nullptr;  // borrowed; null without a document

    bool GetMacro(int n, TQ7MacroRecord& record) const override;
};
