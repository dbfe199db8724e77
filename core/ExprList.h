// The calculation scripts of one folder, in file-name order.
#pragma once

#include "core/MathExpression.h"

#include <memory>
#include <string>
#include <vector>

class TExprList
{
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Callers check the index.
    TMathExpression* Item(int i) const { return items_[i].get(); }

    // Loads every "*.exp" file of the folder that loads with result 0; returns the count.
    int ScanFolder(const std::string& folder);
    // The folder of the last scan, with a trailing separator.
    const std::string& GetFolder() const { return folder_; }
    void Clear();
    // Scans the folder again when it exists.
    void Reload();
    // Saves every record with a file name; false when any write failed.
    bool SaveAll();
    bool IsModified() const;
    // Removes record i, deleting its file first when deleteFile is set; false outside the list.
    bool CheckItem(int i, bool deleteFile);
    void Add(std::unique_ptr<TMathExpression> expression);

private:
    std::vector<std::unique_ptr<TMathExpression>> items_;
    std::string folder_;
};
