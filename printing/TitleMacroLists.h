// The macros a title template uses (for the print title dialog) and the macros offered in
// the title editor's macro menu.
#pragma once

#include <string>
#include <vector>

class TQ7CellsArray;
class TQ7CustomMacro;

struct TExistingMacroItem {
    int Index = -1;  // the macro's number in the store
    std::string Key;
    std::string Value;
    std::string Name;
    std::string Description;
    // In TExistingMacroList: 2 for a system macro, else 0. In TAllMacroList: the SType.
    int Kind = 0;
    bool UserMacro = false;  // SType 0: its value is typed by the user
};

class TExistingMacroList {
public:
    // The store's macros whose keys (in upper case) occur in the cells between the first
    // characters of the manager's delimiters, in store order; empty without a manager.
    void Collect(const TQ7CellsArray& cells, const TQ7CustomMacro* manager);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TExistingMacroItem& Items(int index) { return items_.at(static_cast<size_t>(index)); }
    // The macros shown in the dialog's grid: all but the system ones.
    int VisibleCount() const;
    // Throws std::out_of_range with "TExistingMacroList::VisibleItems(int Index)\nInvalid Index!!!".
    TExistingMacroItem& VisibleItems(int index);
    // Stores the values of user macros as their defaults; system and LAS macros keep none.
    void SaveValues(TQ7CustomMacro& manager) const;
    // (left delimiter + Key + right delimiter, Value) of every item, in list order.
    std::vector<std::pair<std::string, std::string>> Replacements(const TQ7CustomMacro& manager) const;

    std::vector<std::string> FoundNames;

private:
    std::vector<TExistingMacroItem> items_;
};

class TAllMacroList {
public:
    // Every macro of the manager (none without one) and its delimiters.
    void Refresh(const TQ7CustomMacro* manager);
    // Left delimiter + Key + right delimiter.
    std::string GetToken(int index) const;
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    const TExistingMacroItem& Items(int index) const { return items_.at(static_cast<size_t>(index)); }

private:
    std::vector<TExistingMacroItem> items_;
    std::string left_;
    std::string right_;
};
