// Macro lists of the title windows.
#include "printing/TitleMacroLists.h"

#include "core/CodePages.h"
#include "core/StringUtils.h"
#include "printing/Q7CellsArray.h"
#include "printing/Q7MacroManager.h"

#include <stdexcept>

namespace {

char32_t FirstChar(const std::string& text)
{
    char32_t cp = 0;
    return !text.empty() && DecodeUtf8(text, 0, cp) > 0 ? cp : 0;
}

TQ7MacroRecord ReadMacro(const TQ7CustomMacro& manager, int n)
{
    TQ7MacroRecord r;
    r.Mask = TQ7MacroRecord::MaskKey | TQ7MacroRecord::MaskName | TQ7MacroRecord::MaskSType |
             TQ7MacroRecord::MaskSearchInfo1 | TQ7MacroRecord::MaskValue | TQ7MacroRecord::MaskDescription;
    manager.GetMacro(n, r);
    return r;
}

}  // namespace

void TExistingMacroList::Collect(const TQ7CellsArray& cells, const TQ7CustomMacro* manager)
{
    // Emptied first whatever follows: a template without cells lists nothing of the last one.
    Clear();
    if (!manager || cells.RowCount() == 0 || cells.ColCount() == 0)
        return;
    cells.CollectMacros({0, 0, cells.ColCount() - 1, cells.RowCount() - 1}, FirstChar(manager->GetLeftDelim()),
                        FirstChar(manager->GetRightDelim()), FoundNames);
    for (int n = 0; n < manager->GetCount(); ++n) {
        const TQ7MacroRecord r = ReadMacro(*manager, n);
        const std::string key = AnsiUpperCase(r.Key);
        for (const std::string& name : FoundNames)
            if (name == key) {
                TExistingMacroItem item;
                item.Index = n;
                item.Key = r.Key;
                item.Name = r.Name;
                item.Value = r.Value;
                item.Kind = r.SType > 0 && r.SearchInfo1 == "system" ? 2 : 0;
                item.UserMacro = r.SType <= 0;
                items_.push_back(std::move(item));
                break;
            }
    }
}

void TExistingMacroList::Clear()
{
    items_.clear();
    FoundNames.clear();
}

int TExistingMacroList::VisibleCount() const
{
    int count = 0;
    for (const TExistingMacroItem& item : items_)
        count += item.Kind < 2;
    return count;
}

TExistingMacroItem& TExistingMacroList::VisibleItems(int index)
{
    for (TExistingMacroItem& item : items_)
        if (item.Kind < 2 && index-- == 0)
            return item;
    throw std::out_of_range("TExistingMacroList::VisibleItems(int Index)\nInvalid Index!!!");
}

void TExistingMacroList::SaveValues(TQ7CustomMacro& manager) const
{
    for (const TExistingMacroItem& item : items_) {
        if (!item.UserMacro)
            continue;
        TQ7MacroRecord r;
        r.Mask = TQ7MacroRecord::MaskValue;
        r.Value = item.Value;
        manager.SetMacro(item.Index, r);
    }
}

std::vector<std::pair<std::string, std::string>> TExistingMacroList::Replacements(const TQ7CustomMacro& manager) const
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const TExistingMacroItem& item : items_)
        pairs.emplace_back(manager.GetLeftDelim() + item.Key + manager.GetRightDelim(), item.Value);
    return pairs;
}

void TAllMacroList::Refresh(const TQ7CustomMacro* manager)
{
    Clear();
    if (!manager)
        return;
    left_ = manager->GetLeftDelim();
    right_ = manager->GetRightDelim();
    for (int n = 0; n < manager->GetCount(); ++n) {
        const TQ7MacroRecord r = ReadMacro(*manager, n);
        TExistingMacroItem item;
        item.Index = n;
        item.Key = r.Key;
        item.Name = r.Name;
        item.Value = r.Value;
        item.Description = r.Description;
        item.Kind = r.SType;
        item.UserMacro = r.SType <= 0;
        items_.push_back(std::move(item));
    }
}

std::string TAllMacroList::GetToken(int index) const { return left_ + Items(index).Key + right_; }

void TAllMacroList::Clear()
{
    items_.clear();
    left_.clear();
    right_.clear();
}
