// The macro store and the manager's value lookup.
#include "printing/Q7MacroManager.h"

#include "core/IniStore.h"
#include "core/LasParser2.h"
#include "core/StringUtils.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

const char* const kSettings = "Settings";
const char* const kList = "AllMacrosList";
const char* const kVersion = "Q7MacroFile_V_1";
const char* const kPrefix = "Q7M_";

TTemplateVariableHook& TemplateVariableHook()
{
    static TTemplateVariableHook hook;
    return hook;
}


// Leading blanks, a sign and the digits up to the first other character; 0 without digits.
int LeadingInt(const std::string& text) { return std::atoi(text.c_str()); }

bool ExistsUnreadable(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return false;
    if (std::filesystem::is_directory(path, error))
        return true;
    std::ifstream in(path, std::ios::binary);
    return !in.is_open();
}

}  // namespace

void SetTemplateVariableHook(TTemplateVariableHook hook) { TemplateVariableHook() = std::move(hook); }

TQ7CustomMacro::TQ7CustomMacro(const std::string& path) : file_(path), path_(path)
{
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    if (ExistsUnreadable(path))
        state_ = FileState::Unreadable;
    else if (!exists)
        state_ = FileState::Missing;
    if (LoadFile())
        return;
    if (state_ == FileState::Loaded) {
        // A file of another kind is kept before the name gets a new macro file.
        backupPath_ = KeepAsBackup(path);
        state_ = backupPath_.empty() ? FileState::Unreadable : FileState::Replaced;
        if (backupPath_.empty())
            file_.LoadFromFile(path);  // what it holds stays what is on disk: nothing is written
    }
    if (state_ != FileState::Unreadable)
        InitFile();
}

bool TQ7CustomMacro::IsMacroFile(const std::string& path)
{
    TSimpleSettingFile file;
    std::string version;
    return file.LoadFromFile(path) && file.ReadString(kSettings, "Version", version) &&
           EqualIgnoringAsciiCase(version, kVersion);
}

int TQ7CustomMacro::ListSection() const { return file_.FindSection(kList); }

int TQ7CustomMacro::GetSectionKind(int section) const
{
    if (section < 0 || section >= file_.GetSectionCount())
        return 0;
    const std::string& name = file_.GetSectionName(section);
    if (name == kSettings)
        return 1;
    if (name == kList)
        return 2;
    const int list = ListSection();
    return list >= 0 && file_.FindKey(list, name) >= 0 ? 3 : 0;
}

bool TQ7CustomMacro::LoadFile()
{
    if (file_.GetSectionCount() == 0)
        return false;
    if (const int list = ListSection(); list >= 0) {
        for (int k = file_.GetKeyCount(list) - 1; k >= 0; --k)
            if (file_.GetKeyName(list, k).compare(0, 4, kPrefix) != 0) {
                file_.DeleteKey(list, k);
                Touch();
            }
    }
    for (int s = file_.GetSectionCount() - 1; s >= 0; --s)
        if (GetSectionKind(s) == 0) {
            file_.DeleteSectionAt(s);
            Touch();
        }
    std::string version;
    if (!file_.ReadString(kSettings, "Version", version) || !EqualIgnoringAsciiCase(version, kVersion))
        return false;
    std::string text;
    left_ = file_.ReadString(kSettings, "Left", text) && !text.empty() ? text : "[";
    text.clear();
    right_ = file_.ReadString(kSettings, "Right", text) && !text.empty() ? text : "]";
    return true;
}

void TQ7CustomMacro::InitFile()
{
    file_.ClearSections();
    file_.WriteString(kSettings, "Version", kVersion);
    file_.WriteString(kSettings, "Left", left_);
    file_.WriteString(kSettings, "Right", right_);
    Touch();
}

int TQ7CustomMacro::GetCount() const
{
    const int list = ListSection();
    return list < 0 ? 0 : file_.GetKeyCount(list);
}

int TQ7CustomMacro::GetMacroSection(int n, std::string* description) const
{
    const int list = ListSection();
    if (list < 0 || n < 0 || n >= file_.GetKeyCount(list))
        return -1;
    const int section = file_.FindSection(file_.GetKeyName(list, n));
    if (section >= 0 && description)
        *description = file_.GetKeyValue(list, n);
    return section;
}

bool TQ7CustomMacro::GetMacro(int n, TQ7MacroRecord& r) const
{
    std::string description;
    const int section = GetMacroSection(n, &description);
    if (section < 0)
        return false;
    bool ok = true;
    const auto value = [&](const char* key) -> const std::string* {
        const int k = file_.FindKey(section, key);
        return k < 0 ? nullptr : &file_.GetKeyValue(section, k);
    };
    const auto text = [&](std::uint32_t bit, const char* key, std::string& field) {
        if (!(r.Mask & bit))
            return;
        if (const std::string* v = value(key))
            field = *v;
        else
            ok = false;
    };
    const auto number = [&](std::uint32_t bit, const char* key, int& field) {
        if (r.Mask & bit) {
            const std::string* v = value(key);
            field = v ? LeadingInt(*v) : 0;
        }
    };
    text(TQ7MacroRecord::MaskKey, "Key", r.Key);
    text(TQ7MacroRecord::MaskName, "Name", r.Name);
    number(TQ7MacroRecord::MaskSType, "SType", r.SType);
    text(TQ7MacroRecord::MaskSearchInfo1, "SearchInfo1", r.SearchInfo1);
    text(TQ7MacroRecord::MaskSearchInfo2, "SearchInfo2", r.SearchInfo2);
    text(TQ7MacroRecord::MaskSearchInfo3, "SearchInfo3", r.SearchInfo3);
    number(TQ7MacroRecord::MaskType, "Type", r.Type);
    if (r.Mask & TQ7MacroRecord::MaskValue) {
        const std::string* v = value("Value");
        r.Value = v ? *v : std::string();
    }
    if (r.Mask & TQ7MacroRecord::MaskDescription)
        r.Description = description;
    return ok;
}

bool TQ7CustomMacro::SetMacro(int n, const TQ7MacroRecord& r)
{
    const int list = ListSection();
    if (list < 0 || n < 0 || n >= file_.GetKeyCount(list))
        return false;
    const std::string section = file_.GetKeyName(list, n);
    const auto put = [&](std::uint32_t bit, const char* key, const std::string& text) {
        if (r.Mask & bit)
            file_.WriteString(section, key, text);
    };
    put(TQ7MacroRecord::MaskKey, "Key", r.Key);
    put(TQ7MacroRecord::MaskName, "Name", r.Name);
    put(TQ7MacroRecord::MaskSType, "SType", std::to_string(r.SType));
    put(TQ7MacroRecord::MaskSearchInfo1, "SearchInfo1", r.SearchInfo1);
    put(TQ7MacroRecord::MaskSearchInfo2, "SearchInfo2", r.SearchInfo2);
    put(TQ7MacroRecord::MaskSearchInfo3, "SearchInfo3", r.SearchInfo3);
    put(TQ7MacroRecord::MaskType, "Type", std::to_string(r.Type));
    put(TQ7MacroRecord::MaskValue, "Value", r.Value);
    if (r.Mask & TQ7MacroRecord::MaskDescription)
        file_.WriteString(kList, section, r.Description);
    Touch();
    return true;
}

int TQ7CustomMacro::AddMacro()
{
    const int list = ListSection();
    int n = 0;
    while (list >= 0 && file_.FindKey(list, kPrefix + std::to_string(n)) >= 0)
        ++n;
    const std::string name = kPrefix + std::to_string(n);
    file_.WriteString(kList, name, "_");
    Touch();
    return file_.FindKey(ListSection(), name);
}

void TQ7CustomMacro::DeleteMacro(int n)
{
    const int list = ListSection();
    if (list < 0 || n < 0 || n >= file_.GetKeyCount(list))
        return;
    file_.DeleteSection(file_.GetKeyName(list, n));
    file_.DeleteKey(ListSection(), n);
    Touch();
}

void TQ7CustomMacro::SetLeftDelim(const std::string& text)
{
    left_ = text;
    file_.WriteString(kSettings, "Left", text);
    Touch();
}

void TQ7CustomMacro::SetRightDelim(const std::string& text)
{
    right_ = text;
    file_.WriteString(kSettings, "Right", text);
    Touch();
}

bool TQ7CustomMacro::Save()
{
    if (state_ == FileState::Unreadable || !modified_)
        return true;
    if (!file_.Save())
        return false;
    modified_ = false;
    return true;
}

bool TWendMacroManager::GetMacro(int n, TQ7MacroRecord& record) const
{
    const bool read = TQ7CustomMacro::GetMacro(n, record);
    if (!read || !(record.Mask & TQ7MacroRecord::MaskValue))
        return read;
    TQ7MacroRecord search;
    search.Mask = TQ7MacroRecord::MaskSType | TQ7MacroRecord::MaskSearchInfo1 | TQ7MacroRecord::MaskSearchInfo2 |
                  TQ7MacroRecord::MaskSearchInfo3;
    if (!TQ7CustomMacro::GetMacro(n, search) || search.SType <= 0)
        return true;
    if (search.SearchInfo1 == "system") {
        const TTemplateVariableHook& hook = TemplateVariableHook();
        record.Value = hook ? hook(search.SearchInfo2) : std::string();
    } else if (search.SearchInfo1 == "las" && LasParser) {
        int code = 0;
        if (!ParseIniInt(search.SearchInfo2, code) || code != kSectionWell)
            return true;
        // Decoded as the document decodes its header.
        if (const TLasParsParsedString* line = LasParser->GetWellSection().FindLineByMnemonic(search.SearchInfo3))
            record.Value = LasParser->Decode(Trim(line->Value()));
    }
    return true;
}
