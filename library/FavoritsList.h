// The browser's bookmarks of folders: a name and a folder path each, names unique ignoring
// letter case, kept as the keys of one settings section.
#pragma once

#include <string>

#include "core/QJDynamicArray.h"

class TSimpleSettingFile;

struct TFavoritsItem {
    std::string Path;
    std::string Name;
};

class TFavoritsList : public CQJDynamicArray<TFavoritsItem> {
public:
    // Index of the bookmark named so (ignoring letter case), or -1.
    int IndexOfName(const std::string& name) const;
    // Points the bookmark of that name (a new one at the end when none) at the path; its index.
    int Set(const std::string& name, const std::string& path);
    // Replaces the list with the keys of the section; the count.
    int Load(const TSimpleSettingFile& file, const std::string& section);
    void Save(TSimpleSettingFile& file, const std::string& section) const;

    // Whether the settings file can keep the bookmark as it is: a key name (IsValidIniName)
    // without blanks at either end, a path without line breaks, both within the file's key and
    // value lengths.
    static bool CanStore(const std::string& name, const std::string& path);
};
