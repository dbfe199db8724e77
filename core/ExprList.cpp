// The calculation scripts loaded from one folder.
#include "core/ExprList.h"

#include "core/FileUtils.h"

#include <filesystem>

int TExprList::ScanFolder(const std::string& folder)
{
    Clear();
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return 0;
    folder_ = folder;
    if (folder_.back() != '/' && folder_.back() != '\\')
        folder_ += '/';
    // File-name order, so that the bar, the menus and the editor agree from run to run.
    for (const std::string& name : GetFileList(folder_, "*.exp")) {
        auto expression = std::make_unique<TMathExpression>();
        if (expression->Load(folder_ + name) != 0)
            continue; // a broken script is skipped without a message
        items_.push_back(std::move(expression));
    }
    return Count();
}

void TExprList::Clear()
{
    items_.clear();
}

void TExprList::Reload()
{
    std::error_code error;
    if (!folder_.empty() && std::filesystem::is_directory(folder_, error))
        ScanFolder(folder_);
}

bool TExprList::SaveAll()
{
    bool saved = true;
    for (const auto& item : items_)
        if (!item->GetFileName().empty() && !item->Save())
            saved = false;
    return saved;
}

bool TExprList::IsModified() const
{
    for (const auto& item : items_)
        if (item->IsModified())
            return true;
    return false;
}

bool TExprList::CheckItem(int i, bool deleteFile)
{
    if (i < 0 || i >= Count())
        return false;
    const std::string& path = items_[i]->GetFileName();
    if (deleteFile && !path.empty() && FileExists(path))
        DeleteFileByName(path);
    items_.erase(items_.begin() + i);
    return true;
}

void TExprList::Add(std::unique_ptr<TMathExpression> expression)
{
    items_.push_back(std::move(expression));
}
